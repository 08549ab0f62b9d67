// The hive file's disk access on Windows: not written yet. On Windows the add-in's
// settings will live in the registry itself; the hive files are still what the
// scenario runner and the tests use, so a Win32 version of these follows.

#include "platform/RegFileDisk.h"
#include "platform/RegFileHive.h"

#include <QDir>
#include <QFileInfo>

namespace vantorel::platform {

bool regFilePathTaken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

RegFileHive::DiskState RegFileHive::inspect() const {
    throw RegistryError(QStringLiteral("%1: hive files are not available on Windows yet")
                            .arg(QDir::toNativeSeparators(file_)));
}

RegFileHive::FileRead RegFileHive::readFile(const QString& path) {
    throw RegistryError(QStringLiteral("%1: hive files are not available on Windows yet")
                            .arg(QDir::toNativeSeparators(path)));
}

}  // namespace vantorel::platform
