// vantorel-host: the stand-in for the mail client that hosts the Vantorel add-in.
//
//   vantorel-host [--data DIR]                  the mail client's window with the add-in
//   vantorel-host --script FILE [--data DIR]    run a scenario script headless
//   vantorel-host --com ...                     load the add-in through COM (Windows)
//   vantorel-host --help                        the options

#include "host/AddInLoader.h"
#include "host/HostSystem.h"
#include "host/desktop/DesktopRun.h"
#include "host/scenario/ScenarioRunner.h"
#include "platform/TimeZoneSetting.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

// Where the desktop keeps its data without --data.
QString defaultDataFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Ostrelin/Vantorel"));
}

// The offscreen platform warns about every fixed-size window it cannot hint to a
// window manager it does not have, and every window it cannot raise; that says
// nothing about the add-in.
QtMessageHandler defaultMessageHandler = nullptr;

void quietOffscreenNoise(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg &&
        (text.contains(QLatin1String("does not support propagateSizeHints")) ||
         text.contains(QLatin1String("does not support raise()")))) {
        return;
    }
    defaultMessageHandler(type, context, text);
}

// The command line, read before Qt starts: a display that is missing or a data
// folder that cannot be used is reported before any window or file is touched.
struct CommandLine {
    bool help = false;
    bool scripted = false;
    bool com = false;
    QString script;
    QString data;
};

constexpr int kUsageError = 2;

// Parses ARGS (the program first); throws the one line that explains a mistake.
CommandLine parseCommandLine(const QStringList& args, QString* helpText) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The mail client that hosts Vantorel."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show these options and exit."));
    const QCommandLineOption script(QStringLiteral("script"),
                                    QStringLiteral("Run the scenario FILE headless (- reads "
                                                   "standard input)."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption data(QStringLiteral("data"),
                                  QStringLiteral("Keep the hives and the mailbox in DIR."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption com(QStringLiteral("com"),
                                 QStringLiteral("Load the add-in as the mail client does on "
                                                "Windows: through its COM registration."));
    parser.addOption(help);
    parser.addOption(com);
    parser.addOption(script);
    parser.addOption(data);
    // Without a running application Qt names the program "<executable_name>".
    *helpText = parser.helpText().replace(QLatin1String("<executable_name>"),
                                          QLatin1String("vantorel-host"));
    if (!parser.parse(args)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            // As written: "--x" and "-x" are both the option named "x".
            const QString& name = unknown.first();
            const QString longForm = QStringLiteral("--") + name;
            const bool isLong = std::any_of(args.begin(), args.end(), [&](const QString& arg) {
                return arg == longForm || arg.startsWith(longForm + QLatin1Char('='));
            });
            const QString dashes = isLong ? QStringLiteral("--") : QStringLiteral("-");
            throw std::invalid_argument(
                QStringLiteral("unknown option '%1%2'").arg(dashes, unknown.first()).toStdString());
        }
        QString why = parser.errorText();
        if (why.endsWith(QLatin1Char('.'))) {
            why.chop(1);
        }
        if (!why.isEmpty()) {
            why[0] = why[0].toLower();
        }
        throw std::invalid_argument(why.toStdString());
    }
    if (!parser.positionalArguments().isEmpty()) {
        throw std::invalid_argument(QStringLiteral("unexpected argument '%1'")
                                        .arg(parser.positionalArguments().first())
                                        .toStdString());
    }
    CommandLine line;
    line.help = parser.isSet(help);
    line.scripted = parser.isSet(script);
    line.com = parser.isSet(com);
    line.script = parser.value(script);
    line.data = parser.value(data);
    return line;
}

// Makes FOLDER when it is missing; empty when the host can keep its data there, else
// the reason it cannot.
QString dataFolderProblem(const QString& folder) {
    const QString path = QDir(folder).absolutePath();
    const QFileInfo info(path);
    if (info.exists() && !info.isDir()) {
        return QStringLiteral("the data folder %1 is not a folder").arg(path);
    }
    if (!info.exists() && !QDir().mkpath(path)) {
        return QStringLiteral("cannot create the data folder %1").arg(path);
    }
    // Write a file rather than ask for permissions: they do not bind every user.
    QTemporaryFile probe(QDir(path).filePath(QStringLiteral(".vantorel-probe-XXXXXX")));
    if (!probe.open()) {
        return QStringLiteral("cannot write in the data folder %1").arg(path);
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    vantorel::platform::followTimeZoneSetting();
    QStringList args;
    for (int i = 0; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandLine line;
    QString helpText;
    try {
        line = parseCommandLine(args, &helpText);
    } catch (const std::invalid_argument& e) {
        err << "vantorel-host: " << QString::fromUtf8(e.what()) << "; see --help" << Qt::endl;
        return kUsageError;
    }
    if (line.help) {
        out << helpText;
        return 0;
    }
    if (line.com) {
        vantorel::host::setAddInLoading(vantorel::host::AddInLoading::Com);
    }
    if (!line.scripted) {
        if (const QString missing = vantorel::host::missingDisplayText(); !missing.isEmpty()) {
            err << "vantorel-host: " << missing << Qt::endl;
            return 1;
        }
    }
    QString dataDir = line.data;
    if (!line.scripted && dataDir.isEmpty()) {
        dataDir = defaultDataFolder();
    }
    if (!dataDir.isEmpty()) {
        const QString problem = dataFolderProblem(dataDir);
        if (!problem.isEmpty()) {
            err << "vantorel-host: " << problem << Qt::endl;
            return 1;
        }
    }

    // Scripts run without a window: choose the offscreen platform before Qt starts.
    if (line.scripted && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    vantorel::host::prepareForQt();
    defaultMessageHandler = qInstallMessageHandler(quietOffscreenNoise);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vantorel-host"));

    if (!line.scripted) {
        try {
            const int status = vantorel::host::runDesktop(dataDir, !line.data.isEmpty());
            return status == 0 && vantorel::host::contractBroken() ? 1 : status;
        } catch (const std::exception& e) {
            err << "vantorel-host: " << QString::fromUtf8(e.what()) << Qt::endl;
            return 1;
        }
    }

    const QString path = line.script;
    QFile file;
    const bool opened = path == QLatin1String("-")
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        err << "vantorel-host: cannot read " << path << ": " << file.errorString() << Qt::endl;
        return 1;
    }
    try {
        int status = 0;
        {
            vantorel::host::ScenarioRunner runner(out, err, line.data);
            status = runner.run(file, path);
        }
        // An add-in that broke the COM contract fails the run, whatever the script did.
        return status == 0 && vantorel::host::contractBroken() ? 1 : status;
    } catch (const std::exception& e) {
        err << "vantorel-host: " << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
}
