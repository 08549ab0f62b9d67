// The road after sending: the Sent Items watcher links the task to the sent copy,
// the Inbox watchers close the task a reply answers, and the poll hands due reminders
// to the reminders window with a sound.

#include "AddInFixture.h"
#include "forms/ReminderWindowUnit.h"
#include "platform/Sound.h"
#include "reminders/TrackingProperties.h"
#include "tools/DateTime.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

using namespace vantorel;
using namespace vantorel::test;
namespace ol = vantorel::outlook;

namespace {

class RecordingSound : public platform::SoundPlayer {
public:
    void playWave(const QString& path) override { played << path; }
    QStringList played;
};

class Reminders : public ModuleFixture {
protected:
    Reminders() : sound(std::make_shared<RecordingSound>()) { platform::installSoundPlayer(sound); }
    ~Reminders() override { platform::installSoundPlayer(nullptr); }

    void startWithSound() {
        startModule();
        QFile wave(soundDir.filePath(QStringLiteral("reminder.wav")));
        ASSERT_TRUE(wave.open(QIODevice::WriteOnly));
        ReminderSoundPath = wave.fileName();
    }

    ol::NameSpacePtr session() { return client->engine().application()->Session(); }
    ol::ItemsPtr tasks() { return session()->GetDefaultFolder(ol::olFolderTasks)->Items(); }
    ol::TaskItemPtr task(int n) { return ol::asTaskItem(tasks()->Item(n)); }

    // A tracking task for a message on TOPIC to Ann (To) and Carl (Cc).
    ol::TaskItemPtr trackingTask(const QString& topic,
                                 std::vector<std::pair<QString, QString>> extra = {}) {
        const ol::TaskItemPtr t =
            ol::asTaskItem(client->engine().application()->CreateItem(ol::olTaskItem));
        t->SetSubject(QStringLiteral("[Vantorel] ") + topic);
        namespace tp = TrackingProperty;
        std::vector<std::pair<QString, QString>> props = {
            {tp::Topic, topic},
            {tp::Mail, QString()},
            {tp::Recipients, QStringLiteral("Ann Lee|ann@example.com;")},
            {tp::CcRecipients, QStringLiteral("Carl|carl@example.com;")},
            {tp::BccRecipients, QString()},
            {tp::FirstSent, QStringLiteral("1796893200")},  // 2026-12-10 09:00
            {tp::DeleteOnReply, QStringLiteral("0")},
            {tp::MarkCompletedOnReply, QStringLiteral("-1")},
        };
        props.insert(props.end(), extra.begin(), extra.end());
        for (const auto& [name, value] : props) {
            WriteTrackingProperty(*t, name, value);
        }
        t->Save();
        return t;
    }
    // A reminder due at SECONDS (local Unix seconds).
    ol::TaskItemPtr dueTask(const QString& topic, const QString& seconds,
                            const QString& reminderSet = QStringLiteral("-1")) {
        return trackingTask(topic, {{TrackingProperty::ReminderSet, reminderSet},
                                    {TrackingProperty::ReminderTime, seconds}});
    }

    void reply(const QString& from, const QString& subject, const QString& store = {}) {
        engine::Delivery d;
        d.from = from;
        d.subject = subject;
        client->engine().deliver(d, store);
    }

    QString window() { return ReminderWindow ? ReminderWindow->DescribeForScript() : QString(); }
    std::optional<QString> prop(int n, const QString& name) {
        return ReadTrackingProperty(*task(n), name);
    }

    static constexpr const char* kNineOClock = "1796893200";  // 2026-12-10 09:00:00
    std::shared_ptr<RecordingSound> sound;
    QTemporaryDir soundDir;
};

}  // namespace

// --- the Sent Items watcher ----------------------------------------------------------------

