#pragma once

// A real engine on a mailbox in a temporary folder, with the clock standing still
// at 2026-12-10 09:00 local time.

#include "host/engine/Engine.h"
#include "platform/Clock.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

namespace vantorel::engine::testing {

namespace ol = vantorel::outlook;

class EngineTest : public ::testing::Test {
public:
    EngineTest() {
        platform::installClock(
            std::make_shared<platform::ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(9, 0))));
        open();
    }
    ~EngineTest() override { platform::installClock(nullptr); }

    QString databasePath() const { return dir.filePath(QStringLiteral("mailbox.db")); }

    void open() {
        engine = std::make_unique<Engine>(databasePath());
        app = engine->application();
        ns = app->GetNamespace(QStringLiteral("MAPI"));
    }
    // Closes the mailbox and opens it again, as a restart of the mail client does.
    void reopen() {
        ns.reset();
        app.reset();
        engine.reset();
        open();
    }

    ol::MAPIFolderPtr folder(int type) { return ns->GetDefaultFolder(type); }
    ol::ItemsPtr items(int type) { return folder(type)->Items(); }

    ol::TaskItemPtr newTask(const QString& subject) {
        ol::TaskItemPtr task = ol::asTaskItem(app->CreateItem(ol::olTaskItem));
        task->SetSubject(subject);
        task->Save();
        return task;
    }

    ol::MailItemPtr newMail(const QString& to, const QString& subject) {
        ol::MailItemPtr mail = ol::asMailItem(app->CreateItem(ol::olMailItem));
        mail->SetTo(to);
        mail->SetSubject(subject);
        return mail;
    }

    Delivery reply(const QString& from, const QString& subject) {
        Delivery d;
        d.from = from;
        d.subject = subject;
        return d;
    }

    QTemporaryDir dir;
    std::unique_ptr<Engine> engine;
    ol::ApplicationPtr app;
    ol::NameSpacePtr ns;
};

}  // namespace vantorel::engine::testing
