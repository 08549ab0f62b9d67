// What the reminders window computes without a window: due and snooze texts, the
// entry's "Sent to" cell, the caption and labels, and the walk over selected entries.

#include "forms/ReminderWindowLogic.h"
#include "tools/DateTime.h"

#include <QDateTime>
#include <QLocale>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

using namespace vantorel;

namespace {

// ---- Due in ----

struct DueRow {
    const char* name;
    qint64 nSecondsAhead;  // the reminder moment from now
    const char* expected;
};

class DueInTextTest : public ::testing::TestWithParam<DueRow> {};

TEST_P(DueInTextTest, FollowsTheReminderMoment) {
    const qint64 now = 1'796'893'500;  // any moment
    EXPECT_EQ(DueInText(now + GetParam().nSecondsAhead, now), QLatin1String(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DueInTextTest,
    ::testing::Values(DueRow{"NinetyMinutesPast", -90 * 60, "1 hour overdue"},
                      DueRow{"ThirtySecondsPastRoundsToEvenZero", -30, "Now"},
                      DueRow{"NinetySecondsPastRoundsToEvenTwo", -90, "2 minutes overdue"},
                      DueRow{"Exactly", 0, "Now"}, DueRow{"ThirtyOneSecondsAhead", 31, "1 minute"},
                      DueRow{"ThreeDaysFiveHoursAhead", (3 * 24 + 5) * 3600, "3 days"},
                      DueRow{"FiftyNineMinutes", 59 * 60, "59 minutes"},
                      DueRow{"HundredNineteenMinutes", 119 * 60, "1 hour"},
                      DueRow{"TwoHours", 120 * 60, "2 hours"},
                      DueRow{"AlmostTwoDays", 2879 * 60, "1 day"},
                      DueRow{"AlmostTwoWeeks", 20159 * 60, "1 week"},
                      DueRow{"ThreeWeeksPast", -3 * 10080 * 60, "3 weeks overdue"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MinutesToPhraseTest, EmptyOutsideItsRange) {
    EXPECT_EQ(MinutesToPhrase(2147483647), QStringLiteral("213044 weeks"));
    EXPECT_EQ(MinutesToPhrase(2147483648LL), QString());
    EXPECT_EQ(MinutesToPhrase(-32767), QStringLiteral("Now"));
    EXPECT_EQ(MinutesToPhrase(-32768), QString());
    EXPECT_EQ(MinutesToPhrase(1), QStringLiteral("1 minute"));
}

// ---- Snooze lengths ----

struct SnoozeRow {
    const char* name;
    const char* locale;
    const char* text;
    qint32 minutes;
    const char* canonical;  // the text afterwards: unchanged when invalid
};

class SnoozeTextTest : public ::testing::TestWithParam<SnoozeRow> {
protected:
    ~SnoozeTextTest() override { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
};

TEST_P(SnoozeTextTest, ReadsTheLengthAndItsWording) {
    const SnoozeRow& row = GetParam();
    QLocale::setDefault(QLocale(QLatin1String(row.locale)));
    QString text = QString::fromUtf8(row.text);
    EXPECT_EQ(ParseSnoozeText(text), row.minutes);
    EXPECT_EQ(text, QString::fromUtf8(row.canonical));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SnoozeTextTest,
    ::testing::Values(SnoozeRow{"ListItem", "en_US", "5 minutes", 5, "5 minutes"},
                      SnoozeRow{"HoursWithFraction", "en_US", "1.5 h", 90, "90 minutes"},
                      SnoozeRow{"CommaIsNoSeparatorInEnglish", "en_US", "1,5 h", -1, "1,5 h"},
                      SnoozeRow{"CommaSeparatorInGerman", "de_DE", "1,5 h", 90, "90 minutes"},
                      SnoozeRow{"PointIsNoSeparatorInGerman", "de_DE", "1.5 h", -1, "1.5 h"},
                      SnoozeRow{"HoursThatAreNoDays", "en_US", "36 h", 2160, "36 hours"},
                      SnoozeRow{"HalfADay", "en_US", "0.5 d", 720, "0.5 days"},
                      SnoozeRow{"HalfADayInGerman", "de_DE", "0,5 d", 720, "0,5 days"},
                      // A separator that is neither "." nor ",", as the wording writes it.
                      SnoozeRow{"HalfADayInArabic", "ar_EG", "12 h", 720, "0٫5 days"},
                      SnoozeRow{"ArabicWordingReadsBack", "ar_EG", "0٫5 days", 720, "0٫5 days"},
                      SnoozeRow{"PersianSeparator", "fa_IR", "1٫5 h", 90, "90 minutes"},
                      SnoozeRow{"BareNumberIsMinutes", "en_US", "10", 10, "10 minutes"},
                      SnoozeRow{"MinutesThatAreHours", "en_US", "120 m", 120, "2 hours"},
                      SnoozeRow{"CapitalUnitAndLeadingBlanks", "en_US", "  1 D", 1440, "1 day"},
                      SnoozeRow{"Weeks", "en_US", "2 weeks", 20160, "2 weeks"},
                      SnoozeRow{"UnknownUnitIsMinutes", "en_US", "2 x", 2, "2 minutes"},
                      SnoozeRow{"HalfRoundsToEven", "en_US", "2.5", 2, "2 minutes"},
                      SnoozeRow{"Zero", "en_US", "0 m", -1, "0 m"},
                      SnoozeRow{"BelowOneMinute", "en_US", "0.2 m", -1, "0.2 m"},
                      SnoozeRow{"NoNumber", "en_US", "abc", -1, "abc"},
                      // The list's "Next working day" is no length: the window asks
                      // IsNextWorkingDaySnooze first.
                      SnoozeRow{"NextWorkingDayIsNoLength", "en_US", "Next working day", -1,
                                "Next working day"},
                      SnoozeRow{"Empty", "en_US", "", -1, ""},
                      SnoozeRow{"TwoSeparators", "en_US", "1.2.3 h", -1, "1.2.3 h"},
                      SnoozeRow{"TooLong", "en_US", "300000 w", -1, "300000 w"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SnoozeMinutesToTextTest, CanonicalWording) {
    EXPECT_EQ(SnoozeMinutesToText(14 * 1440), QStringLiteral("2 weeks"));
    EXPECT_EQ(SnoozeMinutesToText(10080), QStringLiteral("1 week"));
    EXPECT_EQ(SnoozeMinutesToText(60), QStringLiteral("1 hour"));
    EXPECT_EQ(SnoozeMinutesToText(0), QStringLiteral("Now"));
    EXPECT_EQ(SnoozeMinutesToText(-32768), QString());
    EXPECT_EQ(SnoozeInvalidMessage(QStringLiteral("abc")),
              QStringLiteral("The snooze time abc is invalid. Please enter a valid snooze time."));
}

// ---- Snoozing until the next working day ----

struct NextWorkingDayRow {
    const char* name;
    const char* locale;
    QDateTime now;
    const char* remindMeTime;  // the stored default reminder time
    QDateTime expected;
};

class NextWorkingDayTest : public ::testing::TestWithParam<NextWorkingDayRow> {
protected:
    ~NextWorkingDayTest() override { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
};

qint64 seconds(const QDateTime& local) {
    return tools::toLocalUnixSeconds(tools::toDateTime(local));
}

TEST_P(NextWorkingDayTest, AtTheDefaultReminderTime) {
    const NextWorkingDayRow& row = GetParam();
    QLocale::setDefault(QLocale(QLatin1String(row.locale)));
    EXPECT_EQ(NextWorkingDaySeconds(seconds(row.now), QString::fromUtf8(row.remindMeTime)),
              seconds(row.expected));
}

// 2026-12-11 is a Friday.
INSTANTIATE_TEST_SUITE_P(Rows, NextWorkingDayTest,
                         ::testing::Values(NextWorkingDayRow{"MondayToTuesday",
                                                             "en_US",
                                                             {{2026, 12, 7}, {15, 20}},
                                                             "09:00",
                                                             {{2026, 12, 8}, {9, 0}}},
                                           NextWorkingDayRow{"FridayToMonday",
                                                             "en_US",
                                                             {{2026, 12, 11}, {15, 20}},
                                                             "09:00",
                                                             {{2026, 12, 14}, {9, 0}}},
                                           NextWorkingDayRow{"SaturdayToMonday",
                                                             "en_US",
                                                             {{2026, 12, 12}, {8, 0}},
                                                             "09:00",
                                                             {{2026, 12, 14}, {9, 0}}},
                                           NextWorkingDayRow{"EarlyMondayStillTuesday",
                                                             "en_US",
                                                             {{2026, 12, 14}, {6, 0}},
                                                             "09:00",
                                                             {{2026, 12, 15}, {9, 0}}},
                                           NextWorkingDayRow{"SameHourKeepsTheTimeOfDay",
                                                             "en_US",
                                                             {{2026, 12, 11}, {15, 20}},
                                                             "NOW",
                                                             {{2026, 12, 14}, {15, 20}}},
                                           NextWorkingDayRow{"OverTheYearEnd",
                                                             "en_US",
                                                             {{2026, 12, 31}, {17, 0}},
                                                             "08:30",
                                                             {{2027, 1, 1}, {8, 30}}},
                                           NextWorkingDayRow{"FridaySaturdayWeekendThursday",
                                                             "he_IL",
                                                             {{2026, 12, 10}, {15, 0}},
                                                             "09:00",
                                                             {{2026, 12, 13}, {9, 0}}},
                                           NextWorkingDayRow{"GermanTimeSeparator",
                                                             "de_DE",
                                                             {{2026, 12, 11}, {15, 0}},
                                                             "07:45",
                                                             {{2026, 12, 14}, {7, 45}}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NextWorkingDaySnoozeTest, TheListEntryInAnyLetterCase) {
    EXPECT_EQ(kNextWorkingDaySnooze, QStringLiteral("Next working day"));
    EXPECT_TRUE(IsNextWorkingDaySnooze(QStringLiteral("Next working day")));
    EXPECT_TRUE(IsNextWorkingDaySnooze(QStringLiteral("  next WORKING day ")));
    EXPECT_FALSE(IsNextWorkingDaySnooze(QStringLiteral("1 day")));
    EXPECT_FALSE(IsNextWorkingDaySnooze(QStringLiteral("next working days")));
}

// ---- Texts of entries, caption and labels ----

TEST(SentToTextTest, NamesAndShortDate) {
    const qint64 sent =
        tools::toLocalUnixSeconds(tools::toDateTime(QDateTime(QDate(2026, 12, 9), QTime(16, 45))));
    EXPECT_EQ(SentToText(QStringLiteral("Ann Lee|ann@example.com;Bob|bob@example.com;"), sent),
              QStringLiteral("Ann Lee, Bob, on 12/9/26"));
    EXPECT_EQ(SentToText(std::nullopt, sent), QStringLiteral(", on 12/9/26"));
    EXPECT_EQ(SentToText(QStringLiteral("Ann Lee|ann@example.com;"), std::nullopt),
              QStringLiteral("Ann Lee, on "));
}

TEST(ReminderCaptionTest, CountsTheEntries) {
    EXPECT_EQ(ReminderCaption(0), QString());
    EXPECT_EQ(ReminderCaption(1), QStringLiteral("1 Vantorel"));
    EXPECT_EQ(ReminderCaption(12), QStringLiteral("12 Vantorels"));
}

TEST(SelectionViewTest, LabelsForTheSelection) {
    const TSelectionView none = SelectionView(0);
    EXPECT_FALSE(none.bActionsEnabled);
    EXPECT_FALSE(none.bPictureVisible);
    EXPECT_EQ(none.sSubject, QString());
    EXPECT_EQ(none.sSentTo, QStringLiteral("0 reminders are selected"));

    const TSelectionView one =
        SelectionView(1, QStringLiteral("Offer"), QStringLiteral("Ann, on x"));
    EXPECT_TRUE(one.bActionsEnabled);
    EXPECT_TRUE(one.bPictureVisible);
    EXPECT_EQ(one.sSubject, QStringLiteral("Offer"));
    EXPECT_EQ(one.sSentTo, QStringLiteral("Sent to Ann, on x"));
    EXPECT_EQ(SelectionView(1, QStringLiteral("Offer"), QStringLiteral("Ann, on x"), true).sSentTo,
              QStringLiteral("Sent to Ann, on x, automatic reply received"));

    const TSelectionView three = SelectionView(3, QStringLiteral("Offer"), QStringLiteral("x"));
    EXPECT_TRUE(three.bActionsEnabled);
    EXPECT_FALSE(three.bPictureVisible);
    EXPECT_EQ(three.sSubject, QString());
    EXPECT_EQ(three.sSentTo, QStringLiteral("3 reminders are selected"));
    EXPECT_EQ(SelectionView(2, {}, {}, true).sSentTo, QStringLiteral("2 reminders are selected"));
}

// ---- Column widths ----

struct ColumnsRow {
    const char* name;
    int nViewport;
    std::array<int, 3> heading;  // "Subject", "Sent to", "Due in"
    std::array<int, 3> text;
    std::array<int, 3> expected;
};

class FitReminderColumnsTest : public ::testing::TestWithParam<ColumnsRow> {};

TEST_P(FitReminderColumnsTest, TheColumnsShareTheList) {
    const ColumnsRow& row = GetParam();
    const std::array<int, 3> widths = FitReminderColumns(row.nViewport, row.heading, row.text);
    EXPECT_EQ(widths, row.expected);
    EXPECT_EQ(widths[0] + widths[1] + widths[2], std::max(row.nViewport, 0))
        << "no gap, no overlap";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FitReminderColumnsTest,
    ::testing::Values(
        // Everything fits: "Sent to" and "Due in" as needed, "Subject" the rest.
        ColumnsRow{"ShortTexts", 480, {60, 50, 50}, {80, 120, 90}, {270, 120, 90}},
        // A long subject shortens; the recipients and the due time stay whole.
        ColumnsRow{"LongSubject", 480, {60, 50, 50}, {900, 120, 90}, {270, 120, 90}},
        // Long recipients with a short subject: the subject whole, "Sent to" the rest.
        ColumnsRow{"LongRecipients", 480, {60, 50, 50}, {80, 700, 90}, {80, 310, 90}},
        // Both long: half each of what "Due in" leaves.
        ColumnsRow{"BothLong", 480, {60, 50, 50}, {900, 700, 90}, {195, 195, 90}},
        // Texts narrower than their headings: the headings stay whole.
        ColumnsRow{"NarrowTexts", 480, {60, 50, 50}, {20, 10, 10}, {380, 50, 50}},
        // "Due in" takes at most a third of the list.
        ColumnsRow{"LongDueIn", 300, {60, 50, 50}, {80, 80, 400}, {120, 80, 100}},
        // Too narrow for the headings: "Due in" keeps its heading, "Subject" the rest.
        ColumnsRow{"TooNarrow", 100, {60, 50, 50}, {80, 80, 80}, {50, 0, 50}},
        ColumnsRow{"NoRoom", 0, {60, 50, 50}, {80, 80, 80}, {0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScriptQuotedTest, EscapesControlCharactersQuotesAndBackslashes) {
    EXPECT_EQ(ScriptQuoted(QStringLiteral("a\r\nb\t\"c\"\\")),
              QStringLiteral("\"a\\r\\nb\\t\\\"c\\\"\\\\\""));
    EXPECT_EQ(ScriptQuoted(QString()), QStringLiteral("\"\""));
}

// ---- The walk over selected entries ----

struct WalkRow {
    const char* name;
    const char* entries;   // one letter per entry; capitals are selected
    const char* outcomes;  // per selected entry handled: R remove, K keep, S stop
    const char* left;      // the entries afterwards (lower case)
    int nLastRemoved;
    bool bStopped;
    int nSelectAfter;  // SelectAfterRemovalIndex
};

class WalkTest : public ::testing::TestWithParam<WalkRow> {};

TEST_P(WalkTest, RemovesHandledEntriesInPlace) {
    const WalkRow& row = GetParam();
    QString entries = QString::fromLatin1(row.entries);
    const QString outcomes = QString::fromLatin1(row.outcomes);
    qsizetype nHandled = 0;
    TEntryWalk walk;
    walk.count = [&] { return static_cast<int>(entries.size()); };
    walk.isSelected = [&](int i) { return entries[i].isUpper(); };
    walk.handle = [&](int) {
        const QChar outcome = outcomes.at(nHandled++);
        return outcome == u'R'   ? TEntryOutcome::Remove
               : outcome == u'K' ? TEntryOutcome::Keep
                                 : TEntryOutcome::Stop;
    };
    walk.remove = [&](int i) { entries.remove(i, 1); };
    const TWalkResult result = WalkSelectedEntries(walk);
    EXPECT_EQ(entries.toLower(), QLatin1String(row.left));
    EXPECT_EQ(nHandled, outcomes.size());
    EXPECT_EQ(result.nLastRemoved, row.nLastRemoved);
    EXPECT_EQ(result.bStopped, row.bStopped);
    EXPECT_EQ(SelectAfterRemovalIndex(result.nLastRemoved, static_cast<int>(entries.size())),
              row.nSelectAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WalkTest,
    ::testing::Values(WalkRow{"ThreeOfFive", "aBCdE", "RRR", "ad", 2, false, 1},
                      WalkRow{"FirstThree", "ABCde", "RRR", "de", 0, false, 0},
                      WalkRow{"MiddleThree", "aBCDe", "RRR", "ae", 1, false, 1},
                      WalkRow{"All", "ABC", "RRR", "", 0, false, -1},
                      WalkRow{"NoneSelected", "abc", "", "abc", -1, false, -1},
                      WalkRow{"FirstKept", "AB", "KR", "a", 1, false, 0},
                      WalkRow{"StopLeavesTheRest", "ABC", "RS", "bc", 0, true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
