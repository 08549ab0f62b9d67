#pragma once

// The kinds of hive the tests run their hive and settings cases on: the .reg files
// on every system, and on Windows the registry itself under a temporary key. Each
// kind makes a fresh, empty pair of hives, installed for the process while it lives.

#include "platform/Registry.h"

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace vantorel::test {

class ScratchHives {
public:
    virtual ~ScratchHives() = default;
    virtual platform::RegistryHive& user() = 0;
    virtual platform::RegistryHive& machine() = 0;
};

struct HiveKind {
    const char* name;  // "File", "Registry": a test name's suffix
    std::function<std::unique_ptr<ScratchHives>()> make;
};

inline void PrintTo(const HiveKind& kind, std::ostream* out) {
    *out << kind.name;
}

// The .reg files (linux/HiveKinds.cpp, windows/HiveKinds.cpp add the system's own).
HiveKind fileHives();
std::vector<HiveKind> hiveKinds();

}  // namespace vantorel::test
