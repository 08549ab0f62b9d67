#pragma once

// How each system reads a file's version (tools/linux/FileVersionReader.cpp,
// tools/windows/FileVersionReader.cpp); FileVersion.cpp finds the file and words the
// errors.

#include "tools/FileVersion.h"

#include <optional>

namespace vantorel {

// The fixed file-version record of FILE, an existing regular file with its links
// resolved; nothing when it has no version information.
std::optional<TFixedFileInfo> readFixedFileInfo(const QString& file);

}  // namespace vantorel
