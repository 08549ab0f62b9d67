#include "platform/RegTree.h"

#include <QRegularExpression>

namespace vantorel::platform {

namespace {

const QLatin1String kHeader5("Windows Registry Editor Version 5.00");
const QLatin1String kHeader4("REGEDIT4");

QString lowerName(const QString& name) {
    return name.toLower();
}

bool needsHexText(const QString& text) {
    // UTF-8 cannot carry a lone surrogate either.
    if (!text.isValidUtf16()) {
        return true;
    }
    for (QChar c : text) {
        if (c.unicode() < 0x20) {
            return true;
        }
    }
    return false;
}

// TEXT for a message, its control characters and lone surrogates made visible.
QString shown(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (c == QLatin1Char('\n')) {
            out += QStringLiteral("\\n");
        } else if (c == QLatin1Char('\r')) {
            out += QStringLiteral("\\r");
        } else if (c == QLatin1Char('\t')) {
            out += QStringLiteral("\\t");
        } else if (c.unicode() < 0x20 || c.isSurrogate()) {
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

// Why a line of a .reg file cannot carry TEXT, or empty when it can.
QString uncarriable(const QString& text) {
    for (QChar c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            return QStringLiteral("a line break");
        }
    }
    for (QChar c : text) {
        if (c.unicode() < 0x20) {
            return QStringLiteral("the control character U+%1")
                .arg(QString::number(c.unicode(), 16).toUpper(), 4, QLatin1Char('0'));
        }
    }
    if (!text.isValidUtf16()) {
        return QStringLiteral("a lone UTF-16 surrogate");
    }
    return {};
}

QString quoted(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"')) {
            out += QLatin1Char('\\');
        }
        out += c;
    }
    out += QLatin1Char('"');
    return out;
}

// Reads a quoted text starting at text[pos] == '"'; pos ends after the closing quote.
QString readQuoted(const QString& text, qsizetype& pos) {
    QString out;
    ++pos;
    while (pos < text.size()) {
        const QChar c = text[pos++];
        if (c == QLatin1Char('"')) {
            return out;
        }
        if (c == QLatin1Char('\\')) {
            if (pos >= text.size()) {
                break;
            }
            out += text[pos++];
        } else {
            out += c;
        }
    }
    throw RegistryError(QStringLiteral("unterminated quoted text"));
}

QByteArray parseHexBytes(const QString& list) {
    // One pass over the list; a part of other than one or two hexadecimal digits
    // takes the slow road, which says what is wrong with it.
    QByteArray bytes;
    bytes.reserve(list.size() / 3 + 1);
    const auto digit = [](char16_t c) {
        return c >= u'0' && c <= u'9'   ? c - u'0'
               : c >= u'a' && c <= u'f' ? c - u'a' + 10
               : c >= u'A' && c <= u'F' ? c - u'A' + 10
                                        : -1;
    };
    const auto slowByte = [](const QString& part) {
        bool ok = false;
        const uint b = part.toUInt(&ok, 16);
        if (!ok || part.size() > 2 || b > 0xff) {
            throw RegistryError(QStringLiteral("\"%1\" is not a hexadecimal byte").arg(part));
        }
        return static_cast<char>(b);
    };
    QString part;  // the current part without blanks and tabs
    part.reserve(8);
    qsizetype parts = 0;
    const auto endPart = [&](bool last) {
        ++parts;
        // A trailing comma ends the list.
        if (last && part.isEmpty() && parts > 1) {
            return;
        }
        const int hi = part.size() == 2 ? digit(part[0].unicode()) : 0;
        const int lo = part.isEmpty() ? -1 : digit(part.back().unicode());
        if (part.size() <= 2 && hi >= 0 && lo >= 0) {
            bytes.append(static_cast<char>(hi * 16 + lo));
        } else {
            bytes.append(slowByte(part));
        }
        part.resize(0);  // keeps its room for the next part
    };
    bool any = false;
    for (const QChar c : list) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            continue;
        }
        any = true;
        if (c == QLatin1Char(',')) {
            endPart(false);
        } else {
            part += c;
        }
    }
    if (any) {
        endPart(true);
    }
    return bytes;
}

}  // namespace

