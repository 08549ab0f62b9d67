#include "platform/RegFileHive.h"

#include "platform/AtomicWrite.h"
#include "platform/RegFileDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace vantorel::platform {

QString regFileTooLargeText(qint64 size) {
    return QStringLiteral("holds %1 bytes, more than the %2 MB a hive file may hold")
        .arg(size)
        .arg(RegFileHive::kMaxFileSize / (1024 * 1024));
}

namespace {

// A change to a file within this long after its last change may carry the same
// times; after it, every change shows in the stamp. Longer than the timestamp step
// of any local file system (FAT's two seconds included).
constexpr qint64 kSettleNs = 3'000'000'000;

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

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

bool RegFileHive::sameAsSeen(const DiskState& now, std::optional<FileRead>& read) {
    if (now.kind != seen_.kind || now.target != seen_.target) {
        return false;
    }
    switch (now.kind) {
        case DiskState::Kind::Missing:
            return true;
        case DiskState::Kind::Refused:
            return now.stamp == seen_.stamp && now.why == seen_.why;
        case DiskState::Kind::Regular:
            break;
    }
    if (!refused_.isEmpty()) {
        return now.stamp == seen_.stamp;  // left alone until it changes
    }
    if (now.stamp == seen_.stamp && settled_) {
        return true;
    }
    // The stamp cannot tell: it changed, or another program may have written the same
    // size within the same timestamp step. The bytes can.
    read = readFile(now.target);
    if (!read->why.isEmpty() || read->bytes != seenBytes_) {
        return false;
    }
    seen_.stamp = read->stamp;
    settled_ =
        read->startedNs - std::max(read->stamp.modifiedNs, read->stamp.changedNs) >= kSettleNs;
    return true;
}

void RegFileHive::refresh() {
    const DiskState now = inspect();
    std::optional<FileRead> read;
    if (loaded_ && sameAsSeen(now, read)) {
        return;
    }
    load(now, std::move(read));
}

void RegFileHive::load(const DiskState& now, std::optional<FileRead> read) {
    // Nothing of an earlier reading stays, and the hive counts as loaded only once this
    // one has come to an end: read whole, left alone, or moved aside.
    loaded_ = false;
    tree_ = RegTree();
    refused_.clear();
    seen_ = now;
    seenBytes_.clear();
    settled_ = false;
    if (now.kind == DiskState::Kind::Missing) {
        loaded_ = true;
        return;
    }
    if (now.kind == DiskState::Kind::Refused) {
        refuse(now.why);
        return;
    }
    if (!read) {
        read = readFile(now.target);
    }
    if (!read->why.isEmpty()) {
        refuse(read->why);
        return;
    }
    seen_.stamp = read->stamp;
    try {
        tree_ = RegTree::parse(decodeRegFile(read->bytes), root_);
    } catch (const RegParseError& e) {
        moveAside(QStringLiteral("line %1: %2").arg(e.line()).arg(e.message()));
        return;
    } catch (const std::exception& e) {
        moveAside(QString::fromLocal8Bit(e.what()));
        return;
    } catch (...) {
        moveAside(QStringLiteral("the file could not be read to its end"));
        return;
    }
    seenBytes_ = std::move(read->bytes);
    settled_ =
        read->startedNs - std::max(read->stamp.modifiedNs, read->stamp.changedNs) >= kSettleNs;
    loaded_ = true;
}

void RegFileHive::refuse(const QString& why) {
    tree_ = RegTree();
    refused_ = why;
    loaded_ = true;
    std::fprintf(stderr, "%s %s; settings use their defaults and the file is left as it is\n",
                 qPrintable(native(file_)), qPrintable(why));
}

void RegFileHive::moveAside(const QString& reason) {
    tree_ = RegTree();
    QString aside = file_ + QStringLiteral(".damaged");
    for (int n = 2; regFilePathTaken(aside); ++n) {
        aside = file_ + QStringLiteral(".damaged.%1").arg(n);
    }
    // A link is moved aside as it is, so the file it points to stays untouched.
    const bool moved =
        ::rename(QFile::encodeName(file_).constData(), QFile::encodeName(aside).constData()) == 0;
    std::fprintf(
        stderr, "%s: %s\n%s; the registry starts empty\n", qPrintable(native(file_)),
        qPrintable(reason),
        moved ? qPrintable(QStringLiteral("The file was moved aside to %1").arg(native(aside)))
              : "The file could not be moved aside and is left as it is");
    if (moved) {
        seen_ = inspect();
        seenBytes_.clear();
        settled_ = false;
    } else {
        // Still there, so never written over.
        refused_ = QStringLiteral("cannot be read and could not be moved aside");
    }
    loaded_ = true;
}

void RegFileHive::save(const RegTree& tree) {
    // Every refusal names the file and why, for a message that says what was not saved.
    const auto notWritten = [this](const QString& message, const QString& why) {
        return RegistryError(message, native(file_), why);
    };
    if (!refused_.isEmpty()) {
        throw notWritten(QStringLiteral("%1 %2, so it is not written").arg(native(file_), refused_),
                         QStringLiteral("it %1").arg(refused_));
    }
    const DiskState now = inspect();
    if (now.kind == DiskState::Kind::Refused) {
        throw notWritten(QStringLiteral("%1 %2, so it is not written").arg(native(file_), now.why),
                         QStringLiteral("it %1").arg(now.why));
    }
    std::optional<FileRead> read;
    if (!sameAsSeen(now, read)) {
        // Changed on disk after our last read (by hand, or by another process):
        // never write over it from a stale copy.
        throw notWritten(
            QStringLiteral("%1 changed on disk while it was being written").arg(native(file_)),
            QStringLiteral("it changed on disk while it was being written"));
    }
    // Through a link to a regular file, that file is replaced and the link kept.
    const QString target = now.kind == DiskState::Kind::Regular ? now.target : file_;
    if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
        throw notWritten(QStringLiteral("cannot create the folder of %1").arg(native(target)),
                         QStringLiteral("its folder cannot be created"));
    }
    const QByteArray bytes = tree.toRegText(root_).toUtf8();
    if (bytes.size() > kMaxFileSize) {
        // A file this hive would refuse to read back: every setting would be gone at the
        // next start. The old file stays as it is.
        const QString why = QStringLiteral(
                                "the settings would take %1 bytes, more than the %2 MB a "
                                "hive file may hold")
                                .arg(bytes.size())
                                .arg(kMaxFileSize / (1024 * 1024));
        throw notWritten(QStringLiteral("%1 is not written: %2").arg(native(file_), why), why);
    }
    try {
        writeFileAtomically(target, bytes);
    } catch (const FileWriteError& e) {
        throw notWritten(QStringLiteral("cannot write %1: %2").arg(native(file_), e.why()),
                         e.why());
    }
    seen_ = inspect();
    seenBytes_ = bytes;
    settled_ = false;
    if (seen_.kind != DiskState::Kind::Regular) {
        loaded_ = false;  // replaced at once by something else: look again next time
    }
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
