// The subscription handles of the object model's events.

#include "outlook/Event.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace vantorel::outlook {
namespace {

TEST(EventTest, HandlersRunInSubscriptionOrderUntilDisconnected) {
    Event<int, bool&> event;
    std::vector<int> calls;
    Connection a = event.connect([&](int v, bool& flag) {
        calls.push_back(10 + v);
        flag = true;
    });
    std::optional<Connection> b =
        event.connect([&](int v, bool& flag) { calls.push_back(20 + v + (flag ? 100 : 0)); });
    bool flag = false;
    event.raise(1, flag);
    EXPECT_EQ(calls, (std::vector<int>{11, 121}));
    EXPECT_TRUE(flag);

    b.reset();  // destroying the handle ends the subscription
    a.disconnect();
    event.raise(2, flag);
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_FALSE(a.connected());
}

TEST(EventTest, ChangesDuringARaiseTakeEffectAsDocumented) {
    Event<> event;
    std::vector<char> calls;
    Connection late;
    Connection second;
    Connection first = event.connect([&] {
        calls.push_back('1');
        second.disconnect();  // not called any more, even in this raise
        late = event.connect([&] { calls.push_back('L'); });  // from the next raise on
    });
    second = event.connect([&] { calls.push_back('2'); });
    event.raise();
    EXPECT_EQ(calls, (std::vector<char>{'1'}));
    calls.clear();
    first.disconnect();
    event.raise();
    EXPECT_EQ(calls, (std::vector<char>{'L'}));
}

TEST(EventTest, AHandleMayOutliveItsSource) {
    Connection handle;
    {
        Event<> event;
        handle = event.connect([] {});
        EXPECT_TRUE(handle.connected());
    }
    EXPECT_FALSE(handle.connected());
    handle.disconnect();
}

// A subscription's end action (a COM source's Unadvise) runs exactly once, however the
// subscription ends, and never for a source that is gone.
TEST(EventTest, TheEndActionRunsOnceWhenTheSubscriptionEnds) {
    struct Case {
        const char* name;
        std::function<void(Event<>&, Connection&)> end;
        int expected;
    };
    const std::vector<Case> cases = {
        {"disconnect twice",
         [](Event<>&, Connection& c) {
             c.disconnect();
             c.disconnect();
         },
         1},
        {"handle destroyed", [](Event<>&, Connection& c) { Connection gone = std::move(c); }, 1},
        {"source cleared",
         [](Event<>& e, Connection& c) {
             e.clear();
             c.disconnect();
         },
         1},
        {"still subscribed", [](Event<>&, Connection&) {}, 0},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        int ends = 0;
        Event<> event;
        Connection handle = event.connect([] {}, [&] { ++ends; });
        row.end(event, handle);
        EXPECT_EQ(ends, row.expected);
        EXPECT_EQ(handle.connected(), row.expected == 0);
    }
}

}  // namespace
}  // namespace vantorel::outlook
