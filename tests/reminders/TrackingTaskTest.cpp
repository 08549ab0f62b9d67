// Creating a tracking task end to end: the standard task fields, the tracking
// properties in their order, the pending-send entry, failures reaching the caller,
// moments past 2038, and removing the tracking properties.

#include "ReminderFixture.h"
#include "reminders/TrackingProperties.h"
#include "tools/DateTime.h"

#include <QStringList>

using namespace vantorel;
using namespace vantorel::test;
using Properties = std::vector<std::pair<QString, QString>>;

namespace {

tools::TDateTime at(int year, int month, int day, int hour, int minute, int second = 0) {
    return tools::toDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second)));
}

MessageFields offer() {
    MessageFields fields;
    fields.to = QStringLiteral("Ann Lee <ann@example.com>; Dora Diaz <ex:/o=org/cn=dora>");
    fields.cc = QStringLiteral("Carl <carl@example.com>");
    fields.bcc = QStringLiteral("Bea <bea@example.com>");
    fields.subject = QStringLiteral("RE: Offer");
    fields.body = QStringLiteral("Hello");
    return fields;
}

std::unique_ptr<TSendingMailData> marker() {
    return std::make_unique<TSendingMailData>();
}

}  // namespace

TEST_F(ReminderTest, CreateReminderTaskWritesTheTrackingTask) {
    const ol::MailItemPtr mail = message(offer());
    pending.Add(QStringLiteral("00000000OTHER"), marker());
    pending.Add(mail->EntryID().toLower(), marker());

    TReminderData data;
    data.bDeleteOnReply = false;
    data.bMarkAsCompleted = true;
    data.nInDays = 2;
    data.bRemindMe = true;
    data.dReminderTime = at(2026, 12, 10, 9, 0);
    data.sCategories = QStringLiteral("Vantorel");
    data.nDuration = 3;
    data.oImportance = ol::olImportanceHigh;
    data.nMaxBodyLength = 500;
    data.sSubjectHeader = QStringLiteral("[Vantorel]");
    data.bSubjectIncludeName = true;
    CreateReminderTask(newTask(), mail, data);

    const QString taskId = pending.Data(1).sTaskEntryID;
    ASSERT_FALSE(taskId.isEmpty());
    EXPECT_TRUE(pending.Data(0).sTaskEntryID.isEmpty());
    EXPECT_EQ(taskCount(), 1);
    EXPECT_TRUE(engine->displayed().empty());

    const ol::TaskItemPtr task = stored(taskId);
    EXPECT_EQ(task->Subject(), QStringLiteral("[Vantorel] Ann Lee; Dora Diaz: RE: Offer"));
    EXPECT_EQ(task->Categories(), QStringLiteral("Vantorel"));
    EXPECT_DOUBLE_EQ(task->StartDate(), at(2026, 12, 12, 9, 5));
    EXPECT_DOUBLE_EQ(task->DueDate(), at(2026, 12, 15, 9, 5));
    EXPECT_EQ(task->Importance(), ol::olImportanceHigh);
    EXPECT_TRUE(task->ReminderOverrideDefault());
    EXPECT_FALSE(task->ReminderSet());
    EXPECT_DOUBLE_EQ(task->ReminderTime(), at(2026, 12, 12, 9, 0));
    EXPECT_EQ(task->Body(), QuotedMessageBody(mail, 500));
    EXPECT_TRUE(task->Body().endsWith(QLatin1String("\r\n\r\nHello")));
    // The client's line break only: no CR or LF outside a CR LF pair.
    EXPECT_EQ(task->Body().count(QLatin1Char('\r')), task->Body().count(QLatin1String("\r\n")));
    EXPECT_EQ(task->Body().count(QLatin1Char('\n')), task->Body().count(QLatin1String("\r\n")));

    const Properties expected = {
        {QStringLiteral("Topic"), QStringLiteral("Offer")},
        {QStringLiteral("Mail"), mail->EntryID()},
        {QStringLiteral("Recipients"),
         QStringLiteral("Ann Lee|ann@example.com;Dora Diaz|/o=org/cn=dora;")},
        {QStringLiteral("CcRecipients"), QStringLiteral("Carl|carl@example.com;")},
        {QStringLiteral("BccRecipients"), QStringLiteral("Bea|bea@example.com;")},
        {QStringLiteral("FirstSent"), QStringLiteral("1796893500")},  // 2026-12-10 09:05
        {QStringLiteral("DeleteOnReply"), QStringLiteral("0")},
        {QStringLiteral("MarkCompletedOnReply"), QStringLiteral("-1")},
        {QStringLiteral("ReminderSet"), QStringLiteral("-1")},
        {QStringLiteral("ReminderTime"), QStringLiteral("1797066000")},  // 2026-12-12 09:00
        {QStringLiteral("FirstSentUTC"), QStringLiteral("1796889900")},  // 08:05 UTC
    };
    EXPECT_EQ(properties(*task), expected);
    const ol::UserPropertiesPtr all = task->UserProperties();
    for (int i = 1; i <= all->Count(); ++i) {
        EXPECT_EQ(all->Item(i)->Type(), ol::olText) << all->Item(i)->Name().toStdString();
    }
}

