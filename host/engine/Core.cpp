#include "host/engine/Core.h"

#include "host/engine/Objects.h"
#include "host/engine/Recycler.h"
#include "platform/Clock.h"
#include "tools/DateTime.h"

#include <QDir>
#include <QSet>

#include <algorithm>

namespace vantorel::engine {

static_assert(outlook::kNoDate == tools::kNoDate);

namespace texts {
QString movedOrDeleted() {
    return QStringLiteral("The item has been moved or deleted.");
}
QString notFound() {
    return QStringLiteral("The operation failed. An object could not be found.");
}
QString invalidParameter() {
    return QStringLiteral(
        "Could not complete the operation. One or more parameter values are not valid.");
}
QString outOfRange() {
    return QStringLiteral("The value is out of range.");
}
QString indexOutOfBounds() {
    return QStringLiteral("Array index out of bounds.");
}
QString noRecipients() {
    return QStringLiteral(
        "There must be at least one name or contact group in the To, Cc, or Bcc box.");
}
QString unresolvedNames() {
    return QStringLiteral("Outlook does not recognize one or more names.");
}
QString alreadySent() {
    return QStringLiteral("This message has already been sent.");
}
QString propertyGone() {
    return QStringLiteral("The property has been deleted.");
}
QString typeNotSupported() {
    return QStringLiteral("The property type is not supported; user properties hold text.");
}
QString modalNotSupported() {
    return QStringLiteral("The item cannot be displayed modally.");
}
QString mailboxClosed() {
    return QStringLiteral("The mailbox is closed.");
}
QString propertyUnknown(const QString& schemaName) {
    return QStringLiteral("The property \"%1\" is unknown or cannot be found.").arg(schemaName);
}
}  // namespace texts

namespace {

const QString kInboxName = QStringLiteral("Inbox");

// The key of an EntryID: the text in upper case. EntryIDs are upper-case hex, which
// is kept as it is without a look at the case tables.
QString upperKey(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x80 || (c >= u'a' && c <= u'z')) {
            return text.toUpper();
        }
    }
    return text;
}

double now() {
    return tools::toDateTime(platform::now());
}

}  // namespace

Core::Core(const QString& path, const EngineOptions& options)
    : userName(options.userName), userAddress(options.userAddress), path_(path) {
    file_ = std::make_unique<MailboxFile>(path);
    load();
    if (stores_.empty()) {
        try {
            addStore(options.defaultStoreName, QString(), false);
        } catch (const outlook::OutlookError& e) {
            throw MailboxError(path_, e.text());
        }
    }
}

Core::~Core() = default;

void Core::load() {
    MailboxFile::Contents c = file_->load();
    nextId_ = std::max<qint64>(c.nextId, 1);
    stores_ = std::move(c.stores);
    for (FolderRecord& f : c.folders) {
        const qint64 id = f.id;
        const qint64 parent = f.parentId;
        folderByEntryId_.insert(upperKey(f.entryId), id);
        folders_[id].record = std::move(f);
        if (parent != 0) {
            folders_[parent].children.push_back(id);
        }
    }
    items_.reserve(c.items.size());
    itemByEntryId_.reserve(static_cast<qsizetype>(c.items.size()));
    for (std::shared_ptr<ItemRecord>& loaded : c.items) {
        const ItemRecord& r = *loaded;
        const auto at = folders_.find(r.folderId);
        if (at == folders_.end()) {
            throw MailboxError(path_, QStringLiteral("The mailbox file \"%1\" is damaged: an item "
                                                     "lies in a folder that does not exist.")
                                          .arg(QDir::toNativeSeparators(path_)));
        }
        itemByEntryId_.insert(upperKey(r.entryId), r.id);
        std::shared_ptr<const ItemRecord> shared = std::move(loaded);
        at->second.items.push_back(shared);
        items_.emplace(shared->id, std::move(shared));
    }
    categories = std::move(c.categories);
    for (const AddressRecord& a : c.addresses) {
        addressBook.add(a);
    }
}

void Core::close() {
    // Handlers and windows may hold objects that hold this core: let them go.
    std::vector<std::shared_ptr<InspectorImpl>> inspectors;
    inspectors.swap(inspectors_);
    std::vector<outlook::ItemPtr> displayed;
    displayed.swap(displayed_);
    itemSend.clear();
    quit.clear();
    inspectorActivate.clear();
    displayEvent.clear();
    inspectorClose.clear();
    eventError.clear();
    for (auto& [id, folder] : folders_) {
        folder.itemAdd.clear();
    }
    file_.reset();
}

