// The options of "Remind me" from the default settings: the start day counted from now
// (working days included) and moved off the weekend when the settings say so, with the
// weekday the tip of "Remind me" names for the move.

#include "platform/Clock.h"
#include "reminders/ReminderSettings.h"
#include "settings/AddInRegistry.h"
#include "tests/support/TempHives.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <memory>

using namespace vantorel;

namespace {

struct DefaultCase {
    const char* name;
    const char* locale;
    QDate today;
    bool remindMe;
    const char* start;  // RemindMeStart in remind mode, else CreateOnlyStart
    bool move;
    qint32 days;
    const char* movedTo;  // the weekday of the tip; empty when nothing moved
    qint32 due;           // days from the start to its due date, one working day on
};

void PrintTo(const DefaultCase& c, std::ostream* os) {
    *os << c.name;
}

class DefaultReminder : public ::testing::TestWithParam<DefaultCase> {
protected:
    DefaultReminder() {
        QLocale::setDefault(QLocale(QLatin1String(GetParam().locale)));
        platform::installClock(
            std::make_shared<platform::ManualClock>(QDateTime(GetParam().today, QTime(15, 20))));
    }
    ~DefaultReminder() override {
        platform::installClock(nullptr);
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    }

    test::TempHives hives;
    TAddInRegistry registry;
};

TEST_P(DefaultReminder, StartsOnAWorkingDayWhenMoved) {
    const DefaultCase& c = GetParam();
    registry.SetTaskRemindMe(c.remindMe, false);
    registry.SetTaskRemindMeStart(QLatin1String(c.start), false);
    registry.SetTaskCreateOnlyStart(QLatin1String(c.start), false);
    registry.SetTaskRemindMeTime(QStringLiteral("09:00"), false);
    registry.SetTaskSetDuration(true, false);
    registry.SetTaskDuration(QStringLiteral("b1"), false);
    registry.SetTaskMoveOffWeekend(c.move, false);

    const TReminderData data = DefaultReminderData(registry);
    EXPECT_EQ(data.nInDays, c.days);
    EXPECT_EQ(MovedStartDayName(registry), QLatin1String(c.movedTo));
    // A duration of one working day counts from the start it moved to.
    EXPECT_EQ(data.nDuration, c.due);
}

// 2026-12-11 is a Friday.
INSTANTIATE_TEST_SUITE_P(
    Settings, DefaultReminder,
    testing::Values(
        DefaultCase{"WorkingDaysFromFriday", "en_US", {2026, 12, 11}, true, "b2", false, 4, "", 1},
        DefaultCase{
            "TomorrowIsSaturdayUnmoved", "en_US", {2026, 12, 11}, true, "d1", false, 1, "", 2},
        DefaultCase{
            "TomorrowIsSaturdayMoved", "en_US", {2026, 12, 11}, true, "d1", true, 3, "Monday", 1},
        DefaultCase{
            "TodayOnSundayMoved", "en_US", {2026, 12, 13}, true, "d0", true, 1, "Monday", 1},
        DefaultCase{"TaskModeMovesToo", "en_US", {2026, 12, 11}, false, "d2", true, 3, "Monday", 1},
        DefaultCase{"WorkingDayNeedsNoMove", "en_US", {2026, 12, 10}, true, "d1", true, 1, "", 3},
        DefaultCase{
            "FridaySaturdayWeekend", "he_IL", {2026, 12, 10}, true, "d1", true, 3, "Sunday", 1},
        DefaultCase{"SundayWorksThere", "he_IL", {2026, 12, 12}, true, "d1", true, 1, "", 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
