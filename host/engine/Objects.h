#pragma once

// The engine's implementations of the object-model interface.
//
// An item object holds a snapshot of its stored item (ItemState); each lookup makes
// a new one, and Save() writes the snapshot back. After Send() or Delete() the
// object is spent: reading still answers from the snapshot, anything else fails
// with "The item has been moved or deleted.".

#include "host/engine/Core.h"

#include <array>
#include <memory>
#include <optional>

namespace vantorel::engine {

class ItemState;

// A user property is known by its name, unique within its item. It lives inside its
// item object (see ItemState::propertyObject), which outlives it.
class UserPropertyImpl final : public outlook::UserProperty {
public:
    UserPropertyImpl(ItemState& owner, QString name, std::size_t hint)
        : owner_(&owner), name_(std::move(name)), hint_(hint) {}

    QString Name() override;
    int Type() override;
    QString Value() override;
    void SetValue(const QString& value) override;
    void Delete() override;

    const QString& name() const { return name_; }

private:
    // The property's position in its item, and the property; both throw once the
    // property is gone.
    std::size_t position() const;
    const PropertyRecord& property() const;

    ItemState* owner_;
    QString name_;
    mutable std::size_t hint_;  // where the property was last found
};

// The snapshot is shared with the store, and with every other object fetched since
// the item's last save, until this object changes it: the first change makes a copy
// of its own. A lookup copies no record.
class ItemState {
public:
    ItemState(std::shared_ptr<Core> core, std::shared_ptr<const ItemRecord> record)
        : core(std::move(core)), record_(std::move(record)) {}
    virtual ~ItemState() = default;
    ItemState(const ItemState&) = delete;
    ItemState& operator=(const ItemState&) = delete;

    const char* objectName() const;
    void enter(const char* member) { core->enter(objectName(), member); }
    // enter(), and the object must not be spent.
    void enterLive(const char* member);

    const ItemRecord& record() const { return *record_; }
    // The snapshot, to change it: this object's own copy from now on.
    ItemRecord& edit();
    // After a save: the snapshot is the stored item again.
    void adopt(std::shared_ptr<const ItemRecord> stored) {
        record_ = std::move(stored);
        own_ = nullptr;
    }

    // The object as a shared owner, for the objects it hands out.
    virtual std::shared_ptr<ItemState> sharedState() = 0;
    // The object for the property called NAME (as stored; found at HINT): the same
    // one for every lookup of that name, kept inside this object for the first few
    // names, so reading a property allocates nothing.
    outlook::UserPropertyPtr propertyObject(const QString& name, std::size_t hint);

    std::shared_ptr<Core> core;
    bool spent = false;

private:
    std::shared_ptr<const ItemRecord> record_;
    ItemRecord* own_ = nullptr;  // record_, once it is this object's copy
    std::array<std::optional<UserPropertyImpl>, 4> properties_;
};

// The user properties of an item object: inside it, and handed out as a reference
// that keeps the item object alive.
class UserPropertiesImpl final : public outlook::UserProperties {
public:
    explicit UserPropertiesImpl(ItemState& owner) : owner_(&owner) {}

    int Count() override;
    outlook::UserPropertyPtr Item(int index) override;
    outlook::UserPropertyPtr Item(const QString& name) override;
    outlook::UserPropertyPtr Add(const QString& name, int type, bool addToFolderFields,
                                 int displayFormat) override;
    void Remove(int index) override;

private:
    ItemState* owner_;
};

template <class Interface>
class ItemImpl : public Interface,
                 public ItemState,
                 public std::enable_shared_from_this<ItemImpl<Interface>> {
public:
    using ItemState::ItemState;

    int Class() override;
    QString MessageClass() override;
    QString EntryID() override;
    QString Subject() override;
    void SetSubject(const QString& value) override;
    QString Body() override;
    void SetBody(const QString& value) override;
    outlook::UserPropertiesPtr UserProperties() override;
    void Save() override;
    void Delete() override;
    void Display(bool modal) override;

    std::shared_ptr<ItemState> sharedState() override { return state(); }

protected:
    outlook::ItemPtr self() { return this->shared_from_this(); }
    std::shared_ptr<ItemState> state() {
        return std::shared_ptr<ItemState>(this->shared_from_this(), static_cast<ItemState*>(this));
    }

private:
    UserPropertiesImpl userProperties_{*this};
};

class MailItemImpl final : public ItemImpl<outlook::MailItem> {
public:
    using ItemImpl::ItemImpl;

