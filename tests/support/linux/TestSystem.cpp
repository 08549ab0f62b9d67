#include "tests/support/TestSystem.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

namespace vantorel::test {

bool readsEveryFile() {
    return ::geteuid() == 0;
}

void matchLinuxTextWidths() {}

void installAddInLibrary(const QString& folder, const QString& version) {
    const QDir dir(folder);
    const QString real = dir.filePath(QStringLiteral("libvantorel.so.") + version);
    QFile file(real);
    if (!file.open(QIODevice::WriteOnly)) {
        throw std::runtime_error("cannot write " + real.toStdString());
    }
    file.close();
    if (!QFile::link(real, dir.filePath(QStringLiteral("libvantorel.so")))) {
        throw std::runtime_error("cannot link libvantorel.so to " + real.toStdString());
    }
}

namespace {

bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    int flags = 0;
    bool set = false;
    if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        set = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return set;
}

}  // namespace

WriteProtection::WriteProtection(const QString& path) : path_(path) {
    if (::geteuid() == 0) {
        done_ = setImmutable(path_, true);
        return;
    }
    struct stat st {};
    const QByteArray name = QFile::encodeName(path_);
    done_ =
        ::stat(name.constData(), &st) == 0 && ::chmod(name.constData(), st.st_mode & ~0222) == 0;
    mode_ = st.st_mode & 07777;
}

WriteProtection::~WriteProtection() {
    if (!done_) {
        return;
    }
    if (::geteuid() == 0) {
        setImmutable(path_, false);
    } else {
        ::chmod(QFile::encodeName(path_).constData(), mode_);
    }
}

}  // namespace vantorel::test
