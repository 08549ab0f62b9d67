#include "host/DataFolderLock.h"

#include "platform/FileKind.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace vantorel::host {

namespace {

QString shown(const QString& folder) {
    return QDir::toNativeSeparators(folder);
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The process id the holder wrote, or empty when the file holds none.
QString holderOf(int fd) {
    char text[32] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    if (n <= 0) {
        return {};
    }
    bool ok = false;
    const qint64 pid = QByteArray(text, static_cast<qsizetype>(n)).trimmed().toLongLong(&ok);
    return ok && pid > 0 ? QString::number(pid) : QString();
}

// Why the open lock file FD at PATH must not be written, or an empty text. The id is
// written only into a regular file with no other name: a hard link would carry it
// into the file it shares (the mailbox, a hive), and a pipe or device is no file.
QString lockFileProblem(int fd, const QByteArray& path) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return systemError(errno);
    }
    const QString name = shown(QFile::decodeName(path));
    if (!S_ISREG(st.st_mode)) {
        return QStringLiteral("its lock file %1 is not a regular file but %2")
            .arg(name, platform::fileKindText(st.st_mode));
    }
    if (st.st_nlink != 1) {
        return QStringLiteral("its lock file %1 is a hard link shared with another file").arg(name);
    }
    return {};
}

// Why the lock file at PATH could not be opened with ERROR. A link is refused as a
// link, wherever it leads (the open does not follow it, and says only ELOOP).
QString openProblem(int error, const QByteArray& path) {
    struct stat st {};
    if (error == ELOOP && ::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        return QStringLiteral("its lock file %1 is not a regular file but a link")
            .arg(shown(QFile::decodeName(path)));
    }
    return systemError(error);
}

}  // namespace

DataFolderLock::DataFolderLock(const QString& folder) : folder_(QDir(folder).absolutePath()) {
    const QByteArray path = QFile::encodeName(QDir(folder_).filePath(QLatin1String(kFileName)));
    // Never through a link, and never blocking on something that is not a file.
    fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd_ < 0) {
        const int error = errno;
        throw std::runtime_error(QStringLiteral("the data folder %1 cannot be locked: %2")
                                     .arg(shown(folder_), openProblem(error, path))
                                     .toStdString());
    }
    if (const QString problem = lockFileProblem(fd_, path); !problem.isEmpty()) {
        ::close(fd_);
        fd_ = -1;
        throw std::runtime_error(QStringLiteral("the data folder %1 cannot be locked: %2")
                                     .arg(shown(folder_), problem)
                                     .toStdString());
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        const QString holder = holderOf(fd_);
        ::close(fd_);
        fd_ = -1;
        if (error == EWOULDBLOCK) {
            throw DataFolderInUse(
                QStringLiteral("the data folder %1 is in use by another vantorel-host%2")
                    .arg(shown(folder_), holder.isEmpty()
                                             ? QString()
                                             : QStringLiteral(" (process %1)").arg(holder)));
        }
        throw std::runtime_error(QStringLiteral("the data folder %1 cannot be locked: %2")
                                     .arg(shown(folder_), systemError(error))
                                     .toStdString());
    }
    const QByteArray pid = QByteArray::number(static_cast<qint64>(::getpid())) + '\n';
    // Without the id the lock holds all the same; a second process then names no process.
    const bool written = ::ftruncate(fd_, 0) == 0 &&
                         ::pwrite(fd_, pid.constData(), static_cast<size_t>(pid.size()), 0) ==
                             static_cast<ssize_t>(pid.size());
    Q_UNUSED(written)
}

DataFolderLock::~DataFolderLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

}  // namespace vantorel::host
