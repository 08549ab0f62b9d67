// On Windows a file's version is its version resource: the add-in's, compiled into
// vantorel.dll from addin/vantorel.rc.in, is read back from the build.

#include "tools/FileVersion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <windows.h>

#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

using namespace vantorel;

namespace {

// The build puts the add-in and our libraries beside the test programs.
QString besideTests(const char* name) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(name));
}

std::string errorOf(const QString& path) {
    try {
        GetFileVersionString(path);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "no error";
}

// A text of the resource's StringFileInfo, read with the system's own functions.
std::string versionText(const QString& file, const char* name) {
    const QString native = QDir::toNativeSeparators(file);
    const auto* path = reinterpret_cast<const wchar_t*>(native.utf16());
    DWORD handle = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeW(path, &handle));
    if (data.empty() ||
        !GetFileVersionInfoW(path, 0, static_cast<DWORD>(data.size()), data.data())) {
        return "(no version resource)";
    }
    const QString key = QStringLiteral("\\StringFileInfo\\040904B0\\") + QString::fromUtf8(name);
    void* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), reinterpret_cast<const wchar_t*>(key.utf16()), &text,
                        &length)) {
        return "(missing)";
    }
    return QString::fromWCharArray(static_cast<const wchar_t*>(text)).toStdString();
}

}  // namespace

TEST(FileVersionOfTheAddIn, IsTheProjectsVersionInAFullRecord) {
    const QString addIn = besideTests("vantorel.dll");
    EXPECT_EQ(GetFileVersionString(addIn).toStdString(), VANTOREL_VERSION);
    TFixedFileInfo info;
    ReadFixedFileVersion(addIn, info);
    EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info.dwProductVersionMS, info.dwFileVersionMS);
    EXPECT_EQ(info.dwProductVersionLS, info.dwFileVersionLS);
    EXPECT_EQ(info.dwFileType, static_cast<quint32>(VFT_DLL));
    EXPECT_EQ(info.dwFileOS, static_cast<quint32>(VOS_NT_WINDOWS32));
    EXPECT_EQ(info.dwFileFlags, 0u);
}

TEST(FileVersionOfTheAddIn, NamesTheProductAndItsMaker) {
    const QString addIn = besideTests("vantorel.dll");
    struct Row {
        const char* name;
        std::string text;
    };
    for (const Row& row :
         {Row{"CompanyName", "Ostrelin"}, Row{"ProductName", "Vantorel"},
          Row{"FileVersion", VANTOREL_VERSION}, Row{"ProductVersion", VANTOREL_VERSION},
          Row{"OriginalFilename", "vantorel.dll"},
          Row{"FileDescription", "Vantorel add-in: follow-up of unanswered e-mail"}}) {
        EXPECT_EQ(versionText(addIn, row.name), row.text) << row.name;
    }
}

TEST(FileVersion, AFileWithoutVersionInformationRaisesAnErrorNamingIt) {
    QTemporaryDir dir;
    const auto write = [&](const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    };
    struct Row {
        const char* label;
        QString path;
    };
    for (const Row& row : {Row{"NoProgramFile", write("vantorel.dll", "not a program")},
                           Row{"EmptyFile", write("empty.dll", QByteArray())},
                           // One of ours: a real DLL, built without a version resource.
                           Row{"DllWithoutResource", besideTests("libvantorel_tools.dll")}}) {
        EXPECT_EQ(errorOf(row.path), "The file \"" +
                                         QDir::toNativeSeparators(row.path).toStdString() +
                                         "\" has no version information.")
            << row.label;
    }
}

TEST(FileVersion, AMissingFileRaisesAnErrorAndLeavesTheRecord) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("vantorel.dll"));
    TFixedFileInfo info;
    info.dwFileVersionMS = 0x00010002;
    EXPECT_THROW(ReadFixedFileVersion(missing, info), std::runtime_error);
    EXPECT_EQ(info.dwFileVersionMS, 0x00010002u);
    for (const QString& path : {missing, dir.path()}) {
        EXPECT_EQ(errorOf(path), "Cannot read the version information of \"" +
                                     QDir::toNativeSeparators(path).toStdString() +
                                     "\": there is no such file.");
    }
}
