#include "tools/Phrases.h"

#include "platform/Clock.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <ostream>

using namespace vantorel;
using vantorel::tools::TDateTime;

namespace {

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

TDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return tools::toDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second)));
}

// Sets the default locale for one test and puts the test main's en_US back.
class LocaleScope {
public:
    explicit LocaleScope(const char* name) { QLocale::setDefault(QLocale(q(name))); }
    ~LocaleScope() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;
};

// Rows carry a name for the generated test names.
template <typename Row>
std::string rowName(const testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

}  // namespace

// --- ParsePeriodPhrase ---------------------------------------------------------------

struct ParseRow {
    const char* name;
    bool allowKeywords;
    const char* phrase;
    bool valid;
    const char* period;
};

void PrintTo(const ParseRow& r, std::ostream* os) {
    *os << r.name;
}

class ParsePeriod : public testing::TestWithParam<ParseRow> {};

TEST_P(ParsePeriod, GivesTheRepresentation) {
    const ParseRow& r = GetParam();
    QString period = QStringLiteral("stale");
    EXPECT_EQ(ParsePeriodPhrase(r.allowKeywords, q(r.phrase), period), r.valid);
    EXPECT_EQ(period, q(r.period));
}

INSTANTIATE_TEST_SUITE_P(
    Phrases, ParsePeriod,
    testing::Values(
        // Keywords, first match wins, before any number.
        ParseRow{"Today", true, "today", true, "d0"},
        ParseRow{"Tomorrow", true, "Tomorrow", true, "d1"},
        ParseRow{"KeywordBeforeNumber", true, "in 2 days from today", true, "d0"},
        ParseRow{"Same1", true, "same 1", true, "d0"},
        ParseRow{"Friday", true, "on next friday", true, "o5"},
        ParseRow{"Sunday", true, "SUNDAY", true, "o7"},
        ParseRow{"WeekdayBeforeFollowing", true, "on Monday the following week", true, "o1"},
        ParseRow{"FollowingDay", true, "on the following day", true, "d1"},
        ParseRow{"SameDayIsNoKeyword", true, "on the same day", false, ""},
        ParseRow{"KeywordsOff", false, "tomorrow", false, ""},
        ParseRow{"KeywordsOffWeekday", false, "on next Friday", false, ""},
        // Counts and units.
        ParseRow{"Days", false, "14 days", true, "d14"},
        ParseRow{"WeeksAsDays", false, "in 2 Weeks", true, "d14"},
        ParseRow{"Months", false, "18 months", true, "m18"},
        ParseRow{"YearsAsMonths", false, "in 2 years", true, "m24"},
        ParseRow{"ZeroDays", false, "0 days", true, "d0"},
        ParseRow{"LeadingZerosWithUnit", false, "in 007 days", true, "d7"},
        ParseRow{"BlanksAndControls", false, " \t3 days\r\n", true, "d3"},
        ParseRow{"NoUnit", false, "3 fortnights", false, ""},
        // A bare number is days, but only as its own decimal text.
        ParseRow{"BareNumber", true, "5", true, "d5"},
        ParseRow{"BareNumberTrimmed", false, "  5 ", true, "d5"},
        ParseRow{"BareNumberLeadingZero", true, "05", false, ""},
        ParseRow{"SignedNumber", true, "-5", false, ""},
        ParseRow{"NegativeCount", false, "-5 days", false, ""},
        ParseRow{"NegativeCountInWords", true, "in - 2 weeks", false, ""},
        ParseRow{"PositiveSign", false, "+3 months", false, ""},
        ParseRow{"HyphenAfterTheCount", false, "a 3-day wait", true, "d3"},
        // Working days, under each of their names.
        ParseRow{"WorkingDays", true, "in 3 working days", true, "b3"},
        ParseRow{"OneWorkingDay", false, "1 Working Day", true, "b1"},
        ParseRow{"BusinessDays", false, "2 business days", true, "b2"},
        ParseRow{"Workdays", true, "in 10 WORKDAYS", true, "b10"},
        ParseRow{"LargestWorkingDays", false, "2147483647 working days", true, "b2147483647"},
        ParseRow{"NegativeWorkingDays", true, "-2 working days", false, ""},
        ParseRow{"NoDigit", true, "abc", false, ""}, ParseRow{"Empty", true, "", false, ""},
        // 32 bits: the largest count parses; beyond it, also after weeks and years are
        // converted, the text is no period.
        ParseRow{"LargestCount", false, "2147483647 days", true, "d2147483647"},
        ParseRow{"ElevenNines", false, "99999999999 days", false, ""},
        ParseRow{"CountOverflow", false, "2147483648 days", false, ""},
        ParseRow{"LargestWeeks", false, "306783378 weeks", true, "d2147483646"},
        ParseRow{"WeeksOverflow", false, "306783379 weeks", false, ""},
        ParseRow{"LargestYears", false, "178956970 years", true, "m2147483640"},
        ParseRow{"YearsOverflow", false, "178956971 years", false, ""}),
    rowName<ParseRow>);

