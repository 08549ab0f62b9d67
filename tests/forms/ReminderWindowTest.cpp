// The reminders window, offscreen, on a real mailbox, with a clock and timers that
// move only when the test moves them.

#include "forms/ReminderWindowUnit.h"
#include "host/engine/Engine.h"
#include "host/scenario/ScenarioWindows.h"
#include "host/scenario/VirtualScheduler.h"
#include "platform/Clock.h"
#include "platform/Timer.h"
#include "reminders/TrackingProperties.h"
#include "settings/AddInRegistry.h"
#include "tests/support/RecordingPrompts.h"
#include "tests/support/ScriptedWindows.h"
#include "tests/support/TempHives.h"
#include "tools/DateTime.h"
#include "tools/Globals.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantorel;
namespace ol = vantorel::outlook;

namespace {

const QString kAnnAndBob = QStringLiteral("Ann Lee|ann@example.com;Bob|bob@example.com;");

// What a tracking task is made of, relative to now.
struct TaskFields {
    QString topic = QStringLiteral("Offer");
    qint64 nDueSeconds = -60;  // "ReminderTime" from now
    std::optional<QString> recipients = kAnnAndBob;
    bool bWithMail = true;
    bool bWithTopic = true;
};

// The offscreen platform cannot raise a window; it says so every time.
QtMessageHandler defaultMessageHandler = nullptr;
void quietRaise(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && text.contains(QLatin1String("does not support raise()"))) {
        return;
    }
    defaultMessageHandler(type, context, text);
}

class ReminderWindowTest : public ::testing::Test {
protected:
    ReminderWindowTest()
        : clock(
              std::make_shared<platform::ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(9, 5)))),
          scheduler(std::make_shared<host::VirtualScheduler>(clock)) {
        defaultMessageHandler = qInstallMessageHandler(quietRaise);
        platform::installClock(clock);
        platform::installTimerService(scheduler);
        engine = std::make_unique<engine::Engine>(dir.filePath(QStringLiteral("mailbox.db")));
        OutlookApp = engine->application();
        ns = OutlookApp->GetNamespace(QStringLiteral("MAPI"));
        HelpFilePath = QStringLiteral("/opt/vantorel/Vantorel.chm");
        DisplayScale = 100;
        window = std::make_unique<TTReminderWindow>();
    }
    ~ReminderWindowTest() override {
        window.reset();
        DisplayScale = 0;
        HelpFilePath.clear();
        ns.reset();
        OutlookApp.reset();
        engine.reset();
        platform::installTimerService(nullptr);
        platform::installClock(nullptr);
        qInstallMessageHandler(defaultMessageHandler);
    }

    qint64 now() const { return NowLocalUnixSeconds(); }

    // A saved tracking task; its EntryID.
    QString trackingTask(const TaskFields& fields = {}) {
        const ol::TaskItemPtr task = ol::asTaskItem(OutlookApp->CreateItem(ol::olTaskItem));
        task->SetSubject(QStringLiteral("Follow up: ") + fields.topic);
        if (fields.bWithTopic) {
            WriteTrackingProperty(*task, TrackingProperty::Topic, fields.topic);
        }
        if (fields.bWithMail) {
            const ol::MailItemPtr mail = ol::asMailItem(OutlookApp->CreateItem(ol::olMailItem));
            mail->SetSubject(fields.topic);
            mail->Save();
            WriteTrackingProperty(*task, TrackingProperty::Mail, mail->EntryID());
        }
        if (fields.recipients) {
            WriteTrackingProperty(*task, TrackingProperty::Recipients, *fields.recipients);
        }
        WriteTrackingProperty(*task, TrackingProperty::FirstSent,
                              QString::number(now() - 16 * 3600));
        WriteTrackingProperty(*task, TrackingProperty::ReminderSet, tools::boolText(true));
        WriteTrackingProperty(*task, TrackingProperty::ReminderTime,
                              QString::number(now() + fields.nDueSeconds));
        task->Save();
        return task->EntryID();
    }
    ol::TaskItemPtr stored(const QString& entryId) {
        return ol::asTaskItem(ns->GetItemFromID(entryId));
    }
    bool add(const QString& entryId) { return window->ReminderAdd(stored(entryId)); }
    // Tasks with the topics given, all listed; their EntryIDs.
    QStringList listed(const QStringList& topics) {
        QStringList ids;
        for (const QString& topic : topics) {
            TaskFields fields;
            fields.topic = topic;
            ids << trackingTask(fields);
            EXPECT_TRUE(add(ids.back()));
        }
        return ids;
    }
    std::optional<QString> property(const QString& entryId, const QString& name) {
        return ReadTrackingProperty(*stored(entryId), name);
    }

    QStringList topics() const {
        QStringList result;
        for (int i = 0; i < window->lstReminders->topLevelItemCount(); ++i) {
            result << window->lstReminders->topLevelItem(i)->text(0);
        }
        return result;
    }
    QList<int> selected() const {
        QList<int> result;
        for (int i = 0; i < window->lstReminders->topLevelItemCount(); ++i) {
            if (window->lstReminders->topLevelItem(i)->isSelected()) {
                result << i + 1;
            }
        }
        return result;
    }
    template <typename T = QWidget>
    T* control(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }
    void click(const char* name) { control<QPushButton>(name)->click(); }
    // Exactly these entries (from 1) selected, as the scripted host's `list select` does.
    void select(const QList<int>& positions) {
        host::selectListEntries(*window, QStringLiteral("lstReminders"), positions);
    }
    static void key(QWidget* target, int code) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
    }
    QString label(const char* name) const { return control<QLabel>(name)->text(); }

    QTemporaryDir dir;
    test::PromptsScope prompts;
    test::WindowsScope windows;
    std::shared_ptr<platform::ManualClock> clock;
    std::shared_ptr<host::VirtualScheduler> scheduler;
    std::unique_ptr<engine::Engine> engine;
    ol::NameSpacePtr ns;
    std::unique_ptr<TTReminderWindow> window;
};

