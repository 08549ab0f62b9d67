// The host killed at random moments while it sends, snoozes and receives replies, then
// started again on the same data folder: the mailbox and the settings open, everything
// done before the kill is there, every tracking task names the sent copy of its message
// (a send the kill cut short leaves no task behind), and the add-in carries on.
// VANTOREL_KILLS sets the number of kills (20 by default), VANTOREL_KILL_SEED the
// random sequence.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

const QString kWizardOff = QStringLiteral(
    "reg set HKCU\\Software\\Ostrelin\\Vantorel\\General StartWizardOnStartup dword:00000000\n");

QString clockLine(const QDateTime& moment) {
    return QStringLiteral("clock %1\n").arg(moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

// Cycle C runs over ten days of its own.
QDateTime cycleStart(int c) {
    return QDateTime(QDate(2027, 1, 1).addDays(10 * c), QTime(9, 0));
}

// The busy run of cycle C: forty messages sent with "Remind me", every other one
// answered, and every fifth a day passing with its reminders shown and one snoozed.
// Each step done prints a mark.
QString busyScript(int c) {
    QDateTime now = cycleStart(c);
    QString s = clockLine(now) + kWizardOff + QStringLiteral("start\n");
    for (int i = 1; i <= 40; ++i) {
        const QString id = QStringLiteral("%1-%2").arg(c).arg(i);
        s += QStringLiteral(
                 "compose to=\"Ann Lee <ann@example.com>\" subject=\"Offer %1\" "
                 "body=\"Our offer.\"\npress \"Remind me\"\necho sent %1\nadvance 1m\n")
                 .arg(id);
        now = now.addSecs(60);
        if (i % 2 == 0) {
            const QString answered = QStringLiteral("%1-%2").arg(c).arg(i - 1);
            s += QStringLiteral(
                     "deliver from=ann@example.com subject=\"RE: Offer %1\"\n"
                     "echo replied %1\n")
                     .arg(answered);
        }
        if (i % 5 == 0) {
            // A day later, the reminders are due; one is snoozed.
            now = now.addDays(1);
            s += clockLine(now) +
                 QStringLiteral("advance 10s\nlist select 1\nui cmdSnooze click\necho snoozed\n");
            now = now.addSecs(10);
        }
    }
    return s + QStringLiteral("quit\n");
}

struct HostRun {
    bool killed = false;
    int status = -1;
    QString out;
    QString err;
};

HostRun runHost(const QString& dataDir, const QString& script, int killAfterMs) {
    QProcess host;
    host.start(QStringLiteral(VANTOREL_HOST_PATH), {QStringLiteral("--script"), QStringLiteral("-"),
                                                    QStringLiteral("--data"), dataDir});
    host.write(script.toUtf8());
    host.closeWriteChannel();
    HostRun run;
    if (killAfterMs >= 0 && !host.waitForFinished(killAfterMs)) {
        host.kill();  // SIGKILL: no shutdown of any kind
        run.killed = true;
    }
    // (waitForFinished is false for a process that has finished already)
    const bool finished = host.state() == QProcess::NotRunning || host.waitForFinished(120'000);
    if (!finished) {
        host.kill();  // a host that hangs fails the run instead of passing for a clean exit
        host.waitForFinished();
    }
    run.status = finished && host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1;
    run.out = QString::fromUtf8(host.readAllStandardOutput());
    run.err = QString::fromUtf8(host.readAllStandardError());
    if (!finished) {
        run.err += QStringLiteral("\n(the host did not finish within two minutes)");
    }
    return run;
}

// The values of "  Subject: ..." or "  user NAME = ..." lines per item of a dump.
struct Item {
    QString entryId;
    QString subject;
    QString topic;  // "user Topic"
    QString mail;   // "user Mail"
    bool tracked = false;
};

std::vector<Item> itemsOf(const QString& dump, const QString& header) {
    std::vector<Item> items;
    for (const QString& line : dump.split(QLatin1Char('\n'))) {
        if (line.startsWith(header + QLatin1Char(' '))) {
            items.emplace_back();
        } else if (!items.empty() && line.startsWith(QLatin1String("  EntryID: "))) {
            items.back().entryId = line.mid(11);
        } else if (!items.empty() && line.startsWith(QLatin1String("  user Mail = "))) {
            items.back().mail = line.mid(14).chopped(1).mid(1);
        } else if (!items.empty() && line.startsWith(QLatin1String("  Subject: "))) {
            items.back().subject = line.mid(11);
        } else if (!items.empty() && line.startsWith(QLatin1String("  user Topic = "))) {
            items.back().topic = line.mid(15).chopped(1).mid(1);
            items.back().tracked = true;
        }
    }
    return items;
}

TEST(KillLoop, EveryKillLosesNothingDoneAndTheAddInCarriesOn) {
    const int kills = qEnvironmentVariableIsSet("VANTOREL_KILLS")
                          ? qEnvironmentVariableIntValue("VANTOREL_KILLS")
                          : 20;
    const unsigned seed =
        qEnvironmentVariableIsSet("VANTOREL_KILL_SEED")
            ? static_cast<unsigned>(qEnvironmentVariableIntValue("VANTOREL_KILL_SEED"))
            : 20261210u;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay(30, 1500);
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());

    QSet<QString> sent;  // marks seen before a kill
    QSet<QString> replied;
    int killed = 0;
    for (int c = 0; c < kills; ++c) {
        const int after = delay(random);
        const HostRun busy = runHost(data.path(), busyScript(c), after);
        killed += busy.killed ? 1 : 0;
        ASSERT_TRUE(busy.killed || busy.status == 0)
            << "cycle " << c << " (seed " << seed << "): " << busy.err.toStdString();
        // A mark is printed once its step is done: the step must have left its trace.
        for (const QString& line : busy.out.split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("echo sent "))) {
                sent.insert(line.mid(10));
            } else if (line.startsWith(QLatin1String("echo replied "))) {
                replied.insert(line.mid(13));
            }
        }

        // The next start: the mailbox and the settings open, nothing is lost, and a new
        // message is tracked, reminded of and closed by its reply.
        const QString id = QStringLiteral("check-%1").arg(c);
        const HostRun check =
            runHost(data.path(),
                    clockLine(cycleStart(c).addDays(9)) + kWizardOff +
                        QStringLiteral("start\nadvance 10s\ndump sent\ndump tasks\n"
                                       "compose to=dan@example.com subject=\"Check %1\"\n"
                                       "press \"Remind me\"\n")
                            .arg(id) +
                        clockLine(cycleStart(c).addDays(10).addSecs(60)) +
                        QStringLiteral("advance 10s\ndump reminders\n"
                                       "deliver from=dan@example.com subject=\"RE: Check %1\"\n"
                                       "dump reminders\nquit\n")
                            .arg(id),
                    -1);
        ASSERT_EQ(check.status, 0) << "cycle " << c << " (seed " << seed << "), after a kill at "
                                   << after << " ms: " << check.err.toStdString();
        EXPECT_FALSE(check.err.contains(QLatin1String("damaged"))) << check.err.toStdString();
        const qsizetype tasksAt = check.out.indexOf(QLatin1String("\ntask 1\n"));
        const QString sentDump = check.out.left(tasksAt < 0 ? check.out.size() : tasksAt);
        const QString tasksDump = tasksAt < 0 ? QString() : check.out.mid(tasksAt);
        QSet<QString> sentSubjects;
        QSet<QString> sentIds;
        for (const Item& mail : itemsOf(sentDump, QStringLiteral("mail"))) {
            sentSubjects.insert(mail.subject);
            sentIds.insert(mail.entryId);
        }
        QSet<QString> trackedTopics;
        for (const Item& task : itemsOf(tasksDump, QStringLiteral("task"))) {
            if (task.tracked) {
                trackedTopics.insert(task.topic);
                // Once the first tick has run, a task follows a message that was sent,
                // and names its sent copy.
                EXPECT_TRUE(sentIds.contains(task.mail))
                    << "the task of " << task.topic.toStdString()
                    << " names no sent message after a kill in cycle " << c << " at " << after
                    << " ms (seed " << seed << ")";
            }
        }
        for (const QString& done : sent) {
            EXPECT_TRUE(sentSubjects.contains(QStringLiteral("Offer ") + done))
                << "Offer " << done.toStdString() << " was sent before the kill in cycle " << c;
        }
        for (const QString& done : replied) {
            EXPECT_FALSE(trackedTopics.contains(QStringLiteral("Offer ") + done))
                << "the reply to Offer " << done.toStdString() << " is lost (cycle " << c << ")";
        }
        // The check's reminder came, and its reply took it away.
        const qsizetype reminded = check.out.indexOf(QStringLiteral("\"Check %1\"").arg(id));
        ASSERT_GE(reminded, 0) << "no reminder after cycle " << c << ": "
                               << check.out.toStdString();
        EXPECT_LT(check.out.lastIndexOf(QStringLiteral("\"Check %1\"").arg(id)),
                  check.out.lastIndexOf(QLatin1String("window ")))
            << "the reply did not close the check of cycle " << c;
        if (HasFailure()) {
            return;
        }
    }
    // Most runs end by the kill, not by finishing.
    EXPECT_GE(killed, kills / 2) << "seed " << seed;
    std::printf(
        "[ kill loop ] %d kills survived of %d runs (seed %u), %lld sends and %lld "
        "replies done before a kill found again\n",
        killed, kills, seed, static_cast<long long>(sent.size()),
        static_cast<long long>(replied.size()));
}

}  // namespace
