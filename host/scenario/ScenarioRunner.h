#pragma once

// The host's headless mode: runs a scenario script command by command and prints
// the transcript of everything a person would see or hear.

#include "host/scenario/ScriptLexer.h"

#include <QHash>
#include <QIODevice>
#include <QString>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>
#include <memory>

namespace vantorel::platform {
class ManualClock;
}

namespace vantorel::host {

// A mistake in the script itself: wrong command, arguments or values. Stops the run.
class ScriptError : public std::runtime_error {
public:
    explicit ScriptError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

class ScenarioRunner {
public:
    // Exit statuses of a run.
    static constexpr int kOk = 0;
    static constexpr int kFailure = 1;
    static constexpr int kScriptError = 2;

    // DATADIR holds the hives and the mailbox; empty: a temporary folder removed at exit.
    ScenarioRunner(QTextStream& out, QTextStream& err, const QString& dataDir);
    ~ScenarioRunner();

    // Runs the script read from INPUT; NAME is how error messages call it.
    int run(QIODevice& input, const QString& name);

    using Args = std::vector<ScriptArg>;
    using Command = std::function<void(const Args&)>;

private:
    void registerCommands();
    void add(const QString& name, Command command);
    void execute(const Args& args);

    void cmdLocale(const Args& args);
    void cmdClock(const Args& args);
    void cmdAdvance(const Args& args);
    void cmdReg(const Args& args);
    void cmdDump(const Args& args);
    void dumpReg(const Args& args);

    QTextStream& out_;
    QTextStream& err_;
    std::unique_ptr<QTemporaryDir> tempDir_;
    QString dataDir_;
    std::shared_ptr<platform::ManualClock> clock_;
    QHash<QString, Command> commands_;
};

// Helpers for command handlers.
void expectArgs(const ScenarioRunner::Args& args, qsizetype min, qsizetype max,
                const QString& usage);

}  // namespace vantorel::host