// ---- The window as designed ----

struct ControlRow {
    const char* name;
    QRect geometry;
    const char* caption;
};

TEST_F(ReminderWindowTest, TheWindowAsDesigned) {
    EXPECT_EQ(window->size(), QSize(517, 342));
    EXPECT_EQ(window->minimumSize(), QSize(462 - 6, 325 - 29));
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(window->font().pixelSize(), 11);
    EXPECT_FALSE(window->windowIcon().isNull());

    const ControlRow rows[] = {
        {"Panel1", {0, 0, 520, 288}, ""},
        {"PictureTask", {16, 8, 32, 32}, ""},
        {"lblSubject", {55, 8, 329, 25}, ""},
        {"lstReminders", {10, 79, 499, 172}, ""},
        {"cmdReSend", {10, 257, 90, 23}, "&Re-send e-mail"},
        {"cmdView", {110, 257, 90, 23}, "Open &e-mail"},
        {"cmdViewItem", {323, 257, 90, 23}, "&Open Item"},
        {"cmdDissmiss", {419, 257, 90, 23}, "&Dismiss"},
        {"lblClickSnooze", {10, 294, 195, 13}, "&Click Snooze to be reminded again in:"},
        {"comSnooze", {8, 313, 391, 21}, "5 minutes"},
        {"cmdSnooze", {419, 311, 90, 23}, "&Snooze"},
    };
    for (const ControlRow& row : rows) {
        QWidget* w = control(row.name);
        ASSERT_NE(w, nullptr) << row.name;
        EXPECT_EQ(w->geometry(), row.geometry) << row.name;
        QString caption;
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            caption = button->text();
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            caption = label->text();
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            caption = combo->currentText();
        }
        EXPECT_EQ(caption, QLatin1String(row.caption)) << row.name;
    }
    EXPECT_EQ(control<QLabel>("lblSentTo")->geometry().topLeft(), QPoint(54, 33));
    EXPECT_EQ(control<QLabel>("lblSubject")->font().pixelSize(), 19);
    EXPECT_EQ(control<QLabel>("lblSubject")->font().families().value(0),
              QStringLiteral("Segoe UI"));

    QTreeWidget* list = window->lstReminders;
    EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("Subject"));
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("Sent to"));
    EXPECT_EQ(list->headerItem()->text(2), QStringLiteral("Due in"));
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(list->rootIsDecorated());
    EXPECT_FALSE(list->header()->sectionsClickable());

    QComboBox* snooze = window->comSnooze;
    EXPECT_TRUE(snooze->isEditable());
    ASSERT_EQ(snooze->count(), 15);
    EXPECT_EQ(snooze->itemText(0), QStringLiteral("5 minutes"));
    EXPECT_EQ(snooze->itemText(4), QStringLiteral("1 hour"));
    EXPECT_EQ(snooze->itemText(13), QStringLiteral("2 weeks"));
    EXPECT_EQ(snooze->itemText(14), QStringLiteral("Next working day"));
}

