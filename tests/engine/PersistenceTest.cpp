// The mailbox file: what survives a restart, a killed process, and files that are
// not ours.

#include "EngineFixture.h"

#include "host/engine/MailboxFile.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <cstdlib>

namespace vantorel::engine::testing {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

TEST_F(EngineTest, MailboxSurvivesAReopen) {
    engine->addCategory(QStringLiteral("Clients"));
    engine->addStore(QStringLiteral("Archive"), QStringLiteral("Posteingang"), true);

    ol::TaskItemPtr task = newTask(QStringLiteral("Task"));
    task->SetStartDate(46367.375);
    task->SetImportance(ol::olImportanceLow);
    task->UserProperties()
        ->Add(QStringLiteral("Topic"), ol::olText, false, ol::olFormatTextText)
        ->SetValue(QStringLiteral("Offer"));
    task->UserProperties()
        ->Add(QStringLiteral("Mail"), ol::olText, false, ol::olFormatTextText)
        ->SetValue(QStringLiteral("x\r\ny"));
    task->Save();
    const QString taskId = task->EntryID();
    const QString deletedId = newTask(QStringLiteral("Deleted"))->EntryID();
    ns->GetItemFromID(deletedId)->Delete();

    ol::MailItemPtr mail =
        newMail(QStringLiteral("Ann Lee <ann@example.com>; Cy <ex:/o=org/cn=cy>"),
                QStringLiteral("RE: Offer"));
    mail->UserProperties()
        ->Add(QStringLiteral("ReminderID"), ol::olText, false, ol::olFormatTextText)
        ->SetValue(taskId);
    mail->Send();
    const QString sentId = items(ol::olFolderSentMail)->Item(1)->EntryID();
    Delivery answer = reply(QStringLiteral("ann@example.com"), QStringLiteral("AW: Offer"));
    answer.topic = QStringLiteral("Offer");
    engine->deliver(answer, QStringLiteral("Archive"));
    const QString folderId = folder(ol::olFolderInbox)->EntryID();

    reopen();

    ol::TaskItemPtr t = ol::asTaskItem(ns->GetItemFromID(taskId));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->StartDate(), 46367.375);
    EXPECT_EQ(t->DueDate(), ol::kNoDate);
    EXPECT_EQ(t->Importance(), ol::olImportanceLow);
    ASSERT_EQ(t->UserProperties()->Count(), 2);
    EXPECT_EQ(t->UserProperties()->Item(1)->Name(), QStringLiteral("Topic"));
    EXPECT_EQ(t->UserProperties()->Item(2)->Value(), QStringLiteral("x\r\ny"));
    EXPECT_THROW(ns->GetItemFromID(deletedId), ol::OutlookError);

    ol::MailItemPtr sent = ol::asMailItem(ns->GetItemFromID(sentId));
    EXPECT_EQ(sent->ConversationTopic(), QStringLiteral("Offer"));
    EXPECT_EQ(sent->UserProperties()->Item(QStringLiteral("ReminderID"))->Value(), taskId);
    ASSERT_EQ(sent->Recipients()->Count(), 2);
    EXPECT_EQ(sent->Recipients()->Item(2)->AddressEntry()->Type(), QStringLiteral("EX"));
    EXPECT_EQ(folder(ol::olFolderInbox)->EntryID(), folderId);

    ol::MailItemPtr archived =
        ol::asMailItem(engine->inbox(QStringLiteral("Archive"))->Items()->Item(1));
    EXPECT_EQ(archived->ConversationTopic(), QStringLiteral("Offer"));
    EXPECT_EQ(archived->SenderEmailAddress(), QStringLiteral("ann@example.com"));
    EXPECT_EQ(ns->Folders()->Count(), 2);
    EXPECT_EQ(ns->Categories()->Item(1)->Name(), QStringLiteral("Clients"));

    // The address book remembers the Exchange entry; EntryIDs are never handed out twice.
    ol::MailItemPtr next = newMail(QStringLiteral("/o=org/cn=cy"), QStringLiteral("Next"));
    EXPECT_TRUE(next->Recipients()->ResolveAll());
    EXPECT_EQ(next->To(), QStringLiteral("Cy"));
    next->Save();
    for (const QString& old : {taskId, deletedId, sentId}) {
        EXPECT_NE(next->EntryID(), old);
    }
}

// Everything committed before the process dies is there afterwards.
TEST_F(EngineTest, AKilledProcessLosesNothingCommitted) {
    newTask(QStringLiteral("before"));
    close();
    // Where death tests run the program again (Windows) the child's fixture has a mailbox
    // of its own: the child writes to the first run's, named in the environment.
    const char* const kMailbox = "VANTOREL_TEST_KILLED_MAILBOX";
    if (!qEnvironmentVariableIsSet(kMailbox)) {
        qputenv(kMailbox, databasePath().toUtf8());
    }
    EXPECT_EXIT(
        {
            Engine child(qEnvironmentVariable(kMailbox));
            ol::ApplicationPtr a = child.application();
            for (const char* subject : {"one", "two", "three"}) {
                ol::ItemPtr task = a->CreateItem(ol::olTaskItem);
                task->SetSubject(QLatin1String(subject));
                task->Save();
            }
            std::_Exit(0);  // no close, no checkpoint
        },
        ::testing::ExitedWithCode(0), "");
    qunsetenv(kMailbox);
    open();
    ol::ItemsPtr tasks = items(ol::olFolderTasks);
    ASSERT_EQ(tasks->Count(), 4);
    EXPECT_EQ(tasks->Item(4)->Subject(), QStringLiteral("three"));
}

