// The default settings dialog, offscreen, on a real settings hive.

#include "DesignedGeometry.h"
#include "forms/DefaultSettingsUnit.h"
#include "platform/AtomicWrite.h"
#include "platform/Clock.h"
#include "settings/AddInRegistry.h"
#include "tests/support/RecordingPrompts.h"
#include "tests/support/ScriptedWindows.h"
#include "tests/support/TempHives.h"
#include "tests/support/TestSystem.h"
#include "tools/Globals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>

#include <gtest/gtest.h>

using namespace vantorel;

namespace {

void key(QWidget* target, int code) {
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
}

class DefaultSettingsTest : public ::testing::Test {
protected:
    DefaultSettingsTest()
        : clock(std::make_shared<platform::ManualClock>(
              QDateTime(QDate(2026, 12, 10), QTime(9, 0)))) {
        platform::installClock(clock);
        AddInRegistry = new TAddInRegistry();
        HelpFilePath = QStringLiteral("/opt/vantorel/Vantorel.chm");
        dialog = std::make_unique<TDefaultSettings>();
    }
    ~DefaultSettingsTest() override {
        dialog.reset();
        delete AddInRegistry;
        AddInRegistry = nullptr;
        HelpFilePath.clear();
        platform::installClock(nullptr);
    }

    // Shows the dialog; PERSON acts in it.
    int show(const std::function<void(TDefaultSettings&)>& person) {
        windows->person = [&](QDialog&) { person(*dialog); };
        return dialog->ShowModal();
    }

    static void type(QComboBox* box, const QString& text) {
        box->setFocus();
        box->setEditText(text);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(box, &out);
    }
    // Every value of one set, as stored.
    static QStringList stored(bool DefaultSet) {
        TAddInRegistry& r = *AddInRegistry;
        return {QString::number(r.GetTaskRemindMe(DefaultSet)),
                r.GetTaskCreateOnlyStart(DefaultSet),
                r.GetTaskRemindMeStart(DefaultSet),
                r.GetTaskRemindMeTime(DefaultSet),
                QString::number(r.GetTaskDeleteOnReply(DefaultSet)),
                QString::number(r.GetTaskMarkAsCompletedOnReply(DefaultSet)),
                r.GetTaskDuration(DefaultSet),
                QString::number(r.GetTaskSetDuration(DefaultSet)),
                QString::number(r.GetTaskPriority(DefaultSet))};
    }

    // The person's usual edits: a task in 2 weeks, delete on reply, 3 days, high.
    static void editEverything(TDefaultSettings& d) {
        TReminderOptionsControls& c = *d.controls;
        c.rdbTask->click();
        type(c.comTask, QStringLiteral("in 2 weeks"));
        c.rdbRemindMe->click();
        type(c.comRemindMe, QStringLiteral("on next Friday"));
        type(c.comRemindMeTime, QStringLiteral("8:30"));
        c.chkDelete->setChecked(true);
        c.chkCompleted->setChecked(false);
        c.chkDuration->setChecked(true);
        type(c.comDuration, QStringLiteral("3 days"));
        c.comPriority->setCurrentIndex(2);
    }
    const QStringList kEdited{QStringLiteral("1"),     QStringLiteral("d14"), QStringLiteral("o5"),
                              QStringLiteral("08:30"), QStringLiteral("1"),   QStringLiteral("0"),
                              QStringLiteral("d3"),    QStringLiteral("1"),   QStringLiteral("2")};

