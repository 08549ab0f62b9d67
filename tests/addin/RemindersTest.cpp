// The road after sending: the Sent Items watcher links the task to the sent copy,
// the Inbox watchers close the task a reply answers, and the poll hands due reminders
// to the reminders window with a sound.

#include "AddInFixture.h"
#include "addin/FolderWatchers.h"
#include "forms/ReminderWindowUnit.h"
#include "host/scenario/ScenarioWindows.h"
#include "reminders/TrackingProperties.h"
#include "tests/support/RecordingSound.h"
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

class Reminders : public ModuleFixture {
protected:
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
    // An automatic reply from Ann to "Offer", by its class or its headers.
    void automaticReply(const QString& messageClass, const QStringList& headers = {}) {
        engine::Delivery d;
        d.from = QStringLiteral("ann@example.com");
        d.name = QStringLiteral("Ann Lee");
        d.subject = QStringLiteral("Automatic reply: Offer");
        d.topic = QStringLiteral("Offer");
        d.messageClass = messageClass;
        d.headers = headers;
        client->engine().deliver(d);
    }
    // The mail client quits; startModule() starts it again on the same mailbox.
    void quit() {
        client->engine().quit();
        module = std::make_unique<TAddInModule>();
    }
    // Starts the add-in and lets its first tick catch up the replies.
    void startAndCatchUp() {
        startModule();
        scheduler->advance(10'000);
    }
    std::optional<QString> general(const char* name) {
        const QString key = QStringLiteral("Software\\Ostrelin\\Vantorel\\General");
        if (!hives.user().hasValue(key, QString::fromUtf8(name))) {
            return std::nullopt;
        }
        return hives.user().value(key, QString::fromUtf8(name)).toText();
    }
    void setGeneral(const char* name, const QString& text) {
        hives.user().setValue(QStringLiteral("Software\\Ostrelin\\Vantorel\\General"),
                              QString::fromUtf8(name), platform::RegValue::fromString(text));
    }
    // Whether the message at position N of the Inbox carries the mark of an answer.
    bool marked(int n) {
        const ol::MailItemPtr mail =
            ol::asMailItem(session()->GetDefaultFolder(ol::olFolderInbox)->Items()->Item(n));
        return HasAnsweredATask(*mail);
    }

    QString window() { return ReminderWindow ? ReminderWindow->DescribeForScript() : QString(); }
    void select(const QList<int>& positions) {
        ASSERT_TRUE(ReminderWindow) << "no reminders window is open";
        host::selectListEntries(*ReminderWindow, QStringLiteral("lstReminders"), positions);
    }
    std::optional<QString> prop(int n, const QString& name) {
        return ReadTrackingProperty(*task(n), name);
    }

    static constexpr const char* kNineOClock = "1796893200";  // 2026-12-10 09:00:00
    SoundScope sound;
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
    // The tasks of the topic were picked out as the mail client allows: nothing to say.
    EXPECT_TRUE(prompts->shown.empty());
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

// A filter the mail client refuses must not blind the Inbox watchers: every task is read
// instead, and the person is told once.
TEST_F(Reminders, WhenTheTopicsTasksCannotBePickedOutEveryTaskIsReadAndThatIsSaidOnce) {
    startModule();
    trackingTask(QStringLiteral("Offer"));
    trackingTask(QStringLiteral("Quote"));
    const QString refused = QStringLiteral("Cannot parse condition. Error at \"x\".");
    client->engine().faults().failAlways(QStringLiteral("Items.Restrict"), refused);
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Quote"));
    EXPECT_FALSE(task(1)->Complete());
    EXPECT_TRUE(task(2)->Complete());
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    EXPECT_TRUE(task(1)->Complete());
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, kTopicFilterFailedMessage.arg(refused));
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Warning);
}

// --- automatic replies ----------------------------------------------------------------------

struct AutomaticRow {
    const char* name;
    const char* messageClass;
    const char* header;  // empty: none
};

class AutomaticReplies : public Reminders, public ::testing::WithParamInterface<AutomaticRow> {};

