#include "platform/Hives.h"

#include "platform/DefaultHives.h"
#include "platform/RegFileHive.h"

#include <QDir>
#include <QStandardPaths>

namespace vantorel::platform {

namespace {

struct Installed {
    std::shared_ptr<RegistryHive> user;
    std::shared_ptr<RegistryHive> machine;
};

Installed& installed() {
    static Installed hives;
    return hives;
}

std::shared_ptr<RegistryHive> fileHive(const QString& folder, const QString& root) {
    return std::make_shared<RegFileHive>(QDir(folder).filePath(root + QStringLiteral(".reg")),
                                         root);
}

}  // namespace

QString defaultHiveFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Ostrelin/Vantorel"));
}

RegistryHive& currentUserHive() {
    Installed& h = installed();
    if (!h.user) {
        h.user = systemHive(QStringLiteral("HKEY_CURRENT_USER"));
    }
    return *h.user;
}

RegistryHive& localMachineHive() {
    Installed& h = installed();
    if (!h.machine) {
        h.machine = systemHive(QStringLiteral("HKEY_LOCAL_MACHINE"));
    }
    return *h.machine;
}

void installHives(std::shared_ptr<RegistryHive> currentUser,
                  std::shared_ptr<RegistryHive> localMachine) {
    installed() = Installed{std::move(currentUser), std::move(localMachine)};
}

void useHiveFolder(const QString& folder) {
    installHives(fileHive(folder, QStringLiteral("HKEY_CURRENT_USER")),
                 fileHive(folder, QStringLiteral("HKEY_LOCAL_MACHINE")));
}

RegistryHive* hiveForRoot(const QString& root) {
    const QString name = canonicalRootName(root);
    if (name == QLatin1String("HKEY_CURRENT_USER")) {
        return &currentUserHive();
    }
    if (name == QLatin1String("HKEY_LOCAL_MACHINE")) {
        return &localMachineHive();
    }
    return nullptr;
}

}  // namespace vantorel::platform
