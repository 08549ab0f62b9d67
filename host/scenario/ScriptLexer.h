#pragma once

// Splits one line of a scenario script into arguments: blanks separate them,
// "..." quotes (escapes \" \\ \r \n \t), and key="value" quotes the value alone.

#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace vantorel::host {

struct ScriptArg {
    QString text;         // unquoted and unescaped
    QString raw;          // as written in the script
    bool quoted = false;  // the whole argument was one quoted text
};

class ScriptSyntaxError : public std::runtime_error {
public:
    explicit ScriptSyntaxError(const QString& message)
        : std::runtime_error(message.toStdString()) {}
};

// Throws ScriptSyntaxError for an unterminated quote or an unknown escape.
std::vector<ScriptArg> splitScriptLine(const QString& line);

}  // namespace vantorel::host
