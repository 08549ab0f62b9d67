// The item objects: mail items, task items, meeting requests, and their user
// properties and recipients.

#include "host/engine/Objects.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vantorel::engine {

using outlook::OutlookError;

void checkIndex(int index, std::size_t count) {
    if (index < 1 || static_cast<std::size_t>(index) > count) {
        throw OutlookError(texts::indexOutOfBounds());
    }
}

const char* ItemState::objectName() const {
    switch (record().kind) {
        case ItemKind::Task:
            return "TaskItem";
        case ItemKind::MeetingRequest:
            return "MeetingItem";
        case ItemKind::Mail:
            break;
    }
    return "MailItem";
}

ItemRecord& ItemState::edit() {
    if (own_ == nullptr) {
        auto copy = std::make_shared<ItemRecord>(*record_);
        own_ = copy.get();
        record_ = std::move(copy);
    }
    own_->propertyNames.forget();  // the caller may change the properties
    return *own_;
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
    switch (record().kind) {
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
    if (!record().messageClass.isEmpty()) {
        return record().messageClass;
    }
    switch (record().kind) {
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
    return record().entryId;
}

template <class Interface>
QString ItemImpl<Interface>::Subject() {
    enter("Subject");
    return record().subject;
}

template <class Interface>
void ItemImpl<Interface>::SetSubject(const QString& value) {
    enterLive("SetSubject");
    edit().subject = value;
}

template <class Interface>
QString ItemImpl<Interface>::Body() {
    enter("Body");
    return record().body;
}

template <class Interface>
void ItemImpl<Interface>::SetBody(const QString& value) {
    enterLive("SetBody");
    edit().body = value;
}

template <class Interface>
outlook::UserPropertiesPtr ItemImpl<Interface>::UserProperties() {
    enter("UserProperties");
    return outlook::UserPropertiesPtr(this->shared_from_this(), &userProperties_);
}

template <class Interface>
void ItemImpl<Interface>::Save() {
    enterLive("Save");
    const int role =
        record().kind == ItemKind::Task ? outlook::olFolderTasks : outlook::olFolderDrafts;
    core->saveItem(record(), record().id != 0 ? record().folderId : core->roleFolder(role), *this);
}

template <class Interface>
void ItemImpl<Interface>::Delete() {
    enterLive("Delete");
    core->remove(record(), static_cast<const ItemState*>(this));
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
    return core->topicOf(record());
}

QString MailItemImpl::SenderEmailAddress() {
    enter("SenderEmailAddress");
    return record().senderAddress;
}

QString MailItemImpl::SenderName() {
    enter("SenderName");
    return record().senderName;
}

QString MailItemImpl::names(const char* member, int type) {
    enter(member);
    return recipientNames(record().recipients, type);
}

void MailItemImpl::setRecipients(const char* member, int type, const QString& value) {
    enterLive(member);
    std::vector<RecipientRecord> added = parseRecipients(value, type, core->addressBook);
    std::vector<RecipientRecord>& recipients = edit().recipients;
    std::erase_if(recipients, [type](const RecipientRecord& r) { return r.type == type; });
    recipients.insert(recipients.end(), added.begin(), added.end());
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
    return record().sent;
}

outlook::DateTime MailItemImpl::SentOn() {
    enter("SentOn");
    return record().sentOn;
}

outlook::DateTime MailItemImpl::ReceivedTime() {
    enter("ReceivedTime");
    return record().receivedTime;
}

void MailItemImpl::Send() {
    enterLive("Send");
    if (record().sent) {
        throw OutlookError(texts::alreadySent());
    }
    const auto checkRecipients = [this] {
        if (record().recipients.empty()) {
            throw OutlookError(texts::noRecipients());
        }
        for (RecipientRecord& r : edit().recipients) {
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
    core->send(record(), static_cast<const ItemState*>(this));
    spent = true;
}

outlook::MailItemPtr MailItemImpl::Forward() {
    enterLive("Forward");
    ItemRecord forward;
    forward.kind = ItemKind::Mail;
    forward.subject = QStringLiteral("FW: ") + record().subject;
    forward.body = forwardBody(record());
    forward.topic = core->topicOf(record());
    forward.topicFixed = true;
    return std::make_shared<MailItemImpl>(core,
                                          std::make_shared<const ItemRecord>(std::move(forward)));
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
    if (!headers || owner_->record().internetHeaders.isEmpty()) {
        throw OutlookError(texts::propertyUnknown(schemaName));
    }
    return owner_->record().internetHeaders;
}

// Task items.

QString TaskItemImpl::Categories() {
    enter("Categories");
    return record().categories;
}

void TaskItemImpl::SetCategories(const QString& value) {
    enterLive("SetCategories");
    edit().categories = value;
}

outlook::DateTime TaskItemImpl::StartDate() {
    enter("StartDate");
    return record().startDate;
}

void TaskItemImpl::SetStartDate(outlook::DateTime value) {
    enterLive("SetStartDate");
    edit().startDate = value;
}

outlook::DateTime TaskItemImpl::DueDate() {
    enter("DueDate");
    return record().dueDate;
}

void TaskItemImpl::SetDueDate(outlook::DateTime value) {
    enterLive("SetDueDate");
    edit().dueDate = value;
}

int TaskItemImpl::Importance() {
    enter("Importance");
    return record().importance;
}

void TaskItemImpl::SetImportance(int value) {
    enterLive("SetImportance");
    if (value < outlook::olImportanceLow || value > outlook::olImportanceHigh) {
        throw OutlookError(texts::outOfRange());
    }
    edit().importance = value;
}

bool TaskItemImpl::ReminderOverrideDefault() {
    enter("ReminderOverrideDefault");
    return record().reminderOverrideDefault;
}

void TaskItemImpl::SetReminderOverrideDefault(bool value) {
    enterLive("SetReminderOverrideDefault");
    edit().reminderOverrideDefault = value;
}

bool TaskItemImpl::ReminderSet() {
    enter("ReminderSet");
    return record().reminderSet;
}

void TaskItemImpl::SetReminderSet(bool value) {
    enterLive("SetReminderSet");
    edit().reminderSet = value;
}

outlook::DateTime TaskItemImpl::ReminderTime() {
    enter("ReminderTime");
    return record().reminderTime;
}

void TaskItemImpl::SetReminderTime(outlook::DateTime value) {
    enterLive("SetReminderTime");
    edit().reminderTime = value;
}

bool TaskItemImpl::Complete() {
    enter("Complete");
    return record().complete;
}

void TaskItemImpl::SetComplete(bool value) {
    enterLive("SetComplete");
    edit().complete = value;
}

void TaskItemImpl::MarkComplete() {
    enterLive("MarkComplete");
    edit().complete = true;
}

// Meeting requests.

QString MeetingItemImpl::ConversationTopic() {
    enter("ConversationTopic");
    return core->topicOf(record());
}

QString MeetingItemImpl::SenderEmailAddress() {
    enter("SenderEmailAddress");
    return record().senderAddress;
}

QString MeetingItemImpl::SenderName() {
    enter("SenderName");
    return record().senderName;
}

outlook::DateTime MeetingItemImpl::ReceivedTime() {
    enter("ReceivedTime");
    return record().receivedTime;
}

// User properties.

quint64 PropertyNameBits::bitOf(const QString& name) {
    quint32 hash = static_cast<quint32>(name.size());
    for (const QChar c : name) {
        char16_t u = c.unicode();
        if (u >= 0x80) {
            return 0;
        }
        if (u >= u'a' && u <= u'z') {
            u = static_cast<char16_t>(u - (u'a' - u'A'));
        }
        hash = hash * 31 + u;
    }
    return quint64(1) << (hash % 64);
}

bool PropertyNameBits::mayHave(quint64 bit, const std::vector<PropertyRecord>& properties) const {
    if (!known_) {
        // Items share the texts of their property names (see the mailbox's load): each
        // text's bit is worked out once.
        // Each entry holds its text, so no other text can take its place in memory.
        struct Known {
            QString name;
            quint64 bit = 0;
        };
        thread_local std::array<Known, 64> known;
        bits_ = 0;
        for (const PropertyRecord& p : properties) {
            Known& k =
                known[(reinterpret_cast<std::uintptr_t>(p.name.constData()) >> 4) % known.size()];
            if (k.name.constData() != p.name.constData() || k.name.size() != p.name.size()) {
                k = {p.name, bitOf(p.name)};
            }
            bits_ |= k.bit != 0 ? k.bit : ~quint64(0);
        }
        known_ = true;
    }
    return bit == 0 || (bits_ & bit) != 0;
}

namespace {
bool sameText(const QString& a, const QString& b) {
    return a.size() == b.size() &&
           (a.constData() == b.constData() ||
            std::memcmp(a.constData(), b.constData(), sizeof(QChar) * a.size()) == 0);
}

}  // namespace

qsizetype findProperty(const ItemRecord& record, const QString& name) {
    const std::vector<PropertyRecord>& properties = record.properties;
    // The add-in asks by the same few names again and again, of items that keep their
    // properties in one order: each name's bit, and where it was found last time,
    // are remembered by the name's text (the lookup below still compares the name).
    // Each entry holds its text, so no other text can take its place in memory.
    struct Remembered {
        QString name;
        quint64 bit = 0;
        std::size_t position = std::size_t(-1);
    };
    thread_local std::array<Remembered, 16> remembered;
    Remembered& last =
        remembered[(reinterpret_cast<std::uintptr_t>(name.constData()) >> 4) % remembered.size()];
    if (last.name.constData() != name.constData() || last.name.size() != name.size()) {
        last = {name, PropertyNameBits::bitOf(name), std::size_t(-1)};
    }
    if (last.position < properties.size() && sameText(properties[last.position].name, name)) {
        return static_cast<qsizetype>(last.position);
    }
    if (!record.propertyNames.mayHave(last.bit, properties)) {
        return -1;
    }
    // Texts of different lengths never compare equal, in any letter case. A damaged
    // file may hold two names that differ in letter case only: the one spelled
    // exactly alike wins.
    qsizetype found = -1;
    const std::size_t size = properties.size();
    for (std::size_t i = 0; i < size; ++i) {
        const QString& other = properties[i].name;
        if (other.size() != name.size()) {
            continue;
        }
        if (sameText(other, name)) {
            found = static_cast<qsizetype>(i);
            break;
        }
        if (found < 0 && other.compare(name, Qt::CaseInsensitive) == 0) {
            found = static_cast<qsizetype>(i);
        }
    }
    if (found >= 0) {
        last.position = static_cast<std::size_t>(found);
    }
    return found;
}

int UserPropertiesImpl::Count() {
    owner_->core->enter("UserProperties", "Count");
    return static_cast<int>(owner_->record().properties.size());
}

outlook::UserPropertyPtr UserPropertiesImpl::Item(int index) {
    owner_->core->enter("UserProperties", "Item");
    const std::vector<PropertyRecord>& properties = owner_->record().properties;
    checkIndex(index, properties.size());
    return owner_->propertyObject(properties[index - 1].name, static_cast<std::size_t>(index - 1));
}

outlook::UserPropertyPtr UserPropertiesImpl::Item(const QString& name) {
    owner_->core->enter("UserProperties", "Item");
    const std::vector<PropertyRecord>& properties = owner_->record().properties;
    const qsizetype at = findProperty(owner_->record(), name);
    if (at < 0) {
        return nullptr;
    }
    return owner_->propertyObject(properties[static_cast<std::size_t>(at)].name,
                                  static_cast<std::size_t>(at));
}

outlook::UserPropertyPtr UserPropertiesImpl::Add(const QString& name, int type,
                                                 bool addToFolderFields, int displayFormat) {
    owner_->core->enter("UserProperties", "Add");
    if (owner_->spent) {
        throw OutlookError(texts::movedOrDeleted());
    }
    if (type != outlook::olText) {
        throw OutlookError(texts::typeNotSupported());
    }
    // The client knows one display format of a text property, olFormatTextText.
    if (displayFormat != outlook::olFormatTextText) {
        throw OutlookError(texts::outOfRange());
    }
    if (name.trimmed().isEmpty()) {
        throw OutlookError(texts::invalidParameter());
    }
    if (addToFolderFields && owner_->record().folderId != 0) {
        owner_->core->requireFolder(owner_->record().folderId).fields.insert(name.toCaseFolded());
    }
    const qsizetype at = findProperty(owner_->record(), name);
    if (at >= 0) {
        return owner_->propertyObject(
            owner_->record().properties[static_cast<std::size_t>(at)].name,
            static_cast<std::size_t>(at));
    }
    std::vector<PropertyRecord>& properties = owner_->edit().properties;
    properties.push_back({name, type, QString()});
    return owner_->propertyObject(name, properties.size() - 1);
}

void UserPropertiesImpl::Remove(int index) {
    owner_->core->enter("UserProperties", "Remove");
    if (owner_->spent) {
        throw OutlookError(texts::movedOrDeleted());
    }
    checkIndex(index, owner_->record().properties.size());
    std::vector<PropertyRecord>& properties = owner_->edit().properties;
    properties.erase(properties.begin() + (index - 1));
}

outlook::UserPropertyPtr ItemState::propertyObject(const QString& name, std::size_t hint) {
    for (std::optional<UserPropertyImpl>& slot : properties_) {
        if (!slot) {
            slot.emplace(*this, name, hint);
        } else if (!sameText(slot->name(), name)) {
            continue;
        }
        return outlook::UserPropertyPtr(sharedState(), &*slot);
    }
    // Past the first few names: one of its own, that keeps this object alive.
    struct Held {
        Held(std::shared_ptr<ItemState> owner, const QString& name, std::size_t hint)
            : keep(std::move(owner)), property(*keep, name, hint) {}
        std::shared_ptr<ItemState> keep;
        UserPropertyImpl property;
    };
    auto held = std::make_shared<Held>(sharedState(), name, hint);
    return outlook::UserPropertyPtr(held, &held->property);
}

std::size_t UserPropertyImpl::position() const {
    const std::vector<PropertyRecord>& properties = owner_->record().properties;
    // Names are unique in any letter case: the one spelled exactly alike is the one.
    if (hint_ < properties.size() && sameText(properties[hint_].name, name_)) {
        return hint_;
    }
    const qsizetype at = findProperty(owner_->record(), name_);
    if (at < 0) {
        throw OutlookError(texts::propertyGone());
    }
    hint_ = static_cast<std::size_t>(at);
    return hint_;
}

const PropertyRecord& UserPropertyImpl::property() const {
    return owner_->record().properties[position()];
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
    const std::size_t at = position();
    owner_->edit().properties[at].value = value;
}

void UserPropertyImpl::Delete() {
    owner_->core->enter("UserProperty", "Delete");
    if (owner_->spent) {
        throw OutlookError(texts::movedOrDeleted());
    }
    const std::size_t at = position();
    std::vector<PropertyRecord>& properties = owner_->edit().properties;
    properties.erase(properties.begin() + static_cast<std::ptrdiff_t>(at));
}

// Recipients.

int RecipientsImpl::Count() {
    owner_->core->enter("Recipients", "Count");
    return static_cast<int>(owner_->record().recipients.size());
}

outlook::RecipientPtr RecipientsImpl::Item(int index) {
    owner_->core->enter("Recipients", "Item");
    const std::vector<RecipientRecord>& recipients = owner_->record().recipients;
    checkIndex(index, recipients.size());
    return std::make_shared<RecipientImpl>(owner_->core, recipients[index - 1]);
}

bool RecipientsImpl::ResolveAll() {
    owner_->core->enter("Recipients", "ResolveAll");
    bool all = true;
    for (RecipientRecord& r : owner_->edit().recipients) {
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
