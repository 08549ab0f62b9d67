#include "platform/RegistryKey.h"

#include "platform/HiveChanges.h"

namespace vantorel::platform {

RegistryKey::RegistryKey(RegistryHive& hive, bool readOnly) : hive_(hive), readOnly_(readOnly) {}

QString RegistryKey::pathOf(const QString& key) const {
    const bool absolute = key.startsWith(QLatin1Char('\\'));
    QString path = normalizeKeyPath(key);
    if (!absolute && open_ && !path_.isEmpty()) {
        path = path.isEmpty() ? path_ : path_ + QLatin1Char('\\') + path;
    }
    return path;
}

bool RegistryKey::openKey(const QString& key, bool canCreate) {
    const QString path = pathOf(key);
    if (!hive_.keyExists(path)) {
        // A failed open leaves nothing open, so no later read comes from the key
        // that was open before.
        if (!canCreate || readOnly_) {
            closeKey();
            return false;
        }
        try {
            hive_.createKey(path);
        } catch (const RegistryError&) {
            closeKey();
            return false;
        }
        hiveChanged(hive_, path);
    }
    path_ = path;
    open_ = true;
    return true;
}

void RegistryKey::openOrCreateKey(const QString& key) {
    const QString path = pathOf(key);
    if (!hive_.keyExists(path)) {
        closeKey();
        if (readOnly_) {
            throw RegistryError(
                QStringLiteral("The registry key \"%1\" cannot be created read-only").arg(path));
        }
        hive_.createKey(path);
    }
    path_ = path;
    open_ = true;
}

void RegistryKey::closeKey() {
    open_ = false;
    path_.clear();
}

bool RegistryKey::valueExists(const QString& name) const {
    return open_ && hive_.hasValue(path_, name);
}

RegType RegistryKey::dataType(const QString& name) const {
    return open_ ? hive_.value(path_, name).type : RegType::None;
}

RegValue RegistryKey::read(const QString& name) const {
    if (!open_) {
        throw RegistryError(QStringLiteral("No registry key is open to read \"%1\"").arg(name));
    }
    if (!hive_.hasValue(path_, name)) {
        throw RegistryError(
            QStringLiteral("The registry value \"%1\" of \"%2\" does not exist").arg(name, path_));
    }
    return hive_.value(path_, name);
}

qint32 RegistryKey::readInteger(const QString& name) const {
    const RegValue v = read(name);
    if (v.type != RegType::DWord) {
        throw RegistryError(QStringLiteral("Invalid data type for '%1'").arg(name));
    }
    return static_cast<qint32>(v.toDWord());
}

QString RegistryKey::readString(const QString& name) const {
    const RegValue v = read(name);
    if (v.type != RegType::Sz && v.type != RegType::ExpandSz) {
        throw RegistryError(QStringLiteral("Invalid data type for '%1'").arg(name));
    }
    return v.toText();
}

void RegistryKey::write(const QString& name, const RegValue& value) {
    if (!open_) {
        throw RegistryError(QStringLiteral("No registry key is open to write \"%1\"").arg(name));
    }
    if (readOnly_) {
        throw RegistryError(QStringLiteral("The registry key \"%1\" is open read-only").arg(path_));
    }
    hive_.setValue(path_, name, value);
    hiveChanged(hive_, path_);
}

void RegistryKey::writeInteger(const QString& name, qint32 value) {
    write(name, RegValue::fromDWord(static_cast<quint32>(value)));
}

void RegistryKey::writeString(const QString& name, const QString& value) {
    write(name, RegValue::fromString(value, RegType::Sz));
}

void RegistryKey::writeExpandString(const QString& name, const QString& value) {
    write(name, RegValue::fromString(value, RegType::ExpandSz));
}

bool RegistryKey::deleteValue(const QString& name) {
    if (!open_ || readOnly_) {
        return false;
    }
    if (!hive_.deleteValue(path_, name)) {
        return false;
    }
    hiveChanged(hive_, path_);
    return true;
}

}  // namespace vantorel::platform
