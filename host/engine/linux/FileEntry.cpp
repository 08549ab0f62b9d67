#include "host/engine/FileEntry.h"

#include "platform/FileKind.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vantorel::engine {

FileEntry fileEntry(const QString& path, bool follow) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    FileEntry entry;
    if ((follow ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st)) != 0) {
        entry.error = errno;
        return entry;
    }
    entry.regular = S_ISREG(st.st_mode);
    entry.link = S_ISLNK(st.st_mode);
    if (!entry.regular && !entry.link) {
        entry.kind = platform::fileKindText(st.st_mode);
    }
    return entry;
}

QString whyNotWritable(const QString& path) {
    if (::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0) {
        return QString();
    }
    return qt_error_string(errno);
}

}  // namespace vantorel::engine
