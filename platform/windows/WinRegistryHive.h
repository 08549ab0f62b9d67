#pragma once

// A hive in the Windows registry: HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE, or a key
// below one of them standing in for the root (the tests' temporary key). Values keep
// the bytes Windows stores; every call goes to the registry, nothing is cached. Keys
// are opened in the 64-bit view, so a 32-bit build would see the same keys as ours.

#include "platform/Registry.h"

namespace vantorel::platform {

class WinRegistryHive : public RegistryHive {
public:
    enum class Root { CurrentUser, LocalMachine };

    // BASE, when given, is the key below ROOT that every path is relative to.
    explicit WinRegistryHive(Root root, QString base = {});

    QString rootName() const override;
    // The base key below the root ("" for the root itself).
    QString base() const { return base_; }

    bool keyExists(const QString& path) override;
    void createKey(const QString& path) override;
    bool deleteKey(const QString& path) override;
    QStringList subKeys(const QString& path) override;
    QStringList valueNames(const QString& path) override;
    RegValue value(const QString& path, const QString& name) override;
    bool hasValue(const QString& path, const QString& name) override;
    void setValue(const QString& path, const QString& name, const RegValue& value) override;
    bool deleteValue(const QString& path, const QString& name) override;

private:
    class Key;
    // The key's path below the root.
    QString fullPath(const QString& path) const;
    // The key's name for messages, "HKEY_CURRENT_USER\Software\...".
    QString shownKey(const QString& path) const;
    // Opens the key with ACCESS; a missing key gives a closed Key, other failures throw.
    Key open(const QString& path, unsigned long access) const;
    Key create(const QString& path) const;

    Root root_;
    QString base_;
};

// The system's text for a Windows error code, e.g. "Access is denied." (no line break).
QString windowsErrorText(unsigned long code);

}  // namespace vantorel::platform
