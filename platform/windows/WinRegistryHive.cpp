#include "platform/windows/WinRegistryHive.h"

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace vantorel::platform {

namespace {

// Every key is opened in the 64-bit view: a 32-bit process would otherwise be sent
// to WOW6432Node for the keys Windows redirects.
constexpr REGSAM kView = KEY_WOW64_64KEY;

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

HKEY rootKey(WinRegistryHive::Root root) {
    return root == WinRegistryHive::Root::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// The registry's functions take names ending at the first NUL: one inside a name
// would silently name another key or value.
void checkNoNul(const QString& text, const char* what, const QString& key) {
    if (text.contains(QChar(0))) {
        throw RegistryError(QStringLiteral("the %1 \"%2\" in %3 holds a NUL character, which the "
                                           "Windows registry cannot carry in a name")
                                .arg(QString::fromUtf8(what),
                                     QString(text).replace(QChar(0), QStringLiteral("\\u0000")),
                                     key));
    }
}

}  // namespace

QString windowsErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text;
    if (length > 0 && buffer != nullptr) {
        text = QString::fromWCharArray(buffer, static_cast<qsizetype>(length)).trimmed();
    }
    LocalFree(buffer);
    if (text.isEmpty()) {
        return QStringLiteral("Windows error %1").arg(code);
    }
    return QStringLiteral("%1 (Windows error %2)").arg(text).arg(code);
}

// An open registry key, closed when it goes; a missing key is a closed one.
class WinRegistryHive::Key {
public:
    Key() = default;
    explicit Key(HKEY handle) : handle_(handle) {}
    Key(Key&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Key& operator=(Key&&) = delete;
    ~Key() {
        if (handle_ != nullptr) {
            RegCloseKey(handle_);
        }
    }
    explicit operator bool() const { return handle_ != nullptr; }
    HKEY get() const { return handle_; }

private:
    HKEY handle_ = nullptr;
};

WinRegistryHive::WinRegistryHive(Root root, QString base)
    : root_(root), base_(normalizeKeyPath(base)) {}

QString WinRegistryHive::rootName() const {
    return root_ == Root::CurrentUser ? QStringLiteral("HKEY_CURRENT_USER")
                                      : QStringLiteral("HKEY_LOCAL_MACHINE");
}

QString WinRegistryHive::fullPath(const QString& path) const {
    return normalizeKeyPath(base_ + QLatin1Char('\\') + path);
}

QString WinRegistryHive::shownKey(const QString& path) const {
    const QString full = fullPath(path);
    return full.isEmpty() ? rootName() : rootName() + QLatin1Char('\\') + full;
}

WinRegistryHive::Key WinRegistryHive::open(const QString& path, unsigned long access) const {
    const QString full = fullPath(path);
    checkNoNul(full, "key", rootName());
    HKEY handle = nullptr;
    const LSTATUS status =
        RegOpenKeyExW(rootKey(root_), wide(full), 0, static_cast<REGSAM>(access) | kView, &handle);
    if (status == ERROR_FILE_NOT_FOUND) {
        return Key();
    }
    if (status != ERROR_SUCCESS) {
        throw RegistryError(QStringLiteral("cannot open the key %1: %2")
                                .arg(shownKey(path), windowsErrorText(status)));
    }
    return Key(handle);
}

WinRegistryHive::Key WinRegistryHive::create(const QString& path) const {
    const QString full = fullPath(path);
    checkNoNul(full, "key", rootName());
    HKEY handle = nullptr;
    const LSTATUS status =
        RegCreateKeyExW(rootKey(root_), wide(full), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE | kView, nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS) {
        throw RegistryError(QStringLiteral("cannot create the key %1: %2")
                                .arg(shownKey(path), windowsErrorText(status)));
    }
    return Key(handle);
}

bool WinRegistryHive::keyExists(const QString& path) {
    // The root (or the base key standing in for it) is always there, as in a hive file.
    if (normalizeKeyPath(path).isEmpty()) {
        return true;
    }
    return static_cast<bool>(open(path, KEY_QUERY_VALUE));
}

void WinRegistryHive::createKey(const QString& path) {
    if (!fullPath(path).isEmpty()) {
        create(path);
    }
}

bool WinRegistryHive::deleteKey(const QString& path) {
    const bool whole = normalizeKeyPath(path).isEmpty();
    if (whole && base_.isEmpty()) {
        throw RegistryError(QStringLiteral("will not delete everything in %1: only a key below it")
                                .arg(rootName()));
    }
    Key key = open(path, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (!key) {
        return false;
    }
    DWORD subKeyCount = 0;
    DWORD valueCount = 0;
    LSTATUS status = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeyCount, nullptr,
                                      nullptr, &valueCount, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS) {
        // Everything below the key first (RegDeleteTreeW keeps the key it is given).
        status = RegDeleteTreeW(key.get(), nullptr);
    }
    if (status == ERROR_SUCCESS && !whole) {
        status = RegDeleteKeyExW(rootKey(root_), wide(fullPath(path)), kView, 0);
    }
    if (status != ERROR_SUCCESS) {
        throw RegistryError(QStringLiteral("cannot delete the key %1: %2")
                                .arg(shownKey(path), windowsErrorText(status)));
    }
    // The root stays; deleting it tells whether there was anything to delete.
    return !whole || subKeyCount + valueCount > 0;
}

QStringList WinRegistryHive::subKeys(const QString& path) {
    QStringList names;
    const Key key = open(path, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE);
    if (!key) {
        return names;
    }
    // Key names are at most 255 characters.
    std::vector<wchar_t> buffer(256);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LSTATUS status = RegEnumKeyExW(key.get(), index, buffer.data(), &length, nullptr,
                                             nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (status != ERROR_SUCCESS) {
            throw RegistryError(QStringLiteral("cannot list the subkeys of %1: %2")
                                    .arg(shownKey(path), windowsErrorText(status)));
        }
        names << QString::fromWCharArray(buffer.data(), static_cast<qsizetype>(length));
    }
    // As a hive file lists them: by their lower-case names.
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return a.toLower() < b.toLower(); });
    return names;
}

