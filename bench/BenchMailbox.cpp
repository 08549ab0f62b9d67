#include "bench/BenchMailbox.h"

#include "host/engine/Engine.h"
#include "host/engine/MailText.h"
#include "host/engine/MailboxFile.h"
#include "reminders/TrackingProperties.h"
#include "tools/DateTime.h"

#include <QDateTime>

namespace vantorel::bench {

namespace {

constexpr double kSecondsPerDay = 86400.0;

// The quoted message the add-in writes as a tracking task's body.
QString quotedBody(int i) {
    return QStringLiteral(
               "\r\n\r\n-----Original Message-----\r\nFrom: Vantorel User "
               "<user@vantorel.example>\r\nSent: Thursday, December 3, 2026 9:00 AM\r\nTo: "
               "Contact %1 <%2>\r\nSubject: %3\r\n\r\nHello,\r\n\r\ncould you send me the figures "
               "for the next quarter by Friday? The draft we talked about last week is attached; "
               "the numbers in its second table are still the old ones.\r\n\r\nThank you,\r\nUser")
        .arg(i)
        .arg(recipientOf(i), topicOf(i));
}

engine::ItemRecord trackingTask(int i, const QString& mailEntryId, const QString& uid, qint64 id,
                                qint64 folderId, bool due) {
    namespace tp = TrackingProperty;
    const tools::TDateTime now = tools::toDateTime(benchNow());
    const tools::TDateTime sent = now - 7.0 - (i % 97) / kSecondsPerDay;
    const tools::TDateTime remind = due ? now - 1.0 - (i % 89) / kSecondsPerDay : now + 7.0;
    engine::ItemRecord r;
    r.id = id;
    r.entryId = engine::itemEntryId(uid, id);
    r.folderId = folderId;
    r.kind = engine::ItemKind::Task;
    r.subject = QStringLiteral("[Vantorel] Contact %1: %2").arg(i).arg(topicOf(i));
    r.body = quotedBody(i);
    r.startDate = sent;
    r.dueDate = sent + 7.0;
    r.importance = outlook::olImportanceNormal;
    r.reminderOverrideDefault = true;
    r.reminderSet = false;
    r.reminderTime = remind;
    const auto add = [&r](const QString& name, const QString& value) {
        r.properties.push_back({name, outlook::olText, value});
    };
    add(tp::Topic, topicOf(i));
    add(tp::Mail, mailEntryId);
    add(tp::Recipients, QStringLiteral("Contact %1|%2;").arg(i).arg(recipientOf(i)));
    add(tp::CcRecipients, QString());
    add(tp::BccRecipients, QString());
    add(tp::FirstSent, tools::localUnixSecondsText(sent));
    add(tp::DeleteOnReply, tools::boolText(false));
    add(tp::MarkCompletedOnReply, tools::boolText(true));
    add(tp::ReminderSet, tools::boolText(true));
    add(tp::ReminderTime, tools::localUnixSecondsText(remind));
    return r;
}

engine::ItemRecord sentCopy(int i, const QString& uid, qint64 id, qint64 folderId,
                            const QString& taskEntryId) {
    const tools::TDateTime sent = tools::toDateTime(benchNow()) - 7.0;
    engine::ItemRecord r;
    r.id = id;
    r.entryId = engine::itemEntryId(uid, id);
    r.folderId = folderId;
    r.kind = engine::ItemKind::Mail;
    r.subject = topicOf(i);
    r.topic = topicOf(i);
    r.topicFixed = true;
    r.body = quotedBody(i).mid(4);
    r.senderName = QStringLiteral("Vantorel User");
    r.senderAddress = QStringLiteral("user@vantorel.example");
    r.sent = true;
    r.sentOn = sent;
    r.receivedTime = sent;
    r.recipients.push_back({outlook::olTo, QStringLiteral("Contact %1").arg(i), recipientOf(i),
                            QStringLiteral("SMTP"), true});
    r.properties.push_back({TrackingProperty::ReminderID, outlook::olText, taskEntryId});
    return r;
}

engine::ItemRecord ordinaryTask(int i, const QString& uid, qint64 id, qint64 folderId) {
    engine::ItemRecord r;
    r.id = id;
    r.entryId = engine::itemEntryId(uid, id);
    r.folderId = folderId;
    r.kind = engine::ItemKind::Task;
    r.subject = QStringLiteral("Call the office about item %1").arg(i);
    r.body = QStringLiteral("Ask about the delivery dates.");
    r.startDate = tools::toDateTime(benchNow()) - 3.0;
    r.dueDate = r.startDate + 14.0;
    return r;
}

engine::ItemRecord received(int i, const QString& uid, qint64 id, qint64 folderId) {
    const tools::TDateTime at = tools::toDateTime(benchNow()) - 30.0 + (i % 1000) / 100.0;
    engine::ItemRecord r;
    r.id = id;
    r.entryId = engine::itemEntryId(uid, id);
    r.folderId = folderId;
    r.kind = engine::ItemKind::Mail;
    r.subject = QStringLiteral("Weekly report %1").arg(i);
    r.topic = r.subject;
    r.topicFixed = true;
    r.body = QStringLiteral("Please find this week's figures below.\r\n\r\nRegards");
    r.senderName = QStringLiteral("Reporter %1").arg(i % 50);
    r.senderAddress = QStringLiteral("reporter%1@example.org").arg(i % 50);
    r.sent = true;
    r.sentOn = at;
    r.receivedTime = at;
    r.recipients.push_back({outlook::olTo, QStringLiteral("Vantorel User"),
                            QStringLiteral("user@vantorel.example"), QStringLiteral("SMTP"), true});
    return r;
}

// Received message I, a reply to tracking task TASK.
engine::ItemRecord reply(int i, int task, const QString& uid, qint64 id, qint64 folderId) {
    engine::ItemRecord r = received(i, uid, id, folderId);
    r.subject = QStringLiteral("RE: ") + topicOf(task);
    r.topic = topicOf(task);
    r.senderName = QStringLiteral("Contact %1").arg(task);
    r.senderAddress = recipientOf(task);
    r.sentOn = tools::toDateTime(benchNow()) - 0.5;
    r.receivedTime = r.sentOn;
    return r;
}

}  // namespace

QDateTime benchNow() {
    return tools::localDateTime(QDate(2026, 12, 10), QTime(9, 0));
}

QString topicOf(int i) {
    return QStringLiteral("Quarterly figures, request %1").arg(i);
}

QString recipientOf(int i) {
    return QStringLiteral("contact%1@example.com").arg(i);
}

MailboxShape mailboxOfItems(int items) {
    MailboxShape shape;
    shape.trackingTasks = items * 2 / 5;
    shape.sentCopies = true;
    shape.ordinaryEvery = 10;
    shape.inboxMessages = items - 2 * shape.trackingTasks - shape.trackingTasks / 10;
    return shape;
}

int writeMailbox(const QString& path, const MailboxShape& shape) {
    {
        engine::Engine created(path);  // the default store and its folders
    }
    engine::MailboxFile file(path);
    engine::MailboxFile::Contents contents = file.load();
    const QString uid = contents.stores.front().uid;
    const qint64 storeId = contents.stores.front().id;
    const auto folderOf = [&](int role) {
        for (const engine::FolderRecord& f : contents.folders) {
            if (f.storeId == storeId && f.role == role) {
                return f.id;
            }
        }
        return qint64{0};
    };
    const qint64 tasks = folderOf(outlook::olFolderTasks);
    const qint64 sentItems = folderOf(outlook::olFolderSentMail);
    const qint64 inbox = folderOf(outlook::olFolderInbox);
    qint64 next = contents.nextId;
    int written = 0;
    engine::sqlite::Transaction transaction(file.database());
    for (int i = 0; i < shape.trackingTasks; ++i) {
        const qint64 taskId = next++;
        const qint64 copyId = shape.sentCopies ? next++ : 0;
        const QString copyEntryId = shape.sentCopies ? engine::itemEntryId(uid, copyId) : QString();
        const bool due = shape.dueEvery > 0 && i % shape.dueEvery == 0;
        file.writeItem(trackingTask(i, copyEntryId, uid, taskId, tasks, due));
        ++written;
        if (shape.sentCopies) {
            file.writeItem(sentCopy(i, uid, copyId, sentItems, engine::itemEntryId(uid, taskId)));
            ++written;
        }
        if (shape.ordinaryEvery > 0 && i % shape.ordinaryEvery == shape.ordinaryEvery - 1) {
            file.writeItem(ordinaryTask(i, uid, next++, tasks));
            ++written;
        }
    }
    const int replyEvery = shape.inboxReplies > 0 ? shape.inboxMessages / shape.inboxReplies : 0;
    int replies = 0;
    for (int i = 0; i < shape.inboxMessages; ++i) {
        if (replyEvery > 0 && i % replyEvery == 0 && replies < shape.inboxReplies) {
            const int task =
                static_cast<int>(qint64{replies} * shape.trackingTasks / shape.inboxReplies);
            file.writeItem(reply(i, task, uid, next++, inbox));
            ++replies;
        } else {
            file.writeItem(received(i, uid, next++, inbox));
        }
        ++written;
    }
    file.setNextId(next);
    transaction.commit();
    return written;
}

}  // namespace vantorel::bench
