#include "host/engine/FileEntry.h"

#include <QFileInfo>

#include <io.h>

#include <cerrno>

// Windows: Qt's view of the entry (links are NTFS symbolic links and junctions), and
// the C runtime's access check.

namespace vantorel::engine {

FileEntry fileEntry(const QString& path, bool follow) {
    const QFileInfo info(path);
    FileEntry entry;
    if (!follow && info.isSymLink()) {
        entry.link = true;
        return entry;
    }
    if (!info.exists()) {
        entry.error = ENOENT;
        return entry;
    }
    entry.regular = info.isFile();
    if (!entry.regular) {
        entry.kind = info.isDir() ? QStringLiteral("a folder") : QStringLiteral("a special file");
    }
    return entry;
}

QString whyNotWritable(const QString& path) {
    if (::_waccess(reinterpret_cast<const wchar_t*>(path.utf16()), 2) == 0) {
        return QString();
    }
    return qt_error_string(errno);
}

}  // namespace vantorel::engine
