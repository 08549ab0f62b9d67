#include "addin/windows/ServerLifetime.h"

#include <atomic>

namespace vantorel::com {

namespace {
std::atomic<long> objects{0};
std::atomic<long> locks{0};
std::atomic<bool> pinned{false};
}  // namespace

void ServerLifetime::objectCreated() {
    ++objects;
}
void ServerLifetime::objectDestroyed() {
    --objects;
}
void ServerLifetime::lock() {
    ++locks;
}
void ServerLifetime::unlock() {
    --locks;
}
void ServerLifetime::pin() {
    pinned = true;
}
bool ServerLifetime::inUse() {
    return pinned.load() || objects.load() > 0 || locks.load() > 0;
}

}  // namespace vantorel::com
