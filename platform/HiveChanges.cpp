#include "platform/HiveChanges.h"

#include <map>
#include <utility>
#include <vector>

namespace vantorel::platform {

namespace {

struct Listeners {
    int lastId = 0;
    std::map<int, HiveChangeListener> byId;  // ids grow: the map keeps subscription order
};

Listeners& listeners() {
    static Listeners all;
    return all;
}

}  // namespace

HiveChangeSubscription::HiveChangeSubscription(HiveChangeSubscription&& other) noexcept
    : id_(std::exchange(other.id_, 0)) {}

HiveChangeSubscription& HiveChangeSubscription::operator=(HiveChangeSubscription&& other) noexcept {
    if (this != &other) {
        reset();
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void HiveChangeSubscription::reset() {
    if (id_ != 0) {
        listeners().byId.erase(std::exchange(id_, 0));
    }
}

HiveChangeSubscription subscribeToHiveChanges(HiveChangeListener listener) {
    Listeners& all = listeners();
    const int id = ++all.lastId;
    all.byId.emplace(id, std::move(listener));
    return HiveChangeSubscription(id);
}

void hiveChanged(const RegistryHive& hive, const QString& keyPath) {
    // A listener may subscribe or unsubscribe others while it runs: the ones
    // subscribed when the change happened are called, unless gone meanwhile.
    std::vector<int> ids;
    for (const auto& [id, listener] : listeners().byId) {
        ids.push_back(id);
    }
    for (const int id : ids) {
        const auto found = listeners().byId.find(id);
        if (found != listeners().byId.end()) {
            const HiveChangeListener listener = found->second;
            listener(hive, keyPath);
        }
    }
}

}  // namespace vantorel::platform
