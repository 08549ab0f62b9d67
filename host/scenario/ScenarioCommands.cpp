// The commands of scenario scripts.

#include "host/MailClient.h"
#include "host/scenario/ScenarioPrompts.h"
#include "host/scenario/ScenarioRunner.h"
#include "host/scenario/ScenarioWindows.h"
#include "host/scenario/Transcript.h"
#include "host/scenario/VirtualScheduler.h"
#include "platform/Clock.h"
#include "platform/HiveChanges.h"
#include "platform/Hives.h"
#include "platform/RegTree.h"
#include "tools/DateTime.h"

#include <QApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QWidget>

#include <algorithm>

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

int positiveNumber(const ScriptArg& arg, const QString& what) {
    bool ok = false;
    const int n = arg.text.toInt(&ok);
    if (!ok || n < 1) {
        throw ScriptError(QStringLiteral("\"%1\" is not a %2 (1, 2, ...)").arg(arg.text, what));
    }
    return n;
}

outlook::ItemPtr nthItem(const outlook::MAPIFolderPtr& folder, const ScriptArg& arg) {
    const int n = positiveNumber(arg, QStringLiteral("position"));
    const outlook::ItemsPtr items = folder->Items();
    if (n > items->Count()) {
        throw ScriptError(QStringLiteral("%1 holds %2 items, not %3")
                              .arg(folder->Name())
                              .arg(items->Count())
                              .arg(n));
    }
    return items->Item(n);
}

}  // namespace

// --- the environment -------------------------------------------------------------------------

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
    const QDate date = QDate::fromString(args[1].text, QStringLiteral("yyyy-MM-dd"));
    QTime time = QTime::fromString(args[2].text, QStringLiteral("HH:mm:ss"));
    if (!time.isValid()) {
        time = QTime::fromString(args[2].text, QStringLiteral("HH:mm"));
    }
    if (!date.isValid() || !time.isValid()) {
        throw ScriptError(QStringLiteral("\"%1 %2\" is not a date and time (YYYY-MM-DD HH:MM[:SS])")
                              .arg(args[1].text, args[2].text));
    }
    // A time the clocks skip is the first moment after the gap, as the clock shows it.
    clock_->set(tools::localDateTime(date, time));
    scheduler_->restartAll();
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
    const qint64 unit = unitMs.value(m.captured(2));
    // The clock stays inside the year 9999, the last one a date of the mail client
    // can be written in.
    static const QDateTime kLast(QDate(9999, 12, 31), QTime(23, 59, 59, 999));
    const qint64 room = std::max<qint64>(0, clock_->now().msecsTo(kLast));
    bool ok = false;
    const qint64 count = m.captured(1).toLongLong(&ok);
    if (!ok || count > room / unit) {
        throw ScriptError(
            QStringLiteral("advance %1 would move the clock past the year 9999").arg(args[1].text));
    }
    scheduler_->advance(count * unit);
}

void ScenarioRunner::cmdVersion(const Args& args) {
    expectArgs(args, 1, 1, QStringLiteral("version TEXT"));
    if (client_->running()) {
        throw ScriptError(QStringLiteral("version must come before start"));
    }
    client_->engine().setVersion(args[1].text);
}

void ScenarioRunner::cmdExplorers(const Args& args) {
    expectArgs(args, 1, 1, QStringLiteral("explorers N"));
    bool ok = false;
    const int n = args[1].text.toInt(&ok);
    if (!ok || n < 0) {
        throw ScriptError(QStringLiteral("\"%1\" is not a number of windows").arg(args[1].text));
    }
    client_->setExplorerCount(n);
}

void ScenarioRunner::cmdShutdown(const Args& args) {
    expectArgs(args, 1, 1, QStringLiteral("shutdown fast|normal"));
    if (args[1].text == QLatin1String("fast")) {
        client_->setShutdownBehavior(ShutdownBehavior::Fast);
    } else if (args[1].text == QLatin1String("normal")) {
        client_->setShutdownBehavior(ShutdownBehavior::Normal);
    } else {
        throw ScriptError(QStringLiteral("usage: shutdown fast|normal"));
    }
}