TEST_F(Reminders, TheSentCopyOfAStampedMessageBecomesItsTasksMail) {
    startModule();
    const ol::TaskItemPtr t = trackingTask(QStringLiteral("Offer"));
    ol::InspectorPtr stamped = client->engine().compose(
        {QStringLiteral("ann@example.com"), {}, {}, QStringLiteral("Offer"), {}});
    const ol::MailItemPtr mail = ol::asMailItem(stamped->CurrentItem());
    WriteTrackingProperty(*mail, TrackingProperty::ReminderID, t->EntryID());
    mail->Send();
    ol::InspectorPtr plain = client->engine().compose(
        {QStringLiteral("bob@example.com"), {}, {}, QStringLiteral("Other"), {}});
    ol::asMailItem(plain->CurrentItem())->Send();

    const ol::ItemsPtr sent = session()->GetDefaultFolder(ol::olFolderSentMail)->Items();
    ASSERT_EQ(sent->Count(), 2);
    EXPECT_EQ(prop(1, TrackingProperty::Mail), sent->Item(1)->EntryID());
}

// --- the Inbox watchers --------------------------------------------------------------------

struct ReplyRow {
    const char* name;
    const char* deleteOnReply;
    const char* markCompleted;
    int tasksLeft;
    bool complete;
};

class ReplyFlags : public Reminders, public ::testing::WithParamInterface<ReplyRow> {};