TEST_F(ReminderTest, WithoutReminderTheTaskHasNoReminderTimeAndNoDueDate) {
    const ol::MailItemPtr mail = message(offer());
    TReminderData data;
    data.bDeleteOnReply = true;
    data.bRemindMe = false;
    data.dReminderTime = at(2026, 12, 11, 8, 0);
    data.nDuration = -1;
    data.oImportance = ol::olImportanceLow;
    const ol::TaskItemPtr created = newTask();
    CreateReminderTask(created, mail, data);

    const ol::TaskItemPtr task = stored(created->EntryID());
    EXPECT_DOUBLE_EQ(task->StartDate(), at(2026, 12, 10, 9, 5));
    EXPECT_EQ(task->DueDate(), ol::kNoDate);
    EXPECT_EQ(task->ReminderTime(), ol::kNoDate);
    EXPECT_FALSE(task->ReminderSet());
    EXPECT_EQ(task->Importance(), ol::olImportanceLow);
    EXPECT_TRUE(task->Categories().isEmpty());
    EXPECT_EQ(task->Subject(), QStringLiteral("RE: Offer"));

    QStringList names;
    for (const auto& [name, value] : properties(*task)) {
        names << name;
    }
    EXPECT_EQ(names, QStringList(TrackingProperty::All.mid(0, 9))
                         << TrackingProperty::FirstSentUTC);
    EXPECT_EQ(ReadTrackingProperty(*task, TrackingProperty::DeleteOnReply), QStringLiteral("-1"));
    EXPECT_EQ(ReadTrackingProperty(*task, TrackingProperty::ReminderSet), QStringLiteral("0"));
    EXPECT_EQ(ReadTrackingFlag(*task, TrackingProperty::MarkCompletedOnReply), false);
}

TEST_F(ReminderTest, ADurationOfZeroDaysIsDueOnTheStartDate) {
    TReminderData data;
    data.nInDays = 1;
    data.nDuration = 0;
    const ol::TaskItemPtr task = newTask();
    CreateReminderTask(task, message(offer()), data);
    EXPECT_DOUBLE_EQ(task->StartDate(), at(2026, 12, 11, 9, 5));
    EXPECT_DOUBLE_EQ(task->DueDate(), task->StartDate());
}

TEST_F(ReminderTest, AMessageWithoutPendingEntryStillGetsItsTask) {
    const ol::MailItemPtr mail = message(offer());
    pending.Add(QStringLiteral("00000000OTHER"), marker());
    const ol::TaskItemPtr task = newTask();
    CreateReminderTask(task, mail, TReminderData{});
    EXPECT_FALSE(task->EntryID().isEmpty());
    EXPECT_TRUE(pending.Data(0).sTaskEntryID.isEmpty());

    PendingSends = nullptr;  // the add-in not initialised: nothing to record
    CreateReminderTask(newTask(), mail, TReminderData{});
    EXPECT_EQ(taskCount(), 2);
}

