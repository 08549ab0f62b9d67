// The window-free half of the send dialogs: wording, checks, task options, storing,
// placement.

#include "forms/ReminderChoices.h"
#include "platform/Clock.h"
#include "tests/support/TempHives.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace vantorel;

namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(9, 0));  // a Thursday

tools::TDateTime at(int day, int hour, int minute = 0) {
    return tools::toDateTime(QDateTime(QDate(2026, 12, day), QTime(hour, minute)));
}

class ChoicesTest : public ::testing::Test {
protected:
    ChoicesTest() : clock(std::make_shared<platform::ManualClock>(kNow)) {
        platform::installClock(clock);
    }
    ~ChoicesTest() override { platform::installClock(nullptr); }

    // Remind in 2 days at 10:00, no duration, normal priority.
    static TReminderChoices remindChoices() {
        TReminderChoices c;
        c.bRemindMe = true;
        c.sRemindMe = QStringLiteral("in 2 days");
        c.sRemindMeTime = QStringLiteral("10:00");
        c.sTask = QStringLiteral("tomorrow");
        c.sDuration = QStringLiteral("1 day");
        return c;
    }

    test::TempHives hives;
    TAddInRegistry registry;
    std::shared_ptr<platform::ManualClock> clock;
};

struct WordingRow {
    const char* box;
    const char* typed;
    const char* shown;
};

class Wording : public ::testing::TestWithParam<WordingRow> {};

TEST_P(Wording, LeavingABoxGivesAValidPhraseItsCanonicalWording) {
    const WordingRow& row = GetParam();
    const QString typed = QString::fromUtf8(row.typed);
    const QString box = QString::fromUtf8(row.box);
    const QString shown = box == QLatin1String("start")      ? CanonicalStartText(typed)
                          : box == QLatin1String("duration") ? CanonicalDurationText(typed)
                                                             : CanonicalTimeText(typed);
    EXPECT_EQ(shown, QString::fromUtf8(row.shown));
}

INSTANTIATE_TEST_SUITE_P(
    ChoicesTest, Wording,
    ::testing::Values(
        WordingRow{"start", "5 days", "in 5 days"}, WordingRow{"start", "14 days", "in 2 weeks"},
        WordingRow{"start", "Tomorrow", "tomorrow"},
        WordingRow{"start", "friday", "on next Friday"}, WordingRow{"start", "abc", "abc"},
        WordingRow{"start", "3 business days", "in 3 working days"},
        WordingRow{"duration", "1 workday", "1 working day"},
        WordingRow{"duration", "14 days", "2 weeks"}, WordingRow{"duration", "12 months", "1 year"},
        // keywords are no durations: left as typed
        WordingRow{"duration", "tomorrow", "tomorrow"}, WordingRow{"time", "same", "the same hour"},
        WordingRow{"time", "9:30", "09:30"}, WordingRow{"time", "25:00", "25:00"}));

TEST_F(ChoicesTest, TheItemLists) {
    EXPECT_EQ(PeriodListItems().size(), 23);
    EXPECT_EQ(PeriodListItems().front(), QStringLiteral("today"));
    EXPECT_TRUE(PeriodListItems().contains(QStringLiteral("in 2 working days")));
    EXPECT_TRUE(PeriodListItems().contains(QStringLiteral("in 5 working days")));
    EXPECT_EQ(PeriodListItems().back(), QStringLiteral("on next Sunday"));
    const QStringList times = TimeListItems();
    ASSERT_EQ(times.size(), 49);
    EXPECT_EQ(times[0], QStringLiteral("the same hour"));
    EXPECT_EQ(times[1], QStringLiteral("00:00"));
    EXPECT_EQ(times[2], QStringLiteral("00:30"));
    EXPECT_EQ(times[48], QStringLiteral("23:30"));
    EXPECT_EQ(DurationListItems().size(), 13);
    EXPECT_EQ(DurationListItems().back(), QStringLiteral("1 year"));
    EXPECT_EQ(PriorityListItems(), QStringList({QStringLiteral("Low"), QStringLiteral("Normal"),
                                                QStringLiteral("High")}));
}

TEST_F(ChoicesTest, ValidRemindChoicesGiveTheDaysAndTheReminderMoment) {
    const TChoiceCheck check = CheckStartChoices(remindChoices());
    EXPECT_EQ(check.problem, TChoiceProblem::None);
    EXPECT_EQ(check.nDays, 2);
    EXPECT_DOUBLE_EQ(check.dReminderTime, at(10, 10));  // today at that time
}