void Core::reportEventError(const char* name, const std::exception& e) {
    const auto* outlookError = dynamic_cast<const outlook::OutlookError*>(&e);
    const QString text = outlookError ? outlookError->text() : QString::fromUtf8(e.what());
    if (eventError.handlerCount() == 0) {
        qWarning("%s handler failed: %s", name, qUtf8Printable(text));
        return;
    }
    eventError.raise(QString::fromLatin1(name), text);
}

void Core::closedError() {
    throw outlook::OutlookError(texts::mailboxClosed());
}

void Core::requireWritable() const {
    if (!file_) {
        throw outlook::OutlookError(texts::mailboxClosed());
    }
}

void Core::writeFailed(const std::exception& e) const {
    throw outlook::OutlookError(
        QStringLiteral("The mailbox file \"%1\" could not be written: %2")
            .arg(QDir::toNativeSeparators(path_), QString::fromUtf8(e.what())));
}

const ItemRecord* Core::item(qint64 id) const {
    const auto at = items_.find(id);
    return at == items_.end() ? nullptr : at->second.get();
}

std::shared_ptr<const ItemRecord> Core::sharedItem(qint64 id) const {
    const auto at = items_.find(id);
    return at == items_.end() ? nullptr : at->second;
}

const ItemRecord* Core::itemByEntryId(const QString& entryId) const {
    const auto at = itemByEntryId_.constFind(entryId.trimmed().toUpper());
    return at == itemByEntryId_.constEnd() ? nullptr : item(*at);
}

FolderState* Core::folder(qint64 id) {
    const auto at = folders_.find(id);
    return at == folders_.end() ? nullptr : &at->second;
}

FolderState& Core::requireFolder(qint64 id) {
    FolderState* f = folder(id);
    if (!f) {
        throw outlook::OutlookError(texts::notFound());
    }
    return *f;
}

FolderState* Core::folderByEntryId(const QString& entryId) {
    const auto at = folderByEntryId_.constFind(entryId.trimmed().toUpper());
    return at == folderByEntryId_.constEnd() ? nullptr : folder(*at);
}

const StoreRecord* Core::store(qint64 id) const {
    for (const StoreRecord& s : stores_) {
        if (s.id == id) {
            return &s;
        }
    }
    return nullptr;
}

const StoreRecord* Core::storeByName(const QString& name) const {
    for (const StoreRecord& s : stores_) {
        if (s.name == name) {
            return &s;
        }
    }
    return nullptr;
}

qint64 Core::roleFolder(int role, qint64 storeId) const {
    if (storeId == 0 && !stores_.empty()) {
        storeId = stores_.front().id;
    }
    for (const auto& [id, f] : folders_) {
        if (f.record.storeId == storeId && f.record.role == role) {
            return id;
        }
    }
    return 0;
}

QString Core::folderPath(qint64 folderId) {
    QStringList parts;
    for (FolderState* f = folder(folderId); f; f = folder(f->record.parentId)) {
        parts.prepend(f->record.name);
    }
    return QStringLiteral("\\\\") + parts.join(QLatin1Char('\\'));
}

QString Core::topicOf(const ItemRecord& record) const {
    return record.topicFixed ? record.topic : conversationTopicOf(record.subject);
}

outlook::ItemPtr Core::makeItem(const ItemRecord& record) {
    return makeItem(std::make_shared<const ItemRecord>(record));
}

outlook::ItemPtr Core::makeItem(std::shared_ptr<const ItemRecord> record) {
    switch (record->kind) {
        case ItemKind::Task:
            return std::allocate_shared<TaskItemImpl>(Recycler<TaskItemImpl>(), shared_from_this(),
                                                      std::move(record));
        case ItemKind::MeetingRequest:
            return std::allocate_shared<MeetingItemImpl>(Recycler<MeetingItemImpl>(),
                                                         shared_from_this(), std::move(record));
        case ItemKind::Mail:
            break;
    }
    return std::allocate_shared<MailItemImpl>(Recycler<MailItemImpl>(), shared_from_this(),
                                              std::move(record));
}

