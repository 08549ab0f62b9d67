// Tracking tasks as another program or a person may leave them: texts that are no
// numbers or flags, moments far out of range, properties missing, names in another
// letter case, odd recipient lists, huge and right-to-left texts. Each goes through the
// whole road (the poll, the reminders window's actions, a reply) and must give its
// drawn behaviour or a clear message, never a crash or an error escaping to the host.

#include "AddInFixture.h"
#include "forms/ReminderWindowUnit.h"
#include "host/scenario/ScenarioWindows.h"
#include "reminders/TrackingProperties.h"
#include "tests/support/RecordingSound.h"
#include "tests/support/ScriptedWindows.h"

#include <QPushButton>

using namespace vantorel;
using namespace vantorel::test;
namespace ol = vantorel::outlook;
namespace tp = vantorel::TrackingProperty;

namespace {

// A text of a row, written as a literal or made.
struct Text {
    Text(const char* text) : text(QString::fromUtf8(text)) {}  // NOLINT: implicit on purpose
    Text(QString text) : text(std::move(text)) {}              // NOLINT
    QString text;
};

// What a row changes in an otherwise whole, due tracking task of "Offer" to Ann.
struct DamageRow {
    const char* name;
    std::vector<std::pair<Text, Text>> set;  // property, value ("" property: the subject)
    std::vector<QString> remove;
    bool listed;       // the poll shows it
    int boxes;         // error boxes while the poll runs for a minute
    bool replyCloses;  // Ann's reply closes the task
};

void PrintTo(const DamageRow& row, std::ostream* os) {
    *os << row.name;
}

const QString kLong(100'000, QLatin1Char('x'));

class DamagedData : public ModuleFixture, public ::testing::WithParamInterface<DamageRow> {
protected:
    ol::TaskItemPtr damagedTask(const DamageRow& row) {
        const ol::TaskItemPtr t =
            ol::asTaskItem(client->engine().application()->CreateItem(ol::olTaskItem));
        t->SetSubject(QStringLiteral("[Vantorel] Offer"));
        std::vector<std::pair<QString, QString>> props = {
            {tp::Topic, QStringLiteral("Offer")},
            {tp::Mail, QString()},
            {tp::Recipients, QStringLiteral("Ann Lee|ann@example.com;")},
            {tp::CcRecipients, QString()},
            {tp::BccRecipients, QString()},
            {tp::FirstSent, QStringLiteral("1796893200")},
            {tp::DeleteOnReply, QStringLiteral("0")},
            {tp::MarkCompletedOnReply, QStringLiteral("-1")},
            {tp::ReminderSet, QStringLiteral("-1")},
            {tp::ReminderTime, QStringLiteral("1796890000")},
        };
        for (const auto& [nameText, valueText] : row.set) {
            const QString& name = nameText.text;
            const QString& value = valueText.text;
            if (name.isEmpty()) {
                t->SetSubject(value);
                continue;
            }
            const auto at = std::find_if(props.begin(), props.end(),
                                         [&](const auto& p) { return p.first == name; });
            if (at != props.end()) {
                at->second = value;
            } else {
                props.emplace_back(name, value);
            }
        }
        for (const auto& [name, value] : props) {
            if (std::find(row.remove.begin(), row.remove.end(), name) == row.remove.end()) {
                WriteTrackingProperty(*t, name, value);
            }
        }
        t->Save();
        return t;
    }

    int errorBoxes() {
        return static_cast<int>(std::count_if(
            prompts->shown.begin(), prompts->shown.end(),
            [](const auto& box) { return box.icon == platform::MessageIcon::Error; }));
    }

    SoundScope sound;
    WindowsScope windows;
};

TEST_P(DamagedData, GivesItsDrawnBehaviourAndNeverACrash) {
    const DamageRow& row = GetParam();
    startModule();
    const QString id = damagedTask(row)->EntryID();
    scheduler->advance(60'000);
    const bool listed = ReminderWindow->isVisible();
    EXPECT_EQ(listed, row.listed) << ReminderWindow->DescribeForScript().toStdString();
    EXPECT_EQ(errorBoxes(), row.boxes);
    if (listed) {
        // Every action of the window on it, one after the other.
        const auto click = [](const char* name) {
            ReminderWindow->findChild<QPushButton*>(QLatin1String(name))->click();
        };
        host::selectListEntries(*ReminderWindow, QStringLiteral("lstReminders"), {1});
        click("cmdView");
        click("cmdViewItem");
        click("cmdSnooze");
        scheduler->advance(6 * 60'000);
        if (ReminderWindow->isVisible()) {
            host::selectListEntries(*ReminderWindow, QStringLiteral("lstReminders"), {1});
            click("cmdReSend");
        }
    }
    engine::Delivery reply;
    reply.from = QStringLiteral("ann@example.com");
    reply.subject = QStringLiteral("RE: Offer");
    client->engine().deliver(reply);
    const ol::TaskItemPtr task =
        ol::asTaskItem(client->engine().application()->Session()->GetItemFromID(id));
    // A re-sent task waits for its follow-up, which is never sent here: only the reply
    // closes a task, when it can.
    const bool hadTopic =
        std::find(row.remove.begin(), row.remove.end(), tp::Topic) == row.remove.end();
    EXPECT_EQ(ReadTrackingProperty(*task, tp::Topic).has_value(), hadTopic && !row.replyCloses)
        << "tracked after the road";
    EXPECT_TRUE(suppressed.empty()) << suppressed.front().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Tasks, DamagedData,
    ::testing::Values(
        DamageRow{"whole", {}, {}, true, 0, true},
        // Flags and moments that are none: the task is passed over or named once.
        DamageRow{"reminder_flag_no_flag", {{tp::ReminderSet, "maybe"}}, {}, false, 1, true},
        // A reminder moment that is none would keep the reminder away for good.
        DamageRow{"reminder_time_no_number", {{tp::ReminderTime, "soon"}}, {}, false, 1, true},
        DamageRow{
            "reminder_time_huge", {{tp::ReminderTime, "99999999999999999999"}}, {}, false, 1, true},
        DamageRow{"reminder_time_beyond_the_last_date",
                  {{tp::ReminderTime, "253402300800"}},
                  {},
                  false,
                  1,
                  true},
        DamageRow{"reminder_time_at_the_end_of_time",
                  {{tp::ReminderTime, "9223372036854775807"}},
                  {},
                  false,
                  1,
                  true},
        DamageRow{"reminder_time_snoozed_no_number",
                  {{tp::ReminderTime, "soon"}, {tp::Snooze, "1796890000"}},
                  {},
                  false,
                  1,
                  true},
        DamageRow{
            "reminder_time_negative", {{tp::ReminderTime, "-62135596800"}}, {}, true, 0, true},
        DamageRow{"snooze_no_number", {{tp::Snooze, "later"}}, {}, true, 0, true},
        DamageRow{"first_sent_no_number", {{tp::FirstSent, "yesterday"}}, {}, false, 1, true},
        DamageRow{"first_sent_negative", {{tp::FirstSent, "-2208988800"}}, {}, true, 0, true},
        // Moments no date of the mail client can hold are as unreadable as no number.
        DamageRow{"first_sent_before_the_first_date",
                  {{tp::FirstSent, "-99999999999"}},
                  {},
                  false,
                  1,
                  true},
        DamageRow{"first_sent_beyond_the_last_date",
                  {{tp::FirstSent, "9999999999999999"}},
                  {},
                  false,
                  1,
                  true},
        DamageRow{"first_sent_at_the_end_of_time",
                  {{tp::FirstSent, "9223372036854775807"}},
                  {},
                  false,
                  1,
                  true},
        // Flags are numbers in every form a number is written.
        DamageRow{"reminder_flag_with_a_fraction", {{tp::ReminderSet, "0.5"}}, {}, true, 0, true},
        DamageRow{
            "reminder_flag_zero_with_a_fraction", {{tp::ReminderSet, "0.0"}}, {}, false, 0, true},
        DamageRow{"reply_flags_with_exponents",
                  {{tp::MarkCompletedOnReply, "1e3"}, {tp::DeleteOnReply, "0E+5"}},
                  {},
                  true,
                  0,
                  true},
        DamageRow{"delete_flag_no_flag", {{tp::DeleteOnReply, "perhaps"}}, {}, true, 0, false},
        // Properties missing.
        DamageRow{"no_topic", {}, {tp::Topic}, false, 0, false},
        DamageRow{"no_recipients", {}, {tp::Recipients}, true, 0, false},
        DamageRow{"no_first_sent", {}, {tp::FirstSent}, true, 0, true},
        DamageRow{"only_topic_and_reminder",
                  {},
                  {tp::Mail, tp::Recipients, tp::CcRecipients, tp::BccRecipients, tp::FirstSent,
                   tp::DeleteOnReply, tp::MarkCompletedOnReply},
                  true,
                  0,
                  false},
        // Names in another letter case are the same properties.
        DamageRow{"names_in_capitals", {{"REMINDERSET", "-1"}}, {tp::ReminderSet}, true, 0, true},
        // Recipient lists as nobody writes them.
        DamageRow{"recipients_without_separators",
                  {{tp::Recipients, "Ann Lee ann@example.com"}},
                  {},
                  true,
                  0,
                  false},
        DamageRow{"name_with_separators",
                  {{tp::Recipients, "Lee; Ann|x|ann@example.com;"}},
                  {},
                  true,
                  0,
                  false},
        // Texts of every size and direction.
        DamageRow{"huge_subject_and_topic", {{"", kLong}, {tp::Topic, kLong}}, {}, true, 0, false},
        DamageRow{"empty_topic", {{tp::Topic, ""}}, {}, true, 0, false},
        DamageRow{"right_to_left_topic",
                  {{tp::Topic, QStringLiteral("הצעה \u202Eمرحبا")}, {"", QStringLiteral("הצעה")}},
                  {},
                  true,
                  0,
                  false}),
    [](const ::testing::TestParamInfo<DamageRow>& info) { return std::string(info.param.name); });

}  // namespace