// --- FormatPeriodPhrase --------------------------------------------------------------

struct FormatRow {
    const char* name;
    const char* period;
    const char* start;     // style 0
    const char* after;     // style 1
    const char* duration;  // style 2
};

void PrintTo(const FormatRow& r, std::ostream* os) {
    *os << r.name;
}

class FormatPeriod : public testing::TestWithParam<FormatRow> {};

TEST_P(FormatPeriod, InEachStyle) {
    const FormatRow& r = GetParam();
    const QString period = q(r.period);
    EXPECT_EQ(FormatPeriodPhrase(period, kPhraseStyleStart), q(r.start));
    EXPECT_EQ(FormatPeriodPhrase(period, kPhraseStyleAfter), q(r.after));
    EXPECT_EQ(FormatPeriodPhrase(period, kPhraseStyleDuration), q(r.duration));
    // Every style beyond 1 is a duration.
    EXPECT_EQ(FormatPeriodPhrase(period, 7), q(r.duration));
}

INSTANTIATE_TEST_SUITE_P(
    Phrases, FormatPeriod,
    testing::Values(
        FormatRow{"D0", "d0", "today", "on the same day", "0 days"},
        FormatRow{"D1", "d1", "tomorrow", "on the following day", "1 day"},
        FormatRow{"D2", "d2", "in 2 days", "after 2 days", "2 days"},
        FormatRow{"D7", "d7", "in 1 week", "after 1 week", "1 week"},
        FormatRow{"D14", "d14", "in 2 weeks", "after 2 weeks", "2 weeks"},
        FormatRow{"D15", "d15", "in 15 days", "after 15 days", "15 days"},
        FormatRow{"M1", "m1", "in 1 month", "after 1 month", "1 month"},
        FormatRow{"M18", "m18", "in 18 months", "after 18 months", "18 months"},
        FormatRow{"M12", "m12", "in 1 year", "after 1 year", "1 year"},
        FormatRow{"M24", "m24", "in 2 years", "after 2 years", "2 years"},
        FormatRow{"M0", "m0", "in 0 year", "after 0 year", "0 year"},
        FormatRow{"O1", "o1", "on next Monday", "on Monday the following week", "next Monday"},
        FormatRow{"O7", "o7", "on next Sunday", "on Sunday the following week", "next Sunday"},
        FormatRow{"O0", "o0", "on next Monday", "on Monday the following week", "next Monday"},
        FormatRow{"O9", "o9", "on next Monday", "on Monday the following week", "next Monday"},
        FormatRow{"B1", "b1", "in 1 working day", "after 1 working day", "1 working day"},
        FormatRow{"B3", "b3", "in 3 working days", "after 3 working days", "3 working days"},
        FormatRow{"B5", "b5", "in 5 working days", "after 5 working days", "5 working days"},
        FormatRow{"B0", "b0", "in 0 working days", "after 0 working days", "0 working days"},
        // Only the first letter and the trailing digits count.
        FormatRow{"OtherLetterIsDays", "x3", "in 3 days", "after 3 days", "3 days"},
        FormatRow{"NoDigits", "d", "today", "on the same day", "0 days"},
        FormatRow{"Empty", "", "", "", ""},
        FormatRow{"NumberBeyond32Bits", "d99999999999", "", "", ""}),
    rowName<FormatRow>);

