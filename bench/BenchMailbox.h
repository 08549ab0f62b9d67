#pragma once

// Mailboxes for the benchmarks, written straight through the engine's database layer
// in one transaction (a hundred thousand saves one by one would take minutes), then
// opened by the engine as any mailbox is.
//
// A tracking task carries what the add-in writes when a message is sent with
// "Remind me": its subject, dates, importance, the quoted message as body, and the
// ten tracking properties in their order. An ordinary task has none of them.

#include <QDateTime>
#include <QString>

namespace vantorel::bench {

struct MailboxShape {
    int trackingTasks = 0;
    // Of the tracking tasks, one in dueEvery has a reminder that has passed; the
    // others fall due in a week.
    int dueEvery = 10;
    // One ordinary task after every ordinaryEvery tracking tasks (0: none).
    int ordinaryEvery = 10;
    // Each tracking task's message, as its sent copy in Sent Items.
    bool sentCopies = false;
    // Messages received in the Inbox.
    int inboxMessages = 0;
    // Of those, this many (spread evenly) are replies, received half a day ago, each
    // from the To recipient of another tracking task, spread evenly too.
    int inboxReplies = 0;
};

// The moment every benchmark's clock stands at: 2026-12-10 09:00 local time.
QDateTime benchNow();

// The topic and the To address of the tracking task number I (from 0).
QString topicOf(int i);
QString recipientOf(int i);

// Writes a new mailbox at PATH (DATADIR/mailbox.db) of that shape; returns the
// number of items in it.
int writeMailbox(const QString& path, const MailboxShape& shape);

// The shape with ITEMS items in all: tracking tasks with their sent copies, ordinary
// tasks and received messages, as a mailbox that has been in use for years.
MailboxShape mailboxOfItems(int items);

}  // namespace vantorel::bench
