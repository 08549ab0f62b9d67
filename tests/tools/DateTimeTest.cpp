#include "tools/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
          Row{"false", false}, Row{"yes", std::nullopt}, Row{"", std::nullopt},
          // A number is true when it is not zero, in every form a number is written.
          Row{"1.5", true}, Row{"1e3", true}, Row{"-2.5E-7", true}, Row{".5", true},
          Row{"5.", true}, Row{" +0.25 ", true}, Row{"9223372036854775808", true},
          Row{"1e99999999999999999999", true}, Row{"0.0", false}, Row{"-0.000", false},
          Row{"0e5", false}, Row{"0.0E-999999999999", false},
          // Texts that are no numbers.
          Row{"1e", std::nullopt}, Row{"e3", std::nullopt}, Row{".", std::nullopt},
          Row{"1.2.3", std::nullopt}, Row{"1,5", std::nullopt}, Row{"0x10", std::nullopt},
          Row{"inf", std::nullopt}, Row{"nan", std::nullopt}, Row{"1 e3", std::nullopt},
          Row{"--1", std::nullopt}}) {
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
        if (!word && ok) {
            EXPECT_EQ(parseBoolText(s), std::optional<bool>(n != 0));
        }
    }
}

// Any count of seconds and any stored value convert without overflow; the moments a
// date of the mail client can hold are those from 0001-01-01 up to before 4501-01-01.
TEST(DateTime, ConversionsHoldForEveryValue) {
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    for (const qint64 seconds : {kMax, kMin, qint64{9999999999999999}, qint64{-9999999999999999}}) {
        SCOPED_TRACE(seconds);
        const double value = fromLocalUnixSeconds(seconds);
        EXPECT_TRUE(std::isfinite(value));
        EXPECT_EQ(seconds > 0, value > 0);
        EXPECT_FALSE(mailDateOfLocalUnixSeconds(seconds).has_value());
    }
    for (const double value : {1e300, -1e300, std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(), 1e15, -1e15}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(toLocalUnixSeconds(value) > 0, value > 0);
    }
    EXPECT_EQ(toLocalUnixSeconds(std::numeric_limits<double>::quiet_NaN()), 0);

    struct Row {
        const char* name;
        qint64 seconds;
        std::optional<QDateTime> moment;
    };
    const QDateTime lastBeforeNoDate(QDate(4500, 12, 31), QTime(23, 59, 59));
    for (const Row& r : {
             Row{"first moment", -62'135'596'800, QDateTime(QDate(1, 1, 1), QTime(0, 0))},
             Row{"a second before it", -62'135'596'801, std::nullopt},
             Row{"before 1970", -60, QDateTime(QDate(1969, 12, 31), QTime(23, 59))},
             Row{"last before no date", toLocalUnixSeconds(toDateTime(lastBeforeNoDate)),
                 lastBeforeNoDate},
             Row{"no date", toLocalUnixSeconds(kNoDate), std::nullopt},
             Row{"year 9999", 253'402'300'799, std::nullopt},
         }) {
        SCOPED_TRACE(r.name);
        const std::optional<TDateTime> value = mailDateOfLocalUnixSeconds(r.seconds);
        ASSERT_EQ(value.has_value(), r.moment.has_value());
        if (value) {
            EXPECT_EQ(fromDateTime(*value), *r.moment);
        }
    }
}
