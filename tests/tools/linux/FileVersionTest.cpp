#include "tools/FileVersion.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace vantorel;

namespace {

class FileVersionTest : public ::testing::Test {
protected:
    QString file(const QString& name) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "\x7f"
            "ELF");
        return path;
    }
    QString link(const QString& name, const QString& target) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(QFile::link(target, path));
        return path;
    }
    // The text of the error that reading PATH raises, or "" when none.
    static std::string errorOf(const QString& path) {
        try {
            GetFileVersionString(path);
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return {};
    }

    QTemporaryDir dir;
};

TEST_F(FileVersionTest, VersionTextFromTheVersionedName) {
    struct Row {
        const char* name;
        const char* text;
    };
    for (const Row& r : {Row{"libvantorel.so.2.5.0.17", "2.5.0.17"},
                         // Builds above 32767 print positive.
                         Row{"libvantorel.so.2.0.0.40000", "2.0.0.40000"},
                         Row{"libvantorel.so.65535.65535.65535.65535", "65535.65535.65535.65535"},
                         Row{"libvantorel.so.0.0.0.0", "0.0.0.0"},
                         // Fewer numbers: the rest are 0.
                         Row{"libother.so.3", "3.0.0.0"}, Row{"libother.so.3.1", "3.1.0.0"}}) {
        EXPECT_EQ(GetFileVersionString(file(QLatin1String(r.name))), QLatin1String(r.text))
            << r.name;
    }
}

TEST_F(FileVersionTest, LinksLeadToTheVersionedFile) {
    const QString real = file(QStringLiteral("libvantorel.so.2.0.0.17"));
    link(QStringLiteral("libvantorel.so.2"), QStringLiteral("libvantorel.so.2.0.0.17"));
    const QString dev = link(QStringLiteral("libvantorel.so"), QStringLiteral("libvantorel.so.2"));
    EXPECT_EQ(GetFileVersionString(dev), QStringLiteral("2.0.0.17"));
    EXPECT_EQ(GetFileVersionString(dir.filePath(QStringLiteral("libvantorel.so.2"))),
              QStringLiteral("2.0.0.17"));
    EXPECT_EQ(GetFileVersionString(real), QStringLiteral("2.0.0.17"));
}

TEST_F(FileVersionTest, TheFixedRecordHoldsOnlyTheFileVersion) {
    TFixedFileInfo info;
    info.dwSignature = 0xDEADBEEF;
    info.dwProductVersionMS = 7;
    info.dwFileSubtype = 9;
    ReadFixedFileVersion(file(QStringLiteral("libvantorel.so.2.5.3.40000")), info);
    EXPECT_EQ(info.dwFileVersionMS, 0x00020005u);
    EXPECT_EQ(info.dwFileVersionLS, 0x00039C40u);
    EXPECT_EQ(info.dwSignature, 0u);
    EXPECT_EQ(info.dwProductVersionMS, 0u);
    EXPECT_EQ(info.dwFileSubtype, 0u);
}

TEST_F(FileVersionTest, AFileWithoutVersionInformationRaisesAnErrorNamingIt) {
    for (const char* name :
         {"Vantorel.dll", "libvantorel.so", "libvantorel.so.", "libvantorel.so.2.0.0.65536",
          "libvantorel.so.2.0.0.1.5", "libvantorel.so.2.0.x.1", "libvantorel.so.2..0.1",
          "libvantorel.so.+2", "libvantorel.so.2.0.0.17.debug"}) {
        const QString path = file(QLatin1String(name));
        const std::string text = errorOf(path);
        EXPECT_NE(text.find("has no version information"), std::string::npos) << name;
        EXPECT_NE(text.find(path.toStdString()), std::string::npos) << text;
    }
    // A link to a file without version information: the link's versioned-looking name
    // does not count.
    file(QStringLiteral("plain.bin"));
    EXPECT_NE(errorOf(link(QStringLiteral("libx.so.1.2.3.4"), QStringLiteral("plain.bin")))
                  .find("has no version information"),
              std::string::npos);
}

TEST_F(FileVersionTest, AMissingFileRaisesAnErrorAndLeavesTheRecord) {
    TFixedFileInfo info;
    info.dwFileVersionMS = 0x00010002;
    const QString missing = dir.filePath(QStringLiteral("libvantorel.so.2.0.0.1"));
    EXPECT_THROW(ReadFixedFileVersion(missing, info), std::runtime_error);
    EXPECT_EQ(info.dwFileVersionMS, 0x00010002u);
    const std::string text = errorOf(missing);
    EXPECT_NE(text.find("no such file"), std::string::npos) << text;
    EXPECT_NE(text.find(missing.toStdString()), std::string::npos) << text;
    // A dangling link, and a folder.
    EXPECT_NE(errorOf(link(QStringLiteral("libvantorel.so"), QStringLiteral("gone.so.1")))
                  .find("no such file"),
              std::string::npos);
    EXPECT_FALSE(errorOf(dir.path()).empty());
}

}  // namespace
