// The road of three messages, run once for every object-model call on it with that one
// call failing: sent with "Remind me" and with "Custom", the sent copies arriving, the
// poll showing the reminders, a snooze, a dismissal, a re-send, its follow-up sent and
// a reply. Each run
// must keep the add-in standing: nothing escapes to the mail client, no tracking task
// is duplicated or left half-written, no send stays pending, and the next start on the
// same mailbox works. What each failure does is printed as a table, and the table must
// equal FaultSweep.expected (reviewed row by row; a change shows up as a difference).

#include "forms/CustomSendTaskUnit.h"
#include "forms/ReminderWindowUnit.h"
#include "host/MailClient.h"
#include "host/scenario/ScenarioWindows.h"
#include "host/scenario/VirtualScheduler.h"
#include "platform/Clock.h"
#include "platform/Timer.h"
#include "reminders/TrackingProperties.h"
#include "tests/support/RecordingPrompts.h"
#include "tests/support/RecordingSound.h"
#include "tests/support/ScriptedWindows.h"
#include "tests/support/TempHives.h"
#include "tools/TranscriptText.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSet>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace vantorel;
using namespace vantorel::test;
namespace ol = vantorel::outlook;

namespace {

// One mail client with the add-in on a fresh mailbox, and what it showed.
class RoadRun {
public:
    RoadRun()
        : clock(
              std::make_shared<platform::ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(9, 0)))),
          scheduler(std::make_shared<host::VirtualScheduler>(clock)) {
        platform::installClock(clock);
        platform::installTimerService(scheduler);
        hives.user().setValue(QStringLiteral("Software\\Ostrelin\\Vantorel\\General"),
                              QStringLiteral("StartWizardOnStartup"),
                              platform::RegValue::fromDWord(0));
        open();
    }
    ~RoadRun() {
        client.reset();
        platform::installTimerService(nullptr);
        platform::installClock(nullptr);
    }

    // The mail client on the run's data folder (again, after a quit).
    void open() {
        client.reset();
        client = std::make_unique<host::MailClient>(hives.folder());
        client->onErrorSuppressed = [this](const QString& text) {
            seen << QStringLiteral("error path: ") + text;
        };
        eventErrors =
            client->engine().onEventError([this](const QString& event, const QString& text) {
                seen << QStringLiteral("%1 handler failed: %2").arg(event, text);
            });
    }

    engine::Engine& mailbox() { return client->engine(); }
    ol::ItemsPtr folder(int type) {
        return mailbox().application()->Session()->GetDefaultFolder(type)->Items();
    }

    // A move of the clock by a day or more, without a poll for every ten seconds of it.
    void jump(qint64 milliseconds) {
        clock->set(clock->now().addMSecs(milliseconds));
        scheduler->restartAll();
    }

    void send(const QString& to, const QString& subject, const QString& button) {
        engine::ComposeFields fields;
        fields.to = to;
        fields.subject = subject;
        fields.body = QStringLiteral("Text of ") + subject + QLatin1Char('.');
        client->compose(fields);
        try {
            client->press(button);
        } catch (const std::invalid_argument& refused) {
            // The add-in's button is not there to press (hidden, disabled).
            seen << QString::fromUtf8(refused.what());
        }
        // A message the add-in could not send stays in its window; the person closes it.
        for (const ol::InspectorPtr& inspector : mailbox().inspectors()) {
            mailbox().close(inspector);
        }
    }

    // The position (from 1) of the reminder of TOPIC in the reminders window; 0 when
    // it is not listed.
    int listed(const QString& topic) {
        if (ReminderWindow == nullptr || !ReminderWindow->isVisible()) {
            return 0;
        }
        const QStringList lines =
            client->describe(QStringLiteral("reminders")).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            if (line.startsWith(QLatin1String("entry ")) &&
                line.contains(QLatin1Char('"') + topic + QLatin1Char('"'))) {
                return line.section(QLatin1Char(' '), 1, 1).toInt();
            }
        }
        return 0;
    }
    // Selects the reminder of TOPIC and clicks BUTTON; false when it is not listed.
    bool act(const QString& topic, const char* button) {
        const int position = listed(topic);
        if (position == 0) {
            return false;
        }
        host::selectListEntries(*ReminderWindow, QStringLiteral("lstReminders"), {position});
        ReminderWindow->findChild<QPushButton*>(QLatin1String(button))->click();
        return true;
    }

    // Each task in folder order: its topic (or subject), whether it is tracked, done.
    QString tasksSummary() {
        QStringList parts;
        const ol::ItemsPtr tasks = folder(ol::olFolderTasks);
        for (int i = 1; i <= tasks->Count(); ++i) {
            const ol::TaskItemPtr task = ol::asTaskItem(tasks->Item(i));
            const std::optional<QString> topic =
                ReadTrackingProperty(*task, TrackingProperty::Topic);
            QString part = topic ? *topic : task->Subject();
            if (topic) {
                part += ReadTrackingProperty(*task, TrackingProperty::ReminderSet)
                            ? QStringLiteral(" tracked")
                            : QStringLiteral(" tracked without reminder");
            }
            if (task->Complete()) {
                part += QStringLiteral(" complete");
            }
            parts << part;
        }
        return QStringLiteral("tasks [%1], sent %2, displayed %3")
            .arg(parts.join(QStringLiteral("; ")))
            .arg(folder(ol::olFolderSentMail)->Count())
            .arg(mailbox().displayed().size());
    }

    // What must hold whatever failed: every tracked task whole, none twice.
    QStringList brokenTasks() {
        QStringList broken;
        QSet<QString> topics;
        const ol::ItemsPtr tasks = folder(ol::olFolderTasks);
        for (int i = 1; i <= tasks->Count(); ++i) {
            const ol::TaskItemPtr task = ol::asTaskItem(tasks->Item(i));
            const std::optional<QString> topic =
                ReadTrackingProperty(*task, TrackingProperty::Topic);
            QStringList missing;
            int reminderParts = 0;
            for (const QString& name : TrackingProperty::All) {
                const bool has = ReadTrackingProperty(*task, name).has_value();
                if (name == TrackingProperty::ReminderSet ||
                    name == TrackingProperty::ReminderTime) {
                    reminderParts += has ? 1 : 0;
                } else if (topic && !has) {
                    missing << name;
                } else if (!topic && has) {
                    missing << QStringLiteral("Topic");
                }
            }
            if (!missing.isEmpty() || (reminderParts == 1 && topic)) {
                broken << QStringLiteral("task %1 is half-written (%2)")
                              .arg(i)
                              .arg(missing.isEmpty() ? QStringLiteral("reminder")
                                                     : missing.join(QLatin1Char(',')));
            }
            if (topic && !task->Complete() && topics.contains(*topic)) {
                broken << QStringLiteral("task %1 duplicates \"%2\"").arg(i).arg(*topic);
            }
            if (topic) {
                topics.insert(*topic);
            }
        }
        return broken;
    }

    TempHives hives;
    PromptsScope prompts;
    WindowsScope windows;
    std::shared_ptr<platform::ManualClock> clock;
    std::shared_ptr<host::VirtualScheduler> scheduler;
    SoundScope sound;
    std::unique_ptr<host::MailClient> client;
    outlook::Connection eventErrors;
    QStringList seen;
};

