// The application, its namespace, folders, item collections, inspectors,
// categories and explorers.

#include "host/engine/Objects.h"

#include <cstring>

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

outlook::InspectorsPtr ApplicationImpl::Inspectors() {
    core_->enter("Application", "Inspectors");
    return std::make_shared<InspectorsImpl>(core_);
}

int InspectorsImpl::Count() {
    core_->enter("Inspectors", "Count");
    return static_cast<int>(core_->inspectors().size());
}

outlook::InspectorPtr InspectorsImpl::Item(int index) {
    core_->enter("Inspectors", "Item");
    checkIndex(index, core_->inspectors().size());
    return core_->inspectors()[static_cast<std::size_t>(index - 1)];
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
    return static_cast<int>(items().size());
}

outlook::ItemPtr ItemsImpl::Item(int index) {
    core_->enter("Items", "Item");
    checkIndex(index, items().size());
    const auto at = static_cast<std::size_t>(index - 1);
    readAhead(at);
    last_ = index;
    if (!restricted_) {
        return core_->makeItem(items()[at]);
    }
    // The item as it is stored now, which may have changed since it was chosen.
    std::shared_ptr<const ItemRecord> current = core_->sharedItem(chosen_[at]->id);
    if (!current) {
        throw OutlookError(texts::movedOrDeleted());
    }
    return core_->makeItem(std::move(current));
}

namespace {
// What a look at a record's properties reads, asked of memory before it is read: the
// record's beginning (beside the shared count), its list of properties and the bits of
// their names; then the properties; then their texts.
void prefetchRecord(const ItemRecord& r) {
    __builtin_prefetch(&r, 1);
    __builtin_prefetch(&r.properties);
    __builtin_prefetch(&r.propertyNames);
}

void prefetchProperties(const ItemRecord& r) {
    constexpr std::size_t kLine = 64;
    const auto* begin = reinterpret_cast<const char*>(r.properties.data());
    const std::size_t bytes = r.properties.size() * sizeof(PropertyRecord);
    for (std::size_t offset = 0; offset < bytes; offset += kLine) {
        __builtin_prefetch(begin + offset);
    }
}

void prefetchTexts(const ItemRecord& r) {
    for (const PropertyRecord& p : r.properties) {
        __builtin_prefetch(p.value.constData(), 1);
    }
}
}  // namespace

// A walk over a large folder (the poll goes forwards, the reply watch backwards) is
// bound by memory: each item is a record, its properties and their texts, spread over
// the heap. Three stages, each a few items ahead of the walk, each reading what the
// one before brought in.
void ItemsImpl::readAhead(std::size_t at) {
    const int step = last_ == static_cast<int>(at) ? 1 : last_ == static_cast<int>(at) + 2 ? -1 : 0;
    if (step == 0) {
        return;
    }
    const std::vector<std::shared_ptr<const ItemRecord>>& items = this->items();
    const auto ahead = [&](std::ptrdiff_t distance) -> const ItemRecord* {
        const std::ptrdiff_t i = static_cast<std::ptrdiff_t>(at) + step * distance;
        return i >= 0 && i < static_cast<std::ptrdiff_t>(items.size())
                   ? items[static_cast<std::size_t>(i)].get()
                   : nullptr;
    };
    if (const ItemRecord* r = ahead(32)) {
        prefetchRecord(*r);
    }
    if (const ItemRecord* r = ahead(16)) {
        prefetchProperties(*r);
    }
    if (const ItemRecord* r = ahead(8)) {
        prefetchTexts(*r);
    }
}

outlook::MAPIFolderPtr ItemsImpl::Parent() {
    core_->enter("Items", "Parent");
    return core_->makeFolder(folderId_);
}

outlook::Connection ItemsImpl::OnItemAdd(outlook::ItemAddHandler handler) {
    core_->enter("Items", "OnItemAdd");
    if (!restricted_) {
        return folder_->itemAdd.connect(std::move(handler));
    }
    return folder_->itemAdd.connect(
        [conditions = conditions_, handler = std::move(handler)](const outlook::ItemPtr& item) {
            const auto* state = dynamic_cast<const ItemState*>(item.get());
            for (const Condition& condition : conditions) {
                if (state == nullptr || !condition.metBy(state->record())) {
                    return;
                }
            }
            handler(item);
        });
}

