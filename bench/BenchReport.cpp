// Prints every figure of a benchmark run beside its budget:
//
//   bench_report FILE...
//
// FILE is Google Benchmark's JSON output (the medians of repeated runs are read, or the
// run itself when there was one) or memory_bench's. A figure above its budget is
// marked "over budget"; so is a cost that grows faster than the number of tasks. Exit status 1 when
// anything is over budget, missing or failed.

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <cstdio>

namespace {

struct Budget {
    const char* figure;  // the benchmark, without its repetition and timing suffixes
    const char* what;
    double limit;
    const char* unit;
};

const Budget kBudgets[] = {
    {"BM_StartUp/tasks:10000", "start-up", 100, "ms"},
    {"BM_PollPass/tasks:1000/newly_due:0", "poll pass, none newly due", 0, "ms"},
    {"BM_PollPass/tasks:10000/newly_due:0", "poll pass, none newly due", 5, "ms"},
    {"BM_PollPass/tasks:100000/newly_due:0", "poll pass, none newly due", 50, "ms"},
    // A pass that lists a tenth of the tasks at once: the reminders window builds a
    // row for each. Its cost must grow linearly (below); the budgets are the
    // steady passes'.
    {"BM_PollPass/tasks:1000/newly_due:1", "poll pass, 10 % newly due", 0, "ms"},
    {"BM_PollPass/tasks:10000/newly_due:1", "poll pass, 10 % newly due", 0, "ms"},
    {"BM_PollPass/tasks:100000/newly_due:1", "poll pass, 10 % newly due", 0, "ms"},
    {"BM_ReplyDetection/tasks:10000/case:0", "reply detection, match at the end", 2, "ms"},
    {"BM_ReplyDetection/tasks:10000/case:1", "reply detection, match at the start", 2, "ms"},
    {"BM_ReplyDetection/tasks:10000/case:2", "reply detection, no match", 2, "ms"},
    {"BM_ReplyCatchUp/tasks:10000/inbox:100000/replies:1000",
     "catch-up of 1 000 replies, Inbox of 100 000", 300, "ms"},
    {"BM_WindowRefresh/entries:1000", "reminders window refresh", 5, "ms"},
    {"BM_SelectionAction/entries:1000/dismiss:0", "Snooze on the selected entries", 100, "ms"},
    {"BM_SelectionAction/entries:10000/dismiss:0", "Snooze on the selected entries", 0, "ms"},
    {"BM_SelectionAction/entries:1000/dismiss:1", "Dismiss on the selected entries", 100, "ms"},
    {"BM_SelectionAction/entries:10000/dismiss:1", "Dismiss on the selected entries", 0, "ms"},
    {"BM_RemindMeSend/tasks:10000", "\"Remind me\" send", 5, "ms"},
    {"BM_MailboxOpen/items:100000", "mailbox open", 1000, "ms"},
    {"BM_TemplateEditOpenOk/kb:256/edit:1", "template editor, edit + OK, 256 KB", 0, "ms"},
    {"BM_TemplateEditOpenOk/kb:1024/edit:0", "template editor, open + OK, 1 MB", 200, "ms"},
    {"BM_TemplateEditOpenOk/kb:1024/edit:1", "template editor, edit + OK, 1 MB", 200, "ms"},
    {"PeakMemory/tasks:10000", "peak memory", 120, "MB"},
    {"PeakMemory/items:100000", "peak memory", 400, "MB"},
};

// Costs measured at two sizes that must grow no faster than the size: the larger
// one's cost at most TOLERANCE times the ratio of the sizes above the smaller one's.
struct Growth {
    const char* small;
    const char* large;
    double sizeRatio;
    double tolerance = 1.5;
};
const Growth kGrowth[] = {
    {"BM_PollPass/tasks:1000/newly_due:0", "BM_PollPass/tasks:10000/newly_due:0", 10},
    {"BM_PollPass/tasks:10000/newly_due:0", "BM_PollPass/tasks:100000/newly_due:0", 10},
    {"BM_PollPass/tasks:1000/newly_due:1", "BM_PollPass/tasks:10000/newly_due:1", 10},
    {"BM_PollPass/tasks:10000/newly_due:1", "BM_PollPass/tasks:100000/newly_due:1", 10},
    // Ten times the selected entries: at most twelve times the time.
    {"BM_SelectionAction/entries:1000/dismiss:0", "BM_SelectionAction/entries:10000/dismiss:0", 10,
     1.2},
    {"BM_SelectionAction/entries:1000/dismiss:1", "BM_SelectionAction/entries:10000/dismiss:1", 10,
     1.2},
    // Four times the template: at most six times the time.
    {"BM_TemplateEditOpenOk/kb:256/edit:1", "BM_TemplateEditOpenOk/kb:1024/edit:1", 4},
};

double toMilliseconds(double value, const QString& unit) {
    if (unit == QLatin1String("ns")) {
        return value / 1e6;
    }
    if (unit == QLatin1String("us")) {
        return value / 1e3;
    }
    if (unit == QLatin1String("s")) {
        return value * 1e3;
    }
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QMap<QString, double> measured;
    QMap<QString, double> cpu;  // the process's own time: what the wall time holds
                                // on a machine busy with other work
    QStringList failed;
    QSet<QString> fromMedian;
    static const QRegularExpression suffixes(
        QStringLiteral("(/iterations:\\d+)?(/repeats:\\d+)?(/real_time)?$"));
    for (const QString& path : app.arguments().mid(1)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "bench_report: cannot read %s\n", qPrintable(path));
            return 2;
        }
        const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
        for (const QJsonValue& v : root.value(QStringLiteral("benchmarks")).toArray()) {
            const QJsonObject b = v.toObject();
            QString name = b.value(QStringLiteral("run_name")).toString();
            name.remove(suffixes);
            if (b.contains(QStringLiteral("error_occurred")) &&
                b.value(QStringLiteral("error_occurred")).toBool()) {
                failed << name + QStringLiteral(": ") +
                              b.value(QStringLiteral("error_message")).toString();
                continue;
            }
            // The median of the repetitions; a single run (VANTOREL_BENCH_REPETITIONS=1)
            // has no aggregates, only its own row.
            const bool median =
                b.value(QStringLiteral("aggregate_name")).toString() == QLatin1String("median");
            const bool single =
                b.value(QStringLiteral("run_type")).toString() == QLatin1String("iteration") &&
                !fromMedian.contains(name);
            if (!median && !single) {
                continue;
            }
            if (median) {
                fromMedian.insert(name);
            }
            const QString unit = b.value(QStringLiteral("time_unit")).toString();
            measured[name] = toMilliseconds(b.value(QStringLiteral("real_time")).toDouble(), unit);
            cpu[name] = toMilliseconds(b.value(QStringLiteral("cpu_time")).toDouble(), unit);
        }
        for (const QJsonValue& v : root.value(QStringLiteral("memory")).toArray()) {
            const QJsonObject m = v.toObject();
            measured[m.value(QStringLiteral("name")).toString()] =
                m.value(QStringLiteral("megabytes")).toDouble();
        }
    }

    int over = 0;
    std::printf("%-40s %-36s %10s %10s %7s %10s\n", "figure", "", "measured", "budget", "ratio",
                "cpu");
    for (const Budget& b : kBudgets) {
        const QString figure = QLatin1String(b.figure);
        if (!measured.contains(figure)) {
            std::printf("%-40s %-36s %10s %7.1f %-2s %7s  missing\n", b.figure, b.what, "-",
                        b.limit, b.unit, "-");
            ++over;
            continue;
        }
        const double value = measured.value(figure);
        const QByteArray cpuText = cpu.contains(figure) ? QStringLiteral("%1 %2")
                                                              .arg(cpu.value(figure), 7, 'f', 3)
                                                              .arg(QLatin1String(b.unit))
                                                              .toUtf8()
                                                        : QByteArray("      -   ");
        if (b.limit <= 0) {
            std::printf("%-40s %-36s %7.3f %-2s %10s %7s %s\n", b.figure, b.what, value, b.unit,
                        "-", "-", cpuText.constData());
            continue;
        }
        const double ratio = value / b.limit;
        std::printf("%-40s %-36s %7.3f %-2s %7.1f %-2s %7.3f %s%s\n", b.figure, b.what, value,
                    b.unit, b.limit, b.unit, ratio, cpuText.constData(),
                    ratio > 1.0 ? "  over budget" : "");
        if (ratio > 1.0) {
            ++over;
        }
    }
    for (const Growth& g : kGrowth) {
        const QString small = QLatin1String(g.small);
        const QString large = QLatin1String(g.large);
        if (!measured.contains(small) || !measured.contains(large)) {
            continue;
        }
        const double factor = measured.value(large) / measured.value(small);
        const bool tooFast = factor > g.sizeRatio * g.tolerance;
        std::printf("growth %s -> %s: x%.1f for x%.0f tasks (at most x%.0f)%s\n", g.small, g.large,
                    factor, g.sizeRatio, g.sizeRatio * g.tolerance,
                    tooFast ? "  over budget (faster than linear)" : "");
        if (tooFast) {
            ++over;
        }
    }
    for (const QString& f : failed) {
        std::printf("failed %s\n", qPrintable(f));
        ++over;
    }
    return over > 0 ? 1 : 0;
}