// An out-of-office reply or a bounce comes from a To recipient in the conversation, yet
// nobody answered: the task stays open and records it.
TEST_P(AutomaticReplies, LeaveTheTaskOpenAndAreRecordedOnIt) {
    startModule();
    trackingTask(QStringLiteral("Offer"));
    const QString header = QString::fromUtf8(GetParam().header);
    automaticReply(QString::fromUtf8(GetParam().messageClass),
                   header.isEmpty() ? QStringList() : QStringList{header});
    ASSERT_EQ(tasks()->Count(), 1);
    EXPECT_FALSE(task(1)->Complete());
    EXPECT_EQ(prop(1, TrackingProperty::Topic), QStringLiteral("Offer"));
    EXPECT_EQ(prop(1, TrackingProperty::AutoReply),
              QStringLiteral("Ann Lee <ann@example.com>|1796893200"));

    // The true reply after it still closes the task.
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    EXPECT_TRUE(task(1)->Complete());
    EXPECT_FALSE(prop(1, TrackingProperty::Topic));
}

INSTANTIATE_TEST_SUITE_P(
    Watchers, AutomaticReplies,
    ::testing::Values(AutomaticRow{"out_of_office", "IPM.Note.Rules.OofTemplate.Microsoft", ""},
                      AutomaticRow{"rule_reply", "IPM.Note.Rules.ReplyTemplate.Microsoft", ""},
                      AutomaticRow{"bounce", "IPM.Report.Note.NDR", ""},
                      AutomaticRow{"auto_submitted", "", "Auto-Submitted: auto-replied"},
                      AutomaticRow{"precedence", "", "Precedence: auto_reply"}),
    [](const ::testing::TestParamInfo<AutomaticRow>& info) {
        return std::string(info.param.name);
    });

TEST_F(Reminders, AReplyWhoseHeadersSayAPersonWroteItClosesTheTask) {
    startModule();
    trackingTask(QStringLiteral("Offer"));
    automaticReply(QString(),
                   {QStringLiteral("Auto-Submitted: no"), QStringLiteral("Precedence: list")});
    EXPECT_TRUE(task(1)->Complete());
    EXPECT_FALSE(prop(1, TrackingProperty::AutoReply));
}

// When a message cannot tell what it is, it is taken for no reply: the task stays open
// and waits for the next message. A message without headers is judged by its class.
TEST_F(Reminders, AMessageWhoseClassCannotBeReadClosesNothing) {
    startModule();
    trackingTask(QStringLiteral("Offer"));
    client->engine().faults().failNext(QStringLiteral("MessageClass"));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    EXPECT_FALSE(task(1)->Complete());
    client->engine().faults().failNext(QStringLiteral("GetProperty"));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    EXPECT_TRUE(task(1)->Complete());
}

// A message of the catch-up that cannot be read is passed over; the others still are
// matched.
TEST_F(Reminders, ACaughtUpMessageThatCannotBeReadIsPassedOver) {
    startModule();
    trackingTask(QStringLiteral("Offer"));
    trackingTask(QStringLiteral("Quote"));
    quit();
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Quote"));
    client->engine().faults().failNext(QStringLiteral("MailItem.ReceivedTime"));
    startAndCatchUp();
    EXPECT_FALSE(task(1)->Complete());
    EXPECT_TRUE(task(2)->Complete());
}