TEST_F(ChoicesTest, AnInvalidPeriodIsReportedWithItsText) {
    TReminderChoices c = remindChoices();
    c.sRemindMe = QStringLiteral("abc");
    c.sRemindMeTime = QStringLiteral("nonsense");  // the period comes first
    const TChoiceCheck check = CheckStartChoices(c);
    EXPECT_EQ(check.problem, TChoiceProblem::Period);
    EXPECT_EQ(check.sMessage,
              QStringLiteral("The period abc is invalid. Please enter a valid period."));
}

// Periods that read as a count but give no start the task can hold, or that count
// backwards, get the same warning.
TEST_F(ChoicesTest, APeriodBeyondTheLastDateOrWithASignIsInvalid) {
    for (const char* period :
         {"400000 weeks", "2147483647 days", "2500 years", "-5 days", "+5 days"}) {
        SCOPED_TRACE(period);
        TReminderChoices c = remindChoices();
        c.sRemindMe = QString::fromUtf8(period);
        EXPECT_EQ(CheckStartChoices(c).problem, TChoiceProblem::Period);
        c.bRemindMe = false;
        c.sTask = c.sRemindMe;
        const TChoiceCheck check = CheckStartChoices(c);
        EXPECT_EQ(check.problem, TChoiceProblem::Period);
        EXPECT_EQ(check.sMessage, PeriodInvalidMessage(c.sTask));
    }
    TReminderChoices c = remindChoices();
    c.sRemindMe = QStringLiteral("2000 years");  // still before 4501
    EXPECT_EQ(CheckStartChoices(c).problem, TChoiceProblem::None);
}

TEST_F(ChoicesTest, AnInvalidTimeIsReportedInRemindMode) {
    TReminderChoices c = remindChoices();
    c.sRemindMeTime = QStringLiteral("25:00");
    const TChoiceCheck check = CheckStartChoices(c);
    EXPECT_EQ(check.problem, TChoiceProblem::Time);
    EXPECT_EQ(check.sMessage,
              QStringLiteral("The time 25:00 is invalid. Please enter a valid time."));
}

TEST_F(ChoicesTest, TaskModeChecksItsOwnPeriodAndNeverTheTime) {
    TReminderChoices c = remindChoices();
    c.bRemindMe = false;
    c.sRemindMe = QStringLiteral("abc");
    c.sRemindMeTime = QStringLiteral("25:00");
    c.sTask = QStringLiteral("in 1 week");
    TChoiceCheck check = CheckStartChoices(c);
    EXPECT_EQ(check.problem, TChoiceProblem::None);
    EXPECT_EQ(check.nDays, 7);
    EXPECT_DOUBLE_EQ(check.dReminderTime, tools::toDateTime(kNow));

    c.sTask = QStringLiteral("xyz");
    check = CheckStartChoices(c);
    EXPECT_EQ(check.problem, TChoiceProblem::Period);
    EXPECT_EQ(check.sMessage,
              QStringLiteral("The period xyz is invalid. Please enter a valid period."));
}

TEST_F(ChoicesTest, TodayAtAnHourAlreadyPastIsAccepted) {
    TReminderChoices c = remindChoices();
    c.sRemindMe = QStringLiteral("today");
    c.sRemindMeTime = QStringLiteral("07:00");
    const TChoiceCheck check = CheckStartChoices(c);
    EXPECT_EQ(check.problem, TChoiceProblem::None);
    EXPECT_EQ(check.nDays, 0);
    EXPECT_DOUBLE_EQ(check.dReminderTime, at(10, 7));
}

TEST_F(ChoicesTest, TheDurationIsCheckedOnlyWhenTicked) {
    TReminderChoices c = remindChoices();
    c.sDuration = QStringLiteral("abc");
    c.bDuration = false;
    EXPECT_TRUE(CheckDurationChoice(c).isEmpty());
    c.bDuration = true;
    EXPECT_EQ(CheckDurationChoice(c),
              QStringLiteral("The duration abc is invalid. Please enter a valid period."));
    c.sDuration = QStringLiteral("tomorrow");  // a keyword counts at this check
    EXPECT_TRUE(CheckDurationChoice(c).isEmpty());
}

