#pragma once

// Events of the object model. A source owns an Event; subscribing to it returns a
// Connection, which ends the subscription when it is destroyed or disconnected.
// A Connection may outlive its source: disconnecting it then does nothing.
//
// Handlers run in the order they subscribed. A handler that subscribes during a
// raise is first called by the next raise; one that is disconnected during a raise
// is not called any more, not even later in the same raise. An exception thrown by
// a handler leaves raise() and the remaining handlers are not called; raiseGuarded()
// reports it instead and goes on.

#include <exception>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace vantorel::outlook {

namespace detail {

struct SlotBase {
    virtual ~SlotBase() = default;
    bool connected = true;
    // Run once when the subscription ends (by its Connection or by clear()).
    std::function<void()> onDisconnect;

    void ended() {
        connected = false;
        if (onDisconnect) {
            std::exchange(onDisconnect, {})();
        }
    }
};

struct SlotList {
    std::vector<std::shared_ptr<SlotBase>> entries;
};

}  // namespace detail

class Connection {
public:
    Connection() = default;
    Connection(std::weak_ptr<detail::SlotList> list, std::weak_ptr<detail::SlotBase> slot)
        : list_(std::move(list)), slot_(std::move(slot)) {}
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Connection(Connection&& other) noexcept
        : list_(std::exchange(other.list_, {})), slot_(std::exchange(other.slot_, {})) {}
    Connection& operator=(Connection&& other) noexcept {
        if (this != &other) {
            disconnect();
            list_ = std::exchange(other.list_, {});
            slot_ = std::exchange(other.slot_, {});
        }
        return *this;
    }
    ~Connection() { disconnect(); }

    // Ends the subscription; does nothing when it has ended or the source is gone.
    void disconnect() {
        const std::shared_ptr<detail::SlotBase> slot = slot_.lock();
        const std::shared_ptr<detail::SlotList> list = list_.lock();
        list_.reset();
        slot_.reset();
        if (!slot || !list) {
            return;
        }
        std::erase(list->entries, slot);
        slot->ended();
    }

    // True while the subscription lasts and its source exists.
    bool connected() const {
        const std::shared_ptr<detail::SlotBase> slot = slot_.lock();
        return slot && slot->connected && !list_.expired();
    }

private:
    std::weak_ptr<detail::SlotList> list_;
    std::weak_ptr<detail::SlotBase> slot_;
};

template <typename... Args>
class Event {
public:
    using Handler = std::function<void(Args...)>;

    Event() = default;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    // ONDISCONNECT, when given, runs once when the subscription ends.
    [[nodiscard]] Connection connect(Handler handler, std::function<void()> onDisconnect = {}) {
        auto slot = std::make_shared<Slot>(std::move(handler));
        slot->onDisconnect = std::move(onDisconnect);
        list_->entries.push_back(slot);
        return Connection(list_, slot);
    }

    // Calls every handler connected when the raise begins, in subscription order.
    template <typename... Actual>
    void raise(Actual&&... args) const {
        const std::vector<std::shared_ptr<detail::SlotBase>> snapshot = list_->entries;
        for (const std::shared_ptr<detail::SlotBase>& slot : snapshot) {
            if (slot->connected) {
                static_cast<Slot&>(*slot).handler(args...);
            }
        }
    }

    // As raise(), but an exception (derived from std::exception) that leaves a
    // handler is passed to onError, and the next handler runs.
    template <typename OnError, typename... Actual>
    void raiseGuarded(const OnError& onError, Actual&&... args) const {
        const std::vector<std::shared_ptr<detail::SlotBase>> snapshot = list_->entries;
        for (const std::shared_ptr<detail::SlotBase>& slot : snapshot) {
            if (slot->connected) {
                try {
                    static_cast<Slot&>(*slot).handler(args...);
                } catch (const std::exception& e) {
                    onError(e);
                }
            }
        }
    }

    // As raiseGuarded(), the handler connected last first.
    template <typename OnError, typename... Actual>
    void raiseGuardedNewestFirst(const OnError& onError, Actual&&... args) const {
        const std::vector<std::shared_ptr<detail::SlotBase>> snapshot = list_->entries;
        for (auto slot = snapshot.rbegin(); slot != snapshot.rend(); ++slot) {
            if ((*slot)->connected) {
                try {
                    static_cast<Slot&>(**slot).handler(args...);
                } catch (const std::exception& e) {
                    onError(e);
                }
            }
        }
    }

    std::size_t handlerCount() const { return list_->entries.size(); }

    // Ends every subscription (their Connections become inert).
    void clear() {
        const std::vector<std::shared_ptr<detail::SlotBase>> ended = std::move(list_->entries);
        list_->entries.clear();
        for (const std::shared_ptr<detail::SlotBase>& slot : ended) {
            slot->ended();
        }
    }

private:
    struct Slot : detail::SlotBase {
        explicit Slot(Handler h) : handler(std::move(h)) {}
        Handler handler;
    };

    std::shared_ptr<detail::SlotList> list_ = std::make_shared<detail::SlotList>();
};

}  // namespace vantorel::outlook
