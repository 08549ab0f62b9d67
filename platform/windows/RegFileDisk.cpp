// The hive file's disk access on Windows, through Qt's view of the file: what is at
// the file's path, and reading it whole. The stamp has no device or file number
// (zero), and the change time is the metadata change time NTFS keeps. On Windows the
// add-in's own settings will live in the registry; hive files stay what the scenario
// runner and the tests use.

#include "platform/RegFileDisk.h"
#include "platform/RegFileHive.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vantorel::platform {

namespace {

qint64 nanoseconds(const QDateTime& t) {
    return t.isValid() ? t.toMSecsSinceEpoch() * 1'000'000 : 0;
}

FileStamp stampOf(const QFileInfo& info) {
    return FileStamp{0, 0, info.size(), nanoseconds(info.lastModified()),
                     nanoseconds(info.metadataChangeTime())};
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString kindText(const QFileInfo& info) {
    return info.isDir() ? QStringLiteral("a folder") : QStringLiteral("a special file");
}

}  // namespace

bool regFilePathTaken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

RegFileHive::DiskState RegFileHive::inspect() const {
    DiskState s;
    QFileInfo info(file_);
    if (!info.exists() && !info.isSymLink()) {
        return s;
    }
    s.kind = DiskState::Kind::Refused;
    s.stamp = stampOf(info);
    s.target = file_;
    if (info.isSymLink()) {
        const QString to = native(info.symLinkTarget());
        if (!info.exists()) {
            s.why = QStringLiteral("is a link to %1, which cannot be reached (%2)")
                        .arg(to, QStringLiteral("No such file or directory"));
            return s;
        }
        if (!info.isFile()) {
            s.why =
                QStringLiteral("is a link to %1, %2, not a regular file").arg(to, kindText(info));
            return s;
        }
        s.target = info.canonicalFilePath();
    } else if (!info.isFile()) {
        s.why = QStringLiteral("is %1, not a regular file").arg(kindText(info));
        return s;
    }
    if (info.size() > kMaxFileSize) {
        s.why = regFileTooLargeText(info.size());
        return s;
    }
    s.kind = DiskState::Kind::Regular;
    return s;
}

RegFileHive::FileRead RegFileHive::readFile(const QString& path) {
    FileRead r;
    r.startedNs = QDateTime::currentMSecsSinceEpoch() * 1'000'000;
    QFile file(path);
    const QFileInfo info(path);
    if (!info.isFile()) {
        r.why = QStringLiteral("is %1, not a regular file").arg(kindText(info));
    } else if (!file.open(QIODevice::ReadOnly)) {
        r.why = QStringLiteral("cannot be read (%1)").arg(file.errorString());
    } else if (file.size() > kMaxFileSize) {
        r.why = regFileTooLargeText(file.size());
    } else {
        r.stamp = stampOf(info);
        // In blocks, into a buffer of the file's size. One read into a buffer of the
        // largest size allowed costs that much memory on every read of the hive (and
        // under Wine a touch of each of its pages: seconds for a settings lookup).
        r.bytes.reserve(static_cast<qsizetype>(file.size()));
        char buffer[65536];
        for (;;) {
            const qint64 n = file.read(buffer, sizeof buffer);
            if (n < 0) {
                r.why = QStringLiteral("cannot be read (%1)").arg(file.errorString());
                break;
            }
            if (n == 0) {
                break;
            }
            if (r.bytes.size() + n > kMaxFileSize) {  // grew while being read
                r.why = regFileTooLargeText(r.bytes.size() + n);
                break;
            }
            r.bytes.append(buffer, static_cast<qsizetype>(n));
        }
    }
    if (!r.why.isEmpty()) {
        r.bytes.clear();
    }
    return r;
}

}  // namespace vantorel::platform
