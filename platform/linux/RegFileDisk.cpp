// The hive file's disk access on Linux (POSIX): what is at the file's path, and
// reading it whole. The rest of the hive is in platform/RegFileHive.cpp.

#include "platform/RegFileDisk.h"
#include "platform/FileKind.h"
#include "platform/RegFileHive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace vantorel::platform {

namespace {

qint64 nanoseconds(const timespec& t) {
    return static_cast<qint64>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

qint64 clockNs() {
    timespec t{};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return nanoseconds(t);
}

FileStamp stampOf(const struct stat& st) {
    return FileStamp{static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino),
                     static_cast<qint64>(st.st_size), nanoseconds(st.st_mtim),
                     nanoseconds(st.st_ctim)};
}

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

bool pathTaken(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

}  // namespace

bool regFilePathTaken(const QString& path) {
    return pathTaken(path);
}

RegFileHive::DiskState RegFileHive::inspect() const {
    DiskState s;
    const QByteArray path = QFile::encodeName(file_);
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0) {
        const int error = errno;
        if (error != ENOENT && error != ENOTDIR) {
            s.kind = DiskState::Kind::Refused;
            s.why = QStringLiteral("cannot be examined (%1)").arg(errorText(error));
        }
        return s;
    }
    s.kind = DiskState::Kind::Refused;
    s.stamp = stampOf(st);
    s.target = file_;
    if (S_ISLNK(st.st_mode)) {
        const QString to = native(QFileInfo(file_).symLinkTarget());
        if (::stat(path.constData(), &st) != 0) {
            const int error = errno;
            s.why = QStringLiteral("is a link to %1, which cannot be reached (%2)")
                        .arg(to, errorText(error));
            return s;
        }
        s.stamp = stampOf(st);
        if (!S_ISREG(st.st_mode)) {
            s.why = QStringLiteral("is a link to %1, %2, not a regular file")
                        .arg(to, fileKindText(st.st_mode));
            return s;
        }
        char* real = ::realpath(path.constData(), nullptr);
        if (real == nullptr) {
            const int error = errno;
            s.why = QStringLiteral("is a link to %1, which cannot be resolved (%2)")
                        .arg(to, errorText(error));
            return s;
        }
        s.target = QFile::decodeName(real);
        std::free(real);
    } else if (!S_ISREG(st.st_mode)) {
        s.why = QStringLiteral("is %1, not a regular file").arg(fileKindText(st.st_mode));
        return s;
    }
    if (st.st_size > kMaxFileSize) {
        s.why = regFileTooLargeText(st.st_size);
        return s;
    }
    s.kind = DiskState::Kind::Regular;
    return s;
}

RegFileHive::FileRead RegFileHive::readFile(const QString& path) {
    FileRead r;
    r.startedNs = clockNs();
    // Non-blocking, so a FIFO put in the file's place between inspect() and here
    // cannot hang the read; fstat then refuses it.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        r.why = QStringLiteral("cannot be read (%1)").arg(errorText(errno));
        return r;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        r.why = QStringLiteral("cannot be read (%1)").arg(errorText(errno));
    } else if (!S_ISREG(st.st_mode)) {
        r.why = QStringLiteral("is %1, not a regular file").arg(fileKindText(st.st_mode));
    } else if (st.st_size > kMaxFileSize) {
        r.why = regFileTooLargeText(st.st_size);
    } else {
        r.stamp = stampOf(st);
        r.bytes.reserve(static_cast<qsizetype>(st.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                r.why = QStringLiteral("cannot be read (%1)").arg(errorText(errno));
                break;
            }
            if (n == 0) {
                break;
            }
            if (r.bytes.size() + n > kMaxFileSize) {  // grew while being read
                r.why = regFileTooLargeText(r.bytes.size() + n);
                break;
            }
            r.bytes.append(buffer, n);
        }
    }
    ::close(fd);
    if (!r.why.isEmpty()) {
        r.bytes.clear();
    }
    return r;
}

}  // namespace vantorel::platform