struct DamageRow {
    const char* name;
    std::function<void(const QString& path)> damage;
    const char* expected;  // part of the error text
};

void PrintTo(const DamageRow& row, std::ostream* os) {
    *os << row.name;
}

class DamagedFileTest : public EngineTest, public ::testing::WithParamInterface<DamageRow> {};

TEST_P(DamagedFileTest, IsRefusedWithItsNameAndLeftUnchanged) {
    newTask(QStringLiteral("precious"));
    close();
    const QString path = databasePath();
    GetParam().damage(path);
    const auto before = entriesOf(dir.path());

    try {
        Engine broken(path);
        ADD_FAILURE() << "the file was opened";
    } catch (const MailboxError& e) {
        EXPECT_TRUE(e.text().contains(QDir::toNativeSeparators(path))) << e.what();
        EXPECT_TRUE(e.text().contains(QLatin1String(GetParam().expected))) << e.what();
        EXPECT_EQ(e.path(), path);
    }
    // Nor does a journal appear beside it.
    EXPECT_EQ(entriesOf(dir.path()), before);
}

void foreignDatabase(const QString& path, int applicationId, int userVersion = 0) {
    QFile::remove(path);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    const QByteArray sql = QStringLiteral(
                               "PRAGMA application_id = %1; PRAGMA user_version = %2;"
                               "CREATE TABLE notes(text); INSERT INTO notes VALUES ('mine');")
                               .arg(applicationId)
                               .arg(userVersion)
                               .toUtf8();
    EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DamagedFileTest,
    ::testing::Values(
        DamageRow{"garbage", [](const QString& path) { writeFile(path, QByteArray(8192, '\x5a')); },
                  "is not a Vantorel mailbox"},
        DamageRow{"empty", [](const QString& path) { writeFile(path, QByteArray()); },
                  "is not a Vantorel mailbox"},
        DamageRow{"foreign_database", [](const QString& path) { foreignDatabase(path, 0); },
                  "another program"},
        DamageRow{"our_id_without_our_schema",
                  [](const QString& path) { foreignDatabase(path, MailboxFile::kApplicationId); },
                  "damaged"},
        DamageRow{"our_id_and_format_without_our_tables",
                  [](const QString& path) {
                      foreignDatabase(path, MailboxFile::kApplicationId,
                                      MailboxFile::kSchemaVersion);
                  },
                  "the table meta is missing"},
        DamageRow{"garbage_inside",
                  [](const QString& path) {
                      // Past the header page, over the tables' pages.
                      overwrite(path, 4096, QByteArray(4 * 4096, '\xa5'));
                  },
                  "damaged"}),
    [](const ::testing::TestParamInfo<DamageRow>& info) { return std::string(info.param.name); });

TEST_F(EngineTest, AMailboxOfANewerVersionIsRefused) {
    close();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(databasePath().toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    try {
        Engine newer(databasePath());
        ADD_FAILURE() << "the file was opened";
    } catch (const MailboxError& e) {
        EXPECT_TRUE(e.text().contains(QLatin1String("newer version"))) << e.what();
    }
}

TEST_F(EngineTest, AMailboxIsCreatedInAFolderThatDoesNotExistYet) {
    const QString path = dir.filePath(QStringLiteral("data/deeper/mailbox.db"));
    Engine fresh(path);
    EXPECT_EQ(fresh.application()->Session()->Folders()->Count(), 1);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".new")));
}

// A mailbox of the first format (before message classes and internet headers) opens
// with everything it held, and is brought to the current format.
TEST_F(EngineTest, AMailboxOfTheFirstFormatIsUpgradedKeepingItsItems) {
    Delivery d;
    d.from = QStringLiteral("ann@example.com");
    d.subject = QStringLiteral("RE: Offer");
    engine->deliver(d);
    newTask(QStringLiteral("Call Ann"));
    close();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(databasePath().toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "ALTER TABLE items DROP COLUMN message_class;"
                           "ALTER TABLE items DROP COLUMN internet_headers;"
                           "PRAGMA user_version = 1;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    open();
    const ol::MailItemPtr mail = ol::asMailItem(items(ol::olFolderInbox)->Item(1));
    EXPECT_EQ(mail->Subject(), QStringLiteral("RE: Offer"));
    EXPECT_EQ(mail->MessageClass(), QStringLiteral("IPM.Note"));
    EXPECT_EQ(items(ol::olFolderTasks)->Item(1)->MessageClass(), QStringLiteral("IPM.Task"));
    // The new fields are stored from now on.
    d.messageClass = QStringLiteral("IPM.Note.Rules.OofTemplate.Microsoft");
    engine->deliver(d);
    reopen();
    EXPECT_EQ(items(ol::olFolderInbox)->Item(2)->MessageClass(),
              QStringLiteral("IPM.Note.Rules.OofTemplate.Microsoft"));
    close();
    ASSERT_EQ(sqlite3_open(databasePath().toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_stmt* version = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &version, nullptr);
    ASSERT_EQ(sqlite3_step(version), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(version, 0), MailboxFile::kSchemaVersion);
    sqlite3_finalize(version);
    sqlite3_close(db);
}

}  // namespace
}  // namespace vantorel::engine::testing
