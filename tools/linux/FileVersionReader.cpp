// On Linux the version is the versioned file name: the numbers after ".so." (one to
// four, each 0-65535; missing ones are 0). Only the file version is known; every other
// field of the record is 0.

#include "tools/FileVersionReader.h"

#include <QFileInfo>
#include <QStringList>

namespace vantorel {

namespace {

const QLatin1String kLibraryMarker(".so.");

}  // namespace

std::optional<TFixedFileInfo> readFixedFileInfo(const QString& file) {
    const QString sName = QFileInfo(file).fileName();
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
        return std::nullopt;
    }
    TFixedFileInfo oInfo;
    oInfo.dwFileVersionMS = quint32(numbers[0]) << 16 | numbers[1];
    oInfo.dwFileVersionLS = quint32(numbers[2]) << 16 | numbers[3];
    return oInfo;
}

}  // namespace vantorel
