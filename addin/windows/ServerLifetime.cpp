#include "addin/windows/ServerLifetime.h"

#include <atomic>

namespace vantorel::com {

namespace {
std::atomic<long> objects{0};
std::atomic<long> locks{0};
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
bool ServerLifetime::inUse() {
    return objects.load() > 0 || locks.load() > 0;
}

}  // namespace vantorel::com