    test::TempHives hives;
    test::PromptsScope prompts;
    test::WindowsScope windows;
    std::shared_ptr<platform::ManualClock> clock;
    std::unique_ptr<TDefaultSettings> dialog;
};

TEST_F(DefaultSettingsTest, TheWindowAsDesigned) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Vantorel - Default Settings"));
    EXPECT_EQ(dialog->size(), QSize(377, 369));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "not resizable";
    EXPECT_TRUE(dialog->btnOK->isDefault());
    const std::tuple<const char*, QRect, const char*> rows[] = {
        {"btnOK", {213, 336, 75, 25}, "&OK"},
        {"btnCancel", {294, 336, 75, 25}, "&Cancel"},
        {"cmdReset", {59, 294, 289, 17}, "Re&set \"custom\" settings with these defaults"},
        // The shared controls stand where the custom send dialog has them.
        {"pnlReminder", {59, 14, 310, 1}, ""},
        {"rdbRemindMe", {59, 27, 294, 17}, "Send message and if no reply received, &remind me"},
        {"comRemindMe", {72, 50, 135, 21}, ""},
        {"comRemindMeTime", {229, 50, 102, 21}, ""},
        {"rdbTask", {59, 91, 294, 17}, "Send e-mail and create a &Task (no reminder) starting "},
        {"comTask", {72, 114, 135, 21}, ""},
        {"chkMoveOffWeekend", {59, 141, 289, 17}, "Move reminders off the &weekend"},
        {"pnlOptions", {51, 176, 318, 1}, ""},
        {"chkCompleted", {59, 189, 289, 17}, "&Mark as Completed when response received"},
        {"chkDelete", {59, 212, 289, 17}, "D&elete Task when response received"},
        {"chkDuration", {59, 235, 97, 17}, "Set &Duration to"},
        {"comDuration", {154, 233, 84, 21}, ""},
        {"comPriority", {128, 258, 84, 21}, ""},
        {"imgReminder", {8, 27, 32, 32}, ""},
        {"imgOptions", {8, 189, 32, 32}, ""},
    };
    for (const auto& [name, geometry, caption] : rows) {
        QWidget* w = dialog->findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(w, nullptr) << name;
        test::ExpectAsDesigned(*w, geometry,
                               QLatin1String(name) == QLatin1String("comDuration")
                                   ? dialog->findChild<QWidget*>(QStringLiteral("chkDuration"))
                                   : nullptr);
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(caption)) << name;
        }
    }
    EXPECT_FALSE(dialog->controls->imgOptions->pixmap().isNull());
    EXPECT_EQ(dialog->findChild<QWidget*>(QStringLiteral("btnShowOptions")), nullptr);
}

TEST_F(DefaultSettingsTest, ShowingLoadsTheDefaultsNotTheCustomSet) {
    AddInRegistry->SetTaskRemindMe(false, false);
    AddInRegistry->SetTaskCreateOnlyStart(QStringLiteral("d7"), false);
    AddInRegistry->SetTaskSetDuration(true, false);
    AddInRegistry->SetTaskDuration(QStringLiteral("d14"), false);
    AddInRegistry->SetTaskPriority(0, false);
    AddInRegistry->SetCustomTaskCreateOnlyStart(QStringLiteral("d3"));
    show([](TDefaultSettings& d) {
        const TReminderOptionsControls& c = *d.controls;
        EXPECT_TRUE(c.rdbTask->isChecked());
        EXPECT_EQ(c.comTask->currentText(), QStringLiteral("in 1 week"));
        EXPECT_TRUE(c.comTask->isEnabled());
        EXPECT_FALSE(c.comRemindMe->isEnabled());
        EXPECT_FALSE(c.comRemindMeTime->isEnabled());
        EXPECT_EQ(c.comRemindMeTime->currentText(), QStringLiteral("the same hour"));
        EXPECT_EQ(c.comDuration->currentText(), QStringLiteral("2 weeks"));
        EXPECT_TRUE(c.comDuration->isEnabled());
        EXPECT_EQ(c.comPriority->currentText(), QStringLiteral("Low"));
        // The options area is always there.
        EXPECT_TRUE(c.chkCompleted->isVisible());
        EXPECT_TRUE(c.chkDelete->isEnabled());
        EXPECT_FALSE(d.cmdReset->isChecked());
        d.btnCancel->click();
    });
}

