#include "platform/RegFileHive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <cstdio>

namespace vantorel::platform {

namespace {

QString decodeUtf16(const QByteArray& bytes, QStringDecoder::Encoding encoding) {
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError() || bytes.size() % 2 != 0) {
        throw RegParseError(1, QStringLiteral("the file is not valid UTF-16 text"));
    }
    return text;
}

}  // namespace

QString decodeRegFile(const QByteArray& bytes) {
    if (bytes.startsWith("\xff\xfe")) {
        return decodeUtf16(bytes.mid(2), QStringDecoder::Utf16LE);
    }
    if (bytes.startsWith("\xfe\xff")) {
        return decodeUtf16(bytes.mid(2), QStringDecoder::Utf16BE);
    }
    // Without a byte-order mark, UTF-16 shows in the header's letters: every other byte
    // is zero, which UTF-8 text never holds.
    if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0) {
        return decodeUtf16(bytes, QStringDecoder::Utf16LE);
    }
    if (bytes.size() >= 2 && bytes[0] == 0 && bytes[1] != 0) {
        return decodeUtf16(bytes, QStringDecoder::Utf16BE);
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes.startsWith("\xef\xbb\xbf") ? bytes.mid(3) : bytes);
    if (decoder.hasError() || text.contains(QChar(0))) {
        throw RegParseError(
            1, QStringLiteral(
                   "the text encoding is not recognised: the file is neither UTF-8 nor UTF-16"));
    }
    return text;
}

RegFileHive::RegFileHive(QString filePath, QString rootName)
    : file_(std::move(filePath)), root_(canonicalRootName(rootName)) {
    if (root_.isEmpty()) {
        throw RegistryError(QStringLiteral("unknown registry root \"%1\"").arg(rootName));
    }
}

void RegFileHive::refresh() {
    const QFileInfo info(file_);
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    if (loaded_ && size == seenSize_ && modified == seenModified_) {
        return;
    }
    load();
}

void RegFileHive::load() {
    loaded_ = true;
    unreadable_ = false;
    tree_ = RegTree();
    QFile f(file_);
    const QFileInfo info(file_);
    seenSize_ = info.exists() ? info.size() : -1;
    seenModified_ = info.exists() ? info.lastModified() : QDateTime();
    if (!info.exists()) {
        return;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        // Unreadable but present: work from the defaults and never write over the file.
        unreadable_ = true;
        std::fprintf(stderr, "%s: cannot be read (%s); settings use their defaults\n",
                     qPrintable(QDir::toNativeSeparators(file_)), qPrintable(f.errorString()));
        return;
    }
    try {
        tree_ = RegTree::parse(decodeRegFile(f.readAll()), root_);
    } catch (const RegParseError& e) {
        f.close();
        moveAside(QStringLiteral("%1: line %2: %3").arg(file_).arg(e.line()).arg(e.message()));
    }
}

void RegFileHive::moveAside(const QString& reason) {
    QString aside = file_ + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(aside); ++n) {
        aside = file_ + QStringLiteral(".damaged.%1").arg(n);
    }
    const bool moved = QFile::rename(file_, aside);
    std::fprintf(stderr, "%s\n%s; the registry starts empty\n", qPrintable(reason),
                 moved ? qPrintable(QStringLiteral("The file was moved aside to %1").arg(aside))
                       : "The file could not be moved aside and is left as it is");
    const QFileInfo info(file_);
    seenSize_ = info.exists() ? info.size() : -1;
    seenModified_ = info.exists() ? info.lastModified() : QDateTime();
}

void RegFileHive::save(const RegTree& tree) {
    if (unreadable_) {
        throw RegistryError(QStringLiteral("%1 cannot be read, so it is not written").arg(file_));
    }
    const QFileInfo info(file_);
    if (info.exists() && (seenSize_ != info.size() || seenModified_ != info.lastModified())) {
        // Changed on disk after our last read (by hand, or by another process):
        // never write over it from a stale copy.
        throw RegistryError(
            QStringLiteral("%1 changed on disk while it was being written").arg(file_));
    }
    if (!QDir().mkpath(info.absolutePath())) {
        throw RegistryError(QStringLiteral("cannot create the folder of %1").arg(file_));
    }
    QSaveFile out(file_);
    if (!out.open(QIODevice::WriteOnly)) {
        throw RegistryError(QStringLiteral("cannot write %1: %2").arg(file_, out.errorString()));
    }
    out.write(tree.toRegText(root_).toUtf8());
    if (!out.commit()) {
        throw RegistryError(QStringLiteral("cannot write %1: %2").arg(file_, out.errorString()));
    }
    const QFileInfo written(file_);
    seenSize_ = written.size();
    seenModified_ = written.lastModified();
}

template <typename Change>
auto RegFileHive::modify(Change change) {
    refresh();
    RegTree copy = tree_;
    auto result = change(copy);
    save(copy);
    tree_ = std::move(copy);
    return result;
}

bool RegFileHive::keyExists(const QString& path) {
    refresh();
    return tree_.keyExists(path);
}

void RegFileHive::createKey(const QString& path) {
    RegTree::checkKeyPath(path);
    refresh();
    if (tree_.keyExists(path)) {
        return;
    }
    modify([&](RegTree& t) {
        t.createKey(path);
        return true;
    });
}

bool RegFileHive::deleteKey(const QString& path) {
    refresh();
    if (!tree_.keyExists(path) || (normalizeKeyPath(path).isEmpty() && tree_.isEmpty())) {
        return false;
    }
    return modify([&](RegTree& t) { return t.deleteKey(path); });
}

QStringList RegFileHive::subKeys(const QString& path) {
    refresh();
    return tree_.subKeys(path);
}

QStringList RegFileHive::valueNames(const QString& path) {
    refresh();
    return tree_.valueNames(path);
}

RegValue RegFileHive::value(const QString& path, const QString& name) {
    refresh();
    const RegValue* v = tree_.find(path, name);
    return v ? *v : RegValue{};
}

bool RegFileHive::hasValue(const QString& path, const QString& name) {
    refresh();
    return tree_.find(path, name) != nullptr;
}

void RegFileHive::setValue(const QString& path, const QString& name, const RegValue& value) {
    RegTree::checkKeyPath(path);
    RegTree::checkValueName(name);
    refresh();
    const RegValue* old = tree_.find(path, name);
    if (old != nullptr && *old == value) {
        return;
    }
    modify([&](RegTree& t) {
        t.setValue(path, name, value);
        return true;
    });
}

bool RegFileHive::deleteValue(const QString& path, const QString& name) {
    refresh();
    if (tree_.find(path, name) == nullptr) {
        return false;
    }
    return modify([&](RegTree& t) { return t.deleteValue(path, name); });
}

QString RegFileHive::exportText(const QString& path, bool withHeader) {
    refresh();
    return tree_.toRegText(root_, path, withHeader);
}

}  // namespace vantorel::platform
