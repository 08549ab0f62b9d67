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

// Which names an item's properties have, as one bit per name (a hash of its letters
// in any case): a name whose bit is clear is not among them, known without reading
// them. Worked out when first asked, and forgotten by every copy and every change of
// the record it belongs to (see ItemState::edit), so it never outlives the names it
// was worked out from.
class PropertyNameBits {
public:
    PropertyNameBits() = default;
    PropertyNameBits(const PropertyNameBits& /*other*/) {}
    PropertyNameBits& operator=(const PropertyNameBits& /*other*/) {
        forget();
        return *this;
    }

    // The bit of NAME; 0 for a name of other letters than ASCII, whose letter case
    // this does not follow (such a name may be anywhere).
    static quint64 bitOf(const QString& name);
    // False when no property is called NAME (given its bit) in any letter case.
    bool mayHave(quint64 bit, const std::vector<PropertyRecord>& properties) const;
    void forget() { known_ = false; }

private:
    mutable quint64 bits_ = 0;
    mutable bool known_ = false;
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
    PropertyNameBits propertyNames;          // of properties
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
