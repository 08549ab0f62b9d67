#pragma once

// The engine's state: the mailbox in memory, its database, the events and the
// open windows. Object-model objects hold a shared reference to it.

#include "host/engine/Engine.h"
#include "host/engine/MailText.h"
#include "host/engine/MailboxFile.h"
#include "host/engine/Records.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace vantorel::engine {

class InspectorImpl;
class ItemState;

struct FolderState {
    FolderRecord record;
    std::vector<qint64> children;  // folder ids, in the order of creation
    // The stored items, in the order of arrival: the same records as Core's by id, so
    // a walk over a folder reads them in a row without a lookup per item.
    std::vector<std::shared_ptr<const ItemRecord>> items;
    outlook::Event<const outlook::ItemPtr&> itemAdd;
    // The folder's fields: the user properties added with AddToFolderFields, by their
    // case-folded names. A filter may name these without a type.
    QSet<QString> fields;
};

// The host's error texts.
namespace texts {
QString movedOrDeleted();
QString notFound();
QString invalidParameter();
QString outOfRange();
QString indexOutOfBounds();
QString noRecipients();
QString unresolvedNames();
QString alreadySent();
QString propertyGone();
QString typeNotSupported();
QString modalNotSupported();
QString mailboxClosed();
QString propertyUnknown(const QString& schemaName);
}  // namespace texts

class Core : public std::enable_shared_from_this<Core> {
public:
    Core(const QString& path, const EngineOptions& options);
    ~Core();

    // Drops every window, event subscription and the database; later calls fail.
    void close();
    // Every object-model call starts here: the mailbox must be open and no fault
    // armed for the operation.
    void enter(const char* object, const char* member) {
        if (!file_) {
            closedError();
        }
        faults.hit(object, member);
    }

    // Lookups; null when there is none.
    const ItemRecord* item(qint64 id) const;
    // The stored item itself, to share with the objects that show it (never changed:
    // a save stores a new record).
    std::shared_ptr<const ItemRecord> sharedItem(qint64 id) const;
    const ItemRecord* itemByEntryId(const QString& entryId) const;
    FolderState* folder(qint64 id);
    FolderState& requireFolder(qint64 id);  // throws "not found"
    FolderState* folderByEntryId(const QString& entryId);
    const StoreRecord* store(qint64 id) const;
    const StoreRecord* storeByName(const QString& name) const;
    const std::vector<StoreRecord>& stores() const { return stores_; }
    // The folder of that role (OlDefaultFolders) in the store (0: the default store).
    qint64 roleFolder(int role, qint64 storeId = 0) const;
    QString folderPath(qint64 folderId);

    // New objects over the stored state.
    outlook::ItemPtr makeItem(const ItemRecord& record);
    outlook::ItemPtr makeItem(std::shared_ptr<const ItemRecord> record);
    outlook::MAPIFolderPtr makeFolder(qint64 folderId);

    // Writes: one transaction each; memory changes only when it commits, and the
    // events follow after that.
    // Stores the item object's snapshot; a new one (id 0) goes into folderId and gets
    // its EntryID. The snapshot becomes the stored record before the item-added event
    // is raised. RECORD may be that snapshot.
    void saveItem(const ItemRecord& record, qint64 folderId, ItemState& owner);
    // Moves a stored item to its store's Deleted Items, or removes it from there.
    void remove(const ItemRecord& record, const void* object);
    // Replaces the message (stored or not) by its sent copy in Sent Items.
    void send(const ItemRecord& record, const void* object);
    outlook::ItemPtr deliver(qint64 folderId, const Delivery& message);
    qint64 addStore(const QString& name, const QString& inboxName, bool deep);
    qint64 addFolder(qint64 parentId, const QString& name, int role = kRoleNone);
    void addCategory(const QString& name);

    // Windows.
    std::shared_ptr<InspectorImpl> openInspector(const outlook::ItemPtr& item);
    void activate(const std::shared_ptr<InspectorImpl>& inspector);
    void closeInspector(const std::shared_ptr<InspectorImpl>& inspector);
    // Closes the inspectors that show this object or the stored item entryId.
    void closeInspectorsOf(const void* object, const QString& entryId);
    void display(const outlook::ItemPtr& item, const void* object);
    std::shared_ptr<InspectorImpl> activeInspector() const;
    const std::vector<std::shared_ptr<InspectorImpl>>& inspectors() const { return inspectors_; }
    const std::vector<outlook::ItemPtr>& displayed() const { return displayed_; }

    // A message's conversation topic: the one it was given, else its subject's.
    QString topicOf(const ItemRecord& record) const;

    const QString& path() const { return path_; }
    Faults faults;
    AddressBook addressBook;
    QStringList categories;
    QString version = QStringLiteral("16.0.0.0");
    int explorerCount = 1;
    QString userName;
    QString userAddress;

    outlook::Event<const outlook::ItemPtr&, bool&> itemSend;
    outlook::Event<> quit;
    outlook::Event<const outlook::InspectorPtr&> inspectorActivate;
    outlook::Event<const outlook::ItemPtr&, const outlook::InspectorPtr&> displayEvent;
    outlook::Event<const outlook::InspectorPtr&> inspectorClose;
    // An event handler failed: the event's name and the error's text.
    outlook::Event<const QString&, const QString&> eventError;

    // The order in which an event reaches its handlers: the mail client promises
    // none, and by default the engine calls the handler subscribed last first.
    SinkOrder sinkOrder = SinkOrder::NewestFirst;

    // Raises the event; a handler's error goes to eventError (or the log when
    // nobody listens) and the next handler runs.
    template <typename Event, typename... Args>
    void raise(const char* name, const Event& event, Args&&... args) {
        const auto onError = [this, name](const std::exception& e) { reportEventError(name, e); };
        if (sinkOrder == SinkOrder::NewestFirst) {
            event.raiseGuardedNewestFirst(onError, std::forward<Args>(args)...);
        } else {
            event.raiseGuarded(onError, std::forward<Args>(args)...);
        }
    }

private:
    [[noreturn]] static void closedError();
    void reportEventError(const char* name, const std::exception& e);
    void load();
    void requireWritable() const;
    [[noreturn]] void writeFailed(const std::exception& e) const;
    void writeAddresses(const ItemRecord& record);
    void insertItem(std::shared_ptr<const ItemRecord> record);
    // Stores the item (see saveItem; OWNER may be null) and hands back the stored record.
    std::shared_ptr<const ItemRecord> store(const ItemRecord& record, qint64 folderId,
                                            ItemState* owner);
    void eraseItem(qint64 id);
    // After a save of a stored item: RECORD takes the place of the one of its id.
    void replaceItem(std::shared_ptr<const ItemRecord> record);
    ItemRecord newRecordIn(qint64 folderId, ItemRecord record);

    QString path_;
    std::unique_ptr<MailboxFile> file_;
    qint64 nextId_ = 1;
    std::vector<StoreRecord> stores_;
    std::map<qint64, FolderState> folders_;
    QHash<QString, qint64> folderByEntryId_;
    std::unordered_map<qint64, std::shared_ptr<const ItemRecord>> items_;
    QHash<QString, qint64> itemByEntryId_;
    std::vector<std::shared_ptr<InspectorImpl>> inspectors_;  // open ones, active last
    std::vector<outlook::ItemPtr> displayed_;
};

}  // namespace vantorel::engine
