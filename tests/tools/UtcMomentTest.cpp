#include "tools/UtcMoment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vantorel::tools;

// The tests run in Europe/Berlin: on 2026-10-25 the wall clock shows 02:00-03:00 twice,
// on 2026-03-29 it skips that hour.
TEST(UtcMoment, LocalSecondsReadInUtc) {
    struct Row {
        const char* name;
        qint64 local;
        std::optional<qint64> earliest;
        std::optional<qint64> latest;
    };
    const Row rows[] = {
        {"winter", 1796893200, 1796889600, 1796889600},                     // 2026-12-10 09:00
        {"summer", 1782907200, 1782900000, 1782900000},                     // 2026-07-01 12:00
        {"the hour that comes twice", 1792895400, 1792888200, 1792891800},  // 02:30
        {"the skipped hour", 1774751400, 1774747800, 1774747800},           // 02:30 -> 03:30
        {"after the calendar", 253402300800, std::nullopt, std::nullopt},
        {"before the calendar", -62135596801, std::nullopt, std::nullopt},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(utcSecondsOfLocal(r.local, LocalReading::Earliest), r.earliest);
        EXPECT_EQ(utcSecondsOfLocal(r.local, LocalReading::Latest), r.latest);
    }
}

TEST(UtcMoment, OnlyDatesOfTheCalendarHaveLocalSeconds) {
    const double inf = std::numeric_limits<double>::infinity();
    for (const double value : {std::nan(""), inf, -inf, 1e300, -1e300, 2958466.0, -693594.0}) {
        SCOPED_TRACE(value);
        EXPECT_FALSE(localSecondsOfDate(value));
    }
    EXPECT_EQ(localSecondsOfDate(25569.0), 0);               // 1970-01-01
    EXPECT_EQ(localSecondsOfDate(kNoDate), 79870665600);     // 4501-01-01
    EXPECT_EQ(localSecondsOfDate(2958465.5), 253402257600);  // 9999-12-31 12:00
    EXPECT_EQ(localSecondsOfDate(-693593.0), -62135596800);  // 0001-01-01
}

TEST(UtcMoment, TextOfUtcSecondsIsReadBackWithinTheCalendar) {
    EXPECT_EQ(parseUtcSeconds(utcSecondsText(1796889600)), 1796889600);
    for (const char* text : {"", "soon", "1.5", "253402300800", "9999999999999999999"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseUtcSeconds(QString::fromUtf8(text)));
    }
}
