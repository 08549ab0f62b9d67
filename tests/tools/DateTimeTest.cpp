#include "tools/DateTime.h"

#include <gtest/gtest.h>

using namespace vantorel::tools;

TEST(DateTime, DaysSince18991230OnTheLocalWallClock) {
    struct Row {
        QDateTime local;
        double value;
    };
    for (const Row& r : {Row{QDateTime(QDate(1899, 12, 30), QTime(0, 0)), 0.0},
                         Row{QDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25},
                         Row{QDateTime(QDate(1970, 1, 1), QTime(0, 0)), 25569.0},
                         Row{QDateTime(QDate(2026, 12, 10), QTime(18, 0)), 46366.75},
                         // A day on which the clocks went forward: still wall-clock hours.
                         Row{QDateTime(QDate(2026, 3, 29), QTime(12, 0)), 46110.5}}) {
        SCOPED_TRACE(r.local.toString(Qt::ISODate).toStdString());
        EXPECT_DOUBLE_EQ(toDateTime(r.local), r.value);
        EXPECT_EQ(fromDateTime(r.value), r.local);
    }
    EXPECT_EQ(fromDateTime(kNoDate).date(), QDate(4501, 1, 1));
}

// The tests run in Europe/Berlin, whose clocks skip 02:00-03:00 on 2026-03-29.
TEST(DateTime, AMomentInADaylightSavingGapReadsAsTheFirstMomentAfterIt) {
    const QDate day(2026, 3, 29);
    const QDateTime gapEnd(day, QTime(3, 0));
    ASSERT_TRUE(gapEnd.isValid());
    ASSERT_FALSE(QDateTime(day, QTime(2, 30)).isValid());

    EXPECT_EQ(localDateTime(day, QTime(2, 30, 45)), gapEnd);
    EXPECT_EQ(localDateTime(day, QTime(2, 0)), gapEnd);
    EXPECT_EQ(localDateTime(day, QTime(1, 59, 59)), QDateTime(day, QTime(1, 59, 59)));

    const double inGap = 46110.0 + 2.5 / 24;  // 2026-03-29 02:30 as a day count
    EXPECT_EQ(fromDateTime(inGap), gapEnd);
    EXPECT_TRUE(fromDateTime(fromLocalUnixSeconds(toLocalUnixSeconds(inGap))).isValid());
    EXPECT_DOUBLE_EQ(toDateTime(QDateTime(day, QTime(2, 30))), toDateTime(gapEnd));
    // The hour that the clocks repeat in autumn is no gap.
    const QDateTime twice(QDate(2026, 10, 25), QTime(2, 30));
    EXPECT_EQ(fromDateTime(toDateTime(twice)), twice);
}

TEST(DateTime, LocalUnixSecondsCountWallClockSeconds) {
    const double d = toDateTime(QDateTime(QDate(2026, 12, 10), QTime(9, 30, 15)));
    EXPECT_EQ(toLocalUnixSeconds(d), 1796895015);
    EXPECT_EQ(localUnixSecondsText(d), QStringLiteral("1796895015"));
    EXPECT_DOUBLE_EQ(fromLocalUnixSeconds(1796895015), d);
    EXPECT_EQ(toLocalUnixSeconds(toDateTime(QDateTime(QDate(1969, 12, 31), QTime(23, 59, 0)))),
              -60);
}

TEST(DateTime, MomentsAfter2038ReadBack) {
    const QDateTime later(QDate(2040, 6, 1), QTime(8, 0));
    const QString text = localUnixSecondsText(toDateTime(later));
    EXPECT_EQ(text, QStringLiteral("2222150400"));
    const auto seconds = parseLocalUnixSeconds(text);
    ASSERT_TRUE(seconds.has_value());
    EXPECT_EQ(fromDateTime(fromLocalUnixSeconds(*seconds)), later);
    EXPECT_FALSE(parseLocalUnixSeconds(QStringLiteral("soon")).has_value());
}

TEST(DateTime, BooleanText) {
    EXPECT_EQ(boolText(true), QStringLiteral("-1"));
    EXPECT_EQ(boolText(false), QStringLiteral("0"));
    struct Row {
        const char* text;
        std::optional<bool> value;
    };
    for (const Row& r :
         {Row{"-1", true}, Row{"0", false}, Row{"1", true}, Row{"42", true}, Row{"TRUE", true},
          Row{"false", false}, Row{"yes", std::nullopt}, Row{"", std::nullopt}}) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(parseBoolText(QString::fromUtf8(r.text)), r.value);
    }
}

// Whole numbers are read as Qt reads them, whether the text takes the short way
// (a sign and digits) or the general conversion.
TEST(DateTime, WholeNumbersReadAsQtReadsThem) {
    for (const char* text :
         {"0", "-0", "007", "-1", "1796893200", "123456789012345678", "-123456789012345678",
          "1234567890123456789", "9223372036854775807", "9223372036854775808", " 42 ", "+5", "-",
          "--1", "1a", "", "1.5", "\xd9\xa3"}) {
        SCOPED_TRACE(text);
        const QString s = QString::fromUtf8(text);
        bool ok = false;
        const qint64 n = s.trimmed().toLongLong(&ok);
        EXPECT_EQ(parseLocalUnixSeconds(s), ok ? std::optional<qint64>(n) : std::nullopt);
        const bool word = s.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                          s.trimmed().compare(QLatin1String("false"), Qt::CaseInsensitive) == 0;
        if (!word) {
            EXPECT_EQ(parseBoolText(s), ok ? std::optional<bool>(n != 0) : std::nullopt);
        }
    }
}