// --- PeriodToDays --------------------------------------------------------------------

struct DaysRow {
    const char* name;
    const char* period;
    QDate base;
    bool ok;
    qint32 days;
};

void PrintTo(const DaysRow& r, std::ostream* os) {
    *os << r.name;
}

class PeriodDays : public testing::TestWithParam<DaysRow> {};

TEST_P(PeriodDays, FromTheBaseDate) {
    const DaysRow& r = GetParam();
    qint32 days = -99;
    // The base date's time of day does not matter.
    const TDateTime base = tools::toDateTime(QDateTime(r.base, QTime(23, 59, 30)));
    EXPECT_EQ(PeriodToDays(q(r.period), base, days), r.ok);
    EXPECT_EQ(days, r.days);
}

INSTANTIATE_TEST_SUITE_P(
    Phrases, PeriodDays,
    testing::Values(DaysRow{"D0", "d0", QDate(2026, 3, 10), true, 0},
                    DaysRow{"D45", "d45", QDate(2026, 3, 10), true, 45},
                    // 2026-03-09 is a Monday.
                    DaysRow{"MondayFromMonday", "o1", QDate(2026, 3, 9), true, 7},
                    DaysRow{"MondayFromSunday", "o1", QDate(2026, 3, 15), true, 1},
                    DaysRow{"FridayFromWednesday", "o5", QDate(2026, 3, 11), true, 2},
                    DaysRow{"WednesdayFromWednesday", "o3", QDate(2026, 3, 11), true, 7},
                    DaysRow{"SundayFromSaturday", "o7", QDate(2026, 3, 14), true, 1},
                    DaysRow{"MonthFromJanuary31", "m1", QDate(2023, 1, 31), true, 31},
                    DaysRow{"TwoMonthsCommonYear", "m2", QDate(2023, 1, 15), true, 59},
                    DaysRow{"TwoMonthsLeapYear", "m2", QDate(2024, 1, 15), true, 60},
                    DaysRow{"FebruaryLeapYear", "m1", QDate(2024, 2, 10), true, 29},
                    DaysRow{"FebruaryCentury", "m1", QDate(2100, 2, 1), true, 28},
                    DaysRow{"YearOverLeapFebruary", "m12", QDate(2023, 3, 20), true, 366},
                    DaysRow{"YearCommon", "m12", QDate(2023, 1, 20), true, 365},
                    DaysRow{"AcrossTheYearEnd", "m13", QDate(2023, 12, 5), true, 397},
                    DaysRow{"ZeroMonths", "m0", QDate(2023, 5, 5), true, 0},
                    // The first and the last day of the calendar, late in the day.
                    DaysRow{"WeekdayOnTheFirstDay", "o1", QDate(1, 1, 1), true, 7},
                    DaysRow{"MonthOnTheFirstDay", "m1", QDate(1, 1, 1), true, 31},
                    DaysRow{"WeekdayOnTheLastDay", "o1", QDate(9999, 12, 31), true, 3},
                    DaysRow{"Empty", "", QDate(2026, 3, 10), false, 0},
                    DaysRow{"NumberBeyond32Bits", "d99999999999", QDate(2026, 3, 10), false, 0},
                    // Two billion months hold more than 2^31 days.
                    DaysRow{"MonthsBeyond32BitDays", "m2147483647", QDate(2026, 3, 10), false, 0}),
    rowName<DaysRow>);