    QString ConversationTopic() override;
    QString SenderEmailAddress() override;
    QString SenderName() override;
    QString To() override;
    void SetTo(const QString& value) override;
    QString CC() override;
    void SetCC(const QString& value) override;
    QString BCC() override;
    void SetBCC(const QString& value) override;
    outlook::RecipientsPtr Recipients() override;
    bool Sent() override;
    outlook::DateTime SentOn() override;
    outlook::DateTime ReceivedTime() override;
    void Send() override;
    outlook::MailItemPtr Forward() override;
    outlook::PropertyAccessorPtr PropertyAccessor() override;

private:
    QString names(const char* member, int type);
    void setRecipients(const char* member, int type, const QString& value);
};

class TaskItemImpl final : public ItemImpl<outlook::TaskItem> {
public:
    using ItemImpl::ItemImpl;

    QString Categories() override;
    void SetCategories(const QString& value) override;
    outlook::DateTime StartDate() override;
    void SetStartDate(outlook::DateTime value) override;
    outlook::DateTime DueDate() override;
    void SetDueDate(outlook::DateTime value) override;
    int Importance() override;
    void SetImportance(int value) override;
    bool ReminderOverrideDefault() override;
    void SetReminderOverrideDefault(bool value) override;
    bool ReminderSet() override;
    void SetReminderSet(bool value) override;
    outlook::DateTime ReminderTime() override;
    void SetReminderTime(outlook::DateTime value) override;
    bool Complete() override;
    void SetComplete(bool value) override;
    void MarkComplete() override;
};

class MeetingItemImpl final : public ItemImpl<outlook::MeetingItem> {
public:
    using ItemImpl::ItemImpl;

    QString ConversationTopic() override;
    QString SenderEmailAddress() override;
    QString SenderName() override;
    outlook::DateTime ReceivedTime() override;
};

class PropertyAccessorImpl final : public outlook::PropertyAccessor {
public:
    explicit PropertyAccessorImpl(std::shared_ptr<ItemState> owner) : owner_(std::move(owner)) {}

    QString GetProperty(const QString& schemaName) override;

private:
    std::shared_ptr<ItemState> owner_;
};

class RecipientsImpl final : public outlook::Recipients {
public:
    explicit RecipientsImpl(std::shared_ptr<ItemState> owner) : owner_(std::move(owner)) {}

    int Count() override;
    outlook::RecipientPtr Item(int index) override;
    bool ResolveAll() override;

private:
    std::shared_ptr<ItemState> owner_;
};

// A recipient as it was when fetched.
class RecipientImpl final : public outlook::Recipient {
public:
    RecipientImpl(std::shared_ptr<Core> core, RecipientRecord record)
        : core_(std::move(core)), record_(std::move(record)) {}

    QString Name() override;
    QString Address() override;
    int Type() override;
    bool Resolved() override;
    outlook::AddressEntryPtr AddressEntry() override;

private:
    std::shared_ptr<Core> core_;
    RecipientRecord record_;
};

class AddressEntryImpl final : public outlook::AddressEntry {
public:
    AddressEntryImpl(std::shared_ptr<Core> core, RecipientRecord record)
        : core_(std::move(core)), record_(std::move(record)) {}

    QString Name() override;
    QString Address() override;
    QString Type() override;

private:
    std::shared_ptr<Core> core_;
    RecipientRecord record_;
};

class ApplicationImpl final : public outlook::Application {
public:
    explicit ApplicationImpl(std::shared_ptr<Core> core) : core_(std::move(core)) {}

    QString Version() override;
    outlook::NameSpacePtr Session() override;
    outlook::NameSpacePtr GetNamespace(const QString& type) override;
    outlook::ItemPtr CreateItem(int itemType) override;
    outlook::InspectorPtr ActiveInspector() override;
    outlook::ExplorersPtr Explorers() override;
    outlook::InspectorsPtr Inspectors() override;
    outlook::Connection OnItemSend(outlook::ItemSendHandler handler) override;
    outlook::Connection OnQuit(outlook::QuitHandler handler) override;
    outlook::Connection OnInspectorActivate(outlook::InspectorActivateHandler handler) override;

private:
    std::shared_ptr<Core> core_;
};

class NameSpaceImpl final : public outlook::NameSpace {
public:
    explicit NameSpaceImpl(std::shared_ptr<Core> core) : core_(std::move(core)) {}

    outlook::MAPIFolderPtr GetDefaultFolder(int folderType) override;
    outlook::ItemPtr GetItemFromID(const QString& entryId, const QString& storeId) override;
    outlook::FoldersPtr Folders() override;
    outlook::CategoriesPtr Categories() override;

private:
    std::shared_ptr<Core> core_;
};

class ItemsImpl;

// The sub-folders of a folder, or (parent 0) the top-level folders of the stores.
class FoldersImpl final : public outlook::Folders {
public:
    FoldersImpl(std::shared_ptr<Core> core, qint64 parentId)
        : core_(std::move(core)), parentId_(parentId) {}

