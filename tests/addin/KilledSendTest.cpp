// A send killed at each of its writes to the mailbox. What the mailbox file holds
// right after a write is what a kill at that moment leaves on the disk (the write-ahead
// log holds the commits; the next open replays it), so a copy taken after every write
// is started again as the mail client's next start. Whatever the moment, once the
// first tick has run no tracking task follows a message that was not sent, and every
// task's "Mail" names the sent copy.

#include "tests/addin/AddInFixture.h"

#include "forms/CustomSendTaskUnit.h"
#include "host/engine/Engine.h"
#include "reminders/TrackingProperties.h"
#include "tests/support/ScriptedWindows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace vantorel;
namespace ol = vantorel::outlook;

namespace {

const QString kMailbox = QStringLiteral("mailbox.db");

class KilledSend : public test::AddInFixture, public ::testing::WithParamInterface<const char*> {
protected:
    // The mailbox as the disk holds it now, into a folder of its own.
    void keepDisk() {
        const QString to = snapshots.filePath(QString::number(disks.size()));
        ASSERT_TRUE(QDir().mkpath(to));
        for (const char* suffix : {"", "-wal", "-journal"}) {
            const QString name = kMailbox + QLatin1String(suffix);
            const QString from = QDir(hives.folder()).filePath(name);
            if (QFile::exists(from)) {
                ASSERT_TRUE(QFile::copy(from, QDir(to).filePath(name))) << name.toStdString();
            }
        }
        disks.push_back(to);
    }

    // Starts the mail client on the mailbox DIR, lets the first tick run, and tells
    // what is wrong with its tracking tasks.
    QStringList problemsAfterStartOn(const QString& dir) {
        client = std::make_unique<host::MailClient>(dir);
        start();
        scheduler->advance(10'000);
        QStringList problems;
        const ol::NameSpacePtr ns =
            client->engine().application()->GetNamespace(QStringLiteral("MAPI"));
        const int sent = ns->GetDefaultFolder(ol::olFolderSentMail)->Items()->Count();
        const ol::ItemsPtr tasks = ns->GetDefaultFolder(ol::olFolderTasks)->Items();
        int tracked = 0;
        for (int i = 1; i <= tasks->Count(); ++i) {
            const ol::TaskItemPtr task = ol::asTaskItem(tasks->Item(i));
            const std::optional<QString> mailId =
                ReadTrackingProperty(*task, TrackingProperty::Mail);
            if (!mailId) {
                continue;
            }
            ++tracked;
            ol::MailItemPtr mail;
            try {
                mail = ol::asMailItem(ns->GetItemFromID(*mailId));
            } catch (const ol::OutlookError&) {
            }
            if (!mail) {
                problems << QStringLiteral("the task's \"Mail\" names a message that is gone");
            } else if (!mail->Sent()) {
                problems << QStringLiteral("a task follows a message that was not sent");
            }
        }
        if (tracked != sent) {
            problems
                << QStringLiteral("%1 tracking tasks for %2 sent messages").arg(tracked).arg(sent);
        }
        client->quit();
        client.reset();
        return problems;
    }

    QTemporaryDir snapshots;
    std::vector<QString> disks;
    test::WindowsScope windows;
};

TEST_P(KilledSend, TheNextStartLeavesNoTaskWithoutItsSentCopy) {
    start();
    windows->person = [](QDialog& d) { static_cast<TCustomSendTask&>(d).btnSend->click(); };
    engine::ComposeFields fields;
    fields.to = QStringLiteral("Ann Lee <ann@example.com>");
    fields.subject = QStringLiteral("Offer");
    fields.body = QStringLiteral("Our offer.");
    client->compose(fields);
    client->engine().faults().onWritten = [this] { keepDisk(); };
    client->press(QString::fromUtf8(GetParam()));
    client->engine().faults().onWritten = nullptr;
    ASSERT_EQ(client->engine()
                  .application()
                  ->GetNamespace(QStringLiteral("MAPI"))
                  ->GetDefaultFolder(ol::olFolderSentMail)
                  ->Items()
                  ->Count(),
              1);
    // The message saved, the task saved, the message sent, the task pointed at its copy.
    ASSERT_GE(disks.size(), 4u);
    client->quit();
    client.reset();
    for (std::size_t k = 0; k < disks.size(); ++k) {
        const QStringList problems = problemsAfterStartOn(disks[k]);
        EXPECT_TRUE(problems.isEmpty())
            << "killed after write " << k + 1 << " of " << disks.size() << ": "
            << problems.join(QStringLiteral("; ")).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(KilledSend, KilledSend, ::testing::Values("Remind me", "Custom"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param[0] == 'R' ? "RemindMe" : "Custom");
                         });

}  // namespace
