#pragma once

// Word of changes to the hives within this process, for whatever shows something
// that follows a setting. The writers of settings (the settings store's key
// accessor, the scenario runner's reg commands) tell of each change after it was
// made; listeners are called at once, on the writer's thread, in the order they
// subscribed. A change another program makes to the hive is not told.

#include "platform/Registry.h"

#include <functional>

namespace vantorel::platform {

// HIVE changed at or below the key KEYPATH (a path as RegistryHive takes it).
using HiveChangeListener = std::function<void(const RegistryHive& hive, const QString& keyPath)>;

// A listener's subscription: the listener is called until this is reset or destroyed.
class HiveChangeSubscription {
public:
    HiveChangeSubscription() = default;
    explicit HiveChangeSubscription(int id) : id_(id) {}
    HiveChangeSubscription(HiveChangeSubscription&& other) noexcept;
    HiveChangeSubscription& operator=(HiveChangeSubscription&& other) noexcept;
    HiveChangeSubscription(const HiveChangeSubscription&) = delete;
    HiveChangeSubscription& operator=(const HiveChangeSubscription&) = delete;
    ~HiveChangeSubscription() { reset(); }

    void reset();
    bool active() const { return id_ != 0; }

private:
    int id_ = 0;
};

[[nodiscard]] HiveChangeSubscription subscribeToHiveChanges(HiveChangeListener listener);

// Tells every listener that HIVE changed at or below KEYPATH. A listener's exception
// travels to the writer.
void hiveChanged(const RegistryHive& hive, const QString& keyPath);

}  // namespace vantorel::platform
