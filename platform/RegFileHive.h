#pragma once

// A hive kept in a text file in .reg syntax, so a person can read and edit it.
// The file is re-read when it changed on disk since this process last saw it, and
// every change is written back at once, atomically (platform/AtomicWrite.h): a change
// that cannot be written whole, on a full disk say, leaves the file as it was, the
// hive as it was, and throws a RegistryError whose where() and why() tell the file and
// the reason. A file that cannot be parsed is moved aside (never overwritten) and the
// hive starts empty. A file that is there but cannot be read, is larger than
// kMaxFileSize, or is no regular file (a folder, a FIFO, a device, a link to one of
// those or to nothing) is left alone: the hive reads as empty and every write throws.
//
// A symbolic link to a regular file is followed both ways: the hive reads the file it
// points to, and a write replaces that file (through a temporary file in its folder,
// renamed over it) and keeps the link, as a person who links their settings into
// another folder expects.

#include "platform/RegTree.h"

#include <optional>

namespace vantorel::platform {

// What stat tells of a file. Equal stamps may still hide a change made within the
// file system's timestamp granularity.
struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

class RegFileHive : public RegistryHive {
public:
    // A hive file larger than this is not read.
    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

    RegFileHive(QString filePath, QString rootName);

    QString rootName() const override { return root_; }
    QString filePath() const { return file_; }

    bool keyExists(const QString& path) override;
    void createKey(const QString& path) override;
    bool deleteKey(const QString& path) override;
    QStringList subKeys(const QString& path) override;
    QStringList valueNames(const QString& path) override;
    RegValue value(const QString& path, const QString& name) override;
    bool hasValue(const QString& path, const QString& name) override;
    void setValue(const QString& path, const QString& name, const RegValue& value) override;
    bool deleteValue(const QString& path, const QString& name) override;

    // The hive (or the subtree at PATH) as .reg text.
    QString exportText(const QString& path = {}, bool withHeader = true);

private:
    // What stands at the file's path.
    struct DiskState {
        enum class Kind { Missing, Regular, Refused };
        Kind kind = Kind::Missing;
        QString target;   // Regular: the file read and written, a link resolved
        QString why;      // Refused: why it is left alone
        FileStamp stamp;  // Regular and Refused
    };
    // One reading of a regular file; WHY is set when it failed.
    struct FileRead {
        QByteArray bytes;
        QString why;
        FileStamp stamp;     // as the read began
        qint64 startedNs{};  // the system clock as the read began
    };
    DiskState inspect() const;
    static FileRead readFile(const QString& path);
    // Whether NOW still holds the bytes this hive last read or wrote. Reads the file
    // when its stamp cannot tell, leaving that reading in READ.
    bool sameAsSeen(const DiskState& now, std::optional<FileRead>& read);
    void refresh();
    void load(const DiskState& now, std::optional<FileRead> read);
    // Leaves the file alone for WHY ("is a FIFO, not a regular file"): the hive reads
    // as empty and refuses writes until the file changes.
    void refuse(const QString& why);
    // Applies CHANGE to a copy of the tree and writes it; the tree in memory changes
    // only when the file was written.
    template <typename Change>
    auto modify(Change change);
    void save(const RegTree& tree);
    void moveAside(const QString& reason);

    QString file_;
    QString root_;
    RegTree tree_;
    bool loaded_ = false;
    QString refused_;  // why the file is left alone, or empty
    DiskState seen_;
    QByteArray seenBytes_;  // the file's bytes as this hive last read or wrote them
    bool settled_ = false;  // any later change to the file must show in its stamp
};

// Decodes a .reg file's bytes: UTF-16 (LE or BE, with or without a byte-order mark;
// Windows' registry editor exports UTF-16LE with one), else UTF-8 with or without
// one. Throws RegParseError for any other encoding.
QString decodeRegFile(const QByteArray& bytes);

}  // namespace vantorel::platform
