// The application, its namespace, folders, item collections, inspectors,
// categories and explorers.

#include "host/engine/Objects.h"

namespace vantorel::engine {

using outlook::OutlookError;

QString ApplicationImpl::Version() {
    core_->enter("Application", "Version");
    return core_->version;
}

outlook::NameSpacePtr ApplicationImpl::Session() {
    core_->enter("Application", "Session");
    return std::make_shared<NameSpaceImpl>(core_);
}

outlook::NameSpacePtr ApplicationImpl::GetNamespace(const QString& type) {
    core_->enter("Application", "GetNamespace");
    if (type.compare(QLatin1String("MAPI"), Qt::CaseInsensitive) != 0) {
        throw OutlookError(texts::invalidParameter());
    }
    return std::make_shared<NameSpaceImpl>(core_);
}

outlook::ItemPtr ApplicationImpl::CreateItem(int itemType) {
    core_->enter("Application", "CreateItem");
    ItemRecord record;
    switch (itemType) {
        case outlook::olMailItem:
            record.kind = ItemKind::Mail;
            break;
        case outlook::olTaskItem:
            record.kind = ItemKind::Task;
            break;
        default:
            throw OutlookError(texts::invalidParameter());
    }
    return core_->makeItem(record);
}

outlook::InspectorPtr ApplicationImpl::ActiveInspector() {
    core_->enter("Application", "ActiveInspector");
    return core_->activeInspector();
}

outlook::ExplorersPtr ApplicationImpl::Explorers() {
    core_->enter("Application", "Explorers");
    return std::make_shared<ExplorersImpl>(core_);
}

outlook::Connection ApplicationImpl::OnItemSend(outlook::ItemSendHandler handler) {
    core_->enter("Application", "OnItemSend");
    return core_->itemSend.connect(std::move(handler));
}

outlook::Connection ApplicationImpl::OnQuit(outlook::QuitHandler handler) {
    core_->enter("Application", "OnQuit");
    return core_->quit.connect(std::move(handler));
}

outlook::Connection ApplicationImpl::OnInspectorActivate(
    outlook::InspectorActivateHandler handler) {
    core_->enter("Application", "OnInspectorActivate");
    return core_->inspectorActivate.connect(std::move(handler));
}

outlook::MAPIFolderPtr NameSpaceImpl::GetDefaultFolder(int folderType) {
    core_->enter("NameSpace", "GetDefaultFolder");
    switch (folderType) {
        case outlook::olFolderDeletedItems:
        case outlook::olFolderOutbox:
        case outlook::olFolderSentMail:
        case outlook::olFolderInbox:
        case outlook::olFolderTasks:
        case outlook::olFolderDrafts:
            return core_->makeFolder(core_->roleFolder(folderType));
        default:
            throw OutlookError(texts::invalidParameter());
    }
}

// The store id narrows nothing: EntryIDs are unique across the mailbox.
outlook::ItemPtr NameSpaceImpl::GetItemFromID(const QString& entryId, const QString& /*storeId*/) {
    core_->enter("NameSpace", "GetItemFromID");
    const ItemRecord* record = core_->itemByEntryId(entryId);
    if (!record) {
        throw OutlookError(texts::notFound());
    }
    return core_->makeItem(core_->sharedItem(record->id));
}

outlook::FoldersPtr NameSpaceImpl::Folders() {
    core_->enter("NameSpace", "Folders");
    return std::make_shared<FoldersImpl>(core_, 0);
}

outlook::CategoriesPtr NameSpaceImpl::Categories() {
    core_->enter("NameSpace", "Categories");
    return std::make_shared<CategoriesImpl>(core_);
}

std::vector<qint64> FoldersImpl::ids() {
    if (parentId_ != 0) {
        const FolderState* parent = core_->folder(parentId_);
        return parent ? parent->children : std::vector<qint64>();
    }
    std::vector<qint64> roots;
    for (const StoreRecord& s : core_->stores()) {
        roots.push_back(s.rootFolderId);
    }
    return roots;
}

int FoldersImpl::Count() {
    core_->enter("Folders", "Count");
    return static_cast<int>(ids().size());
}

outlook::MAPIFolderPtr FoldersImpl::Item(int index) {
    core_->enter("Folders", "Item");
    const std::vector<qint64> all = ids();
    checkIndex(index, all.size());
    return core_->makeFolder(all[index - 1]);
}

outlook::MAPIFolderPtr FoldersImpl::Item(const QString& name) {
    core_->enter("Folders", "Item");
    for (const qint64 id : ids()) {
        if (core_->folder(id)->record.name == name) {
            return core_->makeFolder(id);
        }
    }
    throw OutlookError(texts::notFound());
}

QString FolderImpl::Name() {
    core_->enter("MAPIFolder", "Name");
    return core_->folder(id_)->record.name;
}

QString FolderImpl::EntryID() {
    core_->enter("MAPIFolder", "EntryID");
    return core_->folder(id_)->record.entryId;
}

QString FolderImpl::FolderPath() {
    core_->enter("MAPIFolder", "FolderPath");
    return core_->folderPath(id_);
}

outlook::FoldersPtr FolderImpl::Folders() {
    core_->enter("MAPIFolder", "Folders");
    return std::make_shared<FoldersImpl>(core_, id_);
}

outlook::ItemsPtr FolderImpl::Items() {
    core_->enter("MAPIFolder", "Items");
    if (!items_) {
        items_ = std::make_shared<ItemsImpl>(core_, id_);
    }
    return items_;
}

int ItemsImpl::Count() {
    core_->enter("Items", "Count");
    return static_cast<int>(core_->folder(folderId_)->items.size());
}

outlook::ItemPtr ItemsImpl::Item(int index) {
    core_->enter("Items", "Item");
    const std::vector<qint64>& ids = core_->folder(folderId_)->items;
    checkIndex(index, ids.size());
    return core_->makeItem(core_->sharedItem(ids[index - 1]));
}

outlook::MAPIFolderPtr ItemsImpl::Parent() {
    core_->enter("Items", "Parent");
    return core_->makeFolder(folderId_);
}

outlook::Connection ItemsImpl::OnItemAdd(outlook::ItemAddHandler handler) {
    core_->enter("Items", "OnItemAdd");
    return core_->folder(folderId_)->itemAdd.connect(std::move(handler));
}

outlook::ItemPtr InspectorImpl::CurrentItem() {
    core_->enter("Inspector", "CurrentItem");
    return item_;
}

int CategoriesImpl::Count() {
    core_->enter("Categories", "Count");
    return static_cast<int>(core_->categories.size());
}

outlook::CategoryPtr CategoriesImpl::Item(int index) {
    core_->enter("Categories", "Item");
    checkIndex(index, static_cast<std::size_t>(core_->categories.size()));
    return std::make_shared<CategoryImpl>(core_, core_->categories.at(index - 1));
}

QString CategoryImpl::Name() {
    core_->enter("Category", "Name");
    return name_;
}

int ExplorersImpl::Count() {
    core_->enter("Explorers", "Count");
    return core_->explorerCount;
}

}  // namespace vantorel::engine