outlook::MAPIFolderPtr Core::makeFolder(qint64 folderId) {
    requireFolder(folderId);
    return std::make_shared<FolderImpl>(shared_from_this(), folderId);
}

void Core::writeAddresses(const ItemRecord& record) {
    for (const RecipientRecord& r : record.recipients) {
        if (r.resolved && r.entryType == QLatin1String("EX") && !r.name.isEmpty()) {
            file_->writeAddress({r.address, r.name, r.entryType});
        }
    }
}

// Memory only, after a commit.
void Core::insertItem(std::shared_ptr<const ItemRecord> record) {
    requireFolder(record->folderId).items.push_back(record);
    itemByEntryId_.insert(record->entryId.toUpper(), record->id);
    items_[record->id] = std::move(record);
}

void Core::replaceItem(std::shared_ptr<const ItemRecord> record) {
    std::shared_ptr<const ItemRecord>& stored = items_.at(record->id);
    std::vector<std::shared_ptr<const ItemRecord>>& inFolder =
        requireFolder(stored->folderId).items;
    // Recent items are the ones most often saved again: look from the end.
    const auto at = std::find(inFolder.rbegin(), inFolder.rend(), stored);
    if (at != inFolder.rend()) {
        *at = record;
    }
    stored = std::move(record);
}

void Core::eraseItem(qint64 id) {
    const auto at = items_.find(id);
    if (at == items_.end()) {
        return;
    }
    if (FolderState* f = folder(at->second->folderId)) {
        std::erase(f->items, at->second);
    }
    itemByEntryId_.remove(at->second->entryId.toUpper());
    items_.erase(at);
}

// A copy of the record as a new item of the folder, with the next id and an EntryID.
ItemRecord Core::newRecordIn(qint64 folderId, ItemRecord record) {
    const FolderState& f = requireFolder(folderId);
    const StoreRecord* s = store(f.record.storeId);
    record.id = nextId_;
    record.folderId = folderId;
    record.entryId = itemEntryId(s ? s->uid : QString(), record.id);
    return record;
}

void Core::saveItem(const ItemRecord& record, qint64 folderId, ItemState& owner) {
    store(record, folderId, &owner);
}

std::shared_ptr<const ItemRecord> Core::store(const ItemRecord& record, qint64 folderId,
                                              ItemState* owner) {
    requireWritable();
    const bool isNew = record.id == 0;
    if (!isNew && !item(record.id)) {
        throw outlook::OutlookError(texts::movedOrDeleted());
    }
    ItemRecord stored = isNew ? newRecordIn(folderId, record) : record;
    if (!isNew) {
        stored.folderId = item(record.id)->folderId;
    }
    try {
        faults.hitWrite();
        sqlite::Transaction transaction(file_->database());
        file_->writeItem(stored);
        writeAddresses(stored);
        if (isNew) {
            file_->setNextId(nextId_ + 1);
        }
        transaction.commit();
        faults.written();
    } catch (const sqlite::SqliteError& e) {
        writeFailed(e);
    }
    auto shared = std::make_shared<const ItemRecord>(std::move(stored));
    if (isNew) {
        ++nextId_;
        insertItem(shared);
    } else {
        replaceItem(shared);
    }
    if (owner) {
        owner->adopt(shared);  // RECORD may go with the snapshot it was
    }
    if (isNew) {
        raise("ItemAdd", requireFolder(shared->folderId).itemAdd, makeItem(shared));
    }
    return shared;
}

void Core::remove(const ItemRecord& record, const void* object) {
    requireWritable();
    const ItemRecord* current = record.id != 0 ? item(record.id) : nullptr;
    if (record.id != 0 && !current) {
        throw outlook::OutlookError(texts::movedOrDeleted());
    }
    const QString entryId = record.entryId;
    if (!current) {
        closeInspectorsOf(object, entryId);
        return;
    }
    const qint64 from = current->folderId;
    const qint64 bin =
        roleFolder(outlook::olFolderDeletedItems, requireFolder(from).record.storeId);
    const bool moving = bin != 0 && bin != from;
    ItemRecord moved;
    if (moving) {
        moved = newRecordIn(bin, *current);
    }
    try {
        faults.hitWrite();
        sqlite::Transaction transaction(file_->database());
        file_->deleteItem(current->id);
        if (moving) {
            file_->writeItem(moved);
            file_->setNextId(nextId_ + 1);
        }
        transaction.commit();
        faults.written();
    } catch (const sqlite::SqliteError& e) {
        writeFailed(e);
    }
    eraseItem(record.id);
    closeInspectorsOf(object, entryId);
    if (moving) {
        ++nextId_;
        auto shared = std::make_shared<const ItemRecord>(std::move(moved));
        insertItem(shared);
        raise("ItemAdd", requireFolder(bin).itemAdd, makeItem(shared));
    }
}

