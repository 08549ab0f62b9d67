// The custom send dialog, offscreen, on a real mailbox and settings hive.

#include "DesignedGeometry.h"
#include "forms/CustomSendTaskUnit.h"
#include "host/engine/Engine.h"
#include "platform/Clock.h"
#include "settings/AddInRegistry.h"
#include "tests/support/RecordingPrompts.h"
#include "tests/support/ScriptedWindows.h"
#include "tests/support/TempHives.h"
#include "tools/Globals.h"
#include "tools/Phrases.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantorel;
namespace ol = vantorel::outlook;

namespace {

double at(int day, int hour) {
    return tools::toDateTime(QDateTime(QDate(2026, 12, day), QTime(hour, 0)));
}

const QString kCreationError = QStringLiteral("An error occurred while creating the Vantorel!");

class CustomSendTaskTest : public ::testing::Test {
protected:
    CustomSendTaskTest()
        : clock(std::make_shared<platform::ManualClock>(
              QDateTime(QDate(2026, 12, 10), QTime(9, 0)))) {
        platform::installClock(clock);
        engine = std::make_unique<engine::Engine>(dir.filePath(QStringLiteral("mailbox.db")));
        OutlookApp = engine->application();
        AddInRegistry = new TAddInRegistry();
        HelpFilePath = QStringLiteral("/opt/vantorel/Vantorel.chm");
        dialog = std::make_unique<TCustomSendTask>();
    }
    ~CustomSendTaskTest() override {
        dialog.reset();
        delete AddInRegistry;
        AddInRegistry = nullptr;
        OutlookApp.reset();
        HelpFilePath.clear();
        platform::installClock(nullptr);
    }

    ol::MailItemPtr message() {
        ol::MailItemPtr mail = ol::asMailItem(OutlookApp->CreateItem(ol::olMailItem));
        mail->SetTo(QStringLiteral("ann@example.com"));
        mail->SetSubject(QStringLiteral("Offer"));
        mail->Save();
        return mail;
    }

    // Shows the dialog for a new message; PERSON acts in it.
    int send(const std::function<void(TCustomSendTask&)>& person, bool withMessage = true) {
        if (withMessage) {
            dialog->SetCurrentMailItem(message());
        }
        windows->person = [&](QDialog&) { person(*dialog); };
        return dialog->ShowModal();
    }

    int taskCount() {
        return OutlookApp->GetNamespace(QStringLiteral("MAPI"))
            ->GetDefaultFolder(ol::olFolderTasks)
            ->Items()
            ->Count();
    }

    ol::TaskItemPtr firstTask() {
        return ol::asTaskItem(OutlookApp->GetNamespace(QStringLiteral("MAPI"))
                                  ->GetDefaultFolder(ol::olFolderTasks)
                                  ->Items()
                                  ->Item(1));
    }

    // The person types TEXT into BOX and moves on.
    static void type(QComboBox* box, const QString& text) {
        box->setFocus();
        box->setEditText(text);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(box, &out);
    }
    static void key(QWidget* target, int code) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
    }

    QTemporaryDir dir;
    test::TempHives hives;
    test::PromptsScope prompts;
    test::WindowsScope windows;
    std::shared_ptr<platform::ManualClock> clock;
    std::unique_ptr<engine::Engine> engine;
    std::unique_ptr<TCustomSendTask> dialog;
};

struct ControlRow {
    const char* name;
    QRect geometry;
    const char* caption;
};