void ScenarioRunner::cmdCategory(const Args& args) {
    expectArgs(args, 1, 1, QStringLiteral("category NAME"));
    client_->engine().addCategory(args[1].text);
}

void ScenarioRunner::cmdStore(const Args& args) {
    const QString usage = QStringLiteral("store NAME [inbox=FOLDER] [deep]");
    expectArgs(args, 1, 3, usage);
    QString inbox;
    bool deep = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i].text == QLatin1String("deep")) {
            deep = true;
        } else if (args[i].text.startsWith(QLatin1String("inbox="))) {
            inbox = args[i].text.mid(6);
        } else {
            throw ScriptError(QStringLiteral("usage: %1").arg(usage));
        }
    }
    client_->engine().addStore(args[1].text, inbox, deep);
}

void ScenarioRunner::cmdReg(const Args& args) {
    if (args.size() >= 2 && args[1].text == QLatin1String("set")) {
        expectArgs(args, 4, 4, QStringLiteral("reg set KEY NAME VALUE"));
        const auto [hive, path] = splitRegKey(args[2].text);
        platform::RegValue value;
        try {
            // A name the hive file cannot carry is the script's fault, found before
            // anything is written; a hive that cannot be written is not.
            platform::RegTree::checkKeyPath(path);
            platform::RegTree::checkValueName(args[3].text);
            value = args[4].quoted ? platform::RegValue::fromString(args[4].text)
                                   : platform::parseRegData(args[4].raw);
        } catch (const platform::RegistryError& e) {
            throw ScriptError(QString::fromUtf8(e.what()));
        }
        hive->setValue(path, args[3].text, value);
        platform::hiveChanged(*hive, path);
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
        platform::hiveChanged(*hive, path);
        return;
    }
    throw ScriptError(QStringLiteral("usage: reg set KEY NAME VALUE | reg delete KEY [NAME]"));
}

// --- the add-in and the mail ---------------------------------------------------------------

void ScenarioRunner::refuseWhileModal() const {
    if (const QWidget* modal = windows_->openModal()) {
        throw ScriptError(
            QStringLiteral("the dialog \"%1\" is open; close it first").arg(modal->windowTitle()));
    }
}

void ScenarioRunner::cmdStart(const Args& args) {
    expectArgs(args, 0, 0, QStringLiteral("start"));
    if (client_->running()) {
        throw ScriptError(QStringLiteral("the add-in has started already"));
    }
    client_->start();
}

void ScenarioRunner::cmdQuit(const Args& args) {
    expectArgs(args, 0, 0, QStringLiteral("quit"));
    client_->quit();
}

void ScenarioRunner::cmdCompose(const Args& args) {
    const QString usage =
        QStringLiteral("compose [to=LIST] [cc=LIST] [bcc=LIST] [subject=TEXT] [body=TEXT]");
    const auto kv = keyValues(args, 0,
                              {QStringLiteral("to"), QStringLiteral("cc"), QStringLiteral("bcc"),
                               QStringLiteral("subject"), QStringLiteral("body")},
                              usage);
    refuseWhileModal();
    engine::ComposeFields fields;
    fields.to = kv.value(QStringLiteral("to"));
    fields.cc = kv.value(QStringLiteral("cc"));
    fields.bcc = kv.value(QStringLiteral("bcc"));
    fields.subject = kv.value(QStringLiteral("subject"));
    fields.body = kv.value(QStringLiteral("body"));
    client_->compose(fields);
}

namespace {

// A message window's title: its subject, "Untitled" without one.
QString windowTitle(const outlook::InspectorPtr& inspector) {
    const QString subject = inspector->CurrentItem()->Subject();
    return subject.isEmpty() ? QStringLiteral("Untitled") : subject;
}

}  // namespace

