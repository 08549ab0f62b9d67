#pragma once

// A real engine on a mailbox in a temporary folder, with the clock standing still
// at 2026-12-10 09:00 local time.

#include "host/engine/Engine.h"
#include "platform/Clock.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

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
    void close() {
        ns.reset();
        app.reset();
        engine.reset();
    }
    // Closes the mailbox and opens it again, as a restart of the mail client does.
    void reopen() {
        close();
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

inline QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void overwrite(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(offset);
    file.write(bytes);
}

// Every entry of a folder by name: a regular file by its size and checksum, anything
// else (a link, a pipe, a folder) by what it is, without opening it.
inline std::map<std::string, std::string> entriesOf(const QString& folder) {
    std::map<std::string, std::string> entries;
    const QDir dir(folder);
    for (const QFileInfo& info :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        std::string& entry = entries[info.fileName().toStdString()];
        if (info.isSymLink()) {
            entry = "link to " + info.symLinkTarget().toStdString();
        } else if (info.isDir()) {
            entry = "folder";
        } else if (info.isFile()) {
            const QByteArray bytes = contentsOf(info.filePath());
            entry =
                std::to_string(bytes.size()) + " bytes, sha256 " +
                QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
        } else {
            entry = "special file";
        }
    }
    return entries;
}

}  // namespace vantorel::engine::testing
