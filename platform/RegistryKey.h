#pragma once

// An accessor positioned on one key of a hive at a time, the way the settings
// store reads and writes its sections. Every change it makes (a key created, a value
// written or deleted) is told through HiveChanges.h.

#include "platform/Registry.h"

namespace vantorel::platform {

class RegistryKey {
public:
    explicit RegistryKey(RegistryHive& hive, bool readOnly = false);

    // Opens KEY: an absolute path when it starts with "\", else relative to the open
    // key. With canCreate a missing key is created (with the keys above it);
    // without, a missing key leaves nothing open and gives false.
    bool openKey(const QString& key, bool canCreate);
    // Opens KEY as openKey(KEY, true) does, but a key that cannot be created throws
    // the hive's RegistryError (as does a read-only accessor) and leaves nothing open.
    void openOrCreateKey(const QString& key);
    void closeKey();
    bool hasCurrentKey() const { return open_; }
    QString currentPath() const { return path_; }

    bool valueExists(const QString& name) const;
    // RegType::None when the value is absent.
    RegType dataType(const QString& name) const;

    // Readers throw RegistryError when no key is open, or the value is absent
    // or of another type.
    qint32 readInteger(const QString& name) const;
    bool readBool(const QString& name) const { return readInteger(name) != 0; }
    // REG_SZ and REG_EXPAND_SZ alike; an expandable text is returned unexpanded.
    QString readString(const QString& name) const;

    // Writers replace any value of that name, whatever its type; they throw
    // RegistryError when no key is open, the accessor is read-only or the hive fails.
    void writeInteger(const QString& name, qint32 value);
    void writeBool(const QString& name, bool value) { writeInteger(name, value ? 1 : 0); }
    void writeString(const QString& name, const QString& value);
    void writeExpandString(const QString& name, const QString& value);
    bool deleteValue(const QString& name);

private:
    // KEY as a path from the root: absolute, or relative to the open key.
    QString pathOf(const QString& key) const;
    RegValue read(const QString& name) const;
    void write(const QString& name, const RegValue& value);

    RegistryHive& hive_;
    bool readOnly_;
    bool open_ = false;
    QString path_;
};

}  // namespace vantorel::platform
