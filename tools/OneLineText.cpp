#include "tools/OneLineText.h"

namespace vantorel::tools {

namespace {

// U+202A-U+202E (embeddings and overrides) and U+2066-U+2069 (isolates).
bool isDirectionControl(char16_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// C0 and C1 controls, and the line and paragraph separators.
bool isLineOrControl(QChar c) {
    return c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

}  // namespace

QString oneLineText(const QString& text, qsizetype maxLength) {
    const QChar kEllipsis(0x2026);
    QString line;
    line.reserve(std::min(text.size(), maxLength));
    for (const QChar c : text) {
        if (isDirectionControl(c.unicode())) {
            continue;
        }
        line += isLineOrControl(c) ? QChar(u' ') : c;
        if (line.size() > maxLength) {
            break;
        }
    }
    if (line.size() <= maxLength) {
        return line;
    }
    line.truncate(maxLength - 1);
    if (!line.isEmpty() && line.back().isHighSurrogate()) {
        line.chop(1);
    }
    return line + kEllipsis;
}

}  // namespace vantorel::tools