void ScenarioRunner::cmdPress(const Args& args) {
    const QString usage = QStringLiteral("press CAPTION [in TITLE]");
    if (args.size() == 4 && args[2].text == QLatin1String("in")) {
        refuseWhileModal();
        // The window in front stays in front: the press comes from one behind it.
        for (const outlook::InspectorPtr& inspector : client_->engine().inspectors()) {
            if (windowTitle(inspector) == args[3].text) {
                client_->press(args[1].text, inspector);
                return;
            }
        }
        throw ScriptError(QStringLiteral("no message window is titled \"%1\"").arg(args[3].text));
    }
    expectArgs(args, 1, 1, usage);
    refuseWhileModal();
    client_->press(args[1].text);
}

void ScenarioRunner::cmdSend(const Args& args) {
    expectArgs(args, 0, 0, QStringLiteral("send"));
    refuseWhileModal();
    const outlook::InspectorPtr inspector = client_->engine().application()->ActiveInspector();
    const outlook::MailItemPtr mail =
        inspector ? outlook::asMailItem(inspector->CurrentItem()) : nullptr;
    if (!mail) {
        throw ScriptError(QStringLiteral("no message window is active"));
    }
    try {
        mail->Send();
    } catch (const outlook::OutlookError& e) {
        // The message window tells the person why the message did not go.
        platform::showMessage(e.text(), platform::MessageIcon::Error);
    }
}

namespace {

// An internet header as a message carries it: a name of printable characters other
// than ":", then ":" and the value, on one line.
bool isHeaderLine(const QString& header) {
    const qsizetype colon = header.indexOf(QLatin1Char(':'));
    if (colon <= 0) {
        return false;
    }
    for (qsizetype i = 0; i < colon; ++i) {
        if (header[i].unicode() <= 0x20 || header[i].unicode() >= 0x7f) {
            return false;
        }
    }
    return !header.contains(QLatin1Char('\r')) && !header.contains(QLatin1Char('\n'));
}

}  // namespace

void ScenarioRunner::cmdDeliver(const Args& args) {
    const QString usage = QStringLiteral(
        "deliver from=ADDR [name=NAME] subject=TEXT [topic=TEXT] [store=NAME] [body=TEXT] "
        "[kind=mail|meeting] [class=TEXT] [header=\"Name: value\"]...");
    // header= may come more than once; every other key once.
    Args others;
    QStringList headers;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0 && args[i].text.startsWith(QLatin1String("header="))) {
            const QString header = args[i].text.mid(7);
            if (!isHeaderLine(header)) {
                throw ScriptError(
                    QStringLiteral("\"%1\" is no internet header; usage: header=\"Name: value\"")
                        .arg(header));
            }
            headers << header;
        } else {
            others.push_back(args[i]);
        }
    }
    const auto kv =
        keyValues(others, 0,
                  {QStringLiteral("from"), QStringLiteral("name"), QStringLiteral("subject"),
                   QStringLiteral("topic"), QStringLiteral("store"), QStringLiteral("body"),
                   QStringLiteral("kind"), QStringLiteral("class")},
                  usage);
    if (!kv.contains(QStringLiteral("from")) || !kv.contains(QStringLiteral("subject"))) {
        throw ScriptError(QStringLiteral("usage: %1").arg(usage));
    }
    engine::Delivery d;
    d.from = kv.value(QStringLiteral("from"));
    d.name = kv.value(QStringLiteral("name"));
    d.subject = kv.value(QStringLiteral("subject"));
    if (kv.contains(QStringLiteral("topic"))) {
        d.topic = kv.value(QStringLiteral("topic"));
    }
    d.body = kv.value(QStringLiteral("body"));
    const QString kind = kv.value(QStringLiteral("kind"), QStringLiteral("mail"));
    if (kind != QLatin1String("mail") && kind != QLatin1String("meeting")) {
        throw ScriptError(QStringLiteral("kind is mail or meeting, not \"%1\"").arg(kind));
    }
    d.meetingRequest = kind == QLatin1String("meeting");
    if (kv.contains(QStringLiteral("class"))) {
        d.messageClass = kv.value(QStringLiteral("class"));
        if (d.messageClass.isEmpty()) {
            throw ScriptError(QStringLiteral("class needs a message class, like IPM.Note"));
        }
    }
    d.headers = headers;
    const QString store = kv.value(QStringLiteral("store"));
    if (!store.isEmpty() && !client_->engine().inbox(store)) {
        throw ScriptError(QStringLiteral("there is no store \"%1\"").arg(store));
    }
    client_->engine().deliver(d, store);
}

