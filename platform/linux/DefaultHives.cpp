// On Linux the hives are .reg files in the user's configuration folder.

#include "platform/DefaultHives.h"

#include "platform/Hives.h"
#include "platform/RegFileHive.h"

#include <QDir>

namespace vantorel::platform {

std::shared_ptr<RegistryHive> systemHive(const QString& root) {
    return std::make_shared<RegFileHive>(
        QDir(defaultHiveFolder()).filePath(root + QStringLiteral(".reg")), root);
}

}  // namespace vantorel::platform