TEST_F(CustomSendTaskTest, TheWindowAsDesigned) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Send with Custom Settings"));
    EXPECT_EQ(dialog->width(), 377);
    EXPECT_EQ(dialog->height(), 337);
    EXPECT_EQ(dialog->StartHeight(), 337 + TCustomSendTask::kFrameHeight);
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "not resizable";
    EXPECT_TRUE(dialog->btnSend->isDefault());

    const ControlRow rows[] = {
        {"pnlReminder", {59, 14, 310, 1}, ""},
        {"btnSend", {213, 304, 75, 25}, "&Send"},
        {"btnCancel", {294, 304, 75, 25}, "&Cancel"},
        {"btnShowOptions", {8, 304, 97, 25}, "Show &Options"},
        {"pnlOptions", {51, 176, 318, 1}, ""},
        {"rdbRemindMe", {59, 27, 294, 17}, "Send message and if no reply received, &remind me"},
        {"comRemindMe", {72, 50, 135, 21}, ""},
        {"comRemindMeTime", {229, 50, 102, 21}, ""},
        {"rdbTask", {59, 91, 294, 17}, "Send e-mail and create a &Task (no reminder) starting "},
        {"comTask", {72, 114, 135, 21}, ""},
        {"chkMoveOffWeekend", {59, 141, 289, 17}, "Move reminders off the &weekend"},
        {"chkCompleted", {59, 189, 289, 17}, "&Mark as Completed when response received"},
        {"chkDelete", {59, 212, 289, 17}, "D&elete Task when response received"},
        {"chkDuration", {59, 235, 97, 17}, "Set &Duration to"},
        {"comDuration", {154, 233, 84, 21}, ""},
        {"comPriority", {128, 258, 84, 21}, ""},
        {"btnHideOptions", {8, 304, 97, 25}, "Hide &Options"},
        {"imgReminder", {8, 27, 32, 32}, ""},
        {"imgOptions", {8, 189, 32, 32}, ""},
    };
    for (const ControlRow& row : rows) {
        QWidget* w = dialog->findChild<QWidget*>(QLatin1String(row.name));
        ASSERT_NE(w, nullptr) << row.name;
        test::ExpectAsDesigned(*w, row.geometry,
                               QLatin1String(row.name) == QLatin1String("comDuration")
                                   ? dialog->findChild<QWidget*>(QStringLiteral("chkDuration"))
                                   : nullptr);
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(row.caption)) << row.name;
        }
    }
    const std::pair<const char*, QPoint> labels[] = {{"lblReminder", {8, 8}},
                                                     {"lblAt", {213, 53}},
                                                     {"lblOptions", {8, 170}},
                                                     {"lblDuration", {244, 236}},
                                                     {"lblPriority", {59, 261}}};
    for (const auto& [name, pos] : labels) {
        auto* label = dialog->findChild<QLabel*>(QLatin1String(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->pos(), pos) << name;
    }
    EXPECT_EQ(dialog->controls->lblPriority->buddy(), dialog->controls->comPriority);
    EXPECT_FALSE(dialog->controls->imgReminder->pixmap().isNull());
    EXPECT_EQ(dialog->controls->comRemindMe->count(), 23);
    EXPECT_EQ(dialog->controls->comRemindMeTime->count(), 49);
    EXPECT_EQ(dialog->controls->comDuration->count(), 13);
    EXPECT_EQ(dialog->controls->comPriority->count(), 3);
}

TEST_F(CustomSendTaskTest, ShowingLoadsTheCustomSettingsAndFocusesThePeriod) {
    AddInRegistry->SetCustomTaskRemindMeStart(QStringLiteral("d14"));
    AddInRegistry->SetCustomTaskRemindMeTime(QStringLiteral("NOW"));
    AddInRegistry->SetCustomTaskSetDuration(true);
    AddInRegistry->SetCustomTaskDuration(QStringLiteral("d7"));
    AddInRegistry->SetCustomTaskPriority(2);
    send([](TCustomSendTask& d) {
        const TReminderOptionsControls& c = *d.controls;
        EXPECT_TRUE(c.rdbRemindMe->isChecked());
        EXPECT_EQ(c.comRemindMe->currentText(), QStringLiteral("in 2 weeks"));
        EXPECT_EQ(c.comRemindMeTime->currentText(), QStringLiteral("the same hour"));
        EXPECT_EQ(c.comDuration->currentText(), QStringLiteral("1 week"));
        EXPECT_EQ(c.comPriority->currentText(), QStringLiteral("High"));
        EXPECT_FALSE(c.comTask->isEnabled());
        // The options are hidden by default, the duration box still follows its check box.
        EXPECT_TRUE(d.btnShowOptions->isVisible());
        EXPECT_FALSE(d.btnHideOptions->isVisible());
        EXPECT_TRUE(c.comDuration->isEnabled());
        EXPECT_FALSE(c.chkDelete->isEnabled());
        EXPECT_EQ(d.focusWidget(), c.comRemindMe);
        d.btnCancel->click();
    });

    AddInRegistry->SetCustomTaskRemindMe(false);
    send([](TCustomSendTask& d) {
        EXPECT_TRUE(d.controls->rdbTask->isChecked());
        EXPECT_FALSE(d.controls->comRemindMe->isEnabled());
        EXPECT_FALSE(d.controls->comRemindMeTime->isEnabled());
        EXPECT_EQ(d.focusWidget(), d.controls->comTask);
        d.btnCancel->click();
    });
}

