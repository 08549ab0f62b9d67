// The host's peak memory: a fresh process opens a mailbox the parent wrote, starts
// the add-in, runs one reminder poll pass and one refresh of the reminders window,
// and reports its peak resident set (VmHWM). Writing the mailbox is not counted.
//
//   memory_bench [--out FILE]   both cases, as JSON, to FILE or standard output
//   memory_bench --measure DIR  one process over DIR/mailbox.db (used by the above)

#include "addin/AddInModule.h"
#include "bench/BenchHost.h"
#include "forms/ReminderWindowUnit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace vantorel;
using namespace vantorel::bench;

namespace {

// Peak resident set of this process in kB, from /proc/self/status.
qint64 peakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').front().toLongLong();
        }
    }
    return -1;
}

int measure(const QString& dataDir) {
    BenchHost host(dataDir);
    host.start();
    AddInModule->TimerCheckRemindersTimer();
    ReminderWindow->TimerUpdateTimer();
    const int listed = ReminderWindow->lstReminders->topLevelItemCount();
    host.client().quit();
    std::printf("%lld %d\n", static_cast<long long>(peakResidentKb()), listed);
    return listed > 0 ? 0 : 1;
}

struct Case {
    const char* name;
    MailboxShape shape;
};

}  // namespace

int main(int argc, char** argv) {
    prepareProcess();
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--measure")) {
        return measure(args[2]);
    }
    QString out;
    if (args.size() == 3 && args[1] == QLatin1String("--out")) {
        out = args[2];
    } else if (args.size() != 1) {
        std::fprintf(stderr, "usage: memory_bench [--out FILE] | --measure DIR\n");
        return 2;
    }
    MailboxShape tasks;
    tasks.trackingTasks = 10000;
    const Case cases[] = {
        {"PeakMemory/tasks:10000", tasks},
        {"PeakMemory/items:100000", mailboxOfItems(100000)},
    };
    QJsonArray results;
    int status = 0;
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const int items = writeMailbox(dir.filePath(QStringLiteral("mailbox.db")), c.shape);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QApplication::applicationFilePath(), {QStringLiteral("--measure"), dir.path()});
        child.waitForFinished(-1);
        const QList<QByteArray> words = child.readAllStandardOutput().trimmed().split(' ');
        const qint64 kb = words.size() == 2 ? words[0].toLongLong() : -1;
        if (child.exitCode() != 0 || kb <= 0) {
            std::fprintf(stderr, "memory_bench: %s failed\n", c.name);
            status = 1;
            continue;
        }
        results.append(QJsonObject{{QStringLiteral("name"), QLatin1String(c.name)},
                                   {QStringLiteral("megabytes"), kb / 1024.0},
                                   {QStringLiteral("items"), items},
                                   {QStringLiteral("listed"), words[1].toInt()}});
    }
    const QByteArray json =
        QJsonDocument(QJsonObject{{QStringLiteral("memory"), results}}).toJson();
    if (out.isEmpty()) {
        std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
    } else {
        QFile file(out);
        if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size()) {
            std::fprintf(stderr, "memory_bench: cannot write %s\n", qPrintable(out));
            return 1;
        }
    }
    return status;
}
