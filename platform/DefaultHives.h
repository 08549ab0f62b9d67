#pragma once

// The hive each system gives a process that installed none: on Linux the hive files
// in defaultHiveFolder(), on Windows the registry itself. One file per system:
// linux/DefaultHives.cpp, windows/DefaultHives.cpp.

#include "platform/Registry.h"

#include <memory>

namespace vantorel::platform {

// ROOT is "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE".
std::shared_ptr<RegistryHive> systemHive(const QString& root);

}  // namespace vantorel::platform