TEST_F(CustomSendTaskTest, HidingTheOptionsShrinksTheWindowAndShowingRestoresIt) {
    send([](TCustomSendTask& d) {
        const int full = d.StartHeight();
        d.btnShowOptions->click();
        EXPECT_EQ(d.OuterHeight(), full);
        EXPECT_TRUE(d.controls->chkCompleted->isVisible());
        EXPECT_TRUE(d.controls->chkDelete->isEnabled());
        EXPECT_EQ(d.btnSend->y(), 304);
        d.btnHideOptions->click();
        EXPECT_EQ(d.OuterHeight(), static_cast<int>(std::lround(full * 0.634)));
        EXPECT_EQ(d.btnSend->y() + 33, d.height()) << "the buttons keep to the bottom edge";
        EXPECT_LT(d.height(), d.controls->chkDelete->y()) << "the options are cut off";
        EXPECT_FALSE(d.controls->chkCompleted->isVisible());
        EXPECT_FALSE(d.controls->imgOptions->isVisible());
        EXPECT_FALSE(d.controls->comPriority->isEnabled());
        // The weekend move belongs to the reminder: it stays, clear of the buttons.
        EXPECT_TRUE(d.controls->chkMoveOffWeekend->isVisible());
        EXPECT_TRUE(d.controls->chkMoveOffWeekend->isEnabled());
        EXPECT_LT(d.controls->chkMoveOffWeekend->geometry().bottom(), d.btnSend->y());
        d.btnShowOptions->click();
        EXPECT_EQ(d.OuterHeight(), full);
        d.btnCancel->click();
    });
}

TEST_F(CustomSendTaskTest, TheRadioButtonsAndTheDurationBoxEnableTheirBoxes) {
    send([](TCustomSendTask& d) {
        TReminderOptionsControls& c = *d.controls;
        d.btnShowOptions->click();
        c.rdbTask->click();
        EXPECT_TRUE(c.comTask->isEnabled());
        EXPECT_FALSE(c.comRemindMe->isEnabled());
        EXPECT_FALSE(c.comRemindMeTime->isEnabled());
        c.rdbRemindMe->click();
        EXPECT_FALSE(c.comTask->isEnabled());
        EXPECT_TRUE(c.comRemindMeTime->isEnabled());
        c.chkDuration->setChecked(false);
        EXPECT_FALSE(c.comDuration->isEnabled());
        c.chkDuration->click();
        EXPECT_TRUE(c.comDuration->isEnabled());
        d.btnCancel->click();
    });
}

TEST_F(CustomSendTaskTest, LeavingABoxRewordsItsPhrase) {
    send([](TCustomSendTask& d) {
        TReminderOptionsControls& c = *d.controls;
        type(c.comRemindMe, QStringLiteral("14 days"));
        EXPECT_EQ(c.comRemindMe->currentText(), QStringLiteral("in 2 weeks"));
        type(c.comRemindMeTime, QStringLiteral("9:30"));
        EXPECT_EQ(c.comRemindMeTime->currentText(), QStringLiteral("09:30"));
        type(c.comDuration, QStringLiteral("14 days"));
        EXPECT_EQ(c.comDuration->currentText(), QStringLiteral("2 weeks"));
        type(c.comRemindMe, QStringLiteral("abc"));
        EXPECT_EQ(c.comRemindMe->currentText(), QStringLiteral("abc"));
        d.btnCancel->click();
    });
    EXPECT_TRUE(prompts->shown.empty()) << "leaving a box never complains";
}

TEST_F(CustomSendTaskTest, OpeningTheListOrSwitchingWindowsIsNoLeaving) {
    send([](TCustomSendTask& d) {
        QComboBox* box = d.controls->comRemindMe;
        box->setEditText(QStringLiteral("14 days"));
        for (Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
            QFocusEvent out(QEvent::FocusOut, reason);
            QCoreApplication::sendEvent(box, &out);
            EXPECT_EQ(box->currentText(), QStringLiteral("14 days")) << reason;
        }
        d.btnCancel->click();
    });
}

