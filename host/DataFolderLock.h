#pragma once

// One running mail client owns its data folder: the hives and the mailbox in it are
// written by that process alone. The lock is an advisory lock on a small file in the
// folder that holds the owner's process id; the system releases it when the process
// ends, however it ends.

#include <QString>

#include <stdexcept>

namespace vantorel::host {

// Another process holds the folder; the text names the folder and that process.
class DataFolderInUse : public std::runtime_error {
public:
    explicit DataFolderInUse(const QString& text) : std::runtime_error(text.toStdString()) {}
};

class DataFolderLock {
public:
    static constexpr const char* kFileName = "vantorel.lock";

    // Takes FOLDER (which must exist) at once or throws: DataFolderInUse when
    // another process holds it, std::runtime_error when the lock file cannot be
    // opened or is not ours to write (a link, something other than a regular file, a
    // file with another name besides). Nothing in the folder changes when the lock
    // is not taken.
    explicit DataFolderLock(const QString& folder);
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    const QString& folder() const { return folder_; }

private:
    QString folder_;
    int fd_ = -1;
};

}  // namespace vantorel::host
