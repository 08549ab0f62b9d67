// The item objects: mail items, task items, meeting requests, and their user
// properties and recipients.

#include "host/engine/Objects.h"

namespace vantorel::engine {

using outlook::OutlookError;

void checkIndex(int index, std::size_t count) {
    if (index < 1 || static_cast<std::size_t>(index) > count) {
        throw OutlookError(texts::indexOutOfBounds());
    }
}

const char* ItemState::objectName() const {
    switch (record.kind) {
        case ItemKind::Task:
            return "TaskItem";
        case ItemKind::MeetingRequest:
            return "MeetingItem";
        case ItemKind::Mail:
            break;
    }
    return "MailItem";
}

void ItemState::enterLive(const char* member) {
    enter(member);
    if (spent) {
        throw OutlookError(texts::movedOrDeleted());
    }
}

// What every item has.

template <class Interface>
int ItemImpl<Interface>::Class() {
    enter("Class");
    switch (record.kind) {
        case ItemKind::Task:
            return outlook::olTask;
        case ItemKind::MeetingRequest:
            return outlook::olMeetingRequest;
        case ItemKind::Mail:
            break;
    }
    return outlook::olMail;
}

template <class Interface>
QString ItemImpl<Interface>::MessageClass() {
    enter("MessageClass");
    if (!record.messageClass.isEmpty()) {
        return record.messageClass;
    }
    switch (record.kind) {
        case ItemKind::Task:
            return QStringLiteral("IPM.Task");
        case ItemKind::MeetingRequest:
            return QStringLiteral("IPM.Schedule.Meeting.Request");
        case ItemKind::Mail:
            break;
    }
    return QStringLiteral("IPM.Note");
}

template <class Interface>
QString ItemImpl<Interface>::EntryID() {
    enter("EntryID");
    return record.entryId;
}

template <class Interface>
QString ItemImpl<Interface>::Subject() {
    enter("Subject");
    return record.subject;
}

template <class Interface>
void ItemImpl<Interface>::SetSubject(const QString& value) {
    enterLive("SetSubject");
    record.subject = value;
}

template <class Interface>
QString ItemImpl<Interface>::Body() {
    enter("Body");
    return record.body;
}

template <class Interface>
void ItemImpl<Interface>::SetBody(const QString& value) {
    enterLive("SetBody");
    record.body = value;
}

template <class Interface>
outlook::UserPropertiesPtr ItemImpl<Interface>::UserProperties() {
    enter("UserProperties");
    return std::make_shared<UserPropertiesImpl>(state());
}

template <class Interface>
void ItemImpl<Interface>::Save() {
    enterLive("Save");
    const int role =
        record.kind == ItemKind::Task ? outlook::olFolderTasks : outlook::olFolderDrafts;
    core->save(record, record.id != 0 ? record.folderId : core->roleFolder(role));
}

template <class Interface>
void ItemImpl<Interface>::Delete() {
    enterLive("Delete");
    core->remove(record, static_cast<const ItemState*>(this));
    spent = true;
}

template <class Interface>
void ItemImpl<Interface>::Display(bool modal) {
    enterLive("Display");
    if (modal) {
        throw OutlookError(texts::modalNotSupported());
    }
    core->display(self(), static_cast<const ItemState*>(this));
}

template class ItemImpl<outlook::MailItem>;
template class ItemImpl<outlook::TaskItem>;
template class ItemImpl<outlook::MeetingItem>;

// Mail items.

QString MailItemImpl::ConversationTopic() {
    enter("ConversationTopic");
    return core->topicOf(record);
}

QString MailItemImpl::SenderEmailAddress() {
    enter("SenderEmailAddress");
    return record.senderAddress;
}

QString MailItemImpl::SenderName() {
    enter("SenderName");
    return record.senderName;
}

QString MailItemImpl::names(const char* member, int type) {
    enter(member);
    return recipientNames(record.recipients, type);
}

void MailItemImpl::setRecipients(const char* member, int type, const QString& value) {
    enterLive(member);
    std::vector<RecipientRecord> added = parseRecipients(value, type, core->addressBook);
    std::erase_if(record.recipients, [type](const RecipientRecord& r) { return r.type == type; });
    record.recipients.insert(record.recipients.end(), added.begin(), added.end());
}

QString MailItemImpl::To() {
    return names("To", outlook::olTo);
}
void MailItemImpl::SetTo(const QString& value) {
    setRecipients("SetTo", outlook::olTo, value);
}
QString MailItemImpl::CC() {
    return names("CC", outlook::olCC);
}
void MailItemImpl::SetCC(const QString& value) {
    setRecipients("SetCC", outlook::olCC, value);
}
QString MailItemImpl::BCC() {
    return names("BCC", outlook::olBCC);
}
void MailItemImpl::SetBCC(const QString& value) {
    setRecipients("SetBCC", outlook::olBCC, value);
}

outlook::RecipientsPtr MailItemImpl::Recipients() {
    enter("Recipients");
    return std::make_shared<RecipientsImpl>(state());
}

bool MailItemImpl::Sent() {
    enter("Sent");
    return record.sent;
}

outlook::DateTime MailItemImpl::SentOn() {
    enter("SentOn");
    return record.sentOn;
}

outlook::DateTime MailItemImpl::ReceivedTime() {
    enter("ReceivedTime");
    return record.receivedTime;
}

void MailItemImpl::Send() {
    enterLive("Send");
    if (record.sent) {
        throw OutlookError(texts::alreadySent());
    }
    const auto checkRecipients = [this] {
        if (record.recipients.empty()) {
            throw OutlookError(texts::noRecipients());
        }
        for (RecipientRecord& r : record.recipients) {
            if (!resolveRecipient(r, core->addressBook)) {
                throw OutlookError(texts::unresolvedNames());
            }
        }
    };
    checkRecipients();
    bool cancel = false;
    core->raise("ItemSend", core->itemSend, self(), cancel);
    if (cancel) {
        return;
    }
    if (spent) {
        throw OutlookError(texts::movedOrDeleted());
    }
    checkRecipients();
    core->send(record, static_cast<const ItemState*>(this));
    spent = true;
}

outlook::MailItemPtr MailItemImpl::Forward() {
    enterLive("Forward");
    ItemRecord forward;
    forward.kind = ItemKind::Mail;
    forward.subject = QStringLiteral("FW: ") + record.subject;
    forward.body = forwardBody(record);
    forward.topic = core->topicOf(record);
    forward.topicFixed = true;
    return std::make_shared<MailItemImpl>(core, std::move(forward));
}

outlook::PropertyAccessorPtr MailItemImpl::PropertyAccessor() {
    enter("PropertyAccessor");
    return std::make_shared<PropertyAccessorImpl>(state());
}

// Property access.

QString PropertyAccessorImpl::GetProperty(const QString& schemaName) {
    owner_->core->enter("PropertyAccessor", "GetProperty");
    const bool headers =
        schemaName.compare(outlook::PR_TRANSPORT_MESSAGE_HEADERS, Qt::CaseInsensitive) == 0 ||
        schemaName.compare(outlook::PR_TRANSPORT_MESSAGE_HEADERS_A, Qt::CaseInsensitive) == 0;
    if (!headers || owner_->record.internetHeaders.isEmpty()) {
        throw OutlookError(texts::propertyUnknown(schemaName));
    }
    return owner_->record.internetHeaders;
}

// Task items.

QString TaskItemImpl::Categories() {
    enter("Categories");
    return record.categories;
}

void TaskItemImpl::SetCategories(const QString& value) {
    enterLive("SetCategories");
    record.categories = value;
}

outlook::DateTime TaskItemImpl::StartDate() {
    enter("StartDate");
    return record.startDate;
}

void TaskItemImpl::SetStartDate(outlook::DateTime value) {
    enterLive("SetStartDate");
    record.startDate = value;
}

outlook::DateTime TaskItemImpl::DueDate() {
    enter("DueDate");
    return record.dueDate;
}

void TaskItemImpl::SetDueDate(outlook::DateTime value) {
    enterLive("SetDueDate");
    record.dueDate = value;
}

int TaskItemImpl::Importance() {
    enter("Importance");
    return record.importance;
}

void TaskItemImpl::SetImportance(int value) {
    enterLive("SetImportance");
    if (value < outlook::olImportanceLow || value > outlook::olImportanceHigh) {
        throw OutlookError(texts::outOfRange());
    }
    record.importance = value;
}

bool TaskItemImpl::ReminderOverrideDefault() {
    enter("ReminderOverrideDefault");
    return record.reminderOverrideDefault;
}

void TaskItemImpl::SetReminderOverrideDefault(bool value) {
    enterLive("SetReminderOverrideDefault");
    record.reminderOverrideDefault = value;
}

bool TaskItemImpl::ReminderSet() {
    enter("ReminderSet");
    return record.reminderSet;
}

void TaskItemImpl::SetReminderSet(bool value) {
    enterLive("SetReminderSet");
    record.reminderSet = value;
}

outlook::DateTime TaskItemImpl::ReminderTime() {
    enter("ReminderTime");
    return record.reminderTime;
}

void TaskItemImpl::SetReminderTime(outlook::DateTime value) {
    enterLive("SetReminderTime");
    record.reminderTime = value;
}

bool TaskItemImpl::Complete() {
    enter("Complete");
    return record.complete;
}

void TaskItemImpl::SetComplete(bool value) {
    enterLive("SetComplete");
    record.complete = value;
}

void TaskItemImpl::MarkComplete() {
    enterLive("MarkComplete");
    record.complete = true;
}

// Meeting requests.

QString MeetingItemImpl::ConversationTopic() {
    enter("ConversationTopic");
    return core->topicOf(record);
}

QString MeetingItemImpl::SenderEmailAddress() {
    enter("SenderEmailAddress");
    return record.senderAddress;
}

QString MeetingItemImpl::SenderName() {
    enter("SenderName");
    return record.senderName;
}

outlook::DateTime MeetingItemImpl::ReceivedTime() {
    enter("ReceivedTime");
    return record.receivedTime;
}

// User properties.

namespace {
std::vector<PropertyRecord>::iterator findProperty(std::vector<PropertyRecord>& properties,
                                                   const QString& name) {
    return std::find_if(properties.begin(), properties.end(), [&name](const PropertyRecord& p) {
        return p.name.compare(name, Qt::CaseInsensitive) == 0;
    });
}
}  // namespace

int UserPropertiesImpl::Count() {
    owner_->core->enter("UserProperties", "Count");
    return static_cast<int>(owner_->record.properties.size());
}

outlook::UserPropertyPtr UserPropertiesImpl::Item(int index) {
    owner_->core->enter("UserProperties", "Item");
    checkIndex(index, owner_->record.properties.size());
    return std::make_shared<UserPropertyImpl>(owner_, owner_->record.properties[index - 1].name);
}

outlook::UserPropertyPtr UserPropertiesImpl::Item(const QString& name) {
    owner_->core->enter("UserProperties", "Item");
    std::vector<PropertyRecord>& properties = owner_->record.properties;
    const auto at = findProperty(properties, name);
    if (at == properties.end()) {
        return nullptr;
    }
    return std::make_shared<UserPropertyImpl>(owner_, at->name);
}

outlook::UserPropertyPtr UserPropertiesImpl::Add(const QString& name, int type,
                                                 bool /*addToFolderFields*/,
                                                 int /*displayFormat*/) {
    owner_->core->enter("UserProperties", "Add");
    if (owner_->spent) {
        throw OutlookError(texts::movedOrDeleted());
    }
    if (type != outlook::olText) {
        throw OutlookError(texts::typeNotSupported());
    }
    if (name.trimmed().isEmpty()) {
        throw OutlookError(texts::invalidParameter());
    }
    std::vector<PropertyRecord>& properties = owner_->record.properties;
    const auto at = findProperty(properties, name);
    if (at != properties.end()) {
        return std::make_shared<UserPropertyImpl>(owner_, at->name);
    }
    properties.push_back({name, type, QString()});
    return std::make_shared<UserPropertyImpl>(owner_, name);
}

void UserPropertiesImpl::Remove(int index) {
    owner_->core->enter("UserProperties", "Remove");
    if (owner_->spent) {
        throw OutlookError(texts::movedOrDeleted());
    }
    checkIndex(index, owner_->record.properties.size());
    owner_->record.properties.erase(owner_->record.properties.begin() + (index - 1));
}

PropertyRecord& UserPropertyImpl::property() {
    std::vector<PropertyRecord>& properties = owner_->record.properties;
    const auto at = findProperty(properties, name_);
    if (at == properties.end()) {
        throw OutlookError(texts::propertyGone());
    }
    return *at;
}

QString UserPropertyImpl::Name() {
    owner_->core->enter("UserProperty", "Name");
    return property().name;
}

int UserPropertyImpl::Type() {
    owner_->core->enter("UserProperty", "Type");
    return property().type;
}

QString UserPropertyImpl::Value() {
    owner_->core->enter("UserProperty", "Value");
    return property().value;
}

void UserPropertyImpl::SetValue(const QString& value) {
    owner_->core->enter("UserProperty", "SetValue");
    if (owner_->spent) {
        throw OutlookError(texts::movedOrDeleted());
    }
    property().value = value;
}

void UserPropertyImpl::Delete() {
    owner_->core->enter("UserProperty", "Delete");
    if (owner_->spent) {
        throw OutlookError(texts::movedOrDeleted());
    }
    std::vector<PropertyRecord>& properties = owner_->record.properties;
    properties.erase(findProperty(properties, property().name));
}

// Recipients.

int RecipientsImpl::Count() {
    owner_->core->enter("Recipients", "Count");
    return static_cast<int>(owner_->record.recipients.size());
}

outlook::RecipientPtr RecipientsImpl::Item(int index) {
    owner_->core->enter("Recipients", "Item");
    checkIndex(index, owner_->record.recipients.size());
    return std::make_shared<RecipientImpl>(owner_->core, owner_->record.recipients[index - 1]);
}

bool RecipientsImpl::ResolveAll() {
    owner_->core->enter("Recipients", "ResolveAll");
    bool all = true;
    for (RecipientRecord& r : owner_->record.recipients) {
        all = resolveRecipient(r, owner_->core->addressBook) && all;
    }
    return all;
}

QString RecipientImpl::Name() {
    core_->enter("Recipient", "Name");
    return record_.name;
}

QString RecipientImpl::Address() {
    core_->enter("Recipient", "Address");
    return record_.address;
}

int RecipientImpl::Type() {
    core_->enter("Recipient", "Type");
    return record_.type;
}

bool RecipientImpl::Resolved() {
    core_->enter("Recipient", "Resolved");
    return record_.resolved;
}

outlook::AddressEntryPtr RecipientImpl::AddressEntry() {
    core_->enter("Recipient", "AddressEntry");
    return std::make_shared<AddressEntryImpl>(core_, record_);
}

QString AddressEntryImpl::Name() {
    core_->enter("AddressEntry", "Name");
    return record_.name;
}

QString AddressEntryImpl::Address() {
    core_->enter("AddressEntry", "Address");
    return record_.address;
}

QString AddressEntryImpl::Type() {
    core_->enter("AddressEntry", "Type");
    return record_.entryType;
}

}  // namespace vantorel::engine