void Core::send(const ItemRecord& record, const void* object) {
    requireWritable();
    const ItemRecord* draft = record.id != 0 ? item(record.id) : nullptr;
    if (record.id != 0 && !draft) {
        throw outlook::OutlookError(texts::movedOrDeleted());
    }
    const qint64 storeId = draft ? requireFolder(draft->folderId).record.storeId : 0;
    const qint64 sentItems = roleFolder(outlook::olFolderSentMail, storeId);
    ItemRecord copy = newRecordIn(sentItems, record);
    copy.topic = topicOf(record);
    copy.topicFixed = true;
    copy.sent = true;
    copy.sentOn = now();
    copy.receivedTime = copy.sentOn;
    copy.senderName = userName;
    copy.senderAddress = userAddress;
    try {
        faults.hitWrite();
        sqlite::Transaction transaction(file_->database());
        if (draft) {
            file_->deleteItem(draft->id);
        }
        file_->writeItem(copy);
        writeAddresses(copy);
        file_->setNextId(nextId_ + 1);
        transaction.commit();
        faults.written();
    } catch (const sqlite::SqliteError& e) {
        writeFailed(e);
    }
    ++nextId_;
    if (draft) {
        eraseItem(record.id);
    }
    auto shared = std::make_shared<const ItemRecord>(std::move(copy));
    insertItem(shared);
    closeInspectorsOf(object, record.entryId);
    raise("ItemAdd", requireFolder(sentItems).itemAdd, makeItem(shared));
}

outlook::ItemPtr Core::deliver(qint64 folderId, const Delivery& message) {
    requireWritable();
    ItemRecord r;
    r.kind = message.meetingRequest ? ItemKind::MeetingRequest : ItemKind::Mail;
    r.subject = message.subject;
    r.body = message.body;
    r.topic = message.topic.value_or(conversationTopicOf(message.subject));
    r.topicFixed = true;
    r.senderAddress = message.from;
    r.senderName = message.name.isEmpty() ? message.from : message.name;
    r.sent = true;
    r.sentOn = now();
    r.receivedTime = r.sentOn;
    r.messageClass = message.messageClass;
    for (const QString& header : message.headers) {
        r.internetHeaders += header + QStringLiteral("\r\n");
    }
    r.recipients.push_back({outlook::olTo, userName, userAddress, QStringLiteral("SMTP"), true});
    return makeItem(store(r, folderId, nullptr));
}

qint64 Core::addFolder(qint64 parentId, const QString& name, int role) {
    requireWritable();
    const FolderState& parent = requireFolder(parentId);
    const StoreRecord* s = store(parent.record.storeId);
    FolderRecord f{nextId_, parent.record.storeId,          parentId,
                   name,    folderEntryId(s->uid, nextId_), role};
    try {
        faults.hitWrite();
        sqlite::Transaction transaction(file_->database());
        file_->insertFolder(f);
        file_->setNextId(nextId_ + 1);
        transaction.commit();
        faults.written();
    } catch (const sqlite::SqliteError& e) {
        writeFailed(e);
    }
    ++nextId_;
    folderByEntryId_.insert(f.entryId.toUpper(), f.id);
    folders_[f.id].record = f;
    folders_[parentId].children.push_back(f.id);
    return f.id;
}

