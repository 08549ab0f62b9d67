#pragma once

// An in-memory hive and its text form, the .reg syntax of Windows' registry editor
// ("Windows Registry Editor Version 5.00").

#include "platform/Registry.h"

#include <map>

namespace vantorel::platform {

// A .reg text that cannot be read; line counts from 1.
class RegParseError : public RegistryError {
public:
    RegParseError(int line, const QString& message)
        : RegistryError(QStringLiteral("line %1: %2").arg(line).arg(message)),
          line_(line),
          message_(message) {}
    int line() const { return line_; }
    QString message() const { return message_; }

private:
    int line_;
    QString message_;
};

class RegTree {
public:
    bool keyExists(const QString& path) const;
    void createKey(const QString& path);
    bool deleteKey(const QString& path);
    QStringList subKeys(const QString& path) const;
    QStringList valueNames(const QString& path) const;
    const RegValue* find(const QString& path, const QString& name) const;
    void setValue(const QString& path, const QString& name, const RegValue& value);
    bool deleteValue(const QString& path, const QString& name);
    bool isEmpty() const { return keys_.empty(); }

    // Throw RegistryError, naming the fault, for a key path or value name that a .reg
    // file cannot carry (a line break, another control character, a broken UTF-16
    // surrogate, a key name ending in "]"); whatever they accept survives
    // toRegText and parse unchanged.
    static void checkKeyPath(const QString& path);
    static void checkValueName(const QString& name);

    // The whole tree, or the subtree at SUBTREE, as .reg text below ROOT, keys and
    // values sorted without regard to letter case. The header line is included
    // when withHeader is set.
    QString toRegText(const QString& root, const QString& subtree = {},
                      bool withHeader = true) const;

    // Reads a .reg text (header required, CR LF or LF line ends). Keys must lie
    // below ROOT (its long name or abbreviation). Throws RegParseError.
    static RegTree parse(const QString& text, const QString& root);

private:
    struct Value {
        QString name;
        RegValue value;
        // Its line in the .reg text, once written: a long value (a template) is not
        // formatted again each time another value changes.
        mutable QString line;
    };
    struct Key {
        QString path;                     // as first written; empty for the root key
        std::map<QString, Value> values;  // by lower-case name
    };
    static QString sortKey(const QString& path);
    const Key* findKey(const QString& path) const;

    // By sortKey(path); parents sort before children. The root key ("") has an entry
    // only while it holds values.
    std::map<QString, Key> keys_;
};

// One value line's data part, after the "=": "text", dword:0000000a, hex:..,
// hex(N):.. (continuation lines already joined). Throws RegistryError.
RegValue parseRegData(const QString& data);
// The line(s) for one value: "name"=data, hex data wrapped as the registry editor does.
QString formatRegValue(const QString& name, const RegValue& value);
// Long root name for a long name or abbreviation ("HKCU"), or empty when unknown.
QString canonicalRootName(const QString& root);

}  // namespace vantorel::platform

namespace vantorel::platform {

// A copy of the hive's subtree at PATH (the whole hive for an empty path).
RegTree snapshot(RegistryHive& hive, const QString& path = {});

}  // namespace vantorel::platform
