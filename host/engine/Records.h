#pragma once

// The mailbox's stored state: plain records, as held in memory and in the database.

#include "outlook/Outlook.h"

#include <QString>

#include <vector>

namespace vantorel::engine {

enum class ItemKind : int { Mail = 0, Task = 1, MeetingRequest = 2 };

// The role a folder plays in its store: an OlDefaultFolders value, kRoleRoot for
// the store's top-level folder, kRoleNone for any other folder.
inline constexpr int kRoleNone = 0;
inline constexpr int kRoleRoot = -1;

struct RecipientRecord {
    int type = outlook::olTo;
    QString name;
    QString address;    // empty while unresolved
    QString entryType;  // "SMTP", "EX", or empty while unresolved
    bool resolved = false;
};

struct PropertyRecord {
    QString name;
    int type = outlook::olText;
    QString value;
};

struct ItemRecord {
    qint64 id = 0;  // 0 until stored
    QString entryId;
    qint64 folderId = 0;
    ItemKind kind = ItemKind::Mail;
    QString subject;
    QString body;
    QString categories;
    std::vector<PropertyRecord> properties;  // in the order they were added
    QString messageClass;                    // empty: the kind's own ("IPM.Note", "IPM.Task", ...)

    // Mail and meeting requests.
    QString internetHeaders;  // as received: "Name: value" lines ending in CR LF
    QString topic;            // the conversation topic when fixed (see topicFixed)
    bool topicFixed = false;
    QString senderName;
    QString senderAddress;
    bool sent = false;
    double sentOn = outlook::kNoDate;
    double receivedTime = outlook::kNoDate;
    std::vector<RecipientRecord> recipients;  // in the order they were added

    // Tasks.
    double startDate = outlook::kNoDate;
    double dueDate = outlook::kNoDate;
    int importance = outlook::olImportanceNormal;
    bool reminderOverrideDefault = false;
    bool reminderSet = false;
    double reminderTime = outlook::kNoDate;
    bool complete = false;
};

struct FolderRecord {
    qint64 id = 0;
    qint64 storeId = 0;
    qint64 parentId = 0;  // 0 for a store's top-level folder
    QString name;
    QString entryId;
    int role = kRoleNone;
};

struct StoreRecord {
    qint64 id = 0;
    QString name;
    QString uid;  // 32 upper-case hex digits, part of every EntryID of the store
    qint64 rootFolderId = 0;
};

// An address-book entry the mailbox has learnt (Exchange entries, named).
struct AddressRecord {
    QString address;
    QString name;
    QString type;
};

}  // namespace vantorel::engine
