#pragma once

// A real mail engine on a mailbox in a temporary folder, the clock standing still
// at Thursday 2026-12-10 09:05 local time, and a pending-send list of its own.

#include "host/engine/Engine.h"
#include "platform/Clock.h"
#include "reminders/PendingSends.h"
#include "reminders/ReminderUnit.h"

#include <QDateTime>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace vantorel::test {

namespace ol = vantorel::outlook;

// What a message is made of, as a compose window takes it.
struct MessageFields {
    QString to;
    QString cc;
    QString bcc;
    QString subject = QStringLiteral("Offer");
    QString body;
};

class ReminderTest : public ::testing::Test {
public:
    ReminderTest() {
        clock =
            std::make_shared<platform::ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(9, 5)));
        platform::installClock(clock);
        engine = std::make_unique<engine::Engine>(dir.filePath(QStringLiteral("mailbox.db")));
        app = engine->application();
        ns = app->GetNamespace(QStringLiteral("MAPI"));
        PendingSends = &pending;
    }
    ~ReminderTest() override {
        PendingSends = nullptr;
        platform::installClock(nullptr);
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    }

    // A saved, unsent message, as the send path has it.
    ol::MailItemPtr message(const MessageFields& fields) {
        ol::MailItemPtr mail = ol::asMailItem(app->CreateItem(ol::olMailItem));
        mail->SetTo(fields.to);
        mail->SetCC(fields.cc);
        mail->SetBCC(fields.bcc);
        mail->SetSubject(fields.subject);
        mail->SetBody(fields.body);
        mail->Save();
        return mail;
    }
    ol::MailItemPtr message(const QString& to) {
        MessageFields fields;
        fields.to = to;
        return message(fields);
    }

    ol::TaskItemPtr newTask() { return ol::asTaskItem(app->CreateItem(ol::olTaskItem)); }

    // The stored item, fetched afresh.
    ol::TaskItemPtr stored(const QString& entryId) {
        return ol::asTaskItem(ns->GetItemFromID(entryId));
    }

    int taskCount() { return ns->GetDefaultFolder(ol::olFolderTasks)->Items()->Count(); }

    // The item's user properties in their order: name and value.
    static std::vector<std::pair<QString, QString>> properties(ol::Item& item) {
        std::vector<std::pair<QString, QString>> result;
        const ol::UserPropertiesPtr all = item.UserProperties();
        for (int i = 1; i <= all->Count(); ++i) {
            result.emplace_back(all->Item(i)->Name(), all->Item(i)->Value());
        }
        return result;
    }

    QTemporaryDir dir;
    std::shared_ptr<platform::ManualClock> clock;
    std::unique_ptr<engine::Engine> engine;
    ol::ApplicationPtr app;
    ol::NameSpacePtr ns;
    TPendingSends pending;
};

}  // namespace vantorel::test