TEST(PeriodToDays, BaseDateOutsideTheCalendar) {
    qint32 days = -1;
    EXPECT_FALSE(PeriodToDays(QStringLiteral("m1"), 3.0e6, days));
    EXPECT_EQ(days, 0);
    EXPECT_FALSE(
        PeriodToDays(QStringLiteral("o1"), std::numeric_limits<double>::quiet_NaN(), days));
    // Day counts do not look at the base.
    EXPECT_TRUE(PeriodToDays(QStringLiteral("d3"), 3.0e6, days));
    EXPECT_EQ(days, 3);
}

// --- Working days --------------------------------------------------------------------

struct WorkingDaysRow {
    const char* name;
    const char* locale;  // whose weekend is skipped
    QDate base;
    const char* period;
    bool ok;
    qint32 days;
};

void PrintTo(const WorkingDaysRow& r, std::ostream* os) {
    *os << r.name;
}

class PeriodWorkingDays : public testing::TestWithParam<WorkingDaysRow> {};

TEST_P(PeriodWorkingDays, SkipTheWeekend) {
    const WorkingDaysRow& r = GetParam();
    const LocaleScope locale(r.locale);
    qint32 days = -99;
    const TDateTime base = tools::toDateTime(QDateTime(r.base, QTime(17, 45)));
    EXPECT_EQ(PeriodToDays(q(r.period), base, days), r.ok);
    EXPECT_EQ(days, r.days);
}

// 2026-12-11 is a Friday; en_US rests on Saturday and Sunday, he_IL and ar_SA on Friday
// and Saturday.
INSTANTIATE_TEST_SUITE_P(
    Phrases, PeriodWorkingDays,
    testing::Values(
        WorkingDaysRow{"ZeroIsTheBaseDate", "en_US", QDate(2026, 12, 12), "b0", true, 0},
        WorkingDaysRow{"MondayToTuesday", "en_US", QDate(2026, 12, 7), "b1", true, 1},
        WorkingDaysRow{"FridayOneToMonday", "en_US", QDate(2026, 12, 11), "b1", true, 3},
        WorkingDaysRow{"FridayTwoToTuesday", "en_US", QDate(2026, 12, 11), "b2", true, 4},
        WorkingDaysRow{"FridayFiveToFriday", "en_US", QDate(2026, 12, 11), "b5", true, 7},
        WorkingDaysRow{"FridaySixToMonday", "en_US", QDate(2026, 12, 11), "b6", true, 10},
        WorkingDaysRow{"SaturdayOneToMonday", "en_US", QDate(2026, 12, 12), "b1", true, 2},
        WorkingDaysRow{"SundayOneToMonday", "en_US", QDate(2026, 12, 13), "b1", true, 1},
        WorkingDaysRow{"SaturdayTenToFriday", "en_US", QDate(2026, 12, 12), "b10", true, 13},
        WorkingDaysRow{"OverTheMonthEnd", "en_US", QDate(2026, 7, 31), "b1", true, 3},
        WorkingDaysRow{"OverTheYearEnd", "en_US", QDate(2026, 12, 31), "b2", true, 4},
        WorkingDaysRow{"LeapDay", "en_US", QDate(2028, 2, 28), "b2", true, 2},
        WorkingDaysRow{"FridaySaturdayWeekendThursday", "he_IL", QDate(2026, 12, 10), "b1", true,
                       3},
        WorkingDaysRow{"FridaySaturdayWeekendFriday", "he_IL", QDate(2026, 12, 11), "b2", true, 3},
        WorkingDaysRow{"FridaySaturdayWeekendSaturday", "ar_SA", QDate(2026, 12, 12), "b1", true,
                       1},
        WorkingDaysRow{"FridaySaturdayWeekendSunday", "ar_SA", QDate(2026, 12, 13), "b5", true, 7},
        // The calendar ends with the year 9999; 9999-12-31 is a Friday.
        WorkingDaysRow{"UpToTheLastDay", "en_US", QDate(9999, 12, 30), "b1", true, 1},
        WorkingDaysRow{"BeyondTheLastDay", "en_US", QDate(9999, 12, 31), "b1", false, 0},
        WorkingDaysRow{"LargestCount", "en_US", QDate(2026, 12, 11), "b2147483647", false, 0}),
    rowName<WorkingDaysRow>);

