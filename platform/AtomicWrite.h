#pragma once

// Writing a file whole or not at all. The bytes go to a temporary file in the file's
// folder, each of them checked as it is written, are flushed to the disk, and only
// then does the temporary file take the file's name. When any step fails (a full
// disk, a short write, a read-only file or folder) the temporary file is removed, the
// file keeps its old bytes, and FileWriteError says why. A kill at any moment leaves
// the old file or the new one, never a mix.

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace vantorel::platform {

class FileWriteError : public std::runtime_error {
public:
    // PATH could not be written, for WHY ("the disk is full").
    FileWriteError(const QString& path, const QString& why);
    QString path() const { return path_; }
    QString why() const { return why_; }

private:
    QString path_;
    QString why_;
};

// Why a write failed when the file system has no room left.
QString diskFullText();

// Replaces the file at PATH by BYTES, or creates it. A link at PATH is replaced by the
// file: resolve it first to write through it. An existing file keeps its permissions,
// and one this process may not change is not replaced. Throws FileWriteError.
void writeFileAtomically(const QString& path, const QByteArray& bytes);

// For tests: while one lives, every file writeFileAtomically writes finds the disk
// full after BYTES bytes. What fits is written, as on a real disk; the next write
// fails.
class DiskSpaceLimit {
public:
    explicit DiskSpaceLimit(qint64 bytes);
    ~DiskSpaceLimit();
    DiskSpaceLimit(const DiskSpaceLimit&) = delete;
    DiskSpaceLimit& operator=(const DiskSpaceLimit&) = delete;

private:
    qint64 previous_;
};

}  // namespace vantorel::platform