outlook::ItemsPtr ItemsImpl::Restrict(const QString& filter) {
    core_->enter("Items", "Restrict");
    const Condition condition = parseFilter(filter);
    // As the mail client: a user property named without its type is known only when
    // it is a field of the folder; otherwise the search fails.
    if (!condition.typed && !folder_->fields.contains(condition.property.toCaseFolded())) {
        throw outlook::OutlookError(QStringLiteral("Cannot parse condition. Error at \"%1\".")
                                        .arg(filter.mid(condition.nameAt)));
    }
    auto restricted = std::make_shared<ItemsImpl>(core_, folderId_);
    restricted->restricted_ = true;
    restricted->conditions_ = conditions_;
    restricted->conditions_.push_back(condition);
    const std::vector<std::shared_ptr<const ItemRecord>>& all = items();
    // One pass over the records themselves, without an item object each: the reason
    // to ask for a restricted collection.
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (i + kAhead < all.size()) {
            prefetchRecord(*all[i + kAhead]);
            prefetchProperties(*all[i + kAhead / 2]);
        }
        // Of a restricted collection, the item as it is stored now.
        std::shared_ptr<const ItemRecord> record =
            restricted_ ? core_->sharedItem(all[i]->id) : all[i];
        if (record && condition.metBy(*record)) {
            restricted->chosen_.push_back(std::move(record));
        }
    }
    return restricted;
}

namespace {
// Equal in any letter case. ASCII letters are compared here (most texts differ in
// their first few characters); anything else from the first letter outside ASCII on
// as Qt compares it.
bool equalIgnoringCase(QStringView a, QStringView b) {
    if (a.size() != b.size()) {
        return false;
    }
    const auto fold = [](char16_t c) -> char16_t {
        return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
    };
    // Alike stretches are passed four characters at a time.
    qsizetype i = 0;
    for (; i + 4 <= a.size(); i += 4) {
        quint64 x;
        quint64 y;
        std::memcpy(&x, a.data() + i, sizeof x);
        std::memcpy(&y, b.data() + i, sizeof y);
        if (x != y) {
            break;
        }
    }
    for (; i < a.size(); ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x == y) {
            continue;
        }
        if (x >= 0x80 || y >= 0x80) {
            return a.mid(i).compare(b.mid(i), Qt::CaseInsensitive) == 0;
        }
        if (fold(x) != fold(y)) {
            return false;
        }
    }
    return true;
}
}  // namespace

bool ItemsImpl::Condition::metBy(const ItemRecord& record) const {
    const qsizetype at = findProperty(record, property);
    return at >= 0 &&
           equalIgnoringCase(record.properties[static_cast<std::size_t>(at)].value, text);
}

// @SQL="<schema of a user property>[/0000001f]" = '<text>', blanks allowed around the "=".
ItemsImpl::Condition parseFilter(const QString& filter) {
    const auto refuse = [&filter](qsizetype at) -> ItemsImpl::Condition {
        throw outlook::OutlookError(
            QStringLiteral("Cannot parse condition. Error at \"%1\".").arg(filter.mid(at)));
    };
    const QStringView text(filter);
    qsizetype at = 0;
    const auto skipBlanks = [&] {
        while (at < text.size() && text[at].isSpace()) {
            ++at;
        }
    };
    skipBlanks();
    if (!text.mid(at).startsWith(u"@SQL=", Qt::CaseInsensitive)) {
        return refuse(at);
    }
    at += 5;
    if (at >= text.size() || text[at] != u'"') {
        return refuse(at);
    }
    const qsizetype close = text.indexOf(u'"', at + 1);
    if (close < 0) {
        return refuse(at);
    }
    const QString schema = text.mid(at + 1, close - at - 1).toString();
    const QString prefix = outlook::UserPropertySchemaName(QString());
    if (!schema.startsWith(prefix, Qt::CaseInsensitive) || schema.size() == prefix.size()) {
        return refuse(at);
    }
    ItemsImpl::Condition condition{schema.mid(prefix.size()), QString()};
    condition.nameAt = at;
    // The type of a text, PT_UNICODE or PT_STRING8, after the name.
    for (const QStringView type : {u"/0000001f", u"/0000001e"}) {
        if (condition.property.endsWith(type, Qt::CaseInsensitive)) {
            condition.property.chop(type.size());
            condition.typed = true;
            break;
        }
    }
    if (condition.property.isEmpty()) {
        return refuse(at);
    }
    at = close + 1;
    skipBlanks();
    if (at >= text.size() || text[at] != u'=') {
        return refuse(at);
    }
    ++at;
    skipBlanks();
    if (at >= text.size() || text[at] != u'\'') {
        return refuse(at);
    }
    const qsizetype open = at;
    for (++at;; ++at) {
        if (at >= text.size()) {
            return refuse(open);
        }
        if (text[at] == u'\'') {
            if (at + 1 < text.size() && text[at + 1] == u'\'') {
                condition.text += u'\'';
                ++at;
                continue;
            }
            break;
        }
        condition.text += text[at];
    }
    ++at;
    skipBlanks();
    if (at != text.size()) {
        return refuse(at);
    }
    return condition;
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