TEST_F(CustomSendTaskTest, ATypedPriorityThatIsNoEntryIsStoredAsMinusOneAndSentAsNormal) {
    send([](TCustomSendTask& d) {
        d.btnShowOptions->click();
        type(d.controls->comPriority, QStringLiteral("Urgent"));
        d.btnSend->click();
    });
    EXPECT_EQ(AddInRegistry->GetTaskPriority(false), -1);
    ASSERT_EQ(taskCount(), 1);
    EXPECT_EQ(firstTask()->Importance(), 1);
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(CustomSendTaskTest, SendCreatesTheTaskStoresTheSettingsAndClosesWithOK) {
    const int result = send([](TCustomSendTask& d) {
        TReminderOptionsControls& c = *d.controls;
        type(c.comRemindMe, QStringLiteral("in 3 days"));
        type(c.comRemindMeTime, QStringLiteral("14:00"));
        d.btnShowOptions->click();
        c.chkDelete->setChecked(true);
        c.chkDuration->setChecked(true);
        type(c.comDuration, QStringLiteral("2 days"));
        c.comPriority->setCurrentIndex(2);
        d.btnSend->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_EQ(dialog->CurrentMailItem(), nullptr) << "released after the send";
    ASSERT_EQ(taskCount(), 1);
    const ol::TaskItemPtr task = firstTask();
    EXPECT_DOUBLE_EQ(task->StartDate(), at(13, 9));
    EXPECT_DOUBLE_EQ(task->DueDate(), at(15, 9));
    EXPECT_EQ(task->Importance(), 2);
    EXPECT_EQ(AddInRegistry->GetTaskRemindMeStart(false), QStringLiteral("d3"));
    EXPECT_EQ(AddInRegistry->GetTaskRemindMeTime(false), QStringLiteral("14:00"));
    EXPECT_TRUE(AddInRegistry->GetTaskShowAdvanced());
    EXPECT_TRUE(AddInRegistry->GetTaskDeleteOnReply(false));
    EXPECT_EQ(AddInRegistry->GetTaskPriority(false), 2);
}

// Thursday 09:00 "in 2 days" is a Saturday: ticked, the task starts on Monday at the
// moment of sending and reminds on Monday at the chosen time, and the box is remembered.
TEST_F(CustomSendTaskTest, TheWeekendMoveTickedStartsAndRemindsOnMonday) {
    const int result = send([](TCustomSendTask& d) {
        TReminderOptionsControls& c = *d.controls;
        EXPECT_FALSE(c.chkMoveOffWeekend->isChecked()) << "off until ticked";
        type(c.comRemindMe, QStringLiteral("in 2 days"));
        type(c.comRemindMeTime, QStringLiteral("14:00"));
        c.chkMoveOffWeekend->setChecked(true);
        d.btnSend->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    ASSERT_EQ(taskCount(), 1);
    const ol::TaskItemPtr task = firstTask();
    EXPECT_DOUBLE_EQ(task->StartDate(), at(14, 9));
    const ol::UserPropertyPtr reminder =
        task->UserProperties()->Item(QStringLiteral("ReminderTime"));
    ASSERT_NE(reminder, nullptr);
    EXPECT_EQ(reminder->Value(), tools::localUnixSecondsText(at(14, 14)));
    EXPECT_TRUE(AddInRegistry->GetTaskMoveOffWeekend(false));
    EXPECT_FALSE(AddInRegistry->GetTaskMoveOffWeekend(true));
}

TEST_F(CustomSendTaskTest, HiddenOptionsStillApply) {
    AddInRegistry->SetCustomTaskDeleteOnReply(true);
    AddInRegistry->SetCustomTaskMarkAsCompletedOnReply(false);
    send([](TCustomSendTask& d) {
        EXPECT_FALSE(d.controls->chkDelete->isEnabled());
        d.btnSend->click();
    });
    ASSERT_EQ(taskCount(), 1);
    const ol::UserPropertyPtr del =
        firstTask()->UserProperties()->Item(QStringLiteral("DeleteOnReply"));
    ASSERT_NE(del, nullptr);
    EXPECT_EQ(del->Value(), QStringLiteral("-1"));
    EXPECT_FALSE(AddInRegistry->GetTaskShowAdvanced());
}

struct ProblemRow {
    const char* what;
    bool remindMe;
    const char* period;
    const char* time;
    bool duration;
    const char* durationText;
    const char* message;
    const char* focus;
};

class SendProblems : public CustomSendTaskTest, public ::testing::WithParamInterface<ProblemRow> {};

TEST_P(SendProblems, AWarningTheFocusAndTheDialogStaysOpen) {
    const ProblemRow& row = GetParam();
    AddInRegistry->SetTaskShowAdvanced(true);
    QString focused;
    bool stillOpen = false;
    const int result = send([&](TCustomSendTask& d) {
        TReminderOptionsControls& c = *d.controls;
        (row.remindMe ? c.rdbRemindMe : c.rdbTask)->click();
        (row.remindMe ? c.comRemindMe : c.comTask)->setEditText(QString::fromUtf8(row.period));
        c.comRemindMeTime->setEditText(QString::fromUtf8(row.time));
        c.chkDuration->setChecked(row.duration);
        c.comDuration->setEditText(QString::fromUtf8(row.durationText));
        d.btnSend->click();
        stillOpen = d.isVisible();
        focused = d.focusWidget() ? d.focusWidget()->objectName() : QString();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_NE(result, QDialog::Accepted);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, QString::fromUtf8(row.message));
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Warning);
    EXPECT_EQ(focused, QLatin1String(row.focus));
    EXPECT_EQ(taskCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    CustomSendTaskTest, SendProblems,
    ::testing::Values(
        ProblemRow{"period", true, "abc", "10:00", false, "",
                   "The period abc is invalid. Please enter a valid period.", "comRemindMe"},
        ProblemRow{"task period", false, "soon", "10:00", false, "",
                   "The period soon is invalid. Please enter a valid period.", "comTask"},
        ProblemRow{"time", true, "tomorrow", "25:99", false, "",
                   "The time 25:99 is invalid. Please enter a valid time.", "comRemindMeTime"},
        ProblemRow{"duration", true, "tomorrow", "10:00", true, "forever",
                   "The duration forever is invalid. Please enter a valid period.",
                   "comDuration"}));

TEST_F(CustomSendTaskTest, TaskModeNeverChecksTheTimeAndAnUntickedDurationIsIgnored) {
    const int result = send([](TCustomSendTask& d) {
        TReminderOptionsControls& c = *d.controls;
        c.rdbTask->click();
        c.comTask->setEditText(QStringLiteral("in 1 week"));
        c.comRemindMeTime->setEditText(QStringLiteral("nonsense"));
        c.chkDuration->setChecked(false);
        c.comDuration->setEditText(QStringLiteral("nonsense"));
        d.btnSend->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(prompts->shown.empty());
    ASSERT_EQ(taskCount(), 1);
    const ol::TaskItemPtr task = firstTask();
    EXPECT_DOUBLE_EQ(task->StartDate(), at(17, 9));
    EXPECT_EQ(task->DueDate(), ol::kNoDate);
    EXPECT_EQ(task->UserProperties()->Item(QStringLiteral("ReminderSet"))->Value(),
              QStringLiteral("0"));
    EXPECT_FALSE(AddInRegistry->GetTaskSetDuration(false));
    EXPECT_EQ(AddInRegistry->GetTaskDuration(false), QStringLiteral("d1")) << "not stored";
}

TEST_F(CustomSendTaskTest, TomorrowAsADurationIsSentButNotStored) {
    AddInRegistry->SetCustomTaskDuration(QStringLiteral("d5"));
    send([](TCustomSendTask& d) {
        d.btnShowOptions->click();
        d.controls->chkDuration->setChecked(true);
        d.controls->comDuration->setEditText(QStringLiteral("tomorrow"));
        d.btnSend->click();
    });
    ASSERT_EQ(taskCount(), 1);
    const ol::TaskItemPtr task = firstTask();
    EXPECT_DOUBLE_EQ(task->DueDate(), task->StartDate() + 1.0);
    EXPECT_EQ(AddInRegistry->GetTaskDuration(false), QStringLiteral("d5"));
    EXPECT_TRUE(AddInRegistry->GetTaskSetDuration(false));
}

TEST_F(CustomSendTaskTest, AnInvalidDurationWithTheOptionsHiddenMeanwhileKeepsTheFocus) {
    AddInRegistry->SetTaskShowAdvanced(true);
    QWidget* focused = nullptr;
    send([&](TCustomSendTask& d) {
        d.controls->chkDuration->setChecked(true);
        d.controls->comDuration->setEditText(QStringLiteral("forever"));
        d.btnHideOptions->click();
        d.controls->comRemindMe->setFocus();
        d.btnSend->click();
        focused = d.focusWidget();
        EXPECT_TRUE(d.btnShowOptions->isVisible()) << "the options stay hidden";
        d.btnCancel->click();
    });
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(focused, dialog->controls->comRemindMe);
}

TEST_F(CustomSendTaskTest, WithoutAMessageSendReportsItAndStaysOpen) {
    dialog->SetCurrentMailItem(nullptr);
    bool stillOpen = false;
    send(
        [&](TCustomSendTask& d) {
            d.btnSend->click();
            stillOpen = d.isVisible();
        },
        false);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text,
              QStringLiteral("An error occurred while creating the Vantorel! The current message "
                             "is not assigned."));
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(taskCount(), 0);
}

TEST_F(CustomSendTaskTest, ACreationErrorIsShownOnceAndTheSendGoesOn) {
    engine->faults().failNext(QStringLiteral("TaskItem.Save"));
    const int result = send([](TCustomSendTask& d) {
        d.controls->comRemindMe->setEditText(QStringLiteral("in 4 days"));
        d.btnSend->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, kCreationError);
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(taskCount(), 0);
    EXPECT_EQ(AddInRegistry->GetTaskRemindMeStart(false), QStringLiteral("d4")) << "stored";
    EXPECT_EQ(dialog->CurrentMailItem(), nullptr);
}

TEST_F(CustomSendTaskTest, CancelStoresOnlyWhetherTheOptionsAreShown) {
    const QString before = AddInRegistry->GetTaskRemindMeStart(false);
    const int result = send([](TCustomSendTask& d) {
        d.controls->comRemindMe->setEditText(QStringLiteral("in 3 weeks"));
        d.btnShowOptions->click();
        d.controls->chkDelete->setChecked(!d.controls->chkDelete->isChecked());
        d.btnCancel->click();
    });
    EXPECT_NE(result, QDialog::Accepted);
    EXPECT_TRUE(AddInRegistry->GetTaskShowAdvanced());
    EXPECT_EQ(AddInRegistry->GetTaskRemindMeStart(false), before);
    EXPECT_NE(dialog->CurrentMailItem(), nullptr) << "held until the next message";
    // The next showing shows the stored values again, with the options as left.
    send([&](TCustomSendTask& d) {
        EXPECT_EQ(d.controls->comRemindMe->currentText(),
                  FormatPeriodPhrase(before, kPhraseStyleStart));
        EXPECT_TRUE(d.btnHideOptions->isVisible());
        d.btnCancel->click();
    });
}

TEST_F(CustomSendTaskTest, EscapeIsCancelAndTheCloseBoxStoresNothing) {
    int result = send([](TCustomSendTask& d) {
        d.btnShowOptions->click();
        key(d.controls->comRemindMe, Qt::Key_Escape);
    });
    EXPECT_NE(result, QDialog::Accepted);
    EXPECT_TRUE(AddInRegistry->GetTaskShowAdvanced());

    result = send([](TCustomSendTask& d) {
        d.btnHideOptions->click();
        d.close();
    });
    EXPECT_NE(result, QDialog::Accepted);
    EXPECT_TRUE(AddInRegistry->GetTaskShowAdvanced()) << "the close box stored nothing";
    EXPECT_EQ(taskCount(), 0);
}

TEST_F(CustomSendTaskTest, ReturnPressesSend) {
    const int result =
        send([](TCustomSendTask& d) { key(d.controls->comRemindMe, Qt::Key_Return); });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(taskCount(), 1);
}

TEST_F(CustomSendTaskTest, F1OpensTheHelpAtContext6) {
    send([](TCustomSendTask& d) {
        key(d.controls->comTask, Qt::Key_F1);
        d.btnCancel->click();
    });
    ASSERT_EQ(windows->helpShown.size(), 1u);
    EXPECT_EQ(windows->helpShown[0].first, QStringLiteral("/opt/vantorel/Vantorel.chm"));
    EXPECT_EQ(windows->helpShown[0].second, 6);
}

}  // namespace