// A person looking at the reminder learns that the recipient is away.
TEST_F(Reminders, TheSentToLabelOfAListedReminderTellsOfAnAutomaticReply) {
    startWithSound();
    dueTask(QStringLiteral("Offer"), QStringLiteral("1796890000"));
    dueTask(QStringLiteral("Quote"), QStringLiteral("1796890000"));
    scheduler->advance(10'000);
    select({1});
    automaticReply(QStringLiteral("IPM.Note.Rules.OofTemplate.Microsoft"));
    EXPECT_TRUE(window().contains(QStringLiteral(
        "label lblSentTo \"Sent to Ann Lee, on 12/10/26, automatic reply received\"")))
        << window().toStdString();
    select({2});
    EXPECT_TRUE(
        window().contains(QStringLiteral("label lblSentTo \"Sent to Ann Lee, on 12/10/26\"")))
        << window().toStdString();
    // Listed anew after a dismissal, it still says so.
    select({1});
    ReminderWindow->cmdDissmissClick();
    const ol::TaskItemPtr offer = task(1);
    WriteTrackingProperty(*offer, TrackingProperty::ReminderSet, QStringLiteral("-1"));
    WriteTrackingProperty(*offer, TrackingProperty::ReminderTime, QStringLiteral("1796890000"));
    offer->Save();
    scheduler->advance(10'000);
    select({2});
    EXPECT_TRUE(window().contains(QStringLiteral("\"Offer\""))) << window().toStdString();
    EXPECT_TRUE(window().contains(QStringLiteral("automatic reply received")))
        << window().toStdString();
}

// --- replies that arrived while the add-in was away -----------------------------------------

TEST_F(Reminders, AReplyThatArrivedWhileTheClientWasClosedClosesItsTaskAtTheFirstTick) {
    startModule();
    trackingTask(QStringLiteral("Offer"));
    quit();
    EXPECT_EQ(general("CatchUpRepliesFrom"), QStringLiteral("1796889600"));  // 08:00 UTC
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(11, 0)));
    startModule();
    EXPECT_FALSE(task(1)->Complete());  // start-up does not wait for the catch-up
    scheduler->advance(10'000);
    EXPECT_TRUE(task(1)->Complete());
    EXPECT_TRUE(task(1)->Body().startsWith(
        QStringLiteral("Answered by ann@example.com <ann@example.com> on 12/10/26 10:00 AM: "
                       "RE: Offer\r\r")))
        << task(1)->Body().toStdString();
    EXPECT_TRUE(marked(1));
    EXPECT_EQ(general("CatchUpRepliesFrom"), QStringLiteral("1796889600"));  // kept
}

// Tasks made before the first start (by a version that kept no moment) are not
// answered by the messages that came before it: that version saw them.
TEST_F(Reminders, TheFirstStartCatchesUpNothing) {
    trackingTask(QStringLiteral("Offer"));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    startAndCatchUp();
    EXPECT_FALSE(task(1)->Complete());
    EXPECT_EQ(general("CatchUpRepliesFrom"), QStringLiteral("1796889600"));
}

// An earlier version remembered up to when it watched; what came later is caught up.
TEST_F(Reminders, AnEarlierVersionsWatchedMomentIsWhereTheCatchUpBegins) {
    trackingTask(QStringLiteral("Offer"));
    trackingTask(QStringLiteral("Quote"));
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(9, 15)));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));  // seen by it
    setGeneral("InboxWatchedUntil", QStringLiteral("1796895000"));          // 09:30
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Quote"));
    startAndCatchUp();
    EXPECT_FALSE(task(1)->Complete());
    EXPECT_TRUE(task(2)->Complete());
    EXPECT_EQ(general("CatchUpRepliesFrom"), QStringLiteral("1796891400"));  // 08:30 UTC
    EXPECT_EQ(general("InboxWatchedUntil"), QStringLiteral("1796895000"));   // left as it was
}

TEST_F(Reminders, AnEarlierMomentThatIsNoNumberCountsAsNone) {
    setGeneral("InboxWatchedUntil", QStringLiteral("soon"));
    trackingTask(QStringLiteral("Offer"));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    startAndCatchUp();
    EXPECT_FALSE(task(1)->Complete());
    EXPECT_EQ(general("CatchUpRepliesFrom"), QStringLiteral("1796889600"));
}

// The live watch closes the later of two tasks; no start after that, whatever the
// clock did meanwhile, lets the same message close the other.
TEST_F(Reminders, AMessageThatAnsweredLiveAnswersNothingMore) {
    startModule();
    trackingTask(QStringLiteral("Offer"));
    trackingTask(QStringLiteral("Offer"));
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    EXPECT_TRUE(task(2)->Complete());
    EXPECT_TRUE(marked(1));
    quit();
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));  // set back
    startAndCatchUp();
    EXPECT_FALSE(task(1)->Complete());
}