TEST_P(ReplyFlags, AReplyFromAToRecipientClosesTheTask) {
    const ReplyRow& row = GetParam();
    startWithSound();
    const ol::TaskItemPtr t =
        trackingTask(QStringLiteral("Offer"),
                     {{TrackingProperty::ReminderSet, QStringLiteral("-1")},
                      {TrackingProperty::ReminderTime, QString::fromUtf8(kNineOClock)}});
    WriteTrackingProperty(*t, TrackingProperty::DeleteOnReply,
                          QString::fromUtf8(row.deleteOnReply));
    WriteTrackingProperty(*t, TrackingProperty::MarkCompletedOnReply,
                          QString::fromUtf8(row.markCompleted));
    t->Save();
    scheduler->advance(10'000);
    ASSERT_TRUE(window().startsWith(QStringLiteral("window visible")));

    reply(QStringLiteral("Ann@Example.com"), QStringLiteral("RE: Offer"));
    EXPECT_TRUE(window().startsWith(QStringLiteral("window hidden"))) << window().toStdString();
    ASSERT_EQ(tasks()->Count(), row.tasksLeft);
    if (row.tasksLeft == 1) {
        EXPECT_EQ(task(1)->Complete(), row.complete);
        // A completed task says which message answered it; an open one stays as it was.
        EXPECT_EQ(task(1)->Body().startsWith(QStringLiteral(
                      "Answered by Ann@Example.com <Ann@Example.com> on 12/10/26 9:00 AM: "
                      "RE: Offer\r\r")),
                  row.complete)
            << task(1)->Body().toStdString();
        for (const QString& name : TrackingProperty::All) {
            EXPECT_FALSE(prop(1, name)) << name.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Watchers, ReplyFlags,
                         ::testing::Values(ReplyRow{"complete", "0", "-1", 1, true},
                                           ReplyRow{"delete", "-1", "0", 0, false},
                                           ReplyRow{"delete_and_complete", "True", "True", 0, true},
                                           ReplyRow{"neither", "0", "False", 1, false}),
                         [](const ::testing::TestParamInfo<ReplyRow>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(Reminders, WhatIsNoReplyToTheTaskChangesNothing) {
    startModule();
    trackingTask(QStringLiteral("Offer"));
    reply(QStringLiteral("carl@example.com"), QStringLiteral("RE: Offer"));  // Cc
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: offer"));   // letter case
    reply(QStringLiteral("zoe@example.com"), QStringLiteral("RE: Offer"));
    ASSERT_EQ(tasks()->Count(), 1);
    EXPECT_FALSE(task(1)->Complete());
    EXPECT_EQ(prop(1, TrackingProperty::Topic), QStringLiteral("Offer"));
}

TEST_F(Reminders, OneReplyClosesOnlyTheLaterOfTwoTasksForItsTopic) {
    startModule();
    trackingTask(QStringLiteral("Offer"));
    trackingTask(QStringLiteral("Offer"));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    EXPECT_FALSE(task(1)->Complete());
    EXPECT_TRUE(task(2)->Complete());
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    EXPECT_TRUE(task(1)->Complete());
}

TEST_F(Reminders, AFlagThatIsNoBooleanEndsTheHandlerQuietly) {
    startModule();
    trackingTask(QStringLiteral("Offer"), {{TrackingProperty::DeleteOnReply, QStringLiteral("x")}});
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    ASSERT_EQ(tasks()->Count(), 1);
    EXPECT_FALSE(task(1)->Complete());
    EXPECT_TRUE(prop(1, TrackingProperty::Topic));
}

TEST_F(Reminders, OtherStoresInboxesAreWatchedWhenNamedLikeTheDefaultOne) {
    client->engine().addStore(QStringLiteral("Archive"));
    client->engine().addStore(QStringLiteral("Other"), QStringLiteral("Posteingang"));
    client->engine().addStore(QStringLiteral("Deep"), QString(), true);
    startModule();
    EXPECT_EQ(module->InboxesEvents.size(), 2u);
    trackingTask(QStringLiteral("A"));
    trackingTask(QStringLiteral("B"));
    trackingTask(QStringLiteral("C"));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: B"), QStringLiteral("Other"));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: C"), QStringLiteral("Deep"));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: A"), QStringLiteral("Archive"));
    EXPECT_TRUE(task(1)->Complete());
    EXPECT_FALSE(task(2)->Complete());
    EXPECT_FALSE(task(3)->Complete());
}

// --- the poll ------------------------------------------------------------------------------

TEST_F(Reminders, ADueReminderIsListedOnceWithOneSound) {
    startWithSound();
    dueTask(QStringLiteral("Offer"), QStringLiteral("1796893199"));  // a second ago
    dueTask(QStringLiteral("Later"), QStringLiteral("1796893300"));
    dueTask(QStringLiteral("Quote"), QStringLiteral("1796890000"));
    scheduler->advance(10'000);
    EXPECT_EQ(sound->played, QStringList{ReminderSoundPath});
    EXPECT_TRUE(window().contains(QStringLiteral("\"Offer\"")));
    EXPECT_TRUE(window().contains(QStringLiteral("\"Quote\"")));
    EXPECT_FALSE(window().contains(QStringLiteral("\"Later\"")));
    scheduler->advance(20'000);
    EXPECT_EQ(sound->played.size(), 1);
    scheduler->advance(100'000);  // "Later" falls due
    EXPECT_EQ(sound->played.size(), 2);
    EXPECT_TRUE(window().contains(QStringLiteral("\"Later\"")));
}

TEST_F(Reminders, OnlyTasksWhoseReminderIsSetAreListed) {
    startWithSound();
    dueTask(QStringLiteral("Off"), QStringLiteral("1796890000"), QStringLiteral("0"));
    trackingTask(QStringLiteral("NoFlag"),
                 {{TrackingProperty::ReminderTime, QStringLiteral("1796890000")}});
    trackingTask(QStringLiteral("NoTime"), {{TrackingProperty::ReminderSet, QStringLiteral("-1")}});
    scheduler->advance(30'000);
    EXPECT_TRUE(sound->played.isEmpty());
    EXPECT_TRUE(window().startsWith(QStringLiteral("window hidden")));
}

TEST_F(Reminders, ASnoozeInTheFutureHoldsTheReminderBackThenGoes) {
    startWithSound();
    trackingTask(QStringLiteral("Offer"),
                 {{TrackingProperty::ReminderSet, QStringLiteral("-1")},
                  {TrackingProperty::ReminderTime, QStringLiteral("1796890000")},
                  {TrackingProperty::Snooze, QStringLiteral("1796893300")}});
    scheduler->advance(90'000);
    EXPECT_TRUE(window().startsWith(QStringLiteral("window hidden")));
    scheduler->advance(20'000);  // past 09:01:40
    EXPECT_TRUE(window().startsWith(QStringLiteral("window visible")));
    EXPECT_FALSE(prop(1, TrackingProperty::Snooze));
}

TEST_F(Reminders, WithoutTheSoundFileTheReminderComesSilently) {
    startModule();
    ReminderSoundPath = soundDir.filePath(QStringLiteral("missing.wav"));
    dueTask(QStringLiteral("Offer"), QStringLiteral("1796890000"));
    scheduler->advance(10'000);
    EXPECT_TRUE(sound->played.isEmpty());
    EXPECT_TRUE(window().startsWith(QStringLiteral("window visible")));
}

// A damaged task is passed over; its error is shown once, not on every pass.
TEST_F(Reminders, ADamagedTaskNeitherHidesTheOthersNorRepeatsItsError) {
    startWithSound();
    dueTask(QStringLiteral("First"), QStringLiteral("1796890000"));
    dueTask(QStringLiteral("Damaged"), QStringLiteral("1796890000"), QStringLiteral("maybe"));
    dueTask(QStringLiteral("Third"), QStringLiteral("1796890000"));
    scheduler->advance(30'000);
    EXPECT_TRUE(window().contains(QStringLiteral("\"First\"")));
    EXPECT_TRUE(window().contains(QStringLiteral("\"Third\"")));
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
    EXPECT_TRUE(prompts->shown[0].text.contains(QStringLiteral("maybe")));
}

// 02:30 on 2026-03-29 does not exist in Europe/Berlin; the reminder still comes once.
TEST_F(Reminders, AReminderInsideTheDaylightSavingGapFallsDueOnce) {
    clock->set(QDateTime(QDate(2026, 3, 29), QTime(1, 59, 0)));
    startWithSound();
    dueTask(QStringLiteral("Gap"), QStringLiteral("1774751400"));  // 2026-03-29 02:30 wall
    scheduler->advance(50'000);
    EXPECT_TRUE(window().startsWith(QStringLiteral("window hidden")));
    scheduler->advance(20'000);  // the clock jumps to 03:00
    EXPECT_TRUE(window().startsWith(QStringLiteral("window visible")));
    scheduler->advance(60'000);
    EXPECT_EQ(sound->played.size(), 1);
}

// Reminders at the edges of time: each falls due once, at the first moment the wall
// clock reaches its time, however long the clock runs on past it. The scheduler's
// clock runs in real time, so the wall clock goes back an hour when summer time ends.
struct DueRow {
    const char* name;
    QDate day;
    QTime start;      // the wall clock when the add-in starts
    QTime due;        // the reminder's wall-clock time that day
    qint64 dueAfter;  // seconds of real time from START until DUE is first reached
    qint64 span;      // seconds the clock runs on in all
};
void PrintTo(const DueRow& r, std::ostream* os) {
    *os << r.name;
}

class DueOnce : public Reminders, public ::testing::WithParamInterface<DueRow> {};

TEST_P(DueOnce, AtTheFirstMomentOfItsWallClockTime) {
    const DueRow& r = GetParam();
    clock->set(QDateTime(r.day, r.start));
    startWithSound();
    const qint64 due = tools::toLocalUnixSeconds(tools::toDateTime(QDateTime(r.day, r.due)));
    dueTask(QStringLiteral("Edge"), QString::number(due));
    qint64 listedAfter = 0;
    while (listedAfter < r.span && !window().startsWith(QStringLiteral("window visible"))) {
        scheduler->advance(10'000);  // one poll
        listedAfter += 10;
    }
    EXPECT_GE(listedAfter, r.dueAfter);
    EXPECT_LE(listedAfter, r.dueAfter + 10);
    scheduler->advance((r.span - listedAfter) * 1000);
    EXPECT_EQ(sound->played.size(), 1);
    EXPECT_TRUE(window().startsWith(QStringLiteral("window visible \"1 Vantorel\"")))
        << window().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Clock, DueOnce,
    ::testing::Values(
        // 2026-10-25 in Europe/Berlin: 02:00-03:00 comes twice (summer time, then winter).
        DueRow{"InTheHourThatComesTwice", QDate(2026, 10, 25), QTime(1, 59), QTime(2, 30), 31 * 60,
               3 * 3600},
        DueRow{"AfterTheHourThatComesTwice", QDate(2026, 10, 25), QTime(1, 59), QTime(3, 0),
               121 * 60, 3 * 3600},
        // 2^31 - 1 and 2^31 local Unix seconds.
        DueRow{"Last32BitSecond", QDate(2038, 1, 19), QTime(3, 13), QTime(3, 14, 7), 67, 600},
        DueRow{"First64BitSecond", QDate(2038, 1, 19), QTime(3, 13), QTime(3, 14, 8), 68, 600},
        DueRow{"LastDayOfTheCalendar", QDate(9999, 12, 31), QTime(23, 50), QTime(23, 55), 300,
               540}),
    [](const auto& info) { return std::string(info.param.name); });

// The clock set back before the reminder's moment: the reminder waits for the wall
// clock to reach it again, and comes once.
TEST_F(Reminders, AClockSetBackDelaysTheReminderToItsWallClockMoment) {
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    startWithSound();
    dueTask(QStringLiteral("Offer"), QStringLiteral("1796895000"));  // 09:30
    scheduler->advance(20 * 60'000);
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(8, 0)));
    scheduler->restartAll();  // timers run on, as a computer's do when its clock is set
    scheduler->advance(89 * 60'000 + 50'000);  // 09:29:50
    EXPECT_TRUE(window().startsWith(QStringLiteral("window hidden")));
    scheduler->advance(20'000);  // the first poll after 09:30:00
    EXPECT_TRUE(window().startsWith(QStringLiteral("window visible")));
    scheduler->advance(3600'000);
    EXPECT_EQ(sound->played.size(), 1);
}

// --- shutdown ------------------------------------------------------------------------------

TEST_F(Reminders, AfterShutdownNoTickOrFolderEventReachesFreedObjects) {
    startWithSound();
    dueTask(QStringLiteral("Offer"), QStringLiteral("1796890000"));
    scheduler->advance(10'000);
    module->ReleaseAddIn();
    EXPECT_EQ(ReminderWindow, nullptr);
    EXPECT_EQ(TaskItemsEvents, nullptr);
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    scheduler->advance(60'000);
    EXPECT_EQ(sound->played.size(), 1);
    EXPECT_EQ(tasks()->Count(), 1);
    EXPECT_FALSE(task(1)->Complete());
}

// However the mail client shuts down, with the reminders window open, nothing is
// snoozed and nothing runs afterwards.
class ShutdownWithTheWindowOpen : public Reminders,
                                  public ::testing::WithParamInterface<ShutdownBehavior> {};

TEST_P(ShutdownWithTheWindowOpen, FreesEverythingQuietly) {
    client->setShutdownBehavior(GetParam());
    start();
    dueTask(QStringLiteral("Offer"), QStringLiteral("1796890000"));
    scheduler->advance(10'000);
    ASSERT_NE(ReminderWindow, nullptr);
    ASSERT_TRUE(ReminderWindow->isVisible());
    client->quit();
    EXPECT_EQ(ReminderWindow, nullptr);
    scheduler->advance(60'000);
    EXPECT_FALSE(prop(1, TrackingProperty::Snooze));
    EXPECT_TRUE(prompts->shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Module, ShutdownWithTheWindowOpen,
                         ::testing::Values(ShutdownBehavior::Fast, ShutdownBehavior::Normal),
                         [](const ::testing::TestParamInfo<ShutdownBehavior>& info) {
                             return std::string(info.param == ShutdownBehavior::Fast ? "fast"
                                                                                     : "normal");
                         });

// The mail client shuts down while a message box of the window is open: the window
// outlives the handler that showed the box.
TEST_F(Reminders, ShutdownDuringAMessageBoxOfTheWindow) {
    class QuittingPrompts : public platform::Prompts {
    public:
        explicit QuittingPrompts(TAddInModule& module) : module_(module) {}
        platform::MessageReply show(const platform::MessageRequest& request) override {
            texts << request.text;
            module_.ReleaseAddIn();
            return {};
        }
        QStringList texts;

    private:
        TAddInModule& module_;
    };
    startWithSound();
    dueTask(QStringLiteral("Offer"), QStringLiteral("1796890000"));
    scheduler->advance(10'000);
    auto quitting = std::make_shared<QuittingPrompts>(*module);
    platform::installPrompts(quitting);
    QPointer<QWidget> window = ReminderWindow;
    window->findChild<QComboBox*>(QStringLiteral("comSnooze"))->setEditText(QStringLiteral("abc"));
    window->findChild<QPushButton*>(QStringLiteral("cmdSnooze"))->click();
    EXPECT_EQ(quitting->texts.size(), 1);
    EXPECT_EQ(ReminderWindow, nullptr);
    EXPECT_TRUE(window.isNull() || window->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    scheduler->advance(60'000);
    platform::installPrompts(prompts.prompts);
}
