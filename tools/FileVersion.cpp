#include "tools/FileVersion.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <stdexcept>

namespace vantorel {

namespace {

const QLatin1String kLibraryMarker(".so.");

[[noreturn]] void fail(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

}  // namespace

void ReadFixedFileVersion(const QString& sFileName, TFixedFileInfo& oFileInfo) {
    const QFileInfo file(sFileName);
    // The file itself, after every link (libvantorel.so -> libvantorel.so.2 -> ...).
    const QString sTarget = file.canonicalFilePath();
    if (sTarget.isEmpty() || !QFileInfo(sTarget).isFile()) {
        fail(QStringLiteral("Cannot read the version information of \"%1\": there is no such "
                            "file.")
                 .arg(QDir::toNativeSeparators(sFileName)));
    }
    const QString sName = QFileInfo(sTarget).fileName();
    const qsizetype nMarker = sName.lastIndexOf(kLibraryMarker);
    const QStringList fields = nMarker < 0 ? QStringList()
                                           : sName.mid(nMarker + kLibraryMarker.size())
                                                 .split(QLatin1Char('.'), Qt::KeepEmptyParts);
    quint16 numbers[4] = {0, 0, 0, 0};
    bool bValid = !fields.isEmpty() && fields.size() <= 4;
    for (qsizetype i = 0; bValid && i < fields.size(); ++i) {
        const QString& field = fields[i];
        bool bDigitsOnly = !field.isEmpty();
        for (const QChar c : field) {
            bDigitsOnly = bDigitsOnly && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        }
        bool bOk = false;
        const uint nValue = bDigitsOnly ? field.toUInt(&bOk) : 0;
        bValid = bOk && nValue <= 0xFFFF;
        numbers[i] = static_cast<quint16>(nValue);
    }
    if (!bValid) {
        fail(QStringLiteral("The file \"%1\" has no version information.")
                 .arg(QDir::toNativeSeparators(sFileName)));
    }
    oFileInfo = TFixedFileInfo();
    oFileInfo.dwFileVersionMS = quint32(numbers[0]) << 16 | numbers[1];
    oFileInfo.dwFileVersionLS = quint32(numbers[2]) << 16 | numbers[3];
}

QString GetFileVersionString(const QString& sFileName) {
    TFixedFileInfo oInfo;
    ReadFixedFileVersion(sFileName, oInfo);
    return QString::asprintf("%u.%u.%u.%u", oInfo.dwFileVersionMS >> 16,
                             oInfo.dwFileVersionMS & 0xFFFF, oInfo.dwFileVersionLS >> 16,
                             oInfo.dwFileVersionLS & 0xFFFF);
}

}  // namespace vantorel
