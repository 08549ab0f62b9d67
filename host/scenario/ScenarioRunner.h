#pragma once

// The host's headless mode: runs a scenario script command by command and prints
// the transcript of everything a person would see or hear.
//
// Commands run strictly one after another. A command that opens a modal window
// returns while the window is open: the runner goes on reading commands inside it
// (runUntil) until the window closes, and the command that closed it returns when
// everything the closing caused has finished.

#include "host/scenario/ScriptLexer.h"
#include "outlook/Event.h"

#include <QHash>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>
#include <memory>

namespace vantorel::platform {
class ManualClock;
}

namespace vantorel::host {

class MailClient;
class ScenarioPrompts;
class ScenarioWindows;
class VirtualScheduler;

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

    // Runs the script's next commands until DONE holds (a modal window closed).
    // Throws ScriptError when the script ends first.
    void runUntil(const std::function<bool()>& done);

    using Args = std::vector<ScriptArg>;
    using Command = std::function<void(const Args&)>;

    MailClient& client() { return *client_; }

private:
    struct Stop {
        int status;
    };

    void registerCommands();
    void add(const QString& name, Command command);
    // Runs the next command line; false at the end of the script.
    bool step();
    void execute(const Args& args);

    // The environment.
    void cmdLocale(const Args& args);
    void cmdClock(const Args& args);
    void cmdAdvance(const Args& args);
    void cmdVersion(const Args& args);
    void cmdExplorers(const Args& args);
    void cmdShutdown(const Args& args);
    void cmdCategory(const Args& args);
    void cmdStore(const Args& args);
    void cmdReg(const Args& args);
    // The add-in and the mail.
    void cmdStart(const Args& args);
    void cmdQuit(const Args& args);
    void cmdCompose(const Args& args);
    void cmdPress(const Args& args);
    void cmdSend(const Args& args);
    void cmdDeliver(const Args& args);
    void cmdComplete(const Args& args);
    void cmdDelete(const Args& args);
    void cmdProp(const Args& args);
    // Windows and output.
    void cmdAnswer(const Args& args);
    void cmdClose(const Args& args);
    void cmdUi(const Args& args);
    void cmdList(const Args& args);
    void cmdDump(const Args& args);
    void cmdEcho(const Args& args);
    void dumpReg(const Args& args);
    // Throws ScriptError while a modal dialog is open: the command aims at another
    // window, which a person cannot reach then.
    void refuseWhileModal() const;

    QTextStream& out_;
    QTextStream& err_;
    std::unique_ptr<QTemporaryDir> tempDir_;
    QString dataDir_;
    std::shared_ptr<platform::ManualClock> clock_;
    std::shared_ptr<VirtualScheduler> scheduler_;
    std::shared_ptr<ScenarioPrompts> prompts_;
    std::shared_ptr<ScenarioWindows> windows_;
    std::unique_ptr<MailClient> client_;
    outlook::Connection displayed_;
    outlook::Connection eventErrors_;
    QHash<QString, Command> commands_;

    QStringList lines_;
    QString name_;
    int next_ = 0;     // index of the next line to run
    int current_ = 0;  // line number of the command running
};

// Helpers for command handlers.
void expectArgs(const ScenarioRunner::Args& args, qsizetype min, qsizetype max,
                const QString& usage);
// key=value arguments after the first SKIP ones; unknown keys are a script error.
QHash<QString, QString> keyValues(const ScenarioRunner::Args& args, qsizetype skip,
                                  const QStringList& allowed, const QString& usage);

}  // namespace vantorel::host
