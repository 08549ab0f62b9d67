#pragma once

// A hive kept in a text file in .reg syntax, so a person can read and edit it.
// The file is re-read when it changed on disk since this process last saw it, and
// every change is written back at once, atomically. A file that cannot be read is
// moved aside (never overwritten) and the hive starts empty.

#include "platform/RegTree.h"

#include <QDateTime>

namespace vantorel::platform {

class RegFileHive : public RegistryHive {
public:
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
    void refresh();
    void load();
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
    bool unreadable_ = false;
    QDateTime seenModified_;
    qint64 seenSize_ = -1;
};

// Decodes a .reg file's bytes: UTF-16 (LE or BE, with or without a byte-order mark;
// Windows' registry editor exports UTF-16LE with one), else UTF-8 with or without
// one. Throws RegParseError for any other encoding.
QString decodeRegFile(const QByteArray& bytes);

}  // namespace vantorel::platform
