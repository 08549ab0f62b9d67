#pragma once

// What the mailbox file's checks ask of the file system, one implementation per
// system (host/engine/linux/, host/engine/windows/).

#include <QString>

namespace vantorel::engine {

// What is at a path, the path itself or, for a link, what it leads to.
struct FileEntry {
    int error = 0;         // errno when the entry cannot be examined (ENOENT: nothing)
    bool regular = false;  // a regular file
    bool link = false;     // a symbolic link (only when links are not followed)
    QString kind;          // otherwise, in words: "a folder", "a device", ...
};

// The entry at PATH; FOLLOW looks through a link at what it leads to.
FileEntry fileEntry(const QString& path, bool follow);

// Empty when this process may write to PATH, else why not.
QString whyNotWritable(const QString& path);

}  // namespace vantorel::engine
