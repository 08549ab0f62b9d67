#include "tools/TranscriptText.h"

namespace vantorel::tools {

QString escapeTranscriptText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
            case '\r':
                out += QStringLiteral("\\r");
                break;
            case '\n':
                out += QStringLiteral("\\n");
                break;
            case '\t':
                out += QStringLiteral("\\t");
                break;
            case '"':
                out += QStringLiteral("\\\"");
                break;
            case '\\':
                out += QStringLiteral("\\\\");
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace vantorel::tools
