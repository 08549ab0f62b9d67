#include "tests/support/TempHives.h"

#include "platform/Hives.h"

#include <QDir>

namespace vantorel::test {

void installTestHives() {
    // Set by TestMain on every system (Qt reads it on Linux only).
    platform::useHiveFolder(QDir(qEnvironmentVariable("XDG_CONFIG_HOME"))
                                .filePath(QStringLiteral("Ostrelin/Vantorel")));
}

TempHives::TempHives()
    : user_(std::make_shared<platform::RegFileHive>(
          dir_.filePath(QStringLiteral("HKEY_CURRENT_USER.reg")),
          QStringLiteral("HKEY_CURRENT_USER"))),
      machine_(std::make_shared<platform::RegFileHive>(
          dir_.filePath(QStringLiteral("HKEY_LOCAL_MACHINE.reg")),
          QStringLiteral("HKEY_LOCAL_MACHINE"))) {
    platform::installHives(user_, machine_);
}

TempHives::~TempHives() {
    installTestHives();
}

}  // namespace vantorel::test
