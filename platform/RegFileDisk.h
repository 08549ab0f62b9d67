#pragma once

// The hive file's disk access, one implementation per system (platform/linux/,
// platform/windows/): RegFileHive::inspect() and RegFileHive::readFile() live there,
// with this helper the rest of the hive uses.

#include <QString>

namespace vantorel::platform {

// Whether anything (a file, a folder, a dangling link) is at PATH.
bool regFilePathTaken(const QString& path);

// Why a hive file of SIZE bytes is not read: it is larger than a hive may be.
QString regFileTooLargeText(qint64 size);

}  // namespace vantorel::platform
