// The data folder's lock on Windows: not written yet (a file opened without sharing,
// or LockFileEx, would take the place of flock). Until then no folder can be taken.

#include "host/DataFolderLock.h"

#include <QDir>

namespace vantorel::host {

DataFolderLock::DataFolderLock(const QString& folder) : folder_(folder) {
    throw std::runtime_error(QStringLiteral("The data folder \"%1\" cannot be locked: data "
                                            "folder locks are not available on Windows yet.")
                                 .arg(QDir::toNativeSeparators(folder))
                                 .toStdString());
}

DataFolderLock::~DataFolderLock() = default;

}  // namespace vantorel::host