// Long subjects and long lists of recipients, at 100 % and 150 %: at the window's
// default size every column, heading and cell, lies within the list, and the texts
// too long for their room end (the subject) or break in the middle (the recipients,
// whose date stays) with an ellipsis, in the list and in the labels above it.
class ReminderWindowLongTextTest : public ReminderWindowTest,
                                   public ::testing::WithParamInterface<quint16> {};

TEST_P(ReminderWindowLongTextTest, EveryColumnStaysInViewAndLongTextsAreElided) {
    DisplayScale = GetParam();
    window = std::make_unique<TTReminderWindow>();
    const QString ellipsis(QChar(0x2026));
    TaskFields longOne;
    longOne.topic = QStringLiteral(
        "Quarterly figures of the northern sales region with the revised forecast for the "
        "coming year and the questions raised at the last board meeting");
    QString recipients;
    for (const char* name : {"Ann Lee", "Bob Miller", "Carla Diaz", "Dmitri Volkov",
                             "Eleanor Whitfield", "Francesca Romano"}) {
        recipients += QLatin1String(name) + QStringLiteral("|x@example.com;");
    }
    longOne.recipients = recipients;
    longOne.nDueSeconds = -3 * 7 * 24 * 3600;  // "3 weeks overdue"
    ASSERT_TRUE(add(trackingTask(longOne)));
    ASSERT_TRUE(add(trackingTask({QStringLiteral("Offer"), -60, QStringLiteral("Bob|b@x.org;")})));
    QApplication::processEvents();
    ASSERT_EQ(window->size(), QSize(517, 342));

    QTreeWidget* list = window->lstReminders;
    const QHeaderView* header = list->header();
    const QRect viewport = list->viewport()->rect();
    for (int column = 0; column < 3; ++column) {
        SCOPED_TRACE(column);
        const int left = header->sectionViewportPosition(column);
        EXPECT_GE(left, 0);
        EXPECT_LE(left + header->sectionSize(column), viewport.width()) << "the heading in view";
        EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column))
            << "the heading whole";
        for (int row = 0; row < 2; ++row) {
            EXPECT_TRUE(viewport.contains(list->visualRect(list->model()->index(row, column))))
                << "row " << row;
        }
    }
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());

    const QTreeWidgetItem* entry = list->topLevelItem(0);
    const QString subject = window->ShownCellText(0, 0);
    EXPECT_TRUE(subject.endsWith(ellipsis)) << subject.toStdString();
    EXPECT_TRUE(entry->text(0).startsWith(subject.chopped(1))) << subject.toStdString();
    const QString sentTo = window->ShownCellText(0, 1);
    EXPECT_TRUE(sentTo.startsWith(QStringLiteral("Ann Lee"))) << sentTo.toStdString();
    EXPECT_TRUE(sentTo.contains(ellipsis)) << sentTo.toStdString();
    EXPECT_TRUE(sentTo.endsWith(QStringLiteral(", on 12/9/26"))) << sentTo.toStdString();
    EXPECT_EQ(window->ShownCellText(0, 2), QStringLiteral("3 weeks overdue"));
    // A short entry shows whole.
    EXPECT_EQ(window->ShownCellText(1, 0), QStringLiteral("Offer"));
    EXPECT_EQ(window->ShownCellText(1, 1), list->topLevelItem(1)->text(1));

    // The labels above the list: within the panel, shortened, their texts kept whole.
    for (const char* name : {"lblSubject", "lblSentTo"}) {
        EXPECT_LE(control(name)->geometry().right(), window->Panel1->width()) << name;
    }
    const QString shownSubject = TTReminderWindow::ShownLabelText(control<QLabel>("lblSubject"));
    EXPECT_TRUE(shownSubject.endsWith(ellipsis)) << shownSubject.toStdString();
    EXPECT_EQ(label("lblSubject"), longOne.topic);
    const QString shownSentTo = TTReminderWindow::ShownLabelText(control<QLabel>("lblSentTo"));
    EXPECT_TRUE(shownSentTo.startsWith(QStringLiteral("Sent to Ann Lee")))
        << shownSentTo.toStdString();
    EXPECT_TRUE(shownSentTo.contains(ellipsis)) << shownSentTo.toStdString();
    EXPECT_TRUE(shownSentTo.endsWith(QStringLiteral(", on 12/9/26"))) << shownSentTo.toStdString();
    const QString folder = qEnvironmentVariable("VANTOREL_GRAB_DIR");
    if (!folder.isEmpty()) {
        window->grab().save(folder +
                            QStringLiteral("/reminder-window-long-%1.png").arg(GetParam()));
    }

    // Made wider, the list gives the subject the room.
    window->resize(900, 342);
    QApplication::processEvents();
    EXPECT_LE(header->sectionViewportPosition(2) + header->sectionSize(2),
              list->viewport()->width());
    EXPECT_GT(window->ShownCellText(0, 0).size(), subject.size());
}

