#include "host/engine/Faults.h"

#include "host/engine/Sqlite.h"
#include "outlook/OutlookError.h"

#include <QSet>

#include <sqlite3.h>

#include <stdexcept>

namespace vantorel::engine {

namespace {

struct ObjectMembers {
    const char* object;
    std::initializer_list<const char*> members;
};

const std::initializer_list<const char*> kItemMembers = {
    "Class",   "MessageClass",   "EntryID", "Subject", "SetSubject", "Body",
    "SetBody", "UserProperties", "Save",    "Delete",  "Display",
};

// Every operation of the object model, by object.
const ObjectMembers kObjects[] = {
    {"Application",
     {"Version", "Session", "GetNamespace", "CreateItem", "ActiveInspector", "Explorers",
      "Inspectors", "OnItemSend", "OnQuit", "OnInspectorActivate"}},
    {"NameSpace", {"GetDefaultFolder", "GetItemFromID", "Folders", "Categories"}},
    {"Folders", {"Count", "Item"}},
    {"MAPIFolder", {"Name", "EntryID", "FolderPath", "Folders", "Items"}},
    {"Items", {"Count", "Item", "Parent", "OnItemAdd", "Restrict"}},
    {"MailItem",
     {"ConversationTopic", "SenderEmailAddress", "SenderName", "To", "SetTo", "CC", "SetCC", "BCC",
      "SetBCC", "Recipients", "Sent", "SentOn", "ReceivedTime", "Send", "Forward",
      "PropertyAccessor"}},
    {"PropertyAccessor", {"GetProperty"}},
    {"TaskItem",
     {"Categories", "SetCategories", "StartDate", "SetStartDate", "DueDate", "SetDueDate",
      "Importance", "SetImportance", "ReminderOverrideDefault", "SetReminderOverrideDefault",
      "ReminderSet", "SetReminderSet", "ReminderTime", "SetReminderTime", "Complete", "SetComplete",
      "MarkComplete"}},
    {"MeetingItem", {"ConversationTopic", "SenderEmailAddress", "SenderName", "ReceivedTime"}},
    {"UserProperties", {"Count", "Item", "Add", "Remove"}},
    {"UserProperty", {"Name", "Type", "Value", "SetValue", "Delete"}},
    {"Recipients", {"Count", "Item", "ResolveAll"}},
    {"Recipient", {"Name", "Address", "Type", "Resolved", "AddressEntry"}},
    {"AddressEntry", {"Name", "Address", "Type"}},
    {"Inspector", {"CurrentItem"}},
    {"Categories", {"Count", "Item"}},
    {"Category", {"Name"}},
    {"Explorers", {"Count"}},
    {"Inspectors", {"Count", "Item"}},
};

struct Catalogue {
    QStringList operations;
    QSet<QString> names;  // the operations and the bare member names
};

const Catalogue& catalogue() {
    static const Catalogue c = [] {
        Catalogue result;
        const auto add = [&result](const char* object, const char* member) {
            const QString name = QLatin1String(object) + QLatin1Char('.') + QLatin1String(member);
            if (!result.names.contains(name)) {
                result.operations << name;
                result.names.insert(name);
            }
            result.names.insert(QLatin1String(member));
        };
        for (const ObjectMembers& o : kObjects) {
            for (const char* member : o.members) {
                add(o.object, member);
            }
        }
        for (const char* object : {"MailItem", "TaskItem", "MeetingItem"}) {
            for (const char* member : kItemMembers) {
                add(object, member);
            }
        }
        result.operations.sort();
        return result;
    }();
    return c;
}

}  // namespace

QString Faults::defaultMessage() {
    return QStringLiteral("The operation failed.");
}

const QStringList& Faults::operations() {
    return catalogue().operations;
}

void Faults::failNext(const QString& operation, int count, const QString& message) {
    if (!catalogue().names.contains(operation)) {
        throw std::invalid_argument("no object-model operation is called " +
                                    operation.toStdString());
    }
    if (count <= 0) {
        armed_.remove(operation);
        return;
    }
    armed_.insert(operation, {count, message.isEmpty() ? defaultMessage() : message});
}

void Faults::failAlways(const QString& operation, const QString& message) {
    failNext(operation, 1, message);
    armed_[operation].count = -1;
}

void Faults::clear() {
    armed_.clear();
    writes_ = {};
}

void Faults::failWrites(int count, int skip) {
    writes_ = {count, skip < 0 ? 0 : skip};
}

void Faults::fireWrite() {
    if (writes_.skip > 0) {
        --writes_.skip;
        return;
    }
    if (writes_.count > 0) {
        --writes_.count;
    }
    throw sqlite::SqliteError(SQLITE_FULL, QString::fromUtf8(sqlite3_errstr(SQLITE_FULL)));
}

int Faults::remaining(const QString& operation) const {
    return armed_.value(operation).count;
}

void Faults::checkKnown(const char* object, const char* member) {
    Q_ASSERT_X(catalogue().names.contains(QLatin1String(object) + QLatin1Char('.') +
                                          QLatin1String(member)),
               "Faults::hit", "an operation missing from the catalogue");
    Q_UNUSED(object);
    Q_UNUSED(member);
}

void Faults::fire(const char* object, const char* member) {
    auto at = armed_.find(QLatin1String(object) + QLatin1Char('.') + QLatin1String(member));
    if (at == armed_.end()) {
        at = armed_.find(QLatin1String(member));
    }
    if (at == armed_.end()) {
        return;
    }
    const QString message = at->message;
    if (at->count > 0 && --at->count == 0) {
        armed_.erase(at);
    }
    throw outlook::OutlookError(message);
}

}  // namespace vantorel::engine
