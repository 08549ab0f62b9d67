#include "tools/FileVersion.h"

#include "tools/FileVersionReader.h"

#include <QDir>
#include <QFileInfo>

#include <stdexcept>

namespace vantorel {

namespace {

[[noreturn]] void fail(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

}  // namespace

void ReadFixedFileVersion(const QString& sFileName, TFixedFileInfo& oFileInfo) {
    // The file itself, after every link (libvantorel.so -> libvantorel.so.2 -> ...).
    const QString sTarget = QFileInfo(sFileName).canonicalFilePath();
    if (sTarget.isEmpty() || !QFileInfo(sTarget).isFile()) {
        fail(QStringLiteral("Cannot read the version information of \"%1\": there is no such "
                            "file.")
                 .arg(QDir::toNativeSeparators(sFileName)));
    }
    const std::optional<TFixedFileInfo> oInfo = readFixedFileInfo(sTarget);
    if (!oInfo) {
        fail(QStringLiteral("The file \"%1\" has no version information.")
                 .arg(QDir::toNativeSeparators(sFileName)));
    }
    oFileInfo = *oInfo;
}

QString GetFileVersionString(const QString& sFileName) {
    TFixedFileInfo oInfo;
    ReadFixedFileVersion(sFileName, oInfo);
    return QString::asprintf("%u.%u.%u.%u", oInfo.dwFileVersionMS >> 16,
                             oInfo.dwFileVersionMS & 0xFFFF, oInfo.dwFileVersionLS >> 16,
                             oInfo.dwFileVersionLS & 0xFFFF);
}

}  // namespace vantorel