struct OffWeekendRow {
    const char* name;
    const char* locale;
    QDate base;
    qint32 days;
    qint32 moved;
};

void PrintTo(const OffWeekendRow& r, std::ostream* os) {
    *os << r.name;
}

class OffWeekend : public testing::TestWithParam<OffWeekendRow> {};

TEST_P(OffWeekend, ToTheNextWorkingDay) {
    const OffWeekendRow& r = GetParam();
    const LocaleScope locale(r.locale);
    const TDateTime base = tools::toDateTime(QDateTime(r.base, QTime(9, 0)));
    EXPECT_EQ(DaysOffWeekend(base, r.days), r.moved);
    EXPECT_TRUE(IsWorkingDay(base + r.moved));
}

INSTANTIATE_TEST_SUITE_P(
    Phrases, OffWeekend,
    testing::Values(OffWeekendRow{"WorkingDayStays", "en_US", QDate(2026, 12, 11), 0, 0},
                    OffWeekendRow{"SaturdayToMonday", "en_US", QDate(2026, 12, 11), 1, 3},
                    OffWeekendRow{"SundayToMonday", "en_US", QDate(2026, 12, 11), 2, 3},
                    OffWeekendRow{"TodayOnSaturday", "en_US", QDate(2026, 12, 12), 0, 2},
                    OffWeekendRow{"OverTheYearEnd", "en_US", QDate(2027, 1, 1), 1, 3},
                    OffWeekendRow{"FridayToSunday", "he_IL", QDate(2026, 12, 10), 1, 3},
                    OffWeekendRow{"SundayStays", "he_IL", QDate(2026, 12, 13), 0, 0},
                    OffWeekendRow{"SaturdayToSunday", "ar_SA", QDate(2026, 12, 12), 0, 1}),
    rowName<OffWeekendRow>);

// --- The dialogs' lists --------------------------------------------------------------

TEST(DialogLists, PeriodEntriesRoundTrip) {
    struct Row {
        const char* entry;
        const char* period;
    };
    for (const Row& r : {Row{"today", "d0"},
                         Row{"tomorrow", "d1"},
                         Row{"in 2 days", "d2"},
                         Row{"in 3 days", "d3"},
                         Row{"in 4 days", "d4"},
                         Row{"in 5 days", "d5"},
                         Row{"in 6 days", "d6"},
                         Row{"in 2 working days", "b2"},
                         Row{"in 5 working days", "b5"},
                         Row{"in 1 week", "d7"},
                         Row{"in 2 weeks", "d14"},
                         Row{"in 3 weeks", "d21"},
                         Row{"in 4 weeks", "d28"},
                         Row{"in 1 month", "m1"},
                         Row{"in 6 months", "m6"},
                         Row{"in 1 year", "m12"},
                         Row{"on next Monday", "o1"},
                         Row{"on next Tuesday", "o2"},
                         Row{"on next Wednesday", "o3"},
                         Row{"on next Thursday", "o4"},
                         Row{"on next Friday", "o5"},
                         Row{"on next Saturday", "o6"},
                         Row{"on next Sunday", "o7"}}) {
        SCOPED_TRACE(r.entry);
        QString period;
        ASSERT_TRUE(ParsePeriodPhrase(true, q(r.entry), period));
        EXPECT_EQ(period, q(r.period));
        EXPECT_EQ(FormatPeriodPhrase(period, kPhraseStyleStart), q(r.entry));
    }
}

