// What the add-in costs the mail client, on mailboxes the benchmarks write: start-up,
// one reminder poll pass, the reply detection for one arriving message, one refresh
// of the reminders window and one "Remind me" send. Each figure is the wall time of
// that one step, the median of several runs.

#include "addin/AddInModule.h"
#include "addin/ReplyCatchUp.h"
#include "bench/BenchHost.h"
#include "forms/ReminderWindowUnit.h"
#include "platform/Modal.h"
#include "reminders/TrackingProperties.h"
#include "settings/AddInRegistry.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <vector>

using namespace vantorel;
using namespace vantorel::bench;
namespace ol = vantorel::outlook;

namespace {

// Runs of each benchmark whose median is reported; VANTOREL_BENCH_REPETITIONS sets
// another number (1 for a quick look, or under a profiler).
const int kRepetitions = [] {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("VANTOREL_BENCH_REPETITIONS", &ok);
    return ok && n > 0 ? n : 7;
}();

// One started host per mailbox shape, kept for the benchmarks that share it.
struct Started {
    explicit Started(const MailboxShape& shape) : host(shape) { host.start(); }
    BenchHost host;
};

void fail(benchmark::State& state, const char* what) {
    state.SkipWithError(what);
}

ol::ItemsPtr tasks(BenchHost& host) {
    return host.engine().application()->Session()->GetDefaultFolder(ol::olFolderTasks)->Items();
}

// --- start-up ------------------------------------------------------------------------

// Loading the add-in, its initialisation and its start-up: the settings store, every
// long-lived form, the watchers and the timer.
void BM_StartUp(benchmark::State& state) {
    MailboxShape shape;
    shape.trackingTasks = static_cast<int>(state.range(0));
    BenchHost host(shape);
    for (auto _ : state) {
        host.start();
        state.PauseTiming();
        if (ReminderWindow == nullptr || AddInModule == nullptr) {
            fail(state, "the add-in did not start");
            break;  // a skipped benchmark must not resume its timing
        }
        host.client().quit();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)
    ->ArgName("tasks")
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

// --- the reminder poll -----------------------------------------------------------------

// One pass over N tracking tasks (and an ordinary task after every ten), one in ten
// due. Steady state: the due ones are listed already, so none is newly due. Newly
// due: the window is emptied before each pass, so the pass lists every due one.
void BM_PollPass(benchmark::State& state) {
    MailboxShape shape;
    shape.trackingTasks = static_cast<int>(state.range(0));
    const bool newlyDue = state.range(1) != 0;
    Started s(shape);
    AddInModule->TimerCheckRemindersTimer();
    const int listed = ReminderWindow->lstReminders->topLevelItemCount();
    if (listed != (shape.trackingTasks + shape.dueEvery - 1) / shape.dueEvery) {
        fail(state, "the first pass did not list every due reminder");
        return;
    }
    for (auto _ : state) {
        if (newlyDue) {
            state.PauseTiming();
            ReminderWindow->lstReminders->clear();
            state.ResumeTiming();
        }
        AddInModule->TimerCheckRemindersTimer();
    }
    if (ReminderWindow->lstReminders->topLevelItemCount() != listed) {
        fail(state, "a pass changed the list");
    }
    state.counters["listed"] = listed;
}
BENCHMARK(BM_PollPass)
    ->ArgNames({"tasks", "newly_due"})
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

// --- reply detection ----------------------------------------------------------------

enum ReplyCase { MatchAtEnd = 0, MatchAtStart = 1, NoMatch = 2 };

// A reply arrives in the Inbox while N tracking tasks are followed; the watcher walks
// the Tasks folder from its end. The matching task is the last one (found first),
// the first one (found last), or there is none. A matched task is completed; it gets
// its tracking properties back, outside the timing, for the next run.
void BM_ReplyDetection(benchmark::State& state) {
    MailboxShape shape;
    shape.trackingTasks = static_cast<int>(state.range(0));
    shape.ordinaryEvery = 0;
    const auto which = static_cast<ReplyCase>(state.range(1));
    Started s(shape);
    const int n = tasks(s.host)->Count();
    const int target = which == MatchAtEnd ? shape.trackingTasks - 1 : 0;
    const ol::TaskItemPtr original = ol::asTaskItem(tasks(s.host)->Item(target + 1));
    const QString entryId = original->EntryID();
    engine::Delivery reply;
    reply.from = which == NoMatch ? QStringLiteral("stranger@example.net") : recipientOf(target);
    reply.subject = QStringLiteral("RE: ") + topicOf(target);
    for (auto _ : state) {
        s.host.engine().deliver(reply);
        state.PauseTiming();
        const ol::TaskItemPtr task =
            ol::asTaskItem(s.host.engine().application()->Session()->GetItemFromID(entryId));
        const bool closed = task->Complete();
        if (closed != (which != NoMatch)) {
            fail(state, "the reply was not handled as expected");
            break;
        }
        if (closed) {
            // Back as it was: open, with its tracking properties in their order.
            const ol::UserPropertiesPtr properties = original->UserProperties();
            for (int i = 1; i <= properties->Count(); ++i) {
                const ol::UserPropertyPtr p = properties->Item(i);
                WriteTrackingProperty(*task, p->Name(), p->Value());
            }
            task->SetComplete(false);
            task->SetBody(original->Body());
            task->Save();
        }
        state.ResumeTiming();
    }
    state.counters["tasks"] = n;
}
BENCHMARK(BM_ReplyDetection)
    ->ArgNames({"tasks", "case"})
    ->ArgsProduct({{10000}, {MatchAtEnd, MatchAtStart, NoMatch}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

// --- the catch-up of replies --------------------------------------------------------------

// The first tick after a start: N open tracking tasks, an Inbox of M messages of which
// R answer tasks that are still open. Each run starts on a fresh copy of the mailbox.
void BM_ReplyCatchUp(benchmark::State& state) {
    MailboxShape shape;
    shape.trackingTasks = static_cast<int>(state.range(0));
    shape.ordinaryEvery = 0;
    shape.inboxMessages = static_cast<int>(state.range(1));
    shape.inboxReplies = static_cast<int>(state.range(2));
    QTemporaryDir written;
    const QString mailbox = written.filePath(QStringLiteral("mailbox.db"));
    writeMailbox(mailbox, shape);
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir copy;
        const QString dataDir = copy.filePath(QStringLiteral("data"));
        QDir().mkpath(dataDir);
        QFile::copy(mailbox, QDir(dataDir).filePath(QStringLiteral("mailbox.db")));
        BenchHost host(dataDir);
        // Replies are caught up from before the benchmark's messages arrived.
        TAddInRegistry().SetCatchUpRepliesFrom(benchNow().toSecsSinceEpoch() - 30 * 86400);
        host.start();
        state.ResumeTiming();
        const int candidates =
            CatchUpReplies(AddInModule->InboxesEvents, TaskItemsEvents->WatchedFolder(),
                           *TAddInRegistry().GetCatchUpRepliesFrom());
        state.PauseTiming();
        int closed = 0;
        const ol::ItemsPtr all = tasks(host);
        for (int i = 1; i <= all->Count(); ++i) {
            closed += ol::asTaskItem(all->Item(i))->Complete() ? 1 : 0;
        }
        host.client().quit();
        if (candidates != shape.inboxReplies || closed != shape.inboxReplies) {
            fail(state, "not every reply closed its task");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReplyCatchUp)
    ->ArgNames({"tasks", "inbox", "replies"})
    ->Args({10000, 100000, 1000})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

// --- the reminders window -------------------------------------------------------------

// One tick of the window's 2-second refresh with N entries listed: each entry's task
// is looked up, and its "Due in" recomputed.
void BM_WindowRefresh(benchmark::State& state) {
    MailboxShape shape;
    shape.trackingTasks = static_cast<int>(state.range(0));
    shape.dueEvery = 1;
    shape.ordinaryEvery = 0;
    Started s(shape);
    AddInModule->TimerCheckRemindersTimer();
    if (ReminderWindow->lstReminders->topLevelItemCount() != shape.trackingTasks ||
        !ReminderWindow->isVisible()) {
        fail(state, "the window does not list every reminder");
        return;
    }
    for (auto _ : state) {
        ReminderWindow->TimerUpdateTimer();
    }
    if (ReminderWindow->lstReminders->topLevelItemCount() != shape.trackingTasks) {
        fail(state, "a refresh changed the list");
    }
}
BENCHMARK(BM_WindowRefresh)
    ->ArgName("entries")
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

// Snooze (C=0) or Dismiss (C=1) pressed on N selected entries of the reminders
// window: each entry's task looked up, changed and saved, then every entry removed.
// Before each run, outside the timing, the tasks get their reminder back and are
// listed and selected again.
enum SelectionAction { SnoozeSelected = 0, DismissSelected = 1 };

void BM_SelectionAction(benchmark::State& state) {
    MailboxShape shape;
    shape.trackingTasks = static_cast<int>(state.range(0));
    shape.dueEvery = 1;
    shape.ordinaryEvery = 0;
    const auto action = static_cast<SelectionAction>(state.range(1));
    Started s(shape);
    std::vector<ol::TaskItemPtr> all;
    const ol::ItemsPtr items = tasks(s.host);
    for (int i = 1; i <= items->Count(); ++i) {
        all.push_back(ol::asTaskItem(items->Item(i)));
    }
    const QString reminderTime =
        ReadTrackingProperty(*all.front(), TrackingProperty::ReminderTime).value_or(QString());
    for (auto _ : state) {
        state.PauseTiming();
        ReminderWindow->lstReminders->clear();
        for (const ol::TaskItemPtr& task : all) {
            if (action == DismissSelected) {
                WriteTrackingProperty(*task, TrackingProperty::ReminderSet, QStringLiteral("-1"));
                WriteTrackingProperty(*task, TrackingProperty::ReminderTime, reminderTime);
                task->Save();
            }
            ReminderWindow->ReminderAdd(task);
        }
        ReminderWindow->lstReminders->selectAll();
        if (ReminderWindow->lstReminders->selectedItems().size() != shape.trackingTasks) {
            fail(state, "the window does not list and select every reminder");
            break;
        }
        state.ResumeTiming();
        if (action == SnoozeSelected) {
            ReminderWindow->cmdSnoozeClick();
        } else {
            ReminderWindow->cmdDissmissClick();
        }
        state.PauseTiming();
        // The last task as it is stored now.
        const ol::TaskItemPtr last = ol::asTaskItem(
            s.host.engine().application()->Session()->GetItemFromID(all.back()->EntryID()));
        const std::optional<QString> changed =
            ReadTrackingProperty(*last, action == SnoozeSelected ? TrackingProperty::Snooze
                                                                 : TrackingProperty::ReminderSet);
        if (ReminderWindow->lstReminders->topLevelItemCount() != 0) {
            fail(state, "the action left entries in the list");
            break;
        }
        if (changed.has_value() != (action == SnoozeSelected)) {
            fail(state, "the action did not change the last task");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SelectionAction)
    ->ArgNames({"entries", "dismiss"})
    ->ArgsProduct({{1000, 10000}, {SnoozeSelected, DismissSelected}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

// --- sending -------------------------------------------------------------------------

// "Remind me" in a message window: the pending entry, the tracking task written and
// saved, the message sent, its sent copy in Sent Items and the task's "Mail"
// rewritten by the Sent Items watcher. Opening the window is not timed.
void BM_RemindMeSend(benchmark::State& state) {
    MailboxShape shape;
    shape.trackingTasks = static_cast<int>(state.range(0));
    Started s(shape);
    int sent = 0;
    for (auto _ : state) {
        state.PauseTiming();
        engine::ComposeFields fields;
        fields.to = QStringLiteral("Ann Lee <ann@example.com>");
        fields.subject = QStringLiteral("Offer %1").arg(sent);
        fields.body = QStringLiteral("Dear Ann,\r\n\r\nhere is the offer we spoke about.");
        s.host.client().compose(fields);
        state.ResumeTiming();
        s.host.client().press(QStringLiteral("Remind me"));
        ++sent;
    }
    const ol::TaskItemPtr last = ol::asTaskItem(tasks(s.host)->Item(tasks(s.host)->Count()));
    const std::optional<QString> mail =
        last ? ReadTrackingProperty(*last, TrackingProperty::Mail) : std::nullopt;
    const ol::ItemPtr copy =
        mail ? s.host.engine().application()->Session()->GetItemFromID(*mail) : nullptr;
    const ol::MailItemPtr sentCopy = ol::asMailItem(copy);
    if (!sentCopy || !sentCopy->Sent()) {
        fail(state, "the task does not lead to the sent copy");
    }
}
BENCHMARK(BM_RemindMeSend)
    ->ArgName("tasks")
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

// --- the template editor ---------------------------------------------------------------

// The person in the template editor: shown, "&[NAME]" put in at the caret when
// EDIT, and OK pressed.
class TemplatePerson : public platform::ModalRunner {
public:
    explicit TemplatePerson(bool edit) : edit_(edit) {}
    int runModal(QObject& object) override {
        auto& dialog = static_cast<QDialog&>(object);
        dialog.setResult(0);
        dialog.show();
        if (auto* insert = dialog.findChild<QPushButton*>(QStringLiteral("btnInsertName"));
            insert != nullptr && edit_) {
            insert->click();
        }
        if (auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("btnOK"))) {
            ok->click();
        }
        dialog.hide();
        return dialog.result();
    }

private:
    bool edit_;
};

// A template of about KB kilobytes (UTF-16 characters / 512): lines with every
// placeholder, CR LF breaks and the signature's lone CRs.
QString longTemplate(int kb) {
    const QString line = QStringLiteral(
        "Dear &[NAME] (&[EMAIL]), about my message of &[DATE] at &[TIME]: any news?\r\n");
    QString text;
    text.reserve(kb * 512 + line.size());
    while (text.size() < kb * 512) {
        text += line;
    }
    text += QStringLiteral("\r\r") + SignatureText;
    return text;
}

// "Edit template", a placeholder put in at the start (edit 1) or nothing changed
// (edit 0), then OK, on a stored template of KB kilobytes: the template read from the
// hive into the editor, then taken from the editor and written back.
void BM_TemplateEditOpenOk(benchmark::State& state) {
    Started s(MailboxShape{});
    const QString text = longTemplate(static_cast<int>(state.range(0)));
    const bool edit = state.range(1) != 0;
    AddInRegistry->SetReplyTemplate(true, text);
    platform::installModalRunner(std::make_shared<TemplatePerson>(edit));
    for (auto _ : state) {
        s.host.client().press(QStringLiteral("Edit template"));
    }
    platform::installModalRunner(nullptr);
    const QString stored = AddInRegistry->GetReplyTemplate();
    if (stored.size() < text.size() || !stored.endsWith(text)) {
        fail(state, "the template did not come back whole");
    }
}
BENCHMARK(BM_TemplateEditOpenOk)
    ->ArgNames({"kb", "edit"})
    ->Args({256, 1})
    ->Args({1024, 0})
    ->Args({1024, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(std::min(kRepetitions, 5))
    ->ReportAggregatesOnly(true);

// --- the mailbox ---------------------------------------------------------------------

// Opening a mailbox of N items: the checks of the file, then everything read into
// memory. Closing it is not timed.
void BM_MailboxOpen(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mailbox.db"));
    const int items = writeMailbox(path, mailboxOfItems(static_cast<int>(state.range(0))));
    std::unique_ptr<engine::Engine> opened;
    for (auto _ : state) {
        state.PauseTiming();
        opened.reset();
        state.ResumeTiming();
        opened = std::make_unique<engine::Engine>(path);
    }
    state.counters["items"] = items;
}
BENCHMARK(BM_MailboxOpen)
    ->ArgName("items")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(std::min(kRepetitions, 5))
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    prepareProcess();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
