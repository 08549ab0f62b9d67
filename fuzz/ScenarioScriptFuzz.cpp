// The scenario script reader on any text: lines as the runner takes them (trimmed,
// "#" comments skipped), each split into arguments. An argument's text, quoted and
// escaped again, reads back as the same text.

#include "fuzz/FuzzInput.h"
#include "host/scenario/ScriptLexer.h"
#include "tools/TranscriptText.h"

using namespace vantorel;
using host::ScriptArg;

namespace {
// As the transcripts write a text: the lexer must read back what they write.
QString quoted(const QString& text) {
    return QLatin1Char('"') + tools::escapeTranscriptText(text) + QLatin1Char('"');
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::setUp();
    fuzz::FuzzInput in(data, size);
    const QStringList lines = in.rest().split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        std::vector<ScriptArg> args;
        try {
            args = host::splitScriptLine(line);
        } catch (const host::ScriptSyntaxError&) {
            continue;
        }
        fuzz::check(!args.empty(), "a line with text has arguments", line);
        QStringList requoted;
        for (const ScriptArg& arg : args) {
            fuzz::check(!arg.raw.isEmpty() && line.contains(arg.raw),
                        "an argument is written in its line", line, arg.raw);
            requoted << quoted(arg.text);
        }
        const QString again = requoted.join(QLatin1Char(' '));
        std::vector<ScriptArg> reread;
        try {
            reread = host::splitScriptLine(again);
        } catch (const host::ScriptSyntaxError& e) {
            fuzz::check(false, "quoted arguments read back", again, QString::fromUtf8(e.what()));
        }
        fuzz::check(reread.size() == args.size(), "quoted arguments read back as many", line,
                    again);
        for (std::size_t i = 0; i < args.size(); ++i) {
            fuzz::check(reread[i].text == args[i].text && reread[i].quoted,
                        "a quoted argument reads back as its text", args[i].text, reread[i].text);
        }
    }
    return 0;
}