struct Step {
    const char* name;
    std::function<void(RoadRun&)> run;
};

const std::vector<Step>& road() {
    static const std::vector<Step> steps = {
        {"start", [](RoadRun& r) { r.client->start(QStringLiteral(VANTOREL_ADDIN_PATH)); }},
        {"Remind me",
         [](RoadRun& r) {
             r.send(QStringLiteral("Ann Lee <ann@example.com>"), QStringLiteral("Offer"),
                    QStringLiteral("Remind me"));
         }},
        {"Custom",
         [](RoadRun& r) {
             r.windows->person = [](QDialog& d) {
                 static_cast<TCustomSendTask&>(d).btnSend->click();
             };
             r.send(QStringLiteral("bob@example.com"), QStringLiteral("Quote"),
                    QStringLiteral("Custom"));
             r.windows->person = nullptr;
         }},
        {"Remind me again",
         [](RoadRun& r) {
             r.send(QStringLiteral("carl@example.com"), QStringLiteral("Minutes"),
                    QStringLiteral("Remind me"));
         }},
        {"poll",
         [](RoadRun& r) {
             r.jump(24 * 3600 * 1000);
             r.scheduler->advance(10'000);
         }},
        {"snooze", [](RoadRun& r) { r.act(QStringLiteral("Offer"), "cmdSnooze"); }},
        {"dismiss", [](RoadRun& r) { r.act(QStringLiteral("Minutes"), "cmdDissmiss"); }},
        {"snooze ends", [](RoadRun& r) { r.scheduler->advance(6 * 60'000); }},
        {"re-send", [](RoadRun& r) { r.act(QStringLiteral("Quote"), "cmdReSend"); }},
        {"follow-up sent",
         [](RoadRun& r) {
             // The person sends the follow-up with its window's own Send.
             for (const ol::InspectorPtr& inspector : r.mailbox().inspectors()) {
                 try {
                     ol::asMailItem(inspector->CurrentItem())->Send();
                 } catch (const ol::OutlookError& refused) {
                     r.seen << QStringLiteral("the mail client refuses: ") + refused.text();
                 }
             }
         }},
        {"reply",
         [](RoadRun& r) {
             engine::Delivery d;
             d.from = QStringLiteral("ann@example.com");
             d.subject = QStringLiteral("RE: Offer");
             r.mailbox().deliver(d);
         }},
        {"quit", [](RoadRun& r) { r.client->quit(); }},
    };
    return steps;
}

// Runs the road; with a FAULT, its operation's first call within step FAULTSTEP fails.
// Returns the escapes; calls made per step go to CALLS when given.
struct RoadResult {
    QStringList escaped;
    QStringList seen;
    QString endState;
    QStringList states;  // after each step
    QStringList broken;
    QString pending;
};

RoadResult runRoad(RoadRun& r, int faultStep = -1, const QString& fault = {},
                   std::vector<QStringList>* calls = nullptr) {
    RoadResult result;
    const std::vector<Step>& steps = road();
    for (int i = 0; i < static_cast<int>(steps.size()); ++i) {
        if (steps[i].name == std::string("quit")) {
            result.pending = r.client->describe(QStringLiteral("pending"));
            result.broken = r.brokenTasks();
        }
        // Only the step's own calls are listed and failed, not the checks around it.
        if (calls) {
            calls->emplace_back();
            r.mailbox().faults().onCall = [calls](const char* object, const char* member) {
                const QString name =
                    QLatin1String(object) + QLatin1Char('.') + QLatin1String(member);
                if (!calls->back().contains(name)) {
                    calls->back() << name;
                }
            };
        }
        if (i == faultStep) {
            r.mailbox().faults().failNext(fault, 1, QStringLiteral("The fault."));
        }
        try {
            steps[i].run(r);
        } catch (const std::exception& e) {
            result.escaped << QStringLiteral("%1: %2").arg(QLatin1String(steps[i].name),
                                                           QString::fromUtf8(e.what()));
        }
        r.mailbox().faults().onCall = nullptr;
        r.mailbox().faults().clear();
        result.states << r.tasksSummary();
    }
    for (const platform::MessageRequest& box : r.prompts->shown) {
        result.seen << QStringLiteral("box: ") + box.text;
    }
    result.seen << r.seen;
    result.endState = r.tasksSummary();
    return result;
}

// After any run: the next start on the same mailbox tracks a new message, reminds of it
// and closes it on its reply.
QString nextRunProblem(RoadRun& r) {
    r.open();
    r.prompts->shown.clear();
    r.client->start(QStringLiteral(VANTOREL_ADDIN_PATH));
    r.send(QStringLiteral("dan@example.com"), QStringLiteral("Check"), QStringLiteral("Remind me"));
    r.jump(24 * 3600 * 1000);
    r.scheduler->advance(10'000);
    if (r.listed(QStringLiteral("Check")) == 0) {
        return QStringLiteral("the next run shows no reminder");
    }
    engine::Delivery d;
    d.from = QStringLiteral("dan@example.com");
    d.subject = QStringLiteral("RE: Check");
    r.mailbox().deliver(d);
    if (r.listed(QStringLiteral("Check")) != 0) {
        return QStringLiteral("the next run's reply closes nothing");
    }
    if (!r.prompts->shown.empty()) {
        return QStringLiteral("the next run shows \"%1\"").arg(r.prompts->shown.front().text);
    }
    r.client->quit();
    return {};
}

QString sweepTable(QStringList& failures) {
    std::vector<QStringList> calls;
    QString cleanEnd;
    QStringList cleanStates;
    QStringList cleanSeen;
    {
        RoadRun clean;
        const RoadResult result = runRoad(clean, -1, {}, &calls);
        cleanEnd = result.endState;
        if (!result.escaped.isEmpty() || !result.broken.isEmpty()) {
            failures << QStringLiteral("the road without faults: %1 %2")
                            .arg(result.escaped.join(QLatin1Char(' ')),
                                 result.broken.join(QLatin1Char(' ')));
        }
        cleanSeen = result.seen;
        cleanStates = result.states;
    }
    QString table = QStringLiteral(
        "# step | failing call | what the person sees | the tasks after that step | at the end\n");
    table += QStringLiteral("# without a fault: %1; seen: %2\n")
                 .arg(cleanEnd, tools::escapeTranscriptText(cleanSeen.join(QStringLiteral(" / "))));
    int runs = 0;
    for (int step = 0; step < static_cast<int>(calls.size()); ++step) {
        for (const QString& call : calls[step]) {
            ++runs;
            RoadRun r;
            const RoadResult result = runRoad(r, step, call);
            const QString row =
                QStringLiteral("%1 | %2").arg(QLatin1String(road()[step].name), call);
            for (const QString& escape : result.escaped) {
                failures << row + QStringLiteral(": escaped to the mail client: ") + escape;
            }
            for (const QString& broken : result.broken) {
                failures << row + QStringLiteral(": ") + broken;
            }
            if (!result.pending.isEmpty()) {
                failures << row + QStringLiteral(": a send stays pending: ") + result.pending;
            }
            if (const QString problem = nextRunProblem(r); !problem.isEmpty()) {
                failures << row + QStringLiteral(": ") + problem;
            }
            QStringList seen = result.seen;
            seen.removeDuplicates();
            // What the road shows anyway (the re-send's notice) is not repeated.
            for (const QString& usual : cleanSeen) {
                seen.removeOne(usual);
            }
            // The state right after the failing step, and at the end of the road.
            const QString after = result.states.value(step) == cleanStates.value(step)
                                      ? QStringLiteral("as without it")
                                      : result.states.value(step);
            const QString end =
                result.endState == cleanEnd ? QStringLiteral("as without it") : result.endState;
            table += QStringLiteral("%1 | %2 | after: %3 | end: %4\n")
                         .arg(row,
                              seen.isEmpty()
                                  ? QStringLiteral("nothing")
                                  : tools::escapeTranscriptText(seen.join(QStringLiteral(" / "))),
                              after, end);
        }
    }
    table += QStringLiteral("# %1 runs\n").arg(runs);
    return table;
}

TEST(FaultSweep, EveryFailingCallOnTheRoadIsHandledAsDrawn) {
    QStringList failures;
    const QString table = sweepTable(failures);
    const QString actualPath = QStringLiteral(VANTOREL_SWEEP_ACTUAL);
    QFile actual(actualPath);
    ASSERT_TRUE(actual.open(QIODevice::WriteOnly | QIODevice::Truncate));
    actual.write(table.toUtf8());
    actual.close();
    for (const QString& failure : failures) {
        ADD_FAILURE() << failure.toStdString();
    }
    QFile expected(QStringLiteral(VANTOREL_SWEEP_EXPECTED));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly)) << "no " << VANTOREL_SWEEP_EXPECTED;
    EXPECT_EQ(QString::fromUtf8(expected.readAll()), table)
        << "the table differs from " << VANTOREL_SWEEP_EXPECTED << "; see "
        << VANTOREL_SWEEP_ACTUAL;
}

}  // namespace
