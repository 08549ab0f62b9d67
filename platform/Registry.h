#pragma once

// The registry as the add-in sees it: hives of keys holding typed values.
// A hive stores values in the binary layout Windows uses (UTF-16LE strings with
// their terminator, little-endian numbers), so every value type of a Windows
// export survives a round trip, and text and numbers convert in one place.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <string>
#include <utility>

namespace vantorel::platform {

// The value types of the Windows registry, with their Windows numbers.
enum class RegType : quint32 {
    None = 0,
    Sz = 1,
    ExpandSz = 2,
    Binary = 3,
    DWord = 4,
    DWordBigEndian = 5,
    Link = 6,
    MultiSz = 7,
    QWord = 11,
};

class RegistryError : public std::runtime_error {
public:
    explicit RegistryError(const QString& message) : std::runtime_error(message.toStdString()) {}
    // A change that did not reach the hive's storage: WHERE (its file, or a key) was
    // not written, for WHY ("the disk is full").
    RegistryError(const QString& message, QString where, QString why)
        : std::runtime_error(message.toStdString()),
          where_(std::move(where)),
          why_(std::move(why)) {}
    // Empty for an error of another kind.
    QString where() const { return where_; }
    QString why() const { return why_; }

private:
    QString where_;
    QString why_;
};

struct RegValue {
    RegType type = RegType::None;
    QByteArray data;  // the bytes as Windows stores them

    static RegValue fromDWord(quint32 value);
    static RegValue fromString(const QString& text, RegType type = RegType::Sz);

    // Text of a REG_SZ or REG_EXPAND_SZ (without its terminator).
    QString toText() const;
    // Number of a REG_DWORD.
    quint32 toDWord() const;

    friend bool operator==(const RegValue&, const RegValue&) = default;
};

// One hive: a tree of keys below a root such as HKEY_CURRENT_USER. Key paths are
// relative to the root, separated by "\", compared without regard to letter case.
class RegistryHive {
public:
    virtual ~RegistryHive() = default;

    // The root's name as written in .reg files, e.g. "HKEY_CURRENT_USER".
    virtual QString rootName() const = 0;

    virtual bool keyExists(const QString& path) = 0;
    // Creates the key and the keys above it; an existing key is left as it is.
    virtual void createKey(const QString& path) = 0;
    // Deletes the key with its subkeys and values; false when it did not exist.
    virtual bool deleteKey(const QString& path) = 0;
    // Direct subkeys' names, sorted without regard to letter case.
    virtual QStringList subKeys(const QString& path) = 0;

    // Names of the key's values in their stored order; empty for a missing key.
    virtual QStringList valueNames(const QString& path) = 0;
    // The value, or a value of type None with no data when the key or value is absent.
    virtual RegValue value(const QString& path, const QString& name) = 0;
    virtual bool hasValue(const QString& path, const QString& name) = 0;
    // Writes a value, creating its key; replaces any value of that name and type.
    virtual void setValue(const QString& path, const QString& name, const RegValue& value) = 0;
    virtual bool deleteValue(const QString& path, const QString& name) = 0;
};

// Normalises a key path: "\" separators, no leading, trailing or doubled separators.
QString normalizeKeyPath(const QString& path);

}  // namespace vantorel::platform
