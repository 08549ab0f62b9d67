#pragma once

// Characters nobody sees that mail programs put into subjects and names, above all in
// right-to-left languages: the zero-width space (U+200B), the left-to-right,
// right-to-left and Arabic letter marks (U+200E, U+200F, U+061C), the byte order mark
// (U+FEFF), and the embeddings, overrides and isolates of text direction
// (U+202A-U+202E, U+2066-U+2069). Two texts that differ in them alone read alike, and
// the mail client matches them so.

#include <QString>
#include <QStringView>

namespace vantorel::tools {

bool isInvisibleMark(char16_t c);

// TEXT without its invisible marks (TEXT itself when it has none).
QString withoutInvisibleMarks(const QString& text);

// Whether A and B are the same text once their invisible marks are left out; every
// other character counts, letter case included.
bool sameIgnoringInvisibleMarks(QStringView a, QStringView b);

}  // namespace vantorel::tools
