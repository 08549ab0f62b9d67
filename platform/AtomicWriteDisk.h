#pragma once

// The system's side of writeFileAtomically (platform/AtomicWrite.h), one
// implementation per system: platform/linux/AtomicWriteDisk.cpp,
// platform/windows/AtomicWriteDisk.cpp.

#include <QString>

namespace vantorel::platform {

// A new temporary file beside the file it is to replace. Every failure throws
// FileWriteError naming that file.
class TempFileBeside {
public:
    // Creates the temporary file, empty, in TARGET's folder. Refuses when TARGET
    // exists and this process may not change it.
    explicit TempFileBeside(const QString& target);
    // Removes the temporary file unless it has replaced the target.
    ~TempFileBeside();
    TempFileBeside(const TempFileBeside&) = delete;
    TempFileBeside& operator=(const TempFileBeside&) = delete;

    // Writes at most SIZE bytes (SIZE > 0) and returns how many were written, at
    // least one.
    qint64 write(const char* data, qint64 size);
    // Flushes what was written to the disk, closes the file and renames it over the
    // target.
    void replaceTarget();

private:
    void close() noexcept;

    QString target_;
    QString temp_;
    qintptr handle_ = -1;
    bool replaced_ = false;
};

}  // namespace vantorel::platform