TEST_F(DefaultSettingsTest, OKWithResetWritesBothSetsWithoutItOnlyTheDefaults) {
    const QStringList customBefore = stored(false);
    EXPECT_EQ(show([this](TDefaultSettings& d) {
                  editEverything(d);
                  d.btnOK->click();
              }),
              QDialog::Accepted);
    EXPECT_EQ(stored(true), kEdited);
    EXPECT_EQ(stored(false), customBefore) << "the custom set is untouched";

    AddInRegistry->SetTaskShowAdvanced(true);
    show([](TDefaultSettings& d) {
        d.controls->comPriority->setCurrentIndex(0);
        d.cmdReset->setChecked(true);
        d.btnOK->click();
    });
    QStringList expected = kEdited;
    expected.last() = QStringLiteral("0");
    EXPECT_EQ(stored(true), expected);
    EXPECT_EQ(stored(false), expected) << "copied into the custom set";
    EXPECT_TRUE(AddInRegistry->GetTaskShowAdvanced()) << "whether options show is not touched";
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(DefaultSettingsTest, TheResetBoxKeepsItsStateBetweenShowings) {
    show([](TDefaultSettings& d) {
        d.cmdReset->setChecked(true);
        d.btnCancel->click();
    });
    show([](TDefaultSettings& d) {
        EXPECT_TRUE(d.cmdReset->isChecked());
        d.btnOK->click();
    });
    EXPECT_EQ(stored(false), stored(true));
    // A new dialog, as at the next start of the mail client, starts unticked.
    dialog = std::make_unique<TDefaultSettings>();
    show([](TDefaultSettings& d) { EXPECT_FALSE(d.cmdReset->isChecked()); });
}

struct OKProblemRow {
    const char* what;
    bool remindMe;
    const char* period;
    const char* time;
    const char* message;
    const char* focus;
};

class OKProblems : public DefaultSettingsTest,
                   public ::testing::WithParamInterface<OKProblemRow> {};

TEST_P(OKProblems, AWarningTheFocusAndNothingStored) {
    const OKProblemRow& row = GetParam();
    const QStringList defaultsBefore = stored(true);
    const QStringList customBefore = stored(false);
    QString focused;
    bool stillOpen = false;
    const int result = show([&](TDefaultSettings& d) {
        TReminderOptionsControls& c = *d.controls;
        d.cmdReset->setChecked(true);
        (row.remindMe ? c.rdbRemindMe : c.rdbTask)->click();
        (row.remindMe ? c.comRemindMe : c.comTask)->setEditText(QString::fromUtf8(row.period));
        c.comRemindMeTime->setEditText(QString::fromUtf8(row.time));
        c.chkDelete->setChecked(true);
        d.btnOK->click();
        stillOpen = d.isVisible();
        focused = d.focusWidget() ? d.focusWidget()->objectName() : QString();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_NE(result, QDialog::Accepted);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, QString::fromUtf8(row.message));
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Warning);
    EXPECT_EQ(focused, QLatin1String(row.focus));
    EXPECT_EQ(stored(true), defaultsBefore);
    EXPECT_EQ(stored(false), customBefore);
}

INSTANTIATE_TEST_SUITE_P(
    DefaultSettingsTest, OKProblems,
    ::testing::Values(
        OKProblemRow{"RemindPeriod", true, "abc", "10:00",
                     "The period abc is invalid. Please enter a valid period.", "comRemindMe"},
        OKProblemRow{"TaskPeriod", false, "soon", "10:00",
                     "The period soon is invalid. Please enter a valid period.", "comTask"},
        OKProblemRow{"Time", true, "tomorrow", "25:99",
                     "The time 25:99 is invalid. Please enter a valid time.", "comRemindMeTime"}),
    [](const ::testing::TestParamInfo<OKProblemRow>& info) { return info.param.what; });

TEST_F(DefaultSettingsTest, InvalidEntriesOutsideTheChosenModeOrInTheDurationDoNotBlockOK) {
    AddInRegistry->SetTaskCreateOnlyStart(QStringLiteral("d2"), true);
    AddInRegistry->SetTaskDuration(QStringLiteral("d5"), true);
    AddInRegistry->SetTaskRemindMeTime(QStringLiteral("11:00"), true);
    const int result = show([](TDefaultSettings& d) {
        TReminderOptionsControls& c = *d.controls;
        d.cmdReset->setChecked(true);
        c.rdbRemindMe->click();
        c.comTask->setEditText(QStringLiteral("nonsense"));
        c.comRemindMe->setEditText(QStringLiteral("in 3 days"));
        c.chkDuration->setChecked(true);
        c.comDuration->setEditText(QStringLiteral("forever"));
        d.btnOK->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(prompts->shown.empty());
    for (const bool DefaultSet : {true, false}) {
        EXPECT_EQ(AddInRegistry->GetTaskCreateOnlyStart(DefaultSet), QStringLiteral("d2"));
        EXPECT_EQ(AddInRegistry->GetTaskDuration(DefaultSet), QStringLiteral("d5"));
        EXPECT_TRUE(AddInRegistry->GetTaskSetDuration(DefaultSet)) << "the flag is stored";
        EXPECT_EQ(AddInRegistry->GetTaskRemindMeStart(DefaultSet), QStringLiteral("d3"));
    }

    // In task mode the time is neither checked nor, when invalid, stored.
    EXPECT_EQ(show([](TDefaultSettings& d) {
                  d.controls->rdbTask->click();
                  d.controls->comTask->setEditText(QStringLiteral("tomorrow"));
                  d.controls->comRemindMeTime->setEditText(QStringLiteral("noon-ish"));
                  d.btnOK->click();
              }),
              QDialog::Accepted);
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_FALSE(AddInRegistry->GetTaskRemindMe(true));
    EXPECT_EQ(AddInRegistry->GetTaskRemindMeTime(true), QStringLiteral("11:00"));
}

struct CloseRow {
    const char* what;
    std::function<void(TDefaultSettings&)> close;
};

class WaysToCancel : public DefaultSettingsTest, public ::testing::WithParamInterface<CloseRow> {};

TEST_P(WaysToCancel, StoreNothingAndTheNextShowingShowsTheStoredDefaults) {
    const QStringList defaultsBefore = stored(true);
    const QStringList customBefore = stored(false);
    const int result = show([this](TDefaultSettings& d) {
        editEverything(d);
        d.cmdReset->setChecked(true);
        GetParam().close(d);
    });
    EXPECT_NE(result, QDialog::Accepted);
    EXPECT_EQ(stored(true), defaultsBefore);
    EXPECT_EQ(stored(false), customBefore);
    show([](TDefaultSettings& d) {
        EXPECT_EQ(d.controls->comRemindMe->currentText(), QStringLiteral("tomorrow"));
        EXPECT_EQ(d.controls->chkDelete->isChecked(), AddInRegistry->GetTaskDeleteOnReply(true));
        d.btnCancel->click();
    });
}

INSTANTIATE_TEST_SUITE_P(
    DefaultSettingsTest, WaysToCancel,
    ::testing::Values(
        CloseRow{"CancelButton", [](TDefaultSettings& d) { d.btnCancel->click(); }},
        CloseRow{"Escape", [](TDefaultSettings& d) { key(d.controls->comTask, Qt::Key_Escape); }},
        CloseRow{"CloseBox", [](TDefaultSettings& d) { d.close(); }}),
    [](const ::testing::TestParamInfo<CloseRow>& info) { return info.param.what; });

// A hive that cannot be written: OK tells why in an error box, whatever "IsVerbose"
// says, and the dialog stays open with what the person chose; the hive file is left
// byte for byte. Once the hive can be written, OK again saves those choices.
struct UnwritableRow {
    const char* what;
    std::function<std::shared_ptr<void>(const test::TempHives&)> block;
    const char* why;  // the message's end
};

void PrintTo(const UnwritableRow& row, std::ostream* out) {
    *out << row.what;
}

class UnwritableHive : public DefaultSettingsTest,
                       public ::testing::WithParamInterface<UnwritableRow> {};

TEST_P(UnwritableHive, OKSaysSoAndStaysOpen) {
    AddInRegistry->SetReplyTemplate(true, QStringLiteral("My template"));
    AddInRegistry->SetStartWizard(false);
    const QString file = hives.user().filePath();
    const auto bytes = [&file] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray before = bytes();
    std::shared_ptr<void> blocked = GetParam().block(hives);
    if (!blocked) {
        GTEST_SKIP() << "this system cannot take away the right to change the hive";
    }
    bool stillOpen = false;
    QString priorityAfter;
    QByteArray whileBlocked;
    const int result = show([&](TDefaultSettings& d) {
        d.btnOK->click();  // nothing changed: the defaults are stored for the first time
        d.controls->comPriority->setCurrentIndex(2);
        d.btnOK->click();
        stillOpen = d.isVisible();
        priorityAfter = d.controls->comPriority->currentText();
        whileBlocked = bytes();
        blocked.reset();
        d.btnOK->click();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(priorityAfter, QStringLiteral("High"));
    EXPECT_EQ(whileBlocked, before);
    ASSERT_EQ(prompts->shown.size(), 2u);
    for (const platform::MessageRequest& shown : prompts->shown) {
        EXPECT_EQ(shown.icon, platform::MessageIcon::Error);
        EXPECT_TRUE(shown.text.startsWith(QStringLiteral("Cannot save the settings to ") +
                                          QDir::toNativeSeparators(file) + QStringLiteral(": ")))
            << shown.text.toStdString();
        EXPECT_TRUE(shown.text.endsWith(QString::fromUtf8(GetParam().why)))
            << shown.text.toStdString();
    }
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(AddInRegistry->GetTaskPriority(true), 2);
    EXPECT_EQ(AddInRegistry->GetReplyTemplate(), QStringLiteral("My template"));
    EXPECT_FALSE(AddInRegistry->GetStartWizard());
}

std::shared_ptr<void> writeProtected(const QString& path) {
    auto protection = std::make_shared<test::WriteProtection>(path);
    return protection->done() ? protection : nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    DefaultSettingsTest, UnwritableHive,
    ::testing::Values(
        UnwritableRow{
            "FullDisk",
            [](const test::TempHives&) { return std::make_shared<platform::DiskSpaceLimit>(0); },
            ": the disk is full."},
        UnwritableRow{"ReadOnlyHiveFile",
                      [](const test::TempHives& h) { return writeProtected(h.userFile()); }, ")."},
        UnwritableRow{"ReadOnlyFolder",
                      [](const test::TempHives& h) { return writeProtected(h.folder()); }, ")."}),
    [](const ::testing::TestParamInfo<UnwritableRow>& info) { return info.param.what; });

// What is stored already needs no room: OK with nothing changed closes on a full disk.
TEST_F(DefaultSettingsTest, OKWithEverythingStoredAlreadyNeedsNoRoom) {
    show([](TDefaultSettings& d) { d.btnOK->click(); });
    const platform::DiskSpaceLimit full(0);
    EXPECT_EQ(show([](TDefaultSettings& d) { d.btnOK->click(); }), QDialog::Accepted);
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(DefaultSettingsTest, ReturnInABoxPressesOK) {
    EXPECT_EQ(show([](TDefaultSettings& d) {
                  d.controls->comRemindMe->setEditText(QStringLiteral("in 4 days"));
                  key(d.controls->comRemindMe, Qt::Key_Return);
              }),
              QDialog::Accepted);
    EXPECT_EQ(AddInRegistry->GetTaskRemindMeStart(true), QStringLiteral("d4"));
}

TEST_F(DefaultSettingsTest, F1OpensTheHelpAtContext10) {
    show([](TDefaultSettings& d) {
        key(d.controls->comDuration, Qt::Key_F1);
        d.btnCancel->click();
    });
    ASSERT_EQ(windows->helpShown.size(), 1u);
    EXPECT_EQ(windows->helpShown[0].first, QStringLiteral("/opt/vantorel/Vantorel.chm"));
    EXPECT_EQ(windows->helpShown[0].second, 10);
}

}  // namespace