QStringList WinRegistryHive::valueNames(const QString& path) {
    QStringList names;
    const Key key = open(path, KEY_QUERY_VALUE);
    if (!key) {
        return names;
    }
    // Value names are at most 16383 characters.
    std::vector<wchar_t> buffer(16384);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LSTATUS status = RegEnumValueW(key.get(), index, buffer.data(), &length, nullptr,
                                             nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (status != ERROR_SUCCESS) {
            throw RegistryError(QStringLiteral("cannot list the values of %1: %2")
                                    .arg(shownKey(path), windowsErrorText(status)));
        }
        names << QString::fromWCharArray(buffer.data(), static_cast<qsizetype>(length));
    }
    return names;
}

RegValue WinRegistryHive::value(const QString& path, const QString& name) {
    checkNoNul(name, "value name", shownKey(path));
    const Key key = open(path, KEY_QUERY_VALUE);
    if (!key) {
        return {};
    }
    RegValue result;
    DWORD type = REG_NONE;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key.get(), wide(name), nullptr, &type, nullptr, &size);
    // Another process may make the value longer between the two calls: ask again.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        result.data.resize(static_cast<qsizetype>(size));
        status = RegQueryValueExW(key.get(), wide(name), nullptr, &type,
                                  reinterpret_cast<BYTE*>(result.data.data()), &size);
        if (status == ERROR_SUCCESS) {
            result.data.resize(static_cast<qsizetype>(size));
            result.type = static_cast<RegType>(type);
            return result;
        }
    }
    if (status == ERROR_FILE_NOT_FOUND) {
        return {};
    }
    throw RegistryError(QStringLiteral("cannot read the value \"%1\" of %2: %3")
                            .arg(name, shownKey(path), windowsErrorText(status)));
}

bool WinRegistryHive::hasValue(const QString& path, const QString& name) {
    checkNoNul(name, "value name", shownKey(path));
    const Key key = open(path, KEY_QUERY_VALUE);
    if (!key) {
        return false;
    }
    const LSTATUS status =
        RegQueryValueExW(key.get(), wide(name), nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_FILE_NOT_FOUND) {
        return false;
    }
    if (status != ERROR_SUCCESS) {
        throw RegistryError(QStringLiteral("cannot read the value \"%1\" of %2: %3")
                                .arg(name, shownKey(path), windowsErrorText(status)));
    }
    return true;
}

void WinRegistryHive::setValue(const QString& path, const QString& name, const RegValue& value) {
    checkNoNul(name, "value name", shownKey(path));
    if (value.data.size() > static_cast<qsizetype>(MAXDWORD)) {
        throw RegistryError(QStringLiteral("the value \"%1\" of %2 is too large: %3 bytes")
                                .arg(name, shownKey(path))
                                .arg(value.data.size()));
    }
    const Key key = create(path);
    // For a text whose last character is no NUL the registry adds one when the next
    // character in memory is a NUL (as Windows has always done for callers that
    // forgot the terminator). Two non-zero bytes after the data keep the bytes as given.
    QByteArray bytes = value.data;
    bytes.append("\xff\xff", 2);
    const LSTATUS status = RegSetValueExW(key.get(), wide(name), 0, static_cast<DWORD>(value.type),
                                          reinterpret_cast<const BYTE*>(bytes.constData()),
                                          static_cast<DWORD>(value.data.size()));
    if (status != ERROR_SUCCESS) {
        throw RegistryError(QStringLiteral("cannot write the value \"%1\" of %2: %3")
                                .arg(name, shownKey(path), windowsErrorText(status)));
    }
}

bool WinRegistryHive::deleteValue(const QString& path, const QString& name) {
    checkNoNul(name, "value name", shownKey(path));
    const Key key = open(path, KEY_SET_VALUE);
    if (!key) {
        return false;
    }
    const LSTATUS status = RegDeleteValueW(key.get(), wide(name));
    if (status == ERROR_FILE_NOT_FOUND) {
        return false;
    }
    if (status != ERROR_SUCCESS) {
        throw RegistryError(QStringLiteral("cannot delete the value \"%1\" of %2: %3")
                                .arg(name, shownKey(path), windowsErrorText(status)));
    }
    return true;
}

}  // namespace vantorel::platform