TEST(DialogLists, DurationEntriesRoundTrip) {
    struct Row {
        const char* entry;
        const char* period;
    };
    for (const Row& r :
         {Row{"1 day", "d1"}, Row{"2 days", "d2"}, Row{"3 days", "d3"}, Row{"4 days", "d4"},
          Row{"5 days", "d5"}, Row{"6 days", "d6"}, Row{"1 week", "d7"}, Row{"2 weeks", "d14"},
          Row{"3 weeks", "d21"}, Row{"4 weeks", "d28"}, Row{"1 month", "m1"}, Row{"6 months", "m6"},
          Row{"1 year", "m12"}}) {
        SCOPED_TRACE(r.entry);
        QString period;
        ASSERT_TRUE(ParsePeriodPhrase(false, q(r.entry), period));
        EXPECT_EQ(period, q(r.period));
        EXPECT_EQ(FormatPeriodPhrase(period, kPhraseStyleDuration), q(r.entry));
    }
}

TEST(DialogLists, TimeEntriesRoundTrip) {
    QStringList entries{QStringLiteral("the same hour")};
    for (int half = 0; half < 48; ++half) {
        entries << QTime(half / 2, (half % 2) * 30).toString(QStringLiteral("HH:mm"));
    }
    ASSERT_EQ(entries.size(), 49);
    for (const QString& entry : entries) {
        SCOPED_TRACE(entry.toStdString());
        QString time;
        ASSERT_TRUE(ParseTimePhrase(entry, time));
        EXPECT_EQ(time, entry == QLatin1String("the same hour") ? QStringLiteral("NOW") : entry);
        EXPECT_EQ(FormatTimePhrase(time), entry);
    }
}

// --- Time phrases --------------------------------------------------------------------

struct TimeRow {
    const char* name;
    const char* locale;
    const char* phrase;
    bool valid;
    const char* time;  // the representation; unused when not valid
};

void PrintTo(const TimeRow& r, std::ostream* os) {
    *os << r.name;
}

class ParseTime : public testing::TestWithParam<TimeRow> {};

TEST_P(ParseTime, InTheUsersRegionalSettings) {
    const TimeRow& r = GetParam();
    const LocaleScope locale(r.locale);
    QString time = QStringLiteral("untouched");
    EXPECT_EQ(ParseTimePhrase(q(r.phrase), time), r.valid);
    EXPECT_EQ(time, r.valid ? q(r.time) : QStringLiteral("untouched"));
}

INSTANTIATE_TEST_SUITE_P(Phrases, ParseTime,
                         testing::Values(
                             // "now" and "same" anywhere, in any letter case.
                             TimeRow{"SameHour", "en_US", "the same hour", true, "NOW"},
                             TimeRow{"LowerNow", "en_US", "now", true, "NOW"},
                             TimeRow{"SameAlone", "de_DE", "Same", true, "NOW"},
                             // en_US: a 12-hour format, which still reads 24-hour times.
                             TimeRow{"UsTwentyFourHour", "en_US", "17:30", true, "17:30"},
                             TimeRow{"UsOneDigitHour", "en_US", "9:30", true, "09:30"},
                             TimeRow{"UsBlanks", "en_US", "  8:05\t", true, "08:05"},
                             TimeRow{"UsSecondsDropped", "en_US", "9:30:45", true, "09:30"},
                             TimeRow{"UsPm", "en_US", "5:30 PM", true, "17:30"},
                             TimeRow{"UsPmLowerNoBlank", "en_US", "5:30pm", true, "17:30"},
                             TimeRow{"UsNarrowNoBreakSpace", "en_US", "5:30\u202fPM", true,
                                     "17:30"},
                             TimeRow{"UsMidnight", "en_US", "12:15 AM", true, "00:15"},
                             TimeRow{"UsNoon", "en_US", "12:15 PM", true, "12:15"},
                             TimeRow{"UsHourWithDesignator", "en_US", "5 PM", true, "17:00"},
                             TimeRow{"UsHourAlone", "en_US", "17", false, ""},
                             TimeRow{"UsPmAfter24Hour", "en_US", "17:30 PM", false, ""},
                             TimeRow{"UsHour25", "en_US", "25:00", false, ""},
                             TimeRow{"UsHour24", "en_US", "24:00", false, ""},
                             TimeRow{"UsMinute60", "en_US", "23:60", false, ""},
                             TimeRow{"UsWords", "en_US", "half past five", false, ""},
                             TimeRow{"UsEmpty", "en_US", "", false, ""},
                             // de_DE: a 24-hour format.
                             TimeRow{"DeTwentyFourHour", "de_DE", "17:30", true, "17:30"},
                             TimeRow{"DeOneDigitHour", "de_DE", "9:30", true, "09:30"},
                             TimeRow{"DePm", "de_DE", "5:30 PM", true, "17:30"},
                             TimeRow{"DeHour25", "de_DE", "25:00", false, ""},
                             // fi_FI: "." separates hours and minutes; ":" is read too.
                             TimeRow{"FiOwnSeparator", "fi_FI", "17.30", true, "17.30"},
                             TimeRow{"FiColon", "fi_FI", "9:30", true, "09.30"},
                             TimeRow{"FiPm", "fi_FI", "5.30 ip.", true, "17.30"},
                             // ko_KR: the designator comes first.
                             TimeRow{"KoDesignatorFirst", "ko_KR", "오후 5:30", true, "17:30"},
                             // fr_CA: the locale's own short format.
                             TimeRow{"CaLocaleFormat", "fr_CA", "17 h 30", true, "17:30"}),
                         rowName<TimeRow>);

