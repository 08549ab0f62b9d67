#pragma once

// The two hives of the process: the current user's (the add-in's settings) and the
// machine's (where programs register their folders). The host installs them for
// its data folder; until then they are the system's: the registry on Windows, files
// in the user's configuration folder elsewhere (see DefaultHives.h).

#include "platform/Registry.h"

#include <memory>

namespace vantorel::platform {

RegistryHive& currentUserHive();
RegistryHive& localMachineHive();

// Installs the hives every later caller gets; null restores the system's.
void installHives(std::shared_ptr<RegistryHive> currentUser,
                  std::shared_ptr<RegistryHive> localMachine);

// Opens both hives as .reg files in FOLDER ("HKEY_CURRENT_USER.reg",
// "HKEY_LOCAL_MACHINE.reg") and installs them, on every system.
void useHiveFolder(const QString& folder);

// Where the hive files live by default on Linux: $XDG_CONFIG_HOME/Ostrelin/Vantorel.
QString defaultHiveFolder();

// The installed hive for a root name or its abbreviation ("HKCU", "HKEY_LOCAL_MACHINE"),
// or null when the name is not one of the two.
RegistryHive* hiveForRoot(const QString& root);

}  // namespace vantorel::platform
