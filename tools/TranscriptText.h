#pragma once

// Texts as the scripted host's transcripts print them between double quotes: \r \n \t
// \" and \\ escaped, so every text stays on its line and its quotes hold.

#include <QString>

namespace vantorel::tools {

QString escapeTranscriptText(const QString& text);

}  // namespace vantorel::tools
