// On Windows the hives are the registry's own: the add-in's settings under
// HKEY_CURRENT_USER, and HKEY_LOCAL_MACHINE read with what the user may read.

#include "platform/DefaultHives.h"

#include "platform/windows/WinRegistryHive.h"

namespace vantorel::platform {

std::shared_ptr<RegistryHive> systemHive(const QString& root) {
    return std::make_shared<WinRegistryHive>(root == QLatin1String("HKEY_LOCAL_MACHINE")
                                                 ? WinRegistryHive::Root::LocalMachine
                                                 : WinRegistryHive::Root::CurrentUser);
}

}  // namespace vantorel::platform