// A message that came before the task was sent cannot be its reply.
TEST_F(Reminders, AMessageOlderThanATaskDoesNotAnswerIt) {
    startModule();
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(9, 45)));
    trackingTask(QStringLiteral("Offer"),
                 {{TrackingProperty::FirstSentUTC, QStringLiteral("1796892300")}});
    quit();
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    startAndCatchUp();
    EXPECT_FALSE(task(1)->Complete());
    EXPECT_FALSE(marked(1));
}

// Oldest first, across Inboxes: of two tasks for one topic, the first reply to have
// arrived closes the later task, the second the earlier one; a third finds none left.
TEST_F(Reminders, CaughtUpRepliesGoOldestFirstEachClosingOneTask) {
    client->engine().addStore(QStringLiteral("Archive"));
    startModule();
    trackingTask(QStringLiteral("Offer"));
    trackingTask(QStringLiteral("Offer"));
    trackingTask(QStringLiteral("Quote"));
    quit();
    engine::Delivery d;
    d.from = QStringLiteral("ann@example.com");
    d.topic = QStringLiteral("Offer");
    const auto deliverAt = [&](QTime time, const char* subject, const QString& store) {
        clock->set(QDateTime(QDate(2026, 12, 10), time));
        d.subject = QString::fromUtf8(subject);
        client->engine().deliver(d, store);
    };
    deliverAt(QTime(10, 0), "RE: Offer (second)", QString());
    deliverAt(QTime(9, 30), "RE: Offer (first)", QStringLiteral("Archive"));
    deliverAt(QTime(10, 30), "RE: Offer (third)", QString());
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(11, 0)));
    startAndCatchUp();

    ASSERT_EQ(tasks()->Count(), 3);
    EXPECT_TRUE(task(2)->Body().contains(QStringLiteral("RE: Offer (first)\r\r")))
        << task(2)->Body().toStdString();
    EXPECT_TRUE(task(1)->Body().contains(QStringLiteral("RE: Offer (second)\r\r")))
        << task(1)->Body().toStdString();
    EXPECT_FALSE(task(3)->Complete());
    EXPECT_FALSE(marked(2));  // the third answered nothing
}

TEST_F(Reminders, ACaughtUpAutomaticReplyIsRecordedOnceAndTheTrueReplyAfterItCloses) {
    startModule();
    trackingTask(QStringLiteral("Offer"));
    quit();
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    automaticReply(QStringLiteral("IPM.Note.Rules.OofTemplate.Microsoft"));
    startAndCatchUp();
    EXPECT_FALSE(task(1)->Complete());
    EXPECT_EQ(prop(1, TrackingProperty::AutoReply),
              QStringLiteral("Ann Lee <ann@example.com>|1796896800"));
    quit();
    const ol::TaskItemPtr recorded = task(1);
    WriteTrackingProperty(*recorded, TrackingProperty::AutoReply, QStringLiteral("seen"));
    recorded->Save();
    startAndCatchUp();  // the same automatic reply is not recorded again
    EXPECT_EQ(prop(1, TrackingProperty::AutoReply), QStringLiteral("seen"));
    quit();
    clock->set(QDateTime(QDate(2026, 12, 11), QTime(8, 0)));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    startAndCatchUp();
    EXPECT_TRUE(task(1)->Complete());
}

