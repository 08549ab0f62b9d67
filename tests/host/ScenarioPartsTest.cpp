#include "host/scenario/ScriptLexer.h"
#include "host/scenario/VirtualScheduler.h"
#include "tools/TranscriptText.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vantorel;
using host::ScriptArg;

TEST(ScriptLexer, SplitsQuotesAndKeyValues) {
    const auto args = host::splitScriptLine(QStringLiteral(
        R"(compose to="Ann Lee <a@x>; b@y" subject="Say \"hi\"\r\n" body=plain  "two words")"));
    ASSERT_EQ(args.size(), 5u);
    EXPECT_EQ(args[1].text, QStringLiteral("to=Ann Lee <a@x>; b@y"));
    EXPECT_FALSE(args[1].quoted);
    EXPECT_EQ(args[2].text, QStringLiteral("subject=Say \"hi\"\r\n"));
    EXPECT_EQ(args[3].text, QStringLiteral("body=plain"));
    EXPECT_EQ(args[4].text, QStringLiteral("two words"));
    EXPECT_TRUE(args[4].quoted);
    EXPECT_EQ(args[4].raw, QStringLiteral("\"two words\""));
}

TEST(ScriptLexer, RejectsWhatItCannotRead) {
    EXPECT_THROW(host::splitScriptLine(QStringLiteral("say \"open")), host::ScriptSyntaxError);
    EXPECT_THROW(host::splitScriptLine(QStringLiteral("say \"bad \\q\"")), host::ScriptSyntaxError);
}

TEST(ScriptLexer, EscapesForTranscripts) {
    EXPECT_EQ(tools::escapeTranscriptText(QStringLiteral("a\r\n\t\"\\")),
              QStringLiteral("a\\r\\n\\t\\\"\\\\"));
}

namespace {

class Scheduler : public ::testing::Test {
protected:
    Scheduler() { platform::installClock(clock); }
    ~Scheduler() override { platform::installClock(nullptr); }
    QString at() const { return clock->now().toString(QStringLiteral("HH:mm:ss")); }

    std::shared_ptr<platform::ManualClock> clock =
        std::make_shared<platform::ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    host::VirtualScheduler scheduler{clock};
    QStringList log;
};

}  // namespace

TEST_F(Scheduler, TimersFireInTimeOrderWithTheClockAtEachTick) {
    auto poll = scheduler.createTimer();
    auto refresh = scheduler.createTimer();
    poll->setInterval(10'000);
    refresh->setInterval(4'000);
    poll->setOnTimer([&] { log << QStringLiteral("poll ") + at(); });
    refresh->setOnTimer([&] { log << QStringLiteral("refresh ") + at(); });
    poll->setEnabled(true);
    refresh->setEnabled(true);
    scheduler.advance(21'000);
    EXPECT_EQ(log.join(QLatin1Char(',')),
              QStringLiteral("refresh 09:00:04,refresh 09:00:08,poll 09:00:10,refresh 09:00:12,"
                             "refresh 09:00:16,poll 09:00:20,refresh 09:00:20"));
    EXPECT_EQ(at(), QStringLiteral("09:00:21"));
}

TEST_F(Scheduler, ATickMayStopItsTimerOrFreeAnother) {
    auto first = scheduler.createTimer();
    auto second = scheduler.createTimer();
    first->setInterval(1000);
    second->setInterval(1000);
    first->setOnTimer([&] {
        log << QStringLiteral("first");
        first->setEnabled(false);
        second.reset();
    });
    second->setOnTimer([&] { log << QStringLiteral("second"); });
    first->setEnabled(true);
    second->setEnabled(true);
    scheduler.advance(5000);
    EXPECT_EQ(log, QStringList{QStringLiteral("first")});
}

TEST_F(Scheduler, SettingTheClockStartsPeriodsAnew) {
    auto timer = scheduler.createTimer();
    timer->setInterval(10'000);
    timer->setOnTimer([&] { log << at(); });
    timer->setEnabled(true);
    scheduler.advance(6000);
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
    scheduler.restartAll();
    scheduler.advance(10'000);
    EXPECT_EQ(log, QStringList{QStringLiteral("12:00:10")});
}

TEST_F(Scheduler, PastItsBudgetALeapFiresEachDueTimerOnceAtTheEnd) {
    host::VirtualScheduler budgeted{clock, 3};
    auto poll = budgeted.createTimer();
    auto idle = budgeted.createTimer();
    poll->setInterval(10'000);
    idle->setInterval(3'600'000);
    poll->setOnTimer([&] { log << QStringLiteral("poll ") + at(); });
    idle->setOnTimer([&] { log << QStringLiteral("idle ") + at(); });
    poll->setEnabled(true);
    idle->setEnabled(true);
    budgeted.advance(60'000);
    EXPECT_EQ(log.join(QLatin1Char(',')),
              QStringLiteral("poll 09:00:10,poll 09:00:20,poll 09:00:30,poll 09:01:00"));
    // The period starts anew from the end of the leap.
    log.clear();
    budgeted.advance(10'000);
    EXPECT_EQ(log, QStringList{QStringLiteral("poll 09:01:10")});
}

TEST_F(Scheduler, RefusesASpanTheClockCannotHold) {
    EXPECT_THROW(scheduler.advance(-1), std::out_of_range);
    EXPECT_THROW(scheduler.advance(std::numeric_limits<qint64>::max()), std::out_of_range);
    EXPECT_EQ(at(), QStringLiteral("09:00:00"));
}
