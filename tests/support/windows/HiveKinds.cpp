// On Windows the hives are also the registry's: both under a key of this process's
// own, HKEY_CURRENT_USER\Software\Ostrelin\VantorelTest-<process id>, deleted again
// afterwards (the machine's hive lives there too: a user may not write below
// HKEY_LOCAL_MACHINE).

#include "tests/support/HiveKinds.h"

#include "platform/Hives.h"
#include "platform/windows/WinRegistryHive.h"
#include "tests/support/TempHives.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace vantorel::test {

namespace {

using platform::WinRegistryHive;

const QString kParent = QStringLiteral("Software\\Ostrelin");

QString scratchKey() {
    return QStringLiteral("VantorelTest-%1").arg(QCoreApplication::applicationPid());
}

class RegistryScratchHives : public ScratchHives {
public:
    RegistryScratchHives() {
        clear();
        platform::installHives(user_, machine_);
    }
    ~RegistryScratchHives() override {
        installTestHives();
        try {
            clear();
            // Ostrelin itself goes when nothing else is in it.
            WinRegistryHive software(WinRegistryHive::Root::CurrentUser,
                                     QStringLiteral("Software"));
            if (software.subKeys(QStringLiteral("Ostrelin")).isEmpty() &&
                software.valueNames(QStringLiteral("Ostrelin")).isEmpty()) {
                software.deleteKey(QStringLiteral("Ostrelin"));
            }
        } catch (const platform::RegistryError& e) {
            ADD_FAILURE() << "the test's registry key is left behind: " << e.what();
        }
    }
    platform::RegistryHive& user() override { return *user_; }
    platform::RegistryHive& machine() override { return *machine_; }

private:
    static void clear() {
        WinRegistryHive(WinRegistryHive::Root::CurrentUser, kParent).deleteKey(scratchKey());
    }
    std::shared_ptr<WinRegistryHive> user_ = std::make_shared<WinRegistryHive>(
        WinRegistryHive::Root::CurrentUser,
        kParent + QLatin1Char('\\') + scratchKey() + QStringLiteral("\\HKEY_CURRENT_USER"));
    std::shared_ptr<WinRegistryHive> machine_ = std::make_shared<WinRegistryHive>(
        WinRegistryHive::Root::CurrentUser,
        kParent + QLatin1Char('\\') + scratchKey() + QStringLiteral("\\HKEY_LOCAL_MACHINE"));
};

}  // namespace

std::vector<HiveKind> hiveKinds() {
    return {fileHives(), {"Registry", [] { return std::make_unique<RegistryScratchHives>(); }}};
}

}  // namespace vantorel::test
