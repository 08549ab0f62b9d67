#include "platform/FileKind.h"

#include <sys/stat.h>

namespace vantorel::platform {

QString fileKindText(mode_t mode) {
    if (S_ISDIR(mode)) {
        return QStringLiteral("a folder");
    }
    if (S_ISFIFO(mode)) {
        return QStringLiteral("a named pipe");
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return QStringLiteral("a device");
    }
#ifdef S_ISSOCK  // Windows' C runtime knows no sockets among a file's kinds
    if (S_ISSOCK(mode)) {
        return QStringLiteral("a socket");
    }
#endif
    return QStringLiteral("a special file");
}

}  // namespace vantorel::platform
