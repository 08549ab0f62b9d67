#include "tools/InvisibleMarks.h"

#include <algorithm>

namespace vantorel::tools {

bool isInvisibleMark(char16_t c) {
    return c == 0x200B || c == 0x200E || c == 0x200F || c == 0x061C || c == 0xFEFF ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

QString withoutInvisibleMarks(const QString& text) {
    const auto mark = [](QChar c) { return isInvisibleMark(c.unicode()); };
    if (std::none_of(text.cbegin(), text.cend(), mark)) {
        return text;
    }
    QString plain = text;
    plain.removeIf(mark);
    return plain;
}

bool sameIgnoringInvisibleMarks(QStringView a, QStringView b) {
    if (a == b) {
        return true;
    }
    qsizetype i = 0;
    qsizetype j = 0;
    for (;;) {
        while (i < a.size() && isInvisibleMark(a[i].unicode())) {
            ++i;
        }
        while (j < b.size() && isInvisibleMark(b[j].unicode())) {
            ++j;
        }
        if (i == a.size() || j == b.size()) {
            return i == a.size() && j == b.size();
        }
        if (a[i] != b[j]) {
            return false;
        }
        ++i;
        ++j;
    }
}

}  // namespace vantorel::tools
