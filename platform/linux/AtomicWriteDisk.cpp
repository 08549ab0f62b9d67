// The temporary file of writeFileAtomically on Linux (POSIX).

#include "platform/AtomicWriteDisk.h"
#include "platform/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vantorel::platform {

namespace {

// WHAT failed, with the system's reason: "writing failed (Input/output error)"; a full
// disk says only that.
QString failure(const QString& what, int error) {
    if (error == ENOSPC) {
        return diskFullText();
    }
    return QStringLiteral("%1 (%2)").arg(what, QString::fromLocal8Bit(std::strerror(error)));
}

QString randomSuffix() {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString suffix(6, QLatin1Char('x'));
    for (QChar& c : suffix) {
        c = QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    }
    return suffix;
}

}  // namespace

TempFileBeside::TempFileBeside(const QString& target) : target_(target) {
    const QByteArray path = QFile::encodeName(target_);
    struct stat st {};
    const bool existing = ::stat(path.constData(), &st) == 0;
    if (existing && ::access(path.constData(), W_OK) != 0) {
        const int error = errno;
        throw FileWriteError(target_, failure(QStringLiteral("it may not be changed"), error));
    }
    for (int attempt = 0;; ++attempt) {
        temp_ = target_ + QLatin1Char('.') + randomSuffix();
        // The system's umask applies to a new file; an existing one's permissions are
        // given to its replacement below.
        const int fd = ::open(QFile::encodeName(temp_).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0) {
            handle_ = fd;
            break;
        }
        const int error = errno;
        if (error != EEXIST || attempt >= 100) {
            temp_.clear();
            const QString folder = QDir::toNativeSeparators(QFileInfo(target_).absolutePath());
            throw FileWriteError(
                target_,
                failure(QStringLiteral("no file can be created in its folder %1").arg(folder),
                        error));
        }
    }
    if (existing) {
        // Failing, the replacement keeps the permissions of a new file.
        (void)::fchmod(static_cast<int>(handle_), st.st_mode & 07777);
    }
}

TempFileBeside::~TempFileBeside() {
    close();
    if (!replaced_ && !temp_.isEmpty()) {
        ::unlink(QFile::encodeName(temp_).constData());
    }
}

void TempFileBeside::close() noexcept {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
    }
}

qint64 TempFileBeside::write(const char* data, qint64 size) {
    for (;;) {
        const ssize_t n = ::write(static_cast<int>(handle_), data, static_cast<size_t>(size));
        if (n > 0) {
            return n;
        }
        const int error = n < 0 ? errno : ENOSPC;  // nothing written: no room for it
        if (error != EINTR) {
            throw FileWriteError(target_, failure(QStringLiteral("writing failed"), error));
        }
    }
}

void TempFileBeside::replaceTarget() {
    const int fd = static_cast<int>(handle_);
    if (::fsync(fd) != 0) {
        const int error = errno;
        throw FileWriteError(target_,
                             failure(QStringLiteral("it could not be flushed to the disk"), error));
    }
    handle_ = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        throw FileWriteError(target_, failure(QStringLiteral("writing failed"), error));
    }
    if (::rename(QFile::encodeName(temp_).constData(), QFile::encodeName(target_).constData()) !=
        0) {
        const int error = errno;
        throw FileWriteError(
            target_, failure(QStringLiteral("the new file could not take its name"), error));
    }
    replaced_ = true;
    // The new name lasts through a power cut once the folder is flushed too; the file
    // is in place whether or not that works.
    const int folder = ::open(QFile::encodeName(QFileInfo(target_).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        (void)::fsync(folder);
        ::close(folder);
    }
}

}  // namespace vantorel::platform