INSTANTIATE_TEST_SUITE_P(Scales, ReminderWindowLongTextTest, ::testing::Values(100, 150),
                         [](const ::testing::TestParamInfo<quint16>& info) {
                             return "At" + std::to_string(info.param);
                         });

TEST_F(ReminderWindowTest, ControlsKeepTheirAnchoredEdges) {
    ASSERT_TRUE(add(trackingTask()));
    window->resize(617, 442);
    EXPECT_EQ(control("Panel1")->geometry(), QRect(0, 0, 620, 388));
    EXPECT_EQ(control("lstReminders")->geometry(), QRect(10, 79, 599, 272));
    EXPECT_EQ(control("cmdReSend")->geometry(), QRect(10, 357, 90, 23));
    EXPECT_EQ(control("cmdDissmiss")->geometry(), QRect(519, 357, 90, 23));
    EXPECT_EQ(control("lblSubject")->geometry(), QRect(55, 8, 429, 25));
    EXPECT_EQ(control("comSnooze")->geometry(), QRect(8, 413, 491, 21));
    EXPECT_EQ(control("cmdSnooze")->geometry(), QRect(519, 411, 90, 23));
    EXPECT_EQ(control("lblClickSnooze")->geometry(), QRect(10, 394, 195, 13));
}

TEST_F(ReminderWindowTest, ImagesFollowTheDisplayScale) {
    EXPECT_EQ(window->SmallImageSize(), 16);
    EXPECT_EQ(window->lstReminders->iconSize(), QSize(16, 16));
    EXPECT_EQ(window->PictureTask->pixmap().size(), QSize(32, 32));

    DisplayScale = 150;
    TTReminderWindow scaled;
    EXPECT_EQ(scaled.SmallImageSize(), 24);
    EXPECT_EQ(scaled.lstReminders->iconSize(), QSize(24, 24));
    EXPECT_EQ(scaled.PictureTask->pixmap().size(), QSize(48, 48));
    EXPECT_EQ(scaled.ImageList24.availableSizes().value(0), QSize(24, 24));
}

// ---- Adding and removing entries ----

TEST_F(ReminderWindowTest, TheFirstEntryIsSelectedAndShown) {
    const QString id = trackingTask();
    ASSERT_TRUE(add(id));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("1 Vantorel"));
    EXPECT_EQ(selected(), QList<int>{1});
    EXPECT_TRUE(window->lstReminders->hasFocus() || QApplication::focusWidget() == nullptr);
    const QTreeWidgetItem* entry = window->lstReminders->topLevelItem(0);
    EXPECT_EQ(entry->text(0), QStringLiteral("Offer"));
    EXPECT_EQ(entry->text(1), QStringLiteral("Ann Lee, Bob, on 12/9/26"));
    EXPECT_EQ(entry->text(2), QStringLiteral("1 minute overdue"));
    EXPECT_FALSE(entry->icon(0).isNull());
    EXPECT_EQ(label("lblSubject"), QStringLiteral("Offer"));
    EXPECT_EQ(label("lblSentTo"), QStringLiteral("Sent to Ann Lee, Bob, on 12/9/26"));
    EXPECT_TRUE(window->PictureTask->isVisible());
    EXPECT_TRUE(window->cmdSnooze->isEnabled());
    EXPECT_EQ(window->EntryData(0).TaskID, id);
    EXPECT_EQ(window->EntryData(0).MailID, *property(id, TrackingProperty::Mail));
    EXPECT_TRUE(window->TimerUpdate->enabled());

    // A second entry leaves the selection where it was.
    ASSERT_TRUE(add(trackingTask({QStringLiteral("Invoice"), 3600})));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("2 Vantorels"));
    EXPECT_EQ(selected(), QList<int>{1});
    EXPECT_EQ(window->lstReminders->topLevelItem(1)->text(2), QStringLiteral("1 hour"));
}