// Of two entries with the message's EntryID, the earliest gets the task.
TEST_F(ReminderTest, TheEarliestPendingEntryOfTheMessageGetsTheTask) {
    const ol::MailItemPtr mail = message(offer());
    pending.Add(mail->EntryID(), marker());
    pending.Add(mail->EntryID(), marker());
    const ol::TaskItemPtr task = newTask();
    CreateReminderTask(task, mail, TReminderData{});
    EXPECT_EQ(pending.Data(0).sTaskEntryID, task->EntryID());
    EXPECT_TRUE(pending.Data(1).sTaskEntryID.isEmpty());
}

// Failures end the creation at once and reach the caller.

// The message is saved before the task: a task is the last thing made.
TEST_F(ReminderTest, AFailedTaskSaveLeavesNoTaskAndRecordsNothing) {
    const ol::MailItemPtr mail = message(offer());
    mail->SetSubject(QStringLiteral("Changed"));  // stored by the message's save
    pending.Add(mail->EntryID(), marker());
    engine->faults().failNext(QStringLiteral("TaskItem.Save"), 1, QStringLiteral("Disk full."));

    const ol::TaskItemPtr task = newTask();
    try {
        CreateReminderTask(task, mail, TReminderData{});
        FAIL() << "no error";
    } catch (const ol::OutlookError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Disk full."));
    }
    EXPECT_TRUE(task->EntryID().isEmpty());
    EXPECT_EQ(taskCount(), 0);
    EXPECT_TRUE(pending.Data(0).sTaskEntryID.isEmpty());
    EXPECT_EQ(ol::asMailItem(ns->GetItemFromID(mail->EntryID()))->Subject(),
              QStringLiteral("Changed"));
}

// Whatever fails, no task is left that the send does not know of.
TEST_F(ReminderTest, AFailureBeforeTheTaskIsRecordedLeavesNoTask) {
    const ol::MailItemPtr mail = message(offer());
    pending.Add(mail->EntryID(), marker());
    for (const char* operation : {"MailItem.Save", "TaskItem.EntryID"}) {
        engine->faults().failNext(QString::fromLatin1(operation), 1, QStringLiteral("Locked."));
        EXPECT_THROW(CreateReminderTask(newTask(), mail, TReminderData{}), ol::OutlookError)
            << operation;
        EXPECT_EQ(taskCount(), 0) << operation;
        EXPECT_TRUE(pending.Data(0).sTaskEntryID.isEmpty()) << operation;
    }
}

TEST_F(ReminderTest, AFailureWhileWritingPropertiesLeavesTheTaskUnsaved) {
    const ol::MailItemPtr mail = message(offer());
    pending.Add(mail->EntryID(), marker());
    for (const char* operation : {"UserProperties.Add", "UserProperty.SetValue",
                                  "MailItem.ConversationTopic", "Recipient.AddressEntry"}) {
        engine->faults().failNext(QString::fromLatin1(operation));
        EXPECT_THROW(CreateReminderTask(newTask(), mail, TReminderData{}), ol::OutlookError)
            << operation;
    }
    EXPECT_EQ(taskCount(), 0);
    EXPECT_TRUE(pending.Data(0).sTaskEntryID.isEmpty());
}

// Moments are written as decimal local Unix seconds and read back as 64-bit counts.
TEST_F(ReminderTest, MomentsAfter2038AreWrittenAndReadBack) {
    clock->set(QDateTime(QDate(2040, 3, 1), QTime(12, 0)));
    TReminderData data;
    data.bRemindMe = true;
    data.nInDays = 2;
    data.dReminderTime = at(2040, 3, 1, 13, 30);
    const ol::TaskItemPtr created = newTask();
    CreateReminderTask(created, message(offer()), data);

    const ol::TaskItemPtr task = stored(created->EntryID());
    EXPECT_EQ(ReadTrackingProperty(*task, TrackingProperty::FirstSent),
              QStringLiteral("2214216000"));
    EXPECT_EQ(ReadTrackingProperty(*task, TrackingProperty::ReminderTime),
              QStringLiteral("2214394200"));
    EXPECT_DOUBLE_EQ(ReadTrackingMoment(*task, TrackingProperty::FirstSent).value_or(0),
                     at(2040, 3, 1, 12, 0));
    EXPECT_DOUBLE_EQ(ReadTrackingMoment(*task, TrackingProperty::ReminderTime).value_or(0),
                     at(2040, 3, 3, 13, 30));
    EXPECT_DOUBLE_EQ(task->ReminderTime(), at(2040, 3, 3, 13, 30));
}

