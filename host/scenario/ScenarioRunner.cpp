#include "host/scenario/ScenarioRunner.h"

#include "host/MailClient.h"
#include "host/scenario/ScenarioPrompts.h"
#include "host/scenario/ScenarioWindows.h"
#include "host/scenario/VirtualScheduler.h"
#include "platform/Clock.h"
#include "platform/Hives.h"
#include "platform/Prompts.h"
#include "platform/ShellOpen.h"
#include "platform/Sound.h"
#include "platform/Timer.h"
#include "tools/TranscriptText.h"

#include <QDir>

namespace vantorel::host {

void expectArgs(const ScenarioRunner::Args& args, qsizetype min, qsizetype max,
                const QString& usage) {
    const qsizetype given = static_cast<qsizetype>(args.size()) - 1;
    if (given < min || given > max) {
        throw ScriptError(QStringLiteral("usage: %1").arg(usage));
    }
}

QHash<QString, QString> keyValues(const ScenarioRunner::Args& args, qsizetype skip,
                                  const QStringList& allowed, const QString& usage) {
    QHash<QString, QString> values;
    for (std::size_t i = static_cast<std::size_t>(skip) + 1; i < args.size(); ++i) {
        const qsizetype eq = args[i].text.indexOf(QLatin1Char('='));
        const QString key = eq < 0 ? args[i].text : args[i].text.left(eq);
        if (eq < 0 || !allowed.contains(key)) {
            throw ScriptError(
                QStringLiteral("unexpected \"%1\"; usage: %2").arg(args[i].raw, usage));
        }
        values.insert(key, args[i].text.mid(eq + 1));
    }
    return values;
}

ScenarioRunner::ScenarioRunner(QTextStream& out, QTextStream& err, const QString& dataDir)
    : out_(out), err_(err) {
    if (dataDir.isEmpty()) {
        tempDir_ = std::make_unique<QTemporaryDir>();
        if (!tempDir_->isValid()) {
            throw std::runtime_error("cannot create a temporary data folder");
        }
        dataDir_ = tempDir_->path();
    } else {
        dataDir_ = QDir(dataDir).absolutePath();
        if (!QDir().mkpath(dataDir_)) {
            throw std::runtime_error(
                QStringLiteral("cannot create the data folder %1").arg(dataDir_).toStdString());
        }
    }
    platform::useHiveFolder(dataDir_);
    clock_ = std::make_shared<platform::ManualClock>(QDateTime::currentDateTime());
    platform::installClock(clock_);
    scheduler_ = std::make_shared<VirtualScheduler>(clock_);
    platform::installTimerService(scheduler_);
    prompts_ = std::make_shared<ScenarioPrompts>(out_);
    platform::installPrompts(prompts_);
    windows_ = std::make_shared<ScenarioWindows>(
        out_, [this](const std::function<bool()>& done) { runUntil(done); },
        [this] { return client_ ? client_->AddInFolder() : QString(); });
    platform::installModalRunner(windows_);
    platform::installHelpViewer(windows_);
    platform::installSoundPlayer(windows_);
    platform::installUrlOpener(windows_);

    client_ = std::make_unique<MailClient>(dataDir_);
    client_->onErrorSuppressed = [this](const QString& text) {
        out_ << "error \"" << tools::escapeTranscriptText(text) << "\"\n";
    };
    displayed_ = client_->engine().onDisplay(
        [this](const outlook::ItemPtr& item, const outlook::InspectorPtr&) {
            const char* kind = outlook::asTaskItem(item) ? "task" : "mail";
            out_ << "display " << kind << " \"" << tools::escapeTranscriptText(item->Subject())
                 << "\"\n";
        });
    eventErrors_ =
        client_->engine().onEventError([this](const QString& event, const QString& text) {
            // Not something a person would see: the mail client ignores a failing handler.
            err_ << "vantorel-host: a handler of " << event << " failed: " << text << Qt::endl;
        });
    registerCommands();
}

ScenarioRunner::~ScenarioRunner() {
    displayed_.disconnect();
    eventErrors_.disconnect();
    client_.reset();
    platform::installUrlOpener(nullptr);
    platform::installSoundPlayer(nullptr);
    platform::installHelpViewer(nullptr);
    platform::installModalRunner(nullptr);
    platform::installPrompts(nullptr);
    platform::installTimerService(nullptr);
    platform::installClock(nullptr);
    platform::installHives(nullptr, nullptr);
}

void ScenarioRunner::add(const QString& name, Command command) {
    commands_.insert(name, std::move(command));
}

void ScenarioRunner::registerCommands() {
    const std::pair<const char*, void (ScenarioRunner::*)(const Args&)> table[] = {
        {"locale", &ScenarioRunner::cmdLocale},
        {"clock", &ScenarioRunner::cmdClock},
        {"advance", &ScenarioRunner::cmdAdvance},
        {"version", &ScenarioRunner::cmdVersion},
        {"explorers", &ScenarioRunner::cmdExplorers},
        {"shutdown", &ScenarioRunner::cmdShutdown},
        {"category", &ScenarioRunner::cmdCategory},
        {"store", &ScenarioRunner::cmdStore},
        {"reg", &ScenarioRunner::cmdReg},
        {"start", &ScenarioRunner::cmdStart},
        {"quit", &ScenarioRunner::cmdQuit},
        {"compose", &ScenarioRunner::cmdCompose},
        {"press", &ScenarioRunner::cmdPress},
        {"send", &ScenarioRunner::cmdSend},
        {"deliver", &ScenarioRunner::cmdDeliver},
        {"complete", &ScenarioRunner::cmdComplete},
        {"delete", &ScenarioRunner::cmdDelete},
        {"prop", &ScenarioRunner::cmdProp},
        {"answer", &ScenarioRunner::cmdAnswer},
        {"close", &ScenarioRunner::cmdClose},
        {"ui", &ScenarioRunner::cmdUi},
        {"list", &ScenarioRunner::cmdList},
        {"dump", &ScenarioRunner::cmdDump},
        {"echo", &ScenarioRunner::cmdEcho},
    };
    for (const auto& [name, method] : table) {
        add(QString::fromLatin1(name), [this, method](const Args& a) { (this->*method)(a); });
    }
}

// --- the run -------------------------------------------------------------------------------

int ScenarioRunner::run(QIODevice& input, const QString& name) {
    name_ = name;
    lines_ = QString::fromUtf8(input.readAll()).split(QLatin1Char('\n'));
    next_ = 0;
    try {
        while (step()) {
        }
        client_->quit();
        out_.flush();
        return kOk;
    } catch (const Stop& stop) {
        out_.flush();
        return stop.status;
    }
}

void ScenarioRunner::runUntil(const std::function<bool()>& done) {
    while (!done()) {
        if (!step()) {
            out_.flush();
            err_ << name_ << ':' << current_ << ": the script ended while a window was open"
                 << Qt::endl;
            throw Stop{kScriptError};
        }
    }
}

bool ScenarioRunner::step() {
    while (next_ < lines_.size()) {
        const QString line = lines_[next_++].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const int lineNo = next_;
        auto fail = [&](int status, const char* what) {
            out_.flush();
            err_ << name_ << ':' << lineNo << ": " << QString::fromUtf8(what) << Qt::endl;
            throw Stop{status};
        };
        try {
            current_ = lineNo;
            execute(splitScriptLine(line));
            if (const auto mistake = prompts_->takeScriptError()) {
                throw ScriptError(*mistake);
            }
            out_.flush();
        } catch (const Stop&) {
            throw;
        } catch (const ScriptSyntaxError& e) {
            fail(kScriptError, e.what());
        } catch (const ScriptError& e) {
            fail(kScriptError, e.what());
        } catch (const std::invalid_argument& e) {
            fail(kScriptError, e.what());
        } catch (const outlook::OutlookError& e) {
            fail(kFailure, e.what());
        } catch (const std::exception& e) {
            fail(kFailure, e.what());
        }
        return true;
    }
    return false;
}

void ScenarioRunner::execute(const Args& args) {
    const auto it = commands_.constFind(args.front().text);
    if (it == commands_.constEnd()) {
        throw ScriptError(QStringLiteral("unknown command \"%1\"").arg(args.front().text));
    }
    (*it)(args);
}

}  // namespace vantorel::host
