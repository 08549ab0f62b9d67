#include "tests/support/TempHives.h"

#include "platform/Hives.h"

namespace vantorel::test {

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
    platform::installHives(nullptr, nullptr);
}

}  // namespace vantorel::test
