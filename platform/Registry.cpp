#include "platform/Registry.h"

#include <QtEndian>

namespace vantorel::platform {

RegValue RegValue::fromDWord(quint32 value) {
    RegValue v;
    v.type = RegType::DWord;
    v.data.resize(4);
    qToLittleEndian(value, v.data.data());
    return v;
}

RegValue RegValue::fromString(const QString& text, RegType type) {
    RegValue v;
    v.type = type;
    v.data.resize((text.size() + 1) * 2);
    qToLittleEndian<quint16>(text.utf16(), text.size(), v.data.data());
    v.data[v.data.size() - 2] = 0;
    v.data[v.data.size() - 1] = 0;
    return v;
}

QString RegValue::toText() const {
    // The stored bytes are UTF-16LE, normally ending in a NUL; stop at the first NUL
    // as Windows' readers do.
    const qsizetype units = data.size() / 2;
    QString text(units, Qt::Uninitialized);
    qFromLittleEndian<quint16>(data.constData(), units, text.data());
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0) {
        text.truncate(nul);
    }
    return text;
}

quint32 RegValue::toDWord() const {
    if (data.size() < 4) {
        throw RegistryError(
            QStringLiteral("value holds %1 bytes, not a 32-bit number").arg(data.size()));
    }
    return qFromLittleEndian<quint32>(data.constData());
}

QString normalizeKeyPath(const QString& path) {
    QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts.join(QLatin1Char('\\'));
}

}  // namespace vantorel::platform