TEST_F(ChoicesTest, TheTaskOptionsOfACustomSend) {
    registry.SetRemindersCategory(QStringLiteral("Follow-up"));
    registry.SetIncludeSpecificTextInSubject(true, QStringLiteral("[FU]"));
    registry.SetIncludeEMailInSubject(false);
    TReminderChoices c = remindChoices();
    c.bDelete = true;
    c.nPriority = 2;
    const TChoiceCheck check = CheckStartChoices(c);
    TReminderData data = CustomReminderData(c, check, registry);
    EXPECT_TRUE(data.bDeleteOnReply);
    EXPECT_FALSE(data.bMarkAsCompleted);
    EXPECT_EQ(data.nInDays, 2);
    EXPECT_TRUE(data.bRemindMe);
    EXPECT_DOUBLE_EQ(data.dReminderTime, at(10, 10));
    EXPECT_EQ(data.nDuration, -1);
    EXPECT_EQ(data.oImportance, 2);
    EXPECT_EQ(data.sCategories, QStringLiteral("Follow-up"));
    EXPECT_EQ(data.sSubjectHeader, QStringLiteral("[FU]"));
    EXPECT_TRUE(data.bSubjectIncludeName);
    EXPECT_FALSE(data.bSubjectIncludeAdress);

    registry.SetIncludeSpecificTextInSubject(false, QStringLiteral("[FU]"));
    c.nPriority = -1;  // a typed text that is no entry: the task is still made, Normal
    data = CustomReminderData(c, check, registry);
    EXPECT_TRUE(data.sSubjectHeader.isEmpty());
    EXPECT_EQ(data.oImportance, 1);
}

TEST_F(ChoicesTest, TheDurationCountsFromTheTaskStart) {
    TReminderChoices c = remindChoices();
    c.bDuration = true;
    c.sRemindMe = QStringLiteral("in 2 months");  // starts 2027-02-10
    c.sDuration = QStringLiteral("1 month");      // February's length, not December's
    TReminderData data = CustomReminderData(c, CheckStartChoices(c), registry);
    EXPECT_EQ(data.nInDays, 62);
    EXPECT_EQ(data.nDuration, 28);
    c.sDuration = QStringLiteral("tomorrow");
    data = CustomReminderData(c, CheckStartChoices(c), registry);
    EXPECT_EQ(data.nDuration, 1);
}

// From Thursday 2026-12-10: the day each start period reaches, with and without the
// move off the weekend, in both modes.
TEST_F(ChoicesTest, WorkingDaysAndTheMoveOffTheWeekend) {
    struct Row {
        const char* period;
        bool bMove;
        qint32 nDays;
    };
    for (const Row& r : {Row{"in 2 working days", false, 4},  // Monday
                         Row{"in 2 working days", true, 4}, Row{"in 2 days", false, 2},
                         Row{"in 2 days", true, 4},  // Saturday moves to Monday
                         Row{"in 3 days", true, 4},  // Sunday too
                         Row{"tomorrow", true, 1}, Row{"on next Saturday", true, 4}}) {
        for (bool bRemindMe : {true, false}) {
            SCOPED_TRACE(std::string(r.period) + (r.bMove ? ", moved" : "") +
                         (bRemindMe ? ", remind" : ", task"));
            TReminderChoices c = remindChoices();
            c.bRemindMe = bRemindMe;
            c.sRemindMe = c.sTask = QString::fromUtf8(r.period);
            c.bMoveOffWeekend = r.bMove;
            const TChoiceCheck check = CheckStartChoices(c);
            EXPECT_EQ(check.problem, TChoiceProblem::None);
            EXPECT_EQ(check.nDays, r.nDays);
            // The reminder keeps its time of day on the day it moved to.
            const TReminderData data = CustomReminderData(c, check, registry);
            EXPECT_EQ(data.nInDays, r.nDays);
            if (bRemindMe) {
                EXPECT_DOUBLE_EQ(data.dReminderTime + data.nInDays, at(10 + r.nDays, 10));
            }
        }
    }
}

TEST_F(ChoicesTest, TheWeekendMoveIsStoredAndLoadedWithEachSet) {
    TReminderChoices c = remindChoices();
    EXPECT_FALSE(LoadReminderChoices(registry, true).bMoveOffWeekend);
    c.bMoveOffWeekend = true;
    StoreCustomChoices(c, false, registry);
    EXPECT_TRUE(LoadReminderChoices(registry, false).bMoveOffWeekend);
    EXPECT_FALSE(LoadReminderChoices(registry, true).bMoveOffWeekend);
    c.bMoveOffWeekend = false;
    StoreDefaultChoices(c, true, registry);
    EXPECT_FALSE(LoadReminderChoices(registry, false).bMoveOffWeekend);
    c.bMoveOffWeekend = true;
    StoreDefaultChoices(c, false, registry);
    EXPECT_TRUE(LoadReminderChoices(registry, true).bMoveOffWeekend);
    EXPECT_FALSE(LoadReminderChoices(registry, false).bMoveOffWeekend);
}