TEST_F(ReminderWindowTest, ATaskListedAlreadyOrWithoutTopicIsNotAdded) {
    TaskFields noTopic;
    noTopic.bWithTopic = false;
    EXPECT_FALSE(add(trackingTask(noTopic)));
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(window->lstReminders->topLevelItemCount(), 0);

    const QString id = trackingTask();
    ASSERT_TRUE(add(id));
    EXPECT_FALSE(add(id));
    EXPECT_EQ(topics(), QStringList{QStringLiteral("Offer")});
}

// Whichever way an entry goes (an action, a refresh, closing, the list emptied), its
// task can be listed again, and only once.
TEST_F(ReminderWindowTest, ATaskCanBeListedAgainOnceItsEntryIsGone) {
    const QStringList ids = listed({QStringLiteral("A"), QStringLiteral("B")});
    ASSERT_TRUE(window->RemoveFromList(ids[0]));
    EXPECT_TRUE(add(ids[0]));
    EXPECT_FALSE(add(ids[0]));
    delete window->lstReminders->takeTopLevelItem(0);
    EXPECT_TRUE(add(ids[1]));
    EXPECT_FALSE(add(ids[1]));
    window->lstReminders->clear();
    EXPECT_TRUE(add(ids[0]));
    EXPECT_TRUE(add(ids[1]));
    EXPECT_FALSE(add(ids[0]));
    EXPECT_EQ(topics(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
}

TEST_F(ReminderWindowTest, MissingPartsOfAnEntryStayEmpty) {
    TaskFields bare;
    bare.recipients.reset();
    bare.bWithMail = false;
    const QString id = trackingTask(bare);
    ASSERT_TRUE(add(id));
    EXPECT_EQ(window->lstReminders->topLevelItem(0)->text(1), QStringLiteral(", on 12/9/26"));
    EXPECT_EQ(window->EntryData(0).MailID, QString());
}

TEST_F(ReminderWindowTest, AnUnreadableMomentReachesTheCaller) {
    const QString id = trackingTask();
    const ol::TaskItemPtr task = stored(id);
    WriteTrackingProperty(*task, TrackingProperty::FirstSent, QStringLiteral("yesterday"));
    task->Save();
    EXPECT_THROW(add(id), std::exception);
    EXPECT_EQ(window->lstReminders->topLevelItemCount(), 0);
}

TEST_F(ReminderWindowTest, RemoveFromListTakesTheExactEntryID) {
    const QStringList ids = listed({QStringLiteral("A"), QStringLiteral("B")});
    if (ids[1].toLower() != ids[1]) {
        EXPECT_FALSE(window->RemoveFromList(ids[1].toLower()));
    }
    EXPECT_FALSE(window->RemoveFromList(QStringLiteral("none")));
    EXPECT_TRUE(window->RemoveFromList(ids[1]));
    EXPECT_EQ(topics(), QStringList{QStringLiteral("A")});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("1 Vantorel"));
    EXPECT_TRUE(window->RemoveFromList(ids[0]));
    EXPECT_TRUE(window->isHidden());
}

// ---- Selection ----

TEST_F(ReminderWindowTest, LabelsFollowTheSelection) {
    listed({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    select({1, 3});
    EXPECT_EQ(selected(), (QList<int>{1, 3}));
    EXPECT_EQ(label("lblSubject"), QString());
    EXPECT_EQ(label("lblSentTo"), QStringLiteral("2 reminders are selected"));
    EXPECT_FALSE(window->PictureTask->isVisible());

    // A Ctrl-click that deselects one leaves the other's labels.
    select({3});
    EXPECT_EQ(label("lblSubject"), QStringLiteral("C"));
    EXPECT_EQ(label("lblSentTo"), QStringLiteral("Sent to Ann Lee, Bob, on 12/9/26"));
    EXPECT_TRUE(window->PictureTask->isVisible());

    select({});
    EXPECT_EQ(label("lblSentTo"), QStringLiteral("0 reminders are selected"));
    for (const char* name :
         {"cmdReSend", "cmdView", "cmdViewItem", "cmdDissmiss", "cmdSnooze", "comSnooze"}) {
        EXPECT_FALSE(control(name)->isEnabled()) << name;
    }
}

TEST_F(ReminderWindowTest, DescribesItselfForScripts) {
    listed({QStringLiteral("Offer"), QStringLiteral("Say \"hi\"")});
    EXPECT_EQ(window->DescribeForScript(),
              QStringLiteral("window visible \"2 Vantorels\"\n"
                             "entry 1 selected \"Offer\" \"Ann Lee, Bob, on 12/9/26\" "
                             "\"1 minute overdue\"\n"
                             "entry 2 \"Say \\\"hi\\\"\" \"Ann Lee, Bob, on 12/9/26\" "
                             "\"1 minute overdue\"\n"
                             "label lblSubject \"Offer\"\n"
                             "label lblSentTo \"Sent to Ann Lee, Bob, on 12/9/26\"\n"));
}

// ---- Snooze, dismiss, re-send ----

struct SnoozeRow {
    const char* name;
    QList<int> select;
    const char* left;  // the topics left, one letter each
    QList<int> selectedAfter;
};

class ReminderWindowSnoozeTest : public ReminderWindowTest,
                                 public ::testing::WithParamInterface<SnoozeRow> {};

TEST_P(ReminderWindowSnoozeTest, RemovesTheSelectedAndSelectsWhereTheLastWas) {
    const QStringList all{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                          QStringLiteral("D"), QStringLiteral("E")};
    const QStringList ids = listed(all);
    select(GetParam().select);
    window->comSnooze->setEditText(QStringLiteral("10 minutes"));
    click("cmdSnooze");

    EXPECT_EQ(topics().join(QString()), QLatin1String(GetParam().left));
    EXPECT_EQ(selected(), GetParam().selectedAfter);
    EXPECT_TRUE(prompts->shown.empty());
    for (int i = 0; i < all.size(); ++i) {
        const std::optional<QString> snooze = property(ids[i], TrackingProperty::Snooze);
        if (GetParam().select.contains(i + 1)) {
            EXPECT_EQ(snooze, QString::number(now() + 600)) << all[i].toStdString();
        } else {
            EXPECT_FALSE(snooze) << all[i].toStdString();
        }
    }
    EXPECT_EQ(window->windowTitle(), QStringLiteral("2 Vantorels"));
}

INSTANTIATE_TEST_SUITE_P(Rows, ReminderWindowSnoozeTest,
                         ::testing::Values(SnoozeRow{"SecondThirdFifth", {2, 3, 5}, "AD", {2}},
                                           SnoozeRow{"FirstThree", {1, 2, 3}, "DE", {1}},
                                           SnoozeRow{"SecondToFourth", {2, 3, 4}, "AE", {2}}),
                         [](const auto& info) { return std::string(info.param.name); });

// Thursday 09:05: the next working day is Friday, at the default reminder time; with
// "the same hour" as that time, at the time of day of the snooze. Both selected go.
TEST_F(ReminderWindowTest, NextWorkingDaySnoozesUntilTheDefaultReminderTime) {
    test::TempHives hives;
    TAddInRegistry registry;
    AddInRegistry = &registry;
    const auto at = [](int day, int hour, int minute) {
        return QString::number(tools::toLocalUnixSeconds(
            tools::toDateTime(QDateTime(QDate(2026, 12, day), QTime(hour, minute)))));
    };
    const std::pair<const char*, QString> rows[] = {{"09:00", at(11, 9, 0)}, {"NOW", at(11, 9, 5)}};
    for (const auto& [stored, until] : rows) {
        SCOPED_TRACE(stored);
        registry.SetTaskRemindMeTime(QLatin1String(stored), false);
        const QStringList ids = listed({QStringLiteral("A"), QStringLiteral("B")});
        select({1, 2});
        window->comSnooze->setCurrentIndex(
            window->comSnooze->findText(QStringLiteral("Next working day")));
        click("cmdSnooze");
        EXPECT_TRUE(prompts->shown.empty());
        EXPECT_TRUE(topics().isEmpty());
        EXPECT_EQ(property(ids[0], TrackingProperty::Snooze), until);
        EXPECT_EQ(property(ids[1], TrackingProperty::Snooze), until);
    }
    AddInRegistry = nullptr;
}

TEST_F(ReminderWindowTest, AnInvalidSnoozeTextWarnsAndChangesNothing) {
    const QStringList ids = listed({QStringLiteral("A"), QStringLiteral("B")});
    select({1, 2});
    window->comSnooze->setEditText(QStringLiteral("abc"));
    click("cmdSnooze");
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text,
              QStringLiteral("The snooze time abc is invalid. Please enter a valid snooze time."));
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Warning);
    EXPECT_EQ(topics().size(), 2);
    EXPECT_FALSE(property(ids[0], TrackingProperty::Snooze));
    EXPECT_EQ(window->comSnooze->currentText(), QStringLiteral("abc"));
}

TEST_F(ReminderWindowTest, LeavingTheSnoozeBoxGivesTheCanonicalWording) {
    const std::pair<const char*, const char*> rows[] = {
        {"120 m", "2 hours"}, {"1 d", "1 day"}, {"abc", "abc"}, {"36 H", "36 hours"}};
    for (const auto& [typed, shown] : rows) {
        window->comSnooze->setEditText(QLatin1String(typed));
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(window->comSnooze, &out);
        EXPECT_EQ(window->comSnooze->currentText(), QLatin1String(shown)) << typed;
    }
}

TEST_F(ReminderWindowTest, DismissingTheLastEntryHidesTheWindow) {
    const QString id = trackingTask();
    ASSERT_TRUE(add(id));
    click("cmdDissmiss");
    EXPECT_TRUE(window->isHidden());
    EXPECT_FALSE(window->TimerUpdate->enabled());
    EXPECT_EQ(window->lstReminders->topLevelItemCount(), 0);
    EXPECT_FALSE(property(id, TrackingProperty::ReminderSet));
    EXPECT_FALSE(property(id, TrackingProperty::ReminderTime));
    EXPECT_TRUE(property(id, TrackingProperty::Topic));
    EXPECT_FALSE(stored(id)->ReminderSet());
}

TEST_F(ReminderWindowTest, DismissRemovesAnEntryWhoseTaskIsGone) {
    const QStringList ids = listed({QStringLiteral("A"), QStringLiteral("B")});
    stored(ids[0])->Delete();
    select({1});
    click("cmdDissmiss");
    EXPECT_EQ(topics(), QStringList{QStringLiteral("B")});
    EXPECT_EQ(selected(), QList<int>{1});
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(ReminderWindowTest, ReSendSkipsATaskThatIsGone) {
    const QStringList ids = listed({QStringLiteral("A"), QStringLiteral("B")});
    stored(ids[0])->Delete();
    select({1, 2});
    click("cmdReSend");
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, QStringLiteral("The related item could not be found."));
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(topics(), QStringList{QStringLiteral("A")});
    EXPECT_EQ(selected(), QList<int>{1});
}

// A follow-up that cannot be shown stops the walk: nothing after it is re-sent and no
// entry is removed or closed out.
TEST_F(ReminderWindowTest, ReSendStopsWhereAFollowUpCannotBeShown) {
    const QStringList ids = listed({QStringLiteral("A"), QStringLiteral("B")});
    select({1, 2});
    engine->faults().failNext(QStringLiteral("MailItem.Display"), 1,
                              QStringLiteral("The message window cannot be opened."));
    click("cmdReSend");
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, QStringLiteral("The message window cannot be opened."));
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(topics(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_TRUE(engine->displayed().empty());
    for (const QString& id : ids) {
        EXPECT_TRUE(property(id, TrackingProperty::Topic));
        EXPECT_FALSE(stored(id)->Complete());
    }
}

// ---- Opening ----

TEST_F(ReminderWindowTest, OpenEmailShowsTheMessagesThatCanBeFound) {
    TaskFields noMail;
    noMail.topic = QStringLiteral("B");
    noMail.bWithMail = false;
    const QString a = trackingTask();
    ASSERT_TRUE(add(a));
    ASSERT_TRUE(add(trackingTask(noMail)));
    select({1, 2});
    click("cmdView");
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, QStringLiteral("The related message could not be found."));
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
    ASSERT_EQ(engine->displayed().size(), 1u);
    EXPECT_EQ(engine->displayed()[0]->EntryID(), *property(a, TrackingProperty::Mail));
    EXPECT_EQ(topics().size(), 2);
}

TEST_F(ReminderWindowTest, OpenItemAndDoubleClickShowTheTasks) {
    const QStringList ids = listed({QStringLiteral("A"), QStringLiteral("B")});
    select({1, 2});
    click("cmdViewItem");
    ASSERT_EQ(engine->displayed().size(), 2u);
    EXPECT_EQ(engine->displayed()[1]->EntryID(), ids[1]);

    stored(ids[0])->Delete();
    window->lstRemindersDblClick();
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_FALSE(prompts->shown[0].text.isEmpty());
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(engine->displayed().size(), 3u);
    EXPECT_EQ(topics().size(), 2);
}

// ---- Refresh ----

TEST_F(ReminderWindowTest, TheRefreshFollowsTheClockAndDropsCompletedTasks) {
    const QStringList ids = listed({QStringLiteral("A"), QStringLiteral("B")});
    scheduler->advance(2000);
    EXPECT_EQ(window->lstReminders->topLevelItem(0)->text(2), QStringLiteral("1 minute overdue"));
    scheduler->advance(60'000);
    EXPECT_EQ(window->lstReminders->topLevelItem(0)->text(2), QStringLiteral("2 minutes overdue"));

    const ol::TaskItemPtr task = stored(ids[0]);
    task->SetComplete(true);
    task->Save();
    scheduler->advance(2000);
    EXPECT_EQ(topics(), QStringList{QStringLiteral("B")});
    EXPECT_EQ(selected(), QList<int>{1});
    EXPECT_TRUE(prompts->shown.empty());

    stored(ids[1])->Delete();
    scheduler->advance(2000);
    EXPECT_TRUE(window->isHidden());
    EXPECT_FALSE(window->TimerUpdate->enabled());
}

// ---- Closing, keys ----

TEST_F(ReminderWindowTest, ClosingSnoozesEveryEntryByAMinute) {
    const QStringList ids = listed({QStringLiteral("A"), QStringLiteral("B")});
    select({2});
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(window->lstReminders->topLevelItemCount(), 0);
    for (const QString& id : ids) {
        EXPECT_EQ(property(id, TrackingProperty::Snooze), QString::number(now() + 60));
    }
    // The window stays for the next reminder.
    EXPECT_TRUE(add(ids[0]));
    EXPECT_TRUE(window->isVisible());
}

class ReminderWindowEscapeTest : public ReminderWindowTest,
                                 public ::testing::WithParamInterface<const char*> {};

TEST_P(ReminderWindowEscapeTest, EscapeInAControlClosesTheWindow) {
    const QString id = trackingTask();
    ASSERT_TRUE(add(id));
    key(control(GetParam()), Qt::Key_Escape);
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(property(id, TrackingProperty::Snooze), QString::number(now() + 60));
}

INSTANTIATE_TEST_SUITE_P(Controls, ReminderWindowEscapeTest,
                         ::testing::Values("lstReminders", "comSnooze", "cmdSnooze", "cmdReSend",
                                           "cmdDissmiss"));

TEST_F(ReminderWindowTest, F1OpensTheHelpAtContext7) {
    ASSERT_TRUE(add(trackingTask()));
    key(window->lstReminders, Qt::Key_F1);
    ASSERT_EQ(windows->helpShown.size(), 1u);
    EXPECT_EQ(windows->helpShown[0].first, QStringLiteral("/opt/vantorel/Vantorel.chm"));
    EXPECT_EQ(windows->helpShown[0].second, 7);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ReminderWindowTest, RendersOffscreen) {
    listed({QStringLiteral("Offer for the new office"), QStringLiteral("Invoice 2026-114")});
    const QPixmap picture = window->grab();
    EXPECT_EQ(picture.size(), window->size() * picture.devicePixelRatio());
    const QString folder = qEnvironmentVariable("VANTOREL_GRAB_DIR");
    if (!folder.isEmpty()) {
        picture.save(folder + QStringLiteral("/reminder-window.png"));
    }
}

}  // namespace