QString canonicalRootName(const QString& root) {
    const QString r = root.toUpper();
    if (r == QLatin1String("HKEY_CURRENT_USER") || r == QLatin1String("HKCU")) {
        return QStringLiteral("HKEY_CURRENT_USER");
    }
    if (r == QLatin1String("HKEY_LOCAL_MACHINE") || r == QLatin1String("HKLM")) {
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    }
    return {};
}

RegValue parseRegData(const QString& data) {
    const QString d = data.trimmed();
    RegValue v;
    if (d.startsWith(QLatin1Char('"'))) {
        qsizetype pos = 0;
        const QString text = readQuoted(d, pos);
        if (!d.mid(pos).trimmed().isEmpty()) {
            throw RegistryError(QStringLiteral("unexpected text after the quoted value"));
        }
        return RegValue::fromString(text);
    }
    if (d.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QString digits = d.mid(6).trimmed();
        bool ok = false;
        const quint32 n = digits.toUInt(&ok, 16);
        if (!ok || digits.isEmpty() || digits.size() > 8) {
            throw RegistryError(
                QStringLiteral("\"%1\" is not a dword (up to 8 hexadecimal digits)").arg(digits));
        }
        return RegValue::fromDWord(n);
    }
    static const QRegularExpression hexRe(QStringLiteral("^hex(?:\\(([0-9a-fA-F]{1,8})\\))?:(.*)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = hexRe.match(d);
    if (m.hasMatch()) {
        v.type = m.captured(1).isEmpty() ? RegType::Binary
                                         : static_cast<RegType>(m.captured(1).toUInt(nullptr, 16));
        v.data = parseHexBytes(m.captured(2));
        return v;
    }
    throw RegistryError(QStringLiteral("\"%1\" is not a value: expected \"text\", dword:, or hex:")
                            .arg(d.left(40)));
}

QString formatRegValue(const QString& name, const RegValue& value) {
    const QString lead = (name.isEmpty() ? QStringLiteral("@") : quoted(name)) + QLatin1Char('=');
    if (value.type == RegType::Sz) {
        const QString text = value.toText();
        // A text holding a line break or another control character cannot stand between
        // quotes; Windows writes such a value as hex(1).
        if (!needsHexText(text) && value == RegValue::fromString(text)) {
            return lead + quoted(text);
        }
    }
    if (value.type == RegType::DWord && value.data.size() == 4) {
        return lead + QStringLiteral("dword:%1").arg(value.toDWord(), 8, 16, QLatin1Char('0'));
    }
    QString out =
        lead + (value.type == RegType::Binary
                    ? QStringLiteral("hex:")
                    : QStringLiteral("hex(%1):").arg(static_cast<quint32>(value.type), 0, 16));
    // "xx," for each byte, lines continued with a backslash before they pass 78
    // characters.
    static const char kDigits[] = "0123456789abcdef";
    const qsizetype n = value.data.size();
    out.reserve(out.size() + n * 3 + (n / 24 + 1) * 4);
    qsizetype lineLength = out.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto byte = static_cast<uchar>(value.data[i]);
        const bool last = i + 1 == n;
        if (lineLength + 3 > 78 && !last) {
            out += QLatin1String("\\\n  ");
            lineLength = 2;
        }
        out += QLatin1Char(kDigits[byte >> 4]);
        out += QLatin1Char(kDigits[byte & 0xf]);
        lineLength += 2;
        if (!last) {
            out += QLatin1Char(',');
            ++lineLength;
        }
    }
    return out;
}

QString RegTree::sortKey(const QString& path) {
    // The separator sorts below every character, so a key's subkeys follow it directly.
    return normalizeKeyPath(path).toLower().replace(QLatin1Char('\\'), QChar(1));
}

const RegTree::Key* RegTree::findKey(const QString& path) const {
    const auto it = keys_.find(sortKey(path));
    return it == keys_.end() ? nullptr : &it->second;
}

bool RegTree::keyExists(const QString& path) const {
    return normalizeKeyPath(path).isEmpty() || findKey(path) != nullptr;
}

void RegTree::createKey(const QString& path) {
    const QStringList parts = normalizeKeyPath(path).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QString current;
    for (const QString& part : parts) {
        current = current.isEmpty() ? part : current + QLatin1Char('\\') + part;
        const QString key = sortKey(current);
        if (keys_.find(key) == keys_.end()) {
            keys_.emplace(key, Key{current, {}});
        }
    }
}

bool RegTree::deleteKey(const QString& path) {
    const QString key = sortKey(path);
    if (key.isEmpty()) {
        const bool had = !keys_.empty();
        keys_.clear();
        return had;
    }
    auto it = keys_.find(key);
    if (it == keys_.end()) {
        return false;
    }
    const QString prefix = key + QChar(1);
    it = keys_.erase(it);
    while (it != keys_.end() && it->first.startsWith(prefix)) {
        it = keys_.erase(it);
    }
    return true;
}

QStringList RegTree::subKeys(const QString& path) const {
    const QString key = sortKey(path);
    const QString prefix = key.isEmpty() ? QString() : key + QChar(1);
    QStringList names;
    for (auto it = keys_.lower_bound(prefix); it != keys_.end(); ++it) {
        if (!it->first.startsWith(prefix)) {
            break;
        }
        if (it->first.size() > prefix.size() && !it->first.mid(prefix.size()).contains(QChar(1))) {
            names << it->second.path.section(QLatin1Char('\\'), -1);
        }
    }
    return names;
}

QStringList RegTree::valueNames(const QString& path) const {
    QStringList names;
    if (const Key* k = findKey(path)) {
        for (const auto& [lower, v] : k->values) {
            names << v.name;
        }
    }
    return names;
}

const RegValue* RegTree::find(const QString& path, const QString& name) const {
    const Key* k = findKey(path);
    if (k == nullptr) {
        return nullptr;
    }
    const auto it = k->values.find(lowerName(name));
    return it == k->values.end() ? nullptr : &it->second.value;
}

void RegTree::setValue(const QString& path, const QString& name, const RegValue& value) {
    createKey(path);
    // createKey made every key but the root, whose entry comes with its first value.
    Key& k = keys_.try_emplace(sortKey(path), Key{normalizeKeyPath(path), {}}).first->second;
    auto [it, inserted] = k.values.try_emplace(lowerName(name), Value{name, value, {}});
    if (!inserted) {
        it->second.value = value;
        it->second.line.clear();
    }
}

bool RegTree::deleteValue(const QString& path, const QString& name) {
    const auto it = keys_.find(sortKey(path));
    if (it == keys_.end() || it->second.values.erase(lowerName(name)) == 0) {
        return false;
    }
    if (it->first.isEmpty() && it->second.values.empty()) {
        keys_.erase(it);
    }
    return true;
}

void RegTree::checkKeyPath(const QString& path) {
    const QString normal = normalizeKeyPath(path);
    const QString why = uncarriable(normal);
    if (!why.isEmpty()) {
        throw RegistryError(
            QStringLiteral("the key \"%1\" holds %2, which a .reg file cannot carry")
                .arg(shown(normal), why));
    }
    for (const QString& keyName : normal.split(QLatin1Char('\\'))) {
        if (keyName.endsWith(QLatin1Char(']'))) {
            throw RegistryError(
                QStringLiteral("the key name \"%1\" in \"%2\" ends in \"]\", which a .reg key line "
                               "cannot carry")
                    .arg(keyName, normal));
        }
    }
}

void RegTree::checkValueName(const QString& name) {
    const QString why = uncarriable(name);
    if (!why.isEmpty()) {
        throw RegistryError(
            QStringLiteral("the value name \"%1\" holds %2, which a .reg file cannot carry")
                .arg(shown(name), why));
    }
}

QString RegTree::toRegText(const QString& root, const QString& subtree, bool withHeader) const {
    QString out;
    if (withHeader) {
        out += kHeader5 + QStringLiteral("\n\n");
    }
    const QString base = sortKey(subtree);
    for (const auto& [key, k] : keys_) {
        if (!base.isEmpty() && key != base && !key.startsWith(base + QChar(1))) {
            continue;
        }
        out += QLatin1Char('[') + root;
        if (!k.path.isEmpty()) {
            out += QLatin1Char('\\') + k.path;
        }
        out += QStringLiteral("]\n");
        for (const auto& [lower, v] : k.values) {
            if (v.line.isNull()) {
                v.line = formatRegValue(v.name, v.value);
            }
            out += v.line;
            out += QLatin1Char('\n');
        }
        out += QLatin1Char('\n');
    }
    return out;
}

RegTree RegTree::parse(const QString& text, const QString& root) {
    const QString rootName = canonicalRootName(root);
    RegTree tree;
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool headerSeen = false;
    bool haveKey = false;
    QString keyPath;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNo = static_cast<int>(i + 1);
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        if (i == 0 && line.startsWith(QChar(0xFEFF))) {
            line.remove(0, 1);
        }
        // A value's data may continue on the next lines after a trailing backslash;
        // a comment never continues.
        const bool comment = line.trimmed().startsWith(QLatin1Char(';'));
        while (!comment && line.endsWith(QLatin1Char('\\')) &&
               line.contains(QLatin1String("=hex"), Qt::CaseInsensitive) && i + 1 < lines.size()) {
            line.chop(1);
            QString next = lines[++i];
            if (next.endsWith(QLatin1Char('\r'))) {
                next.chop(1);
            }
            line += next.trimmed();
        }
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';'))) {
            continue;
        }
        if (!headerSeen) {
            if (trimmed != kHeader5 && trimmed != kHeader4) {
                throw RegParseError(lineNo,
                                    QStringLiteral("expected the header \"%1\"").arg(kHeader5));
            }
            headerSeen = true;
            continue;
        }
        if (trimmed.startsWith(QLatin1Char('['))) {
            if (!trimmed.endsWith(QLatin1Char(']'))) {
                throw RegParseError(lineNo, QStringLiteral("a key line must end with \"]\""));
            }
            QString name = trimmed.mid(1, trimmed.size() - 2);
            const bool remove = name.startsWith(QLatin1Char('-'));
            if (remove) {
                name.remove(0, 1);
            }
            const QString keyRoot = canonicalRootName(name.section(QLatin1Char('\\'), 0, 0));
            if (keyRoot.isEmpty() || keyRoot != rootName) {
                throw RegParseError(
                    lineNo, QStringLiteral("the key \"%1\" is not below %2").arg(name, rootName));
            }
            keyPath = normalizeKeyPath(name.section(QLatin1Char('\\'), 1));
            if (remove) {
                tree.deleteKey(keyPath);
                haveKey = false;
            } else {
                tree.createKey(keyPath);
                haveKey = true;
            }
            continue;
        }
        if (!haveKey) {
            throw RegParseError(lineNo, QStringLiteral("a value must follow a [key] line"));
        }
        try {
            QString name;
            qsizetype pos = 0;
            if (trimmed.startsWith(QLatin1Char('@'))) {
                pos = 1;
            } else if (trimmed.startsWith(QLatin1Char('"'))) {
                name = readQuoted(trimmed, pos);
            } else {
                throw RegistryError(QStringLiteral("expected \"name\"=value, @=value or [key]"));
            }
            const QString rest = trimmed.mid(pos).trimmed();
            if (!rest.startsWith(QLatin1Char('='))) {
                throw RegistryError(QStringLiteral("expected \"=\" after the value's name"));
            }
            const QString data = rest.mid(1).trimmed();
            if (data == QLatin1String("-")) {
                tree.deleteValue(keyPath, name);
            } else {
                tree.setValue(keyPath, name, parseRegData(data));
            }
        } catch (const RegParseError&) {
            throw;
        } catch (const RegistryError& e) {
            throw RegParseError(lineNo, QString::fromUtf8(e.what()));
        }
    }
    if (!headerSeen && !text.trimmed().isEmpty()) {
        throw RegParseError(1, QStringLiteral("expected the header \"%1\"").arg(kHeader5));
    }
    return tree;
}

}  // namespace vantorel::platform

namespace vantorel::platform {

namespace {
void copyKey(RegistryHive& hive, const QString& path, RegTree& into) {
    into.createKey(path);
    for (const QString& name : hive.valueNames(path)) {
        into.setValue(path, name, hive.value(path, name));
    }
    for (const QString& sub : hive.subKeys(path)) {
        copyKey(hive, path.isEmpty() ? sub : path + QLatin1Char('\\') + sub, into);
    }
}
}  // namespace

RegTree snapshot(RegistryHive& hive, const QString& path) {
    RegTree tree;
    const QString key = normalizeKeyPath(path);
    if (hive.keyExists(key)) {
        copyKey(hive, key, tree);
    }
    return tree;
}

}  // namespace vantorel::platform