qint64 Core::addStore(const QString& name, const QString& inboxName, bool deep) {
    requireWritable();
    if (const StoreRecord* existing = storeByName(name)) {
        return existing->rootFolderId;
    }
    StoreRecord s{nextId_, name, newStoreUid(name), nextId_ + 1};
    qint64 id = s.rootFolderId;
    std::vector<FolderRecord> made;
    const auto make = [&](qint64 parent, const QString& folderName, int role) {
        made.push_back({id, s.id, parent, folderName, folderEntryId(s.uid, id), role});
        return id++;
    };
    const qint64 root = make(0, name, kRoleRoot);
    const QString inbox = inboxName.isEmpty() ? kInboxName : inboxName;
    if (deep) {
        make(make(root, QStringLiteral("Mail"), kRoleNone), inbox, outlook::olFolderInbox);
    } else {
        make(root, inbox, outlook::olFolderInbox);
    }
    make(root, QStringLiteral("Drafts"), outlook::olFolderDrafts);
    make(root, QStringLiteral("Sent Items"), outlook::olFolderSentMail);
    make(root, QStringLiteral("Deleted Items"), outlook::olFolderDeletedItems);
    make(root, QStringLiteral("Outbox"), outlook::olFolderOutbox);
    make(root, QStringLiteral("Tasks"), outlook::olFolderTasks);
    try {
        faults.hitWrite();
        sqlite::Transaction transaction(file_->database());
        file_->insertStore(s);
        for (const FolderRecord& f : made) {
            file_->insertFolder(f);
        }
        file_->setNextId(id);
        transaction.commit();
        faults.written();
    } catch (const sqlite::SqliteError& e) {
        writeFailed(e);
    }
    nextId_ = id;
    stores_.push_back(s);
    for (const FolderRecord& f : made) {
        folderByEntryId_.insert(f.entryId.toUpper(), f.id);
        folders_[f.id].record = f;
        if (f.parentId != 0) {
            folders_[f.parentId].children.push_back(f.id);
        }
    }
    return root;
}

void Core::addCategory(const QString& name) {
    requireWritable();
    if (categories.contains(name)) {
        return;
    }
    try {
        faults.hitWrite();
        sqlite::Transaction transaction(file_->database());
        file_->insertCategory(name);
        transaction.commit();
        faults.written();
    } catch (const sqlite::SqliteError& e) {
        writeFailed(e);
    }
    categories << name;
}

std::shared_ptr<InspectorImpl> Core::openInspector(const outlook::ItemPtr& item) {
    const auto state = std::dynamic_pointer_cast<ItemState>(item);
    auto inspector = std::make_shared<InspectorImpl>(shared_from_this(), item, state.get());
    inspectors_.push_back(inspector);
    return inspector;
}

void Core::activate(const std::shared_ptr<InspectorImpl>& inspector) {
    const auto at = std::find(inspectors_.begin(), inspectors_.end(), inspector);
    if (at == inspectors_.end()) {
        throw std::invalid_argument("the inspector is not open");
    }
    std::rotate(at, at + 1, inspectors_.end());
    raise("InspectorActivate", inspectorActivate, outlook::InspectorPtr(inspector));
}

void Core::closeInspector(const std::shared_ptr<InspectorImpl>& inspector) {
    const auto at = std::find(inspectors_.begin(), inspectors_.end(), inspector);
    if (at == inspectors_.end()) {
        return;
    }
    inspectors_.erase(at);
    raise("InspectorClose", inspectorClose, outlook::InspectorPtr(inspector));
}

void Core::closeInspectorsOf(const void* object, const QString& entryId) {
    std::vector<std::shared_ptr<InspectorImpl>> closing;
    for (const std::shared_ptr<InspectorImpl>& inspector : inspectors_) {
        const auto* state = dynamic_cast<const ItemState*>(inspector->item().get());
        if (inspector->object() == object ||
            (!entryId.isEmpty() && state && state->record().entryId == entryId)) {
            closing.push_back(inspector);
        }
    }
    for (const std::shared_ptr<InspectorImpl>& inspector : closing) {
        closeInspector(inspector);
    }
}

void Core::display(const outlook::ItemPtr& item, const void* object) {
    std::shared_ptr<InspectorImpl> inspector;
    for (const std::shared_ptr<InspectorImpl>& open : inspectors_) {
        if (open->object() == object) {
            inspector = open;
        }
    }
    if (!inspector) {
        inspector = openInspector(item);
    }
    displayed_.push_back(item);
    raise("Display", displayEvent, item, outlook::InspectorPtr(inspector));
    activate(inspector);
}

std::shared_ptr<InspectorImpl> Core::activeInspector() const {
    return inspectors_.empty() ? nullptr : inspectors_.back();
}

}  // namespace vantorel::engine