TEST_F(ChoicesTest, StoringWritesTheCustomSettingsInTheirRepresentations) {
    TReminderChoices c = remindChoices();
    c.bRemindMe = false;
    c.sTask = QStringLiteral("on next Friday");
    c.sRemindMe = QStringLiteral("in 2 weeks");
    c.sRemindMeTime = QStringLiteral("the same hour");
    c.bDelete = true;
    c.bCompleted = false;
    c.bDuration = true;
    c.sDuration = QStringLiteral("3 days");
    c.nPriority = 0;
    StoreCustomChoices(c, true, registry);
    EXPECT_TRUE(registry.GetTaskShowAdvanced());
    EXPECT_FALSE(registry.GetTaskRemindMe(false));
    EXPECT_EQ(registry.GetTaskCreateOnlyStart(false), QStringLiteral("o5"));
    EXPECT_EQ(registry.GetTaskRemindMeStart(false), QStringLiteral("d14"));
    EXPECT_EQ(registry.GetTaskRemindMeTime(false), QStringLiteral("NOW"));
    EXPECT_TRUE(registry.GetTaskDeleteOnReply(false));
    EXPECT_FALSE(registry.GetTaskMarkAsCompletedOnReply(false));
    EXPECT_TRUE(registry.GetTaskSetDuration(false));
    EXPECT_EQ(registry.GetTaskDuration(false), QStringLiteral("d3"));
    EXPECT_EQ(registry.GetTaskPriority(false), 0);
    // The default settings stay as they were.
    EXPECT_TRUE(registry.GetTaskRemindMe(true));
}

TEST_F(ChoicesTest, TextsThatDoNotParseKeepTheStoredValues) {
    TReminderChoices c = remindChoices();
    c.sDuration = QStringLiteral("2 days");
    c.sTask = QStringLiteral("in 3 days");
    StoreCustomChoices(c, false, registry);
    ASSERT_EQ(registry.GetTaskDuration(false), QStringLiteral("d2"));

    c.sDuration = QStringLiteral("tomorrow");  // accepted when sending, never stored
    c.sTask = QStringLiteral("abc");
    c.sRemindMeTime = QStringLiteral("25:00");
    StoreCustomChoices(c, false, registry);
    EXPECT_EQ(registry.GetTaskDuration(false), QStringLiteral("d2"));
    EXPECT_EQ(registry.GetTaskCreateOnlyStart(false), QStringLiteral("d3"));
    EXPECT_EQ(registry.GetTaskRemindMeTime(false), QStringLiteral("10:00"));
}

TEST_F(ChoicesTest, LoadingShowsTheStoredValuesInTheirPhrases) {
    registry.SetCustomTaskRemindMe(false);
    registry.SetCustomTaskCreateOnlyStart(QStringLiteral("d14"));
    registry.SetCustomTaskRemindMeStart(QStringLiteral("b3"));
    registry.SetCustomTaskRemindMeTime(QStringLiteral("NOW"));
    registry.SetCustomTaskDuration(QStringLiteral("m12"));
    registry.SetCustomTaskPriority(2);
    const TReminderChoices c = LoadReminderChoices(registry, false);
    EXPECT_FALSE(c.bRemindMe);
    EXPECT_EQ(c.sTask, QStringLiteral("in 2 weeks"));
    EXPECT_EQ(c.sRemindMe, QStringLiteral("in 3 working days"));
    EXPECT_EQ(c.sRemindMeTime, QStringLiteral("the same hour"));
    EXPECT_EQ(c.sDuration, QStringLiteral("1 year"));
    EXPECT_EQ(c.nPriority, 2);
}

struct PlacementRow {
    QPoint cursor;
    QPoint expected;
};

class Placement : public ::testing::TestWithParam<PlacementRow> {};

TEST_P(Placement, TheWindowOpensAtTheCursorInsideTheWorkArea) {
    const QSize window(383, 352);
    const QSize workArea(1920, 1040);
    EXPECT_EQ(PlaceAtCursor(GetParam().cursor, window, workArea), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(ChoicesTest, Placement,
                         ::testing::Values(PlacementRow{{500, 300}, {500, 300}},
                                           PlacementRow{{1800, 300}, {1537, 300}},
                                           PlacementRow{{500, 1000}, {500, 688}},
                                           PlacementRow{{1900, 1030}, {1537, 688}},
                                           PlacementRow{{-40, -5}, {0, 0}}));

TEST(OptionsHeight, HidingGivesTheRoundedShareOfTheFullHeight) {
    EXPECT_EQ(HiddenOptionsHeight(352), 223);  // 223.168
    EXPECT_EQ(HiddenOptionsHeight(440), 279);  // 278.96
    EXPECT_EQ(HiddenOptionsHeight(0), 0);
}

}  // namespace
