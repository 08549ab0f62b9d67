#include "platform/AtomicWrite.h"

#include "platform/AtomicWriteDisk.h"

#include <QDir>

#include <algorithm>

namespace vantorel::platform {

namespace {

// Bytes handed to the system at once.
constexpr qint64 kChunk = 1024 * 1024;

// The room a test leaves on the disk for one file; -1: all the disk has.
qint64 spaceLimit = -1;

}  // namespace

FileWriteError::FileWriteError(const QString& path, const QString& why)
    : std::runtime_error(QStringLiteral("cannot write %1: %2")
                             .arg(QDir::toNativeSeparators(path), why)
                             .toStdString()),
      path_(path),
      why_(why) {}

QString diskFullText() {
    return QStringLiteral("the disk is full");
}

void writeFileAtomically(const QString& path, const QByteArray& bytes) {
    TempFileBeside temp(path);
    qint64 written = 0;
    while (written < bytes.size()) {
        qint64 chunk = std::min(bytes.size() - written, kChunk);
        if (spaceLimit >= 0) {
            if (written >= spaceLimit) {
                throw FileWriteError(path, diskFullText());
            }
            chunk = std::min(chunk, spaceLimit - written);
        }
        written += temp.write(bytes.constData() + written, chunk);
    }
    temp.replaceTarget();
}

DiskSpaceLimit::DiskSpaceLimit(qint64 bytes) : previous_(spaceLimit) {
    spaceLimit = std::max<qint64>(bytes, 0);
}

DiskSpaceLimit::~DiskSpaceLimit() {
    spaceLimit = previous_;
}

}  // namespace vantorel::platform
