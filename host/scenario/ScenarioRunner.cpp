#include "host/scenario/ScenarioRunner.h"

#include "platform/Clock.h"
#include "platform/Hives.h"
#include "platform/RegTree.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>

namespace vantorel::host {

namespace {

// "HKCU\Software\X" -> the hive and "Software\X".
std::pair<platform::RegistryHive*, QString> splitRegKey(const QString& key) {
    const QString root = key.section(QLatin1Char('\\'), 0, 0);
    platform::RegistryHive* hive = platform::hiveForRoot(root);
    if (hive == nullptr) {
        throw ScriptError(QStringLiteral("\"%1\" is not below HKCU or HKLM (HKEY_CURRENT_USER, "
                                         "HKEY_LOCAL_MACHINE)")
                              .arg(key));
    }
    return {hive, platform::normalizeKeyPath(key.section(QLatin1Char('\\'), 1))};
}

}  // namespace

void expectArgs(const ScenarioRunner::Args& args, qsizetype min, qsizetype max,
                const QString& usage) {
    const qsizetype given = static_cast<qsizetype>(args.size()) - 1;
    if (given < min || given > max) {
        throw ScriptError(QStringLiteral("usage: %1").arg(usage));
    }
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
    registerCommands();
}

ScenarioRunner::~ScenarioRunner() {
    platform::installClock(nullptr);
    platform::installHives(nullptr, nullptr);
}

void ScenarioRunner::add(const QString& name, Command command) {
    commands_.insert(name, std::move(command));
}

void ScenarioRunner::registerCommands() {
    add(QStringLiteral("locale"), [this](const Args& a) { cmdLocale(a); });
    add(QStringLiteral("clock"), [this](const Args& a) { cmdClock(a); });
    add(QStringLiteral("advance"), [this](const Args& a) { cmdAdvance(a); });
    add(QStringLiteral("reg"), [this](const Args& a) { cmdReg(a); });
    add(QStringLiteral("dump"), [this](const Args& a) { cmdDump(a); });
}

int ScenarioRunner::run(QIODevice& input, const QString& name) {
    int lineNo = 0;
    while (!input.atEnd()) {
        QString line = QString::fromUtf8(input.readLine());
        ++lineNo;
        while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'))) {
            continue;
        }
        try {
            execute(splitScriptLine(trimmed));
            out_.flush();
        } catch (const ScriptSyntaxError& e) {
            out_.flush();
            err_ << name << ':' << lineNo << ": " << QString::fromUtf8(e.what()) << Qt::endl;
            return kScriptError;
        } catch (const ScriptError& e) {
            out_.flush();
            err_ << name << ':' << lineNo << ": " << QString::fromUtf8(e.what()) << Qt::endl;
            return kScriptError;
        } catch (const std::exception& e) {
            out_.flush();
            err_ << name << ':' << lineNo << ": " << QString::fromUtf8(e.what()) << Qt::endl;
            return kFailure;
        }
    }
    out_.flush();
    return kOk;
}

void ScenarioRunner::execute(const Args& args) {
    const auto it = commands_.constFind(args.front().text);
    if (it == commands_.constEnd()) {
        throw ScriptError(QStringLiteral("unknown command \"%1\"").arg(args.front().text));
    }
    (*it)(args);
}

void ScenarioRunner::cmdLocale(const Args& args) {
    expectArgs(args, 1, 1, QStringLiteral("locale NAME"));
    const QLocale locale(args[1].text);
    if (locale.name() != args[1].text) {
        throw ScriptError(QStringLiteral("unknown locale \"%1\"").arg(args[1].text));
    }
    QLocale::setDefault(locale);
}

void ScenarioRunner::cmdClock(const Args& args) {
    expectArgs(args, 2, 2, QStringLiteral("clock YYYY-MM-DD HH:MM[:SS]"));
    const QString text = args[1].text + QLatin1Char(' ') + args[2].text;
    QDateTime t = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!t.isValid()) {
        t = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
    }
    if (!t.isValid()) {
        throw ScriptError(
            QStringLiteral("\"%1\" is not a date and time (YYYY-MM-DD HH:MM[:SS])").arg(text));
    }
    clock_->set(t);
}

void ScenarioRunner::cmdAdvance(const Args& args) {
    expectArgs(args, 1, 1, QStringLiteral("advance N{s,m,h,d}"));
    static const QRegularExpression re(QStringLiteral("^(\\d+)([smhd])$"));
    const QRegularExpressionMatch m = re.match(args[1].text);
    if (!m.hasMatch()) {
        throw ScriptError(
            QStringLiteral("\"%1\" is not a span such as 10s, 5m, 2h or 1d").arg(args[1].text));
    }
    static const QHash<QString, qint64> unitMs{{QStringLiteral("s"), 1000},
                                               {QStringLiteral("m"), 60'000},
                                               {QStringLiteral("h"), 3'600'000},
                                               {QStringLiteral("d"), 86'400'000}};
    clock_->advance(m.captured(1).toLongLong() * unitMs.value(m.captured(2)));
}

void ScenarioRunner::cmdReg(const Args& args) {
    if (args.size() >= 2 && args[1].text == QLatin1String("set")) {
        expectArgs(args, 4, 4, QStringLiteral("reg set KEY NAME VALUE"));
        const auto [hive, path] = splitRegKey(args[2].text);
        platform::RegValue value;
        try {
            value = args[4].quoted ? platform::RegValue::fromString(args[4].text)
                                   : platform::parseRegData(args[4].raw);
        } catch (const platform::RegistryError& e) {
            throw ScriptError(QString::fromUtf8(e.what()));
        }
        hive->setValue(path, args[3].text, value);
        return;
    }
    if (args.size() >= 2 && args[1].text == QLatin1String("delete")) {
        expectArgs(args, 2, 3, QStringLiteral("reg delete KEY [NAME]"));
        const auto [hive, path] = splitRegKey(args[2].text);
        if (args.size() == 4) {
            hive->deleteValue(path, args[3].text);
        } else {
            hive->deleteKey(path);
        }
        return;
    }
    throw ScriptError(QStringLiteral("usage: reg set KEY NAME VALUE | reg delete KEY [NAME]"));
}

void ScenarioRunner::cmdDump(const Args& args) {
    if (args.size() >= 2 && args[1].text == QLatin1String("reg")) {
        dumpReg(args);
        return;
    }
    throw ScriptError(QStringLiteral("usage: dump reg [KEY]"));
}

void ScenarioRunner::dumpReg(const Args& args) {
    expectArgs(args, 1, 2, QStringLiteral("dump reg [KEY]"));
    const QString key =
        args.size() == 3 ? args[2].text : QStringLiteral("HKCU\\Software\\Ostrelin\\Vantorel");
    const auto [hive, path] = splitRegKey(key);
    out_ << platform::snapshot(*hive, path).toRegText(hive->rootName(), path, false);
}

}  // namespace vantorel::host