namespace {
struct MomentCase {
    const char* name;
    const char* text;
    std::optional<tools::TDateTime> moment;
};
void PrintTo(const MomentCase& c, std::ostream* os) {
    *os << c.name;
}
class MomentReading : public ReminderTest, public ::testing::WithParamInterface<MomentCase> {};
}  // namespace

TEST_P(MomentReading, ReadsLocalUnixSeconds) {
    const ol::TaskItemPtr task = newTask();
    WriteTrackingProperty(*task, TrackingProperty::Snooze, QString::fromLatin1(GetParam().text));
    const std::optional<tools::TDateTime> read =
        ReadTrackingMoment(*task, TrackingProperty::Snooze);
    ASSERT_EQ(read.has_value(), GetParam().moment.has_value());
    if (read) {
        EXPECT_DOUBLE_EQ(*read, *GetParam().moment);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MomentReading,
    ::testing::Values(MomentCase{"Last32BitSecond", "2147483647", at(2038, 1, 19, 3, 14, 7)},
                      MomentCase{"First64BitSecond", "2147483648", at(2038, 1, 19, 3, 14, 8)},
                      MomentCase{"Year2100", "4102444800", at(2100, 1, 1, 0, 0)},
                      MomentCase{"BeforeTheEpoch", "-86400", at(1969, 12, 31, 0, 0)},
                      MomentCase{"Year9999", "253402300799", at(9999, 12, 31, 23, 59, 59)},
                      MomentCase{"PastYear9999", "253402300800", std::nullopt},
                      MomentCase{"Huge", "9223372036854775807", std::nullopt},
                      MomentCase{"NoNumber", "soon", std::nullopt},
                      MomentCase{"Empty", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReminderTest, AnAbsentPropertyReadsAsNone) {
    const ol::TaskItemPtr task = newTask();
    EXPECT_FALSE(ReadTrackingProperty(*task, TrackingProperty::Topic).has_value());
    EXPECT_FALSE(ReadTrackingMoment(*task, TrackingProperty::Snooze).has_value());
    EXPECT_FALSE(ReadTrackingFlag(*task, TrackingProperty::ReminderSet).has_value());
}

TEST_F(ReminderTest, DeleteTrackingPropertiesKeepsSnoozeAndForeignPropertiesAndDoesNotSave) {
    TReminderData data;
    data.bRemindMe = true;
    const ol::TaskItemPtr task = newTask();
    CreateReminderTask(task, message(offer()), data);
    WriteTrackingProperty(*task, TrackingProperty::Snooze, QStringLiteral("1796900000"));
    WriteTrackingProperty(*task, QStringLiteral("Other"), QStringLiteral("x"));
    task->Save();

    DeleteTrackingProperties(task);
    const Properties left = {{QStringLiteral("Snooze"), QStringLiteral("1796900000")},
                             {QStringLiteral("Other"), QStringLiteral("x")}};
    EXPECT_EQ(properties(*task), left);
    EXPECT_EQ(properties(*stored(task->EntryID())).size(), 13u);  // not saved yet
    task->Save();
    EXPECT_EQ(properties(*stored(task->EntryID())), left);

    // A dismissed task lacks "ReminderSet" and "ReminderTime": the rest goes all the same.
    const ol::TaskItemPtr dismissed = newTask();
    CreateReminderTask(dismissed, message(offer()), data);
    dismissed->UserProperties()->Item(TrackingProperty::ReminderSet)->Delete();
    dismissed->UserProperties()->Item(TrackingProperty::ReminderTime)->Delete();
    DeleteTrackingProperties(dismissed);
    EXPECT_EQ(dismissed->UserProperties()->Count(), 0);
}