// The mark goes on before the task changes: a message that cannot be marked closes
// nothing at start-up, and is tried again at the next.
TEST_F(Reminders, ACaughtUpMessageThatCannotBeMarkedClosesNothing) {
    startModule();
    trackingTask(QStringLiteral("Offer"));
    quit();
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    startModule();
    client->engine().faults().failNext(QStringLiteral("MailItem.Save"));
    scheduler->advance(10'000);
    EXPECT_FALSE(task(1)->Complete());
    EXPECT_FALSE(marked(1));
    quit();
    startAndCatchUp();
    EXPECT_TRUE(task(1)->Complete());
}

// A task that fails to save takes the message's mark back: the reply still answers
// it at the next start.
TEST_F(Reminders, ATaskThatFailsToSaveLeavesTheMessageUnmarked) {
    startModule();
    trackingTask(QStringLiteral("Offer"));
    quit();
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    startModule();
    client->engine().faults().failNext(QStringLiteral("TaskItem.Save"));
    scheduler->advance(10'000);
    EXPECT_FALSE(marked(1));
    quit();
    startAndCatchUp();
    EXPECT_TRUE(task(1)->Complete());
    EXPECT_TRUE(marked(1));
}

// Live, a message that cannot be marked still answers what it answers.
TEST_F(Reminders, ALiveReplyThatCannotBeMarkedStillClosesItsTask) {
    startModule();
    trackingTask(QStringLiteral("Offer"));
    client->engine().faults().failNext(QStringLiteral("MailItem.Save"));
    reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    EXPECT_TRUE(task(1)->Complete());
    EXPECT_FALSE(marked(1));
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

// --- the follow-up --------------------------------------------------------------------------

// Re-send opens the follow-up and the task waits for it: no reminder while it is open.
// Sent, it completes the task; closed unsent, the reminder is back at the next poll;
// a quit with the follow-up open leaves the task as it was, to remind at the next start.
enum class FollowUpFate { Sent, ClosedUnsent, QuitWhileOpen };

class FollowUpFates : public Reminders, public ::testing::WithParamInterface<FollowUpFate> {};

TEST_P(FollowUpFates, TheTaskEndsOnlyWhenItsFollowUpIsSent) {
    startWithSound();
    dueTask(QStringLiteral("Offer"), QStringLiteral("1796890000"));
    scheduler->advance(10'000);
    select({1});
    ReminderWindow->findChild<QPushButton*>(QStringLiteral("cmdReSend"))->click();
    ASSERT_EQ(client->engine().inspectors().size(), 1u);
    const ol::InspectorPtr followUp = client->engine().inspectors().front();
    EXPECT_FALSE(task(1)->Complete());
    EXPECT_EQ(prop(1, TrackingProperty::ReminderSet), QStringLiteral("-1"));
    scheduler->advance(30'000);
    EXPECT_TRUE(window().startsWith(QStringLiteral("window hidden")))
        << "no reminder while its follow-up is written";
    EXPECT_EQ(sound->played.size(), 1);

    switch (GetParam()) {
        case FollowUpFate::Sent:
            ol::asMailItem(followUp->CurrentItem())->Send();
            EXPECT_TRUE(task(1)->Complete());
            EXPECT_FALSE(prop(1, TrackingProperty::ReminderSet));
            EXPECT_FALSE(prop(1, TrackingProperty::Topic));
            scheduler->advance(10'000);
            EXPECT_TRUE(window().startsWith(QStringLiteral("window hidden")));
            EXPECT_EQ(sound->played.size(), 1);
            return;
        case FollowUpFate::ClosedUnsent:
            client->engine().close(followUp);
            break;
        case FollowUpFate::QuitWhileOpen:
            client->engine().close(followUp);  // the mail client's windows go with it
            quit();
            startModule();
            break;
    }
    EXPECT_FALSE(task(1)->Complete());
    scheduler->advance(10'000);
    EXPECT_TRUE(window().startsWith(QStringLiteral("window visible"))) << window().toStdString();
    EXPECT_TRUE(window().contains(QStringLiteral("\"Offer\"")));
    EXPECT_EQ(sound->played.size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Reminders, FollowUpFates,
                         ::testing::Values(FollowUpFate::Sent, FollowUpFate::ClosedUnsent,
                                           FollowUpFate::QuitWhileOpen));

// A mail client that does not list its windows: the follow-up keeps its reminder away
// while it is the active window.
TEST_F(Reminders, WithoutTheListOfWindowsTheActiveFollowUpKeepsItsReminderAway) {
    startWithSound();
    dueTask(QStringLiteral("Offer"), QStringLiteral("1796890000"));
    scheduler->advance(10'000);
    client->engine().faults().failAlways(QStringLiteral("Application.Inspectors"));
    select({1});
    ReminderWindow->findChild<QPushButton*>(QStringLiteral("cmdReSend"))->click();
    scheduler->advance(30'000);
    EXPECT_TRUE(window().startsWith(QStringLiteral("window hidden")));
    client->engine().close(client->engine().inspectors().front());
    scheduler->advance(10'000);
    EXPECT_TRUE(window().startsWith(QStringLiteral("window visible")));
}