void ScenarioRunner::cmdComplete(const Args& args) {
    expectArgs(args, 1, 1, QStringLiteral("complete N"));
    const outlook::ItemPtr item = nthItem(
        client_->engine().application()->Session()->GetDefaultFolder(outlook::olFolderTasks),
        args[1]);
    const outlook::TaskItemPtr task = outlook::asTaskItem(item);
    if (!task) {
        throw ScriptError(QStringLiteral("item %1 of Tasks is not a task").arg(args[1].text));
    }
    task->MarkComplete();
    task->Save();
}

void ScenarioRunner::cmdDelete(const Args& args) {
    expectArgs(args, 2, 2, QStringLiteral("delete task N | delete sent N"));
    const auto session = client_->engine().application()->Session();
    int folder = 0;
    if (args[1].text == QLatin1String("task")) {
        folder = outlook::olFolderTasks;
    } else if (args[1].text == QLatin1String("sent")) {
        folder = outlook::olFolderSentMail;
    } else {
        throw ScriptError(QStringLiteral("usage: delete task N | delete sent N"));
    }
    nthItem(session->GetDefaultFolder(folder), args[2])->Delete();
}

void ScenarioRunner::cmdProp(const Args& args) {
    const QString usage = QStringLiteral("prop task N NAME VALUE | prop task N NAME --delete");
    expectArgs(args, 4, 4, usage);
    if (args[1].text != QLatin1String("task")) {
        throw ScriptError(QStringLiteral("usage: %1").arg(usage));
    }
    const outlook::ItemPtr item = nthItem(
        client_->engine().application()->Session()->GetDefaultFolder(outlook::olFolderTasks),
        args[2]);
    const outlook::UserPropertiesPtr props = item->UserProperties();
    if (args[4].text == QLatin1String("--delete") && !args[4].quoted) {
        if (const outlook::UserPropertyPtr p = props->Item(args[3].text)) {
            p->Delete();
        }
    } else {
        outlook::UserPropertyPtr p = props->Item(args[3].text);
        if (!p) {
            p = props->Add(args[3].text, outlook::olText, false, outlook::olFormatTextText);
        }
        p->SetValue(args[4].text);
    }
    item->Save();
}

// --- windows and output --------------------------------------------------------------------

void ScenarioRunner::cmdAnswer(const Args& args) {
    const QString usage = QStringLiteral("answer ok|yes|no|cancel [tick]");
    expectArgs(args, 1, 2, usage);
    platform::MessageAnswer answer;
    if (args[1].text == QLatin1String("ok")) {
        answer = platform::MessageAnswer::Ok;
    } else if (args[1].text == QLatin1String("yes")) {
        answer = platform::MessageAnswer::Yes;
    } else if (args[1].text == QLatin1String("no")) {
        answer = platform::MessageAnswer::No;
    } else if (args[1].text == QLatin1String("cancel")) {
        answer = platform::MessageAnswer::Cancel;
    } else {
        throw ScriptError(QStringLiteral("usage: ") + usage);
    }
    if (args.size() == 3 && args[2].text != QLatin1String("tick")) {
        throw ScriptError(QStringLiteral("usage: ") + usage);
    }
    prompts_->queueAnswer(answer, args.size() == 3);
}

void ScenarioRunner::cmdUi(const Args& args) {
    const QString usage = QStringLiteral("ui CONTROL ACTION [VALUE...]");
    expectArgs(args, 2, 4, usage);
    QWidget* window = windows_->activeWindow();
    if (window == nullptr) {
        throw ScriptError(QStringLiteral("no window of the add-in is open"));
    }
    QStringList values;
    for (std::size_t i = 3; i < args.size(); ++i) {
        values << args[i].text;
    }
    actOnControl(*window, args[1].text, args[2].text, values);
}

