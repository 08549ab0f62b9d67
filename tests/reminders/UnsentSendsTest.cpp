// What a send left half-done, brought in line at the next start: a task whose
// message never went is removed, one whose message went is pointed at the sent copy.

#include "tests/reminders/ReminderFixture.h"

#include "reminders/TrackingProperties.h"
#include "reminders/UnsentSends.h"

using namespace vantorel;
using namespace vantorel::test;

namespace {

// Where the send stopped: what the task's "Mail" names, and what became of it.
enum class Left {
    UnsentDraft,          // the message never went
    UnsentStampedByIt,    // on its way out, carrying the task's EntryID
    UnsentStampedOther,   // carrying another task's EntryID
    Sent,                 // the task names the sent copy, as it should
    GoneWithStampedCopy,  // sent; the task still names the draft it went from
    GoneWithoutCopy,      // the sent copy was deleted since
};

struct UnsentRow {
    const char* name;
    Left left;
    TSendReconciled result;
    int tasksAfter;
};

class UnsentSends : public ReminderTest, public ::testing::WithParamInterface<UnsentRow> {
protected:
    ol::MAPIFolderPtr folder(int type) { return ns->GetDefaultFolder(type); }
    static void stamp(ol::MailItem& mail, const QString& taskId) {
        WriteTrackingProperty(mail, TrackingProperty::ReminderID, taskId);
    }
};

TEST_P(UnsentSends, BringTheTaskInLineWithItsMessage) {
    const UnsentRow& row = GetParam();
    const ol::MailItemPtr mail = message(QStringLiteral("Ann Lee <ann@example.com>"));
    const QString draftId = mail->EntryID();
    const ol::TaskItemPtr task = newTask();
    FillReminderTask(task, mail, TReminderData());
    const QString taskId = task->EntryID();
    QString expectedMail = draftId;
    switch (row.left) {
        case Left::UnsentDraft:
            break;
        case Left::UnsentStampedByIt:
            stamp(*mail, taskId);
            mail->Save();
            break;
        case Left::UnsentStampedOther:
            stamp(*mail, QStringLiteral("00000000AB"));
            mail->Save();
            break;
        case Left::Sent:
        case Left::GoneWithStampedCopy:
        case Left::GoneWithoutCopy: {
            stamp(*mail, taskId);
            mail->Send();
            const ol::ItemPtr copy = folder(ol::olFolderSentMail)->Items()->Item(1);
            if (row.left == Left::Sent) {
                expectedMail = copy->EntryID();
                WriteTrackingProperty(*task, TrackingProperty::Mail, expectedMail);
                task->Save();
            } else if (row.left == Left::GoneWithStampedCopy) {
                expectedMail = copy->EntryID();
            } else {
                copy->Delete();
            }
            break;
        }
    }

    EXPECT_EQ(ReconcileSentMessage(task, *ns, folder(ol::olFolderSentMail)), row.result);
    EXPECT_EQ(taskCount(), row.tasksAfter);
    if (row.tasksAfter == 1) {
        EXPECT_EQ(ReadTrackingProperty(*stored(taskId), TrackingProperty::Mail), expectedMail);
    }
}

INSTANTIATE_TEST_SUITE_P(
    UnsentSends, UnsentSends,
    ::testing::Values(
        UnsentRow{"UnsentDraft", Left::UnsentDraft, TSendReconciled::Removed, 0},
        UnsentRow{"UnsentStampedByIt", Left::UnsentStampedByIt, TSendReconciled::Nothing, 1},
        UnsentRow{"UnsentStampedOther", Left::UnsentStampedOther, TSendReconciled::Removed, 0},
        UnsentRow{"Sent", Left::Sent, TSendReconciled::Nothing, 1},
        UnsentRow{"GoneWithStampedCopy", Left::GoneWithStampedCopy, TSendReconciled::Relinked, 1},
        UnsentRow{"GoneWithoutCopy", Left::GoneWithoutCopy, TSendReconciled::Nothing, 1}),
    [](const ::testing::TestParamInfo<UnsentRow>& info) { return std::string(info.param.name); });

// A message being sent right now is passed over; the others are brought in line.
TEST_F(ReminderTest, TheWalkPassesOverAMessageBeingSent) {
    const ol::MailItemPtr sending = message(QStringLiteral("ann@example.com"));
    const ol::MailItemPtr left = message(QStringLiteral("bob@example.com"));
    FillReminderTask(newTask(), sending, TReminderData());
    FillReminderTask(newTask(), left, TReminderData());
    const QString sendingId = sending->EntryID();
    EXPECT_EQ(ReconcileSentMessages(ns->GetDefaultFolder(ol::olFolderTasks), *ns,
                                    ns->GetDefaultFolder(ol::olFolderSentMail),
                                    [&](const QString& mailId) { return mailId == sendingId; }),
              1);
    ASSERT_EQ(taskCount(), 1);
    EXPECT_EQ(ReadTrackingProperty(
                  *ol::asTaskItem(ns->GetDefaultFolder(ol::olFolderTasks)->Items()->Item(1)),
                  TrackingProperty::Mail),
              sendingId);
}

}  // namespace