    int Count() override;
    outlook::MAPIFolderPtr Item(int index) override;
    outlook::MAPIFolderPtr Item(const QString& name) override;

private:
    std::vector<qint64> ids();

    std::shared_ptr<Core> core_;
    qint64 parentId_;
};

class FolderImpl final : public outlook::MAPIFolder {
public:
    FolderImpl(std::shared_ptr<Core> core, qint64 id) : core_(std::move(core)), id_(id) {}

    QString Name() override;
    QString EntryID() override;
    QString FolderPath() override;
    outlook::FoldersPtr Folders() override;
    outlook::ItemsPtr Items() override;

    // The folder's id, for the host's own use (no object-model call).
    qint64 id() const { return id_; }

private:
    std::shared_ptr<Core> core_;
    qint64 id_;
    // The folder's collection, one for every call on this folder object. It remembers
    // only the last index asked of it (the direction of a walk, for reading ahead).
    std::shared_ptr<ItemsImpl> items_;
};

// The items of a folder, live; or (restricted) those of them that met a condition
// when the collection was made.
class ItemsImpl final : public outlook::Items {
public:
    // A user property (by name) that holds a text, in any letter case.
    struct Condition {
        QString property;
        QString text;
        // Named with its type ("/0000001f"): understood in any folder. Without one, only
        // a field of the folder is.
        bool typed = false;
        qsizetype nameAt = 0;  // where the schema name starts in the filter
        bool metBy(const ItemRecord& record) const;
    };

    // Folders are never removed: the folder's state stays where it is.
    ItemsImpl(std::shared_ptr<Core> core, qint64 folderId)
        : core_(std::move(core)), folderId_(folderId), folder_(&core_->requireFolder(folderId)) {}

    int Count() override;
    outlook::ItemPtr Item(int index) override;
    outlook::MAPIFolderPtr Parent() override;
    outlook::Connection OnItemAdd(outlook::ItemAddHandler handler) override;
    outlook::ItemsPtr Restrict(const QString& filter) override;

private:
    const std::vector<std::shared_ptr<const ItemRecord>>& items() const {
        return restricted_ ? chosen_ : folder_->items;
    }
    // Asks memory now for what a walk in the direction it is going will read a few
    // items later.
    void readAhead(std::size_t at);

    std::shared_ptr<Core> core_;
    qint64 folderId_;
    FolderState* folder_;
    int last_ = 0;  // the last index asked for
    bool restricted_ = false;
    std::vector<Condition> conditions_;  // all met by each item of a restricted one
    std::vector<std::shared_ptr<const ItemRecord>> chosen_;
};

// The condition of a filter as Items::Restrict takes it; throws "Cannot parse
// condition." for any other. Whether the property it names is known is the folder's
// to say (see Items::Restrict).
ItemsImpl::Condition parseFilter(const QString& filter);

// The position of the user property NAME (in any letter case) in the record; -1 when
// it has none.
qsizetype findProperty(const ItemRecord& record, const QString& name);

class InspectorImpl final : public outlook::Inspector {
public:
    InspectorImpl(std::shared_ptr<Core> core, outlook::ItemPtr item, const void* object)
        : core_(std::move(core)), item_(std::move(item)), object_(object) {}

    outlook::ItemPtr CurrentItem() override;

    const outlook::ItemPtr& item() const { return item_; }
    // The engine object behind item(), to match the object a call comes from.
    const void* object() const { return object_; }

private:
    std::shared_ptr<Core> core_;
    outlook::ItemPtr item_;
    const void* object_;
};

class CategoriesImpl final : public outlook::Categories {
public:
    explicit CategoriesImpl(std::shared_ptr<Core> core) : core_(std::move(core)) {}

    int Count() override;
    outlook::CategoryPtr Item(int index) override;

private:
    std::shared_ptr<Core> core_;
};

class CategoryImpl final : public outlook::Category {
public:
    CategoryImpl(std::shared_ptr<Core> core, QString name)
        : core_(std::move(core)), name_(std::move(name)) {}

    QString Name() override;

private:
    std::shared_ptr<Core> core_;
    QString name_;
};

class ExplorersImpl final : public outlook::Explorers {
public:
    explicit ExplorersImpl(std::shared_ptr<Core> core) : core_(std::move(core)) {}

    int Count() override;

private:
    std::shared_ptr<Core> core_;
};

// The open inspector windows, as they are when it is read: the active one last.
class InspectorsImpl final : public outlook::Inspectors {
public:
    explicit InspectorsImpl(std::shared_ptr<Core> core) : core_(std::move(core)) {}

    int Count() override;
    outlook::InspectorPtr Item(int index) override;

private:
    std::shared_ptr<Core> core_;
};

// Throws the host's index error unless 1 <= index <= count.
void checkIndex(int index, std::size_t count);

}  // namespace vantorel::engine
