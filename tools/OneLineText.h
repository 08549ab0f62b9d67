#pragma once

// Outside text (a sender's display name, a subject) made fit to stand inside one line
// the add-in writes: every line break and other control character becomes a blank,
// the characters that override, embed or isolate the direction of text are left out,
// and a text longer than its bound is cut, ending in an ellipsis.

#include <QString>

namespace vantorel::tools {

// At most MAXLENGTH UTF-16 units (the ellipsis included; never a surrogate pair cut
// in two). MAXLENGTH is at least 1.
QString oneLineText(const QString& text, qsizetype maxLength);

}  // namespace vantorel::tools
