#include "host/scenario/ScriptLexer.h"

namespace vantorel::host {

std::vector<ScriptArg> splitScriptLine(const QString& line) {
    std::vector<ScriptArg> args;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        while (i < n && line[i].isSpace()) {
            ++i;
        }
        if (i >= n) {
            break;
        }
        ScriptArg arg;
        const qsizetype start = i;
        bool onlyQuoted = true;
        bool anyQuote = false;
        while (i < n && !line[i].isSpace()) {
            if (line[i] != QLatin1Char('"')) {
                onlyQuoted = false;
                arg.text += line[i++];
                continue;
            }
            if (anyQuote) {
                onlyQuoted = false;  // a second quoted part
            }
            anyQuote = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = line[i++];
                if (c == QLatin1Char('"')) {
                    closed = true;
                    break;
                }
                if (c != QLatin1Char('\\')) {
                    arg.text += c;
                    continue;
                }
                if (i >= n) {
                    break;
                }
                const QChar e = line[i++];
                switch (e.unicode()) {
                    case '"':
                        arg.text += QLatin1Char('"');
                        break;
                    case '\\':
                        arg.text += QLatin1Char('\\');
                        break;
                    case 'r':
                        arg.text += QLatin1Char('\r');
                        break;
                    case 'n':
                        arg.text += QLatin1Char('\n');
                        break;
                    case 't':
                        arg.text += QLatin1Char('\t');
                        break;
                    default:
                        throw ScriptSyntaxError(
                            QStringLiteral("unknown escape \"\\%1\" in a quoted text").arg(e));
                }
            }
            if (!closed) {
                throw ScriptSyntaxError(QStringLiteral("a quoted text is not closed"));
            }
        }
        arg.raw = line.mid(start, i - start);
        arg.quoted = anyQuote && onlyQuoted && arg.raw.startsWith(QLatin1Char('"'));
        args.push_back(arg);
    }
    return args;
}

}  // namespace vantorel::host