TEST(FormatTimePhrase, OnlyExactNowIsTheSameHour) {
    EXPECT_EQ(FormatTimePhrase(QStringLiteral("NOW")), QStringLiteral("the same hour"));
    EXPECT_EQ(FormatTimePhrase(QStringLiteral("now")), QStringLiteral("now"));
    EXPECT_EQ(FormatTimePhrase(QStringLiteral("17:30")), QStringLiteral("17:30"));
    EXPECT_EQ(FormatTimePhrase(QString()), QString());
}

class TimeToDateTime : public testing::Test {
protected:
    void SetUp() override { platform::installClock(clock_); }
    void TearDown() override { platform::installClock(nullptr); }

    std::shared_ptr<platform::ManualClock> clock_ =
        std::make_shared<platform::ManualClock>(QDateTime(QDate(2026, 3, 10), QTime(14, 25, 40)));
};

TEST_F(TimeToDateTime, TodayAtTheTime) {
    struct Row {
        const char* phrase;
        bool valid;
        TDateTime value;
    };
    const TDateTime now = at(2026, 3, 10, 14, 25, 40);
    for (const Row& r :
         {Row{"17:30", true, at(2026, 3, 10, 17, 30)}, Row{"9:05 AM", true, at(2026, 3, 10, 9, 5)},
          Row{"08:15:20", true, at(2026, 3, 10, 8, 15, 20)}, Row{"00:00", true, at(2026, 3, 10)},
          // "now": the current moment, minutes and seconds included.
          Row{"NOW", true, now}, Row{"the same hour", true, now}, Row{"25:00", false, now},
          Row{"later", false, now}}) {
        SCOPED_TRACE(r.phrase);
        TDateTime value = -1.0;
        EXPECT_EQ(TimePhraseToDateTime(q(r.phrase), value), r.valid);
        EXPECT_DOUBLE_EQ(value, r.value);
    }
}

TEST_F(TimeToDateTime, WallClockTimeOnTheDayTheClocksGoForward) {
    // 02:30 does not exist in Berlin on 2026-03-29; the date-time is wall-clock time.
    clock_->set(QDateTime(QDate(2026, 3, 29), QTime(10, 0)));
    TDateTime value = 0.0;
    ASSERT_TRUE(TimePhraseToDateTime(QStringLiteral("02:30"), value));
    EXPECT_DOUBLE_EQ(value, 46110.0 + 2.5 / 24.0);
}

TEST_F(TimeToDateTime, StoredRepresentationInAnotherLocale) {
    const LocaleScope locale("fi_FI");
    TDateTime value = 0.0;
    ASSERT_TRUE(TimePhraseToDateTime(QStringLiteral("17.30"), value));
    EXPECT_DOUBLE_EQ(value, at(2026, 3, 10, 17, 30));
}