void ScenarioRunner::cmdList(const Args& args) {
    const QString usage = QStringLiteral("list select N[,M...]");
    expectArgs(args, 2, 2, usage);
    if (args[1].text != QLatin1String("select")) {
        throw ScriptError(QStringLiteral("usage: %1").arg(usage));
    }
    QList<int> positions;
    for (const QString& part : args[2].text.split(QLatin1Char(','))) {
        positions << positiveNumber(ScriptArg{part, part, false}, QStringLiteral("position"));
    }
    QWidget* window = windows_->activeWindow();
    if (window == nullptr) {
        throw ScriptError(QStringLiteral("no window of the add-in is open"));
    }
    selectListEntries(*window, QStringLiteral("lstReminders"), positions);
}

void ScenarioRunner::cmdClose(const Args& args) {
    expectArgs(args, 1, 1, QStringLiteral("close TITLE"));
    if (const QWidget* modal = windows_->openModal();
        modal && modal->windowTitle() != args[1].text) {
        refuseWhileModal();
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->windowTitle() == args[1].text) {
            w->close();
            return;
        }
    }
    for (const outlook::InspectorPtr& inspector : client_->engine().inspectors()) {
        if (windowTitle(inspector) == args[1].text) {
            client_->engine().close(inspector);
            return;
        }
    }
    throw ScriptError(QStringLiteral("no window is titled \"%1\"").arg(args[1].text));
}

void ScenarioRunner::cmdDump(const Args& args) {
    const QString usage =
        QStringLiteral("dump tasks|sent|inbox|drafts|displayed|ribbon|reminders|reg [KEY]|pending");
    if (args.size() < 2) {
        throw ScriptError(QStringLiteral("usage: %1").arg(usage));
    }
    const QString what = args[1].text;
    if (what == QLatin1String("reg")) {
        dumpReg(args);
        return;
    }
    expectArgs(args, 1, 1, usage);
    const auto session = client_->engine().application()->Session();
    static const QHash<QString, int> folders{{QStringLiteral("tasks"), outlook::olFolderTasks},
                                             {QStringLiteral("sent"), outlook::olFolderSentMail},
                                             {QStringLiteral("inbox"), outlook::olFolderInbox},
                                             {QStringLiteral("drafts"), outlook::olFolderDrafts}};
    if (folders.contains(what)) {
        printFolder(out_, session->GetDefaultFolder(folders.value(what)));
    } else if (what == QLatin1String("displayed")) {
        int n = 0;
        for (const outlook::ItemPtr& item : client_->engine().displayed()) {
            printItem(out_, ++n, item);
        }
    } else if (what == QLatin1String("ribbon")) {
        printRibbon(out_, client_->ribbonTabs());
    } else if (what == QLatin1String("pending") || what == QLatin1String("reminders")) {
        out_ << client_->describe(what);
    } else {
        throw ScriptError(QStringLiteral("usage: %1").arg(usage));
    }
}

void ScenarioRunner::dumpReg(const Args& args) {
    expectArgs(args, 1, 2, QStringLiteral("dump reg [KEY]"));
    const QString key =
        args.size() == 3 ? args[2].text : QStringLiteral("HKCU\\Software\\Ostrelin\\Vantorel");
    const auto [hive, path] = splitRegKey(key);
    out_ << platform::snapshot(*hive, path).toRegText(hive->rootName(), path, false);
}

// A line of the script's own in the transcript: a mark of how far a run got.
void ScenarioRunner::cmdEcho(const Args& args) {
    QStringList words;
    for (std::size_t i = 1; i < args.size(); ++i) {
        words << args[i].text;
    }
    out_ << "echo " << words.join(QLatin1Char(' ')) << '\n';
}

}  // namespace vantorel::host
