#include "tests/support/TestSystem.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QStringList>

#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace vantorel::test {

bool readsEveryFile() {
    return true;
}

void matchLinuxTextWidths() {
    // Every widget's font takes what it does not set itself from the application's.
    QFont font = QApplication::font();
    font.setHintingPreference(QFont::PreferVerticalHinting);
    QApplication::setFont(font);
}

namespace {

[[noreturn]] void fail(const QString& what) {
    throw std::runtime_error(
        QStringLiteral("%1 (Windows error %2)").arg(what).arg(GetLastError()).toStdString());
}

// A version resource holding only its fixed part: VS_VERSIONINFO with the key
// "VS_VERSION_INFO", padded to 32 bits, then VS_FIXEDFILEINFO.
QByteArray versionResource(const QString& version) {
    const QStringList fields = version.split(QLatin1Char('.'));
    quint16 n[4] = {0, 0, 0, 0};
    for (qsizetype i = 0; i < fields.size() && i < 4; ++i) {
        n[i] = static_cast<quint16>(fields[i].toUInt());
    }
    VS_FIXEDFILEINFO fixed{};
    fixed.dwSignature = 0xFEEF04BD;
    fixed.dwStrucVersion = 0x00010000;
    fixed.dwFileVersionMS = DWORD(n[0]) << 16 | n[1];
    fixed.dwFileVersionLS = DWORD(n[2]) << 16 | n[3];
    fixed.dwProductVersionMS = fixed.dwFileVersionMS;
    fixed.dwProductVersionLS = fixed.dwFileVersionLS;
    fixed.dwFileOS = VOS_NT_WINDOWS32;
    fixed.dwFileType = VFT_DLL;

    const std::u16string key = u"VS_VERSION_INFO";
    QByteArray block(6, '\0');
    block.append(reinterpret_cast<const char*>(key.c_str()), (key.size() + 1) * 2);
    while (block.size() % 4 != 0) {
        block.append('\0');
    }
    block.append(reinterpret_cast<const char*>(&fixed), sizeof fixed);
    const WORD header[3] = {WORD(block.size()), WORD(sizeof fixed), 0};
    std::memcpy(block.data(), header, sizeof header);
    return block;
}

}  // namespace

void installAddInLibrary(const QString& folder, const QString& version) {
    // Any DLL-shaped file will do: a copy of this test program, given the version.
    const QString target = QDir(folder).filePath(QStringLiteral("vantorel.dll"));
    QFile::remove(target);
    if (!QFile::copy(QCoreApplication::applicationFilePath(), target)) {
        fail(QStringLiteral("cannot copy the test program to %1").arg(target));
    }
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    const std::wstring path = QDir::toNativeSeparators(target).toStdWString();
    HANDLE update = BeginUpdateResourceW(path.c_str(), FALSE);
    if (update == nullptr) {
        fail(QStringLiteral("cannot open %1 to give it a version").arg(target));
    }
    QByteArray resource = versionResource(version);
    if (!UpdateResourceW(update, MAKEINTRESOURCEW(16) /* RT_VERSION */, MAKEINTRESOURCEW(1),
                         MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), resource.data(),
                         DWORD(resource.size()))) {
        EndUpdateResourceW(update, TRUE);
        fail(QStringLiteral("cannot give %1 a version").arg(target));
    }
    if (!EndUpdateResourceW(update, FALSE)) {
        fail(QStringLiteral("cannot write the version into %1").arg(target));
    }
}

WriteProtection::WriteProtection(const QString& path) : path_(path) {
    const auto name = reinterpret_cast<const wchar_t*>(path_.utf16());
    const DWORD attributes = GetFileAttributesW(name);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return;
    }
    mode_ = attributes;
    done_ = SetFileAttributesW(name, attributes | FILE_ATTRIBUTE_READONLY) != 0;
}

WriteProtection::~WriteProtection() {
    if (done_) {
        SetFileAttributesW(reinterpret_cast<const wchar_t*>(path_.utf16()), mode_);
    }
}

}  // namespace vantorel::test
