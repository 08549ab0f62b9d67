// The object model's types as IDispatch objects: one class per type, each with its
// table of members, and the event sources (Application, Inspectors, Inspector, Items).

#include "host/engine/Core.h"
#include "host/engine/Engine.h"
#include "host/windows/com/ComServer.h"
#include "host/windows/com/Dispatch.h"
#include "outlook/windows/ComContract.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vantorel::host::com {

namespace {

namespace ol = vantorel::outlook;

oc::Variant text(const QString& value) {
    return oc::Variant::text(value);
}
oc::Variant integer(int value) {
    return oc::Variant::integer(value);
}
oc::Variant boolean(bool value) {
    return oc::Variant::boolean(value);
}
oc::Variant date(double value) {
    return oc::Variant::date(value);
}
// What a method without a result answers.
oc::Variant noResult() {
    return {};
}

// The objects that keep one server while they live (Application, Inspectors and each
// Inspector), by the engine object's address; a server leaves when it dies.
std::unordered_map<const void*, IDispatch*>& identities() {
    static std::unordered_map<const void*, IDispatch*> map;
    return map;
}

oc::ComPtr<IDispatch> identity(const void* key) {
    const auto at = identities().find(key);
    return at == identities().end() ? oc::ComPtr<IDispatch>() : oc::ComPtr<IDispatch>(at->second);
}

// Registers a server under KEY for its lifetime.
class Identity {
public:
    Identity(const void* key, IDispatch* server) : key_(key) { identities()[key] = server; }
    Identity(const Identity&) = delete;
    Identity& operator=(const Identity&) = delete;
    ~Identity() { identities().erase(key_); }

private:
    const void* key_;
};

// What the Application, its Inspectors and each Inspector share: the inspectors the
// server has seen, and the NewInspector announcements under way.
struct Windows {
    ol::ApplicationPtr app;
    HostWindows host;
    std::vector<std::weak_ptr<ol::Inspector>> known;
    // NewInspector being fired for INSPECTOR: sinks advised on that inspector meanwhile
    // get its Activate once the announcement is over, as the engine calls them from its
    // next raise only.
    struct Announcement {
        const ol::Inspector* inspector;
        std::vector<oc::ComPtr<IDispatch>> late;
    };
    std::vector<Announcement> announcing;
    // Remembers every inspector activated while the Application server lives.
    ol::Connection recorder;

    static bool contains(const std::vector<std::weak_ptr<ol::Inspector>>& list,
                         const ol::InspectorPtr& inspector) {
        return std::any_of(list.begin(), list.end(),
                           [&](const auto& each) { return each.lock() == inspector; });
    }
    static void add(std::vector<std::weak_ptr<ol::Inspector>>& list,
                    const ol::InspectorPtr& inspector) {
        std::erase_if(list, [](const auto& each) { return each.expired(); });
        if (!contains(list, inspector)) {
            list.push_back(inspector);
        }
    }
};

oc::ComPtr<IDispatch> itemServer(const ol::ItemPtr& item);
oc::ComPtr<IDispatch> folderServer(const ol::MAPIFolderPtr& folder);
oc::ComPtr<IDispatch> inspectorServer(const std::shared_ptr<Windows>& windows,
                                      const ol::InspectorPtr& inspector);

template <class T, typename Ptr>
oc::Variant wrap(Ptr value) {
    return object(value ? make<T>(std::move(value)) : oc::ComPtr<IDispatch>());
}

// The index argument of a collection's Item: a position, or a name given as text.
template <class Collection>
auto byIndexOrName(Collection& collection, const Call& call) {
    return call.isText(0) ? collection.Item(call.text(0)) : collection.Item(call.integer(0));
}

class ExplorersServer final : public Dispatch<ExplorersServer> {
public:
    explicit ExplorersServer(ol::ExplorersPtr explorers) : explorers_(std::move(explorers)) {}
    static const std::vector<Member<ExplorersServer>>& members() {
        static const std::vector<Member<ExplorersServer>> table = {
            {L"Count", kGet, 0, 0,
             [](ExplorersServer& s, const Call&) { return integer(s.explorers_->Count()); },
             nullptr},
        };
        return table;
    }

private:
    ol::ExplorersPtr explorers_;
};

class CategoryServer final : public Dispatch<CategoryServer> {
public:
    explicit CategoryServer(ol::CategoryPtr category) : category_(std::move(category)) {}
    static const std::vector<Member<CategoryServer>>& members() {
        static const std::vector<Member<CategoryServer>> table = {
            {L"Name", kGet, 0, 0,
             [](CategoryServer& s, const Call&) { return text(s.category_->Name()); }, nullptr},
        };
        return table;
    }

private:
    ol::CategoryPtr category_;
};

class CategoriesServer final : public Dispatch<CategoriesServer> {
public:
    explicit CategoriesServer(ol::CategoriesPtr categories) : categories_(std::move(categories)) {}
    static const std::vector<Member<CategoriesServer>>& members() {
        static const std::vector<Member<CategoriesServer>> table = {
            {L"Count", kGet, 0, 0,
             [](CategoriesServer& s, const Call&) { return integer(s.categories_->Count()); },
             nullptr},
            {L"Item", kMethod, 1, 1,
             [](CategoriesServer& s, const Call& c) {
                 return wrap<CategoryServer>(s.categories_->Item(c.integer(0)));
             },
             nullptr},
        };
        return table;
    }

private:
    ol::CategoriesPtr categories_;
};

class AddressEntryServer final : public Dispatch<AddressEntryServer> {
public:
    explicit AddressEntryServer(ol::AddressEntryPtr entry) : entry_(std::move(entry)) {}
    static const std::vector<Member<AddressEntryServer>>& members() {
        static const std::vector<Member<AddressEntryServer>> table = {
            {L"Name", kGet, 0, 0,
             [](AddressEntryServer& s, const Call&) { return text(s.entry_->Name()); }, nullptr},
            {L"Address", kGet, 0, 0,
             [](AddressEntryServer& s, const Call&) { return text(s.entry_->Address()); }, nullptr},
            {L"Type", kGet, 0, 0,
             [](AddressEntryServer& s, const Call&) { return text(s.entry_->Type()); }, nullptr},
        };
        return table;
    }

private:
    ol::AddressEntryPtr entry_;
};

class RecipientServer final : public Dispatch<RecipientServer> {
public:
    explicit RecipientServer(ol::RecipientPtr recipient) : recipient_(std::move(recipient)) {}
    static const std::vector<Member<RecipientServer>>& members() {
        static const std::vector<Member<RecipientServer>> table = {
            {L"Name", kGet, 0, 0,
             [](RecipientServer& s, const Call&) { return text(s.recipient_->Name()); }, nullptr},
            {L"Address", kGet, 0, 0,
             [](RecipientServer& s, const Call&) { return text(s.recipient_->Address()); },
             nullptr},
            {L"Type", kGet, 0, 0,
             [](RecipientServer& s, const Call&) { return integer(s.recipient_->Type()); },
             nullptr},
            {L"Resolved", kGet, 0, 0,
             [](RecipientServer& s, const Call&) { return boolean(s.recipient_->Resolved()); },
             nullptr},
            {L"AddressEntry", kGet, 0, 0,
             [](RecipientServer& s, const Call&) {
                 return wrap<AddressEntryServer>(s.recipient_->AddressEntry());
             },
             nullptr},
        };
        return table;
    }

private:
    ol::RecipientPtr recipient_;
};

class RecipientsServer final : public Dispatch<RecipientsServer> {
public:
    explicit RecipientsServer(ol::RecipientsPtr recipients) : recipients_(std::move(recipients)) {}
    static const std::vector<Member<RecipientsServer>>& members() {
        static const std::vector<Member<RecipientsServer>> table = {
            {L"Count", kGet, 0, 0,
             [](RecipientsServer& s, const Call&) { return integer(s.recipients_->Count()); },
             nullptr},
            {L"Item", kMethod, 1, 1,
             [](RecipientsServer& s, const Call& c) {
                 return wrap<RecipientServer>(s.recipients_->Item(c.integer(0)));
             },
             nullptr},
            {L"ResolveAll", kMethod, 0, 0,
             [](RecipientsServer& s, const Call&) { return boolean(s.recipients_->ResolveAll()); },
             nullptr},
        };
        return table;
    }

private:
    ol::RecipientsPtr recipients_;
};

class PropertyAccessorServer final : public Dispatch<PropertyAccessorServer> {
public:
    explicit PropertyAccessorServer(ol::PropertyAccessorPtr accessor)
        : accessor_(std::move(accessor)) {}
    static const std::vector<Member<PropertyAccessorServer>>& members() {
        static const std::vector<Member<PropertyAccessorServer>> table = {
            {L"GetProperty", kMethod, 1, 1,
             [](PropertyAccessorServer& s, const Call& c) {
                 return text(s.accessor_->GetProperty(c.text(0)));
             },
             nullptr},
        };
        return table;
    }

private:
    ol::PropertyAccessorPtr accessor_;
};

class UserPropertyServer final : public Dispatch<UserPropertyServer> {
public:
    explicit UserPropertyServer(ol::UserPropertyPtr property) : property_(std::move(property)) {}
    static const std::vector<Member<UserPropertyServer>>& members() {
        static const std::vector<Member<UserPropertyServer>> table = {
            {L"Name", kGet, 0, 0,
             [](UserPropertyServer& s, const Call&) { return text(s.property_->Name()); }, nullptr},
            {L"Type", kGet, 0, 0,
             [](UserPropertyServer& s, const Call&) { return integer(s.property_->Type()); },
             nullptr},
            // The engine stores text: any value that can be made one is taken.
            {L"Value", kGet | kPut, 0, 0,
             [](UserPropertyServer& s, const Call&) { return text(s.property_->Value()); },
             [](UserPropertyServer& s, const Call& c) { s.property_->SetValue(c.text(0)); }},
            {L"Delete", kMethod, 0, 0,
             [](UserPropertyServer& s, const Call&) {
                 s.property_->Delete();
                 return noResult();
             },
             nullptr},
        };
        return table;
    }

private:
    ol::UserPropertyPtr property_;
};

class UserPropertiesServer final : public Dispatch<UserPropertiesServer> {
public:
    explicit UserPropertiesServer(ol::UserPropertiesPtr properties)
        : properties_(std::move(properties)) {}
    static const std::vector<Member<UserPropertiesServer>>& members() {
        static const std::vector<Member<UserPropertiesServer>> table = {
            {L"Count", kGet, 0, 0,
             [](UserPropertiesServer& s, const Call&) { return integer(s.properties_->Count()); },
             nullptr},
            // By name the client fails for a property the item does not have.
            {L"Item", kMethod, 1, 1,
             [](UserPropertiesServer& s, const Call& c) {
                 ol::UserPropertyPtr property = byIndexOrName(*s.properties_, c);
                 if (!property) {
                     throw ol::OutlookError(engine::texts::notFound());
                 }
                 return wrap<UserPropertyServer>(std::move(property));
             },
             nullptr},
            // Custom (whether to look among the item's own properties only) changes
            // nothing: user properties are all custom.
            {L"Find", kMethod, 1, 2,
             [](UserPropertiesServer& s, const Call& c) {
                 const QString name = c.text(0);
                 if (c.given(1)) {
                     c.boolean(1);
                 }
                 return wrap<UserPropertyServer>(s.properties_->Item(name));
             },
             nullptr},
            {L"Add", kMethod, 2, 4,
             [](UserPropertiesServer& s, const Call& c) {
                 const QString name = c.text(0);
                 const int type = c.integer(1);
                 const bool addToFolderFields = c.given(2) && c.boolean(2);
                 // Left out, a text property's format is its only one, plain text.
                 const int displayFormat =
                     c.given(3) ? c.integer(3) : static_cast<int>(outlook::olFormatTextText);
                 return wrap<UserPropertyServer>(
                     s.properties_->Add(name, type, addToFolderFields, displayFormat));
             },
             nullptr},
            {L"Remove", kMethod, 1, 1,
             [](UserPropertiesServer& s, const Call& c) {
                 s.properties_->Remove(c.integer(0));
                 return noResult();
             },
             nullptr},
        };
        return table;
    }

private:
    ol::UserPropertiesPtr properties_;
};

// An item of any kind: the members every item has, and those of its kind.
template <class Kind>
class ItemServer final : public Dispatch<ItemServer<Kind>> {
public:
    using Self = ItemServer<Kind>;
    explicit ItemServer(std::shared_ptr<Kind> item) : item_(std::move(item)) {}

    DISPID idBase() const override {
        if constexpr (std::is_same_v<Kind, ol::MailItem>) {
            return 0x10000;
        } else if constexpr (std::is_same_v<Kind, ol::TaskItem>) {
            return 0x20000;
        } else if constexpr (std::is_same_v<Kind, ol::MeetingItem>) {
            return 0x30000;
        } else {
            return 0x40000;
        }
    }

    static const std::vector<Member<Self>>& members() {
        static const std::vector<Member<Self>> table = [] {
            std::vector<Member<Self>> all = common();
            const std::vector<Member<Self>> own = kind();
            all.insert(all.end(), own.begin(), own.end());
            return all;
        }();
        return table;
    }

private:
    static std::vector<Member<Self>> common() {
        return {
            {L"Class", kGet, 0, 0, [](Self& s, const Call&) { return integer(s.item_->Class()); },
             nullptr},
            {L"MessageClass", kGet, 0, 0,
             [](Self& s, const Call&) { return text(s.item_->MessageClass()); }, nullptr},
            {L"EntryID", kGet, 0, 0, [](Self& s, const Call&) { return text(s.item_->EntryID()); },
             nullptr},
            {L"Subject", kGet | kPut, 0, 0,
             [](Self& s, const Call&) { return text(s.item_->Subject()); },
             [](Self& s, const Call& c) { s.item_->SetSubject(c.text(0)); }},
            {L"Body", kGet | kPut, 0, 0, [](Self& s, const Call&) { return text(s.item_->Body()); },
             [](Self& s, const Call& c) { s.item_->SetBody(c.text(0)); }},
            {L"UserProperties", kGet, 0, 0,
             [](Self& s, const Call&) {
                 return wrap<UserPropertiesServer>(s.item_->UserProperties());
             },
             nullptr},
            {L"Save", kMethod, 0, 0,
             [](Self& s, const Call&) {
                 s.item_->Save();
                 return noResult();
             },
             nullptr},
            {L"Delete", kMethod, 0, 0,
             [](Self& s, const Call&) {
                 s.item_->Delete();
                 return noResult();
             },
             nullptr},
            {L"Display", kMethod, 0, 1,
             [](Self& s, const Call& c) {
                 s.item_->Display(c.given(0) && c.boolean(0));
                 return noResult();
             },
             nullptr},
        };
    }

    static std::vector<Member<Self>> kind() {
        if constexpr (std::is_same_v<Kind, ol::MailItem>) {
            return {
                {L"ConversationTopic", kGet, 0, 0,
                 [](Self& s, const Call&) { return text(s.item_->ConversationTopic()); }, nullptr},
                {L"SenderEmailAddress", kGet, 0, 0,
                 [](Self& s, const Call&) { return text(s.item_->SenderEmailAddress()); }, nullptr},
                {L"SenderName", kGet, 0, 0,
                 [](Self& s, const Call&) { return text(s.item_->SenderName()); }, nullptr},
                {L"To", kGet | kPut, 0, 0, [](Self& s, const Call&) { return text(s.item_->To()); },
                 [](Self& s, const Call& c) { s.item_->SetTo(c.text(0)); }},
                {L"CC", kGet | kPut, 0, 0, [](Self& s, const Call&) { return text(s.item_->CC()); },
                 [](Self& s, const Call& c) { s.item_->SetCC(c.text(0)); }},
                {L"BCC", kGet | kPut, 0, 0,
                 [](Self& s, const Call&) { return text(s.item_->BCC()); },
                 [](Self& s, const Call& c) { s.item_->SetBCC(c.text(0)); }},
                {L"Recipients", kGet, 0, 0,
                 [](Self& s, const Call&) { return wrap<RecipientsServer>(s.item_->Recipients()); },
                 nullptr},
                {L"Sent", kGet, 0, 0, [](Self& s, const Call&) { return boolean(s.item_->Sent()); },
                 nullptr},
                {L"SentOn", kGet, 0, 0,
                 [](Self& s, const Call&) { return date(s.item_->SentOn()); }, nullptr},
                {L"ReceivedTime", kGet, 0, 0,
                 [](Self& s, const Call&) { return date(s.item_->ReceivedTime()); }, nullptr},
                {L"Send", kMethod, 0, 0,
                 [](Self& s, const Call&) {
                     s.item_->Send();
                     return noResult();
                 },
                 nullptr},
                {L"Forward", kMethod, 0, 0,
                 [](Self& s, const Call&) {
                     ol::MailItemPtr forward = s.item_->Forward();
                     return object(itemServer(forward));
                 },
                 nullptr},
                {L"PropertyAccessor", kGet, 0, 0,
                 [](Self& s, const Call&) {
                     return wrap<PropertyAccessorServer>(s.item_->PropertyAccessor());
                 },
                 nullptr},
            };
        } else if constexpr (std::is_same_v<Kind, ol::TaskItem>) {
            return {
                {L"Categories", kGet | kPut, 0, 0,
                 [](Self& s, const Call&) { return text(s.item_->Categories()); },
                 [](Self& s, const Call& c) { s.item_->SetCategories(c.text(0)); }},
                {L"StartDate", kGet | kPut, 0, 0,
                 [](Self& s, const Call&) { return date(s.item_->StartDate()); },
                 [](Self& s, const Call& c) { s.item_->SetStartDate(c.date(0)); }},
                {L"DueDate", kGet | kPut, 0, 0,
                 [](Self& s, const Call&) { return date(s.item_->DueDate()); },
                 [](Self& s, const Call& c) { s.item_->SetDueDate(c.date(0)); }},
                {L"ReminderTime", kGet | kPut, 0, 0,
                 [](Self& s, const Call&) { return date(s.item_->ReminderTime()); },
                 [](Self& s, const Call& c) { s.item_->SetReminderTime(c.date(0)); }},
                {L"Importance", kGet | kPut, 0, 0,
                 [](Self& s, const Call&) { return integer(s.item_->Importance()); },
                 [](Self& s, const Call& c) { s.item_->SetImportance(c.integer(0)); }},
                {L"ReminderOverrideDefault", kGet | kPut, 0, 0,
                 [](Self& s, const Call&) { return boolean(s.item_->ReminderOverrideDefault()); },
                 [](Self& s, const Call& c) { s.item_->SetReminderOverrideDefault(c.boolean(0)); }},
                {L"ReminderSet", kGet | kPut, 0, 0,
                 [](Self& s, const Call&) { return boolean(s.item_->ReminderSet()); },
                 [](Self& s, const Call& c) { s.item_->SetReminderSet(c.boolean(0)); }},
                {L"Complete", kGet | kPut, 0, 0,
                 [](Self& s, const Call&) { return boolean(s.item_->Complete()); },
                 [](Self& s, const Call& c) { s.item_->SetComplete(c.boolean(0)); }},
                {L"MarkComplete", kMethod, 0, 0,
                 [](Self& s, const Call&) {
                     s.item_->MarkComplete();
                     return noResult();
                 },
                 nullptr},
            };
        } else if constexpr (std::is_same_v<Kind, ol::MeetingItem>) {
            return {
                {L"ConversationTopic", kGet, 0, 0,
                 [](Self& s, const Call&) { return text(s.item_->ConversationTopic()); }, nullptr},
                {L"SenderEmailAddress", kGet, 0, 0,
                 [](Self& s, const Call&) { return text(s.item_->SenderEmailAddress()); }, nullptr},
                {L"SenderName", kGet, 0, 0,
                 [](Self& s, const Call&) { return text(s.item_->SenderName()); }, nullptr},
                {L"ReceivedTime", kGet, 0, 0,
                 [](Self& s, const Call&) { return date(s.item_->ReceivedTime()); }, nullptr},
            };
        } else {
            return {};
        }
    }

    std::shared_ptr<Kind> item_;
};

class ItemsServer final : public Dispatch<ItemsServer> {
public:
    explicit ItemsServer(ol::ItemsPtr items) : items_(std::move(items)) {}
    static const std::vector<Member<ItemsServer>>& members() {
        static const std::vector<Member<ItemsServer>> table = {
            {L"Count", kGet, 0, 0,
             [](ItemsServer& s, const Call&) { return integer(s.items_->Count()); }, nullptr},
            {L"Item", kMethod, 1, 1,
             [](ItemsServer& s, const Call& c) {
                 return object(itemServer(s.items_->Item(c.integer(0))));
             },
             nullptr},
            {L"Parent", kGet, 0, 0,
             [](ItemsServer& s, const Call&) { return object(folderServer(s.items_->Parent())); },
             nullptr},
            {L"Restrict", kMethod, 1, 1,
             [](ItemsServer& s, const Call& c) {
                 return wrap<ItemsServer>(s.items_->Restrict(c.text(0)));
             },
             nullptr},
        };
        return table;
    }

protected:
    std::span<const IID> events() const override {
        static const IID ours[] = {oc::DIID_ItemsEvents};
        return ours;
    }
    // The subscription keeps the engine's collection: this object holds it while the
    // sink is advised.
    Subscription subscribe(const IID&, const oc::ComPtr<IDispatch>& sink) override {
        Subscription subscription;
        subscription.push_back(items_->OnItemAdd([sink](const ol::ItemPtr& item) {
            oc::Variant arg = object(itemServer(item));
            fire(sink.get(), oc::DISPID_ItemAdd, "ItemAdd", {arg.get(), 1});
        }));
        return subscription;
    }

private:
    ol::ItemsPtr items_;
};

class FoldersServer final : public Dispatch<FoldersServer> {
public:
    explicit FoldersServer(ol::FoldersPtr folders) : folders_(std::move(folders)) {}
    static const std::vector<Member<FoldersServer>>& members() {
        static const std::vector<Member<FoldersServer>> table = {
            {L"Count", kGet, 0, 0,
             [](FoldersServer& s, const Call&) { return integer(s.folders_->Count()); }, nullptr},
            {L"Item", kMethod, 1, 1,
             [](FoldersServer& s, const Call& c) {
                 return object(folderServer(byIndexOrName(*s.folders_, c)));
             },
             nullptr},
        };
        return table;
    }

private:
    ol::FoldersPtr folders_;
};

class FolderServer final : public Dispatch<FolderServer> {
public:
    explicit FolderServer(ol::MAPIFolderPtr folder) : folder_(std::move(folder)) {}
    static const std::vector<Member<FolderServer>>& members() {
        static const std::vector<Member<FolderServer>> table = {
            {L"Name", kGet, 0, 0,
             [](FolderServer& s, const Call&) { return text(s.folder_->Name()); }, nullptr},
            {L"EntryID", kGet, 0, 0,
             [](FolderServer& s, const Call&) { return text(s.folder_->EntryID()); }, nullptr},
            {L"FolderPath", kGet, 0, 0,
             [](FolderServer& s, const Call&) { return text(s.folder_->FolderPath()); }, nullptr},
            {L"Folders", kGet, 0, 0,
             [](FolderServer& s, const Call&) { return wrap<FoldersServer>(s.folder_->Folders()); },
             nullptr},
            {L"Items", kGet, 0, 0,
             [](FolderServer& s, const Call&) { return wrap<ItemsServer>(s.folder_->Items()); },
             nullptr},
        };
        return table;
    }

private:
    ol::MAPIFolderPtr folder_;
};

class NameSpaceServer final : public Dispatch<NameSpaceServer> {
public:
    explicit NameSpaceServer(ol::NameSpacePtr ns) : ns_(std::move(ns)) {}
    static const std::vector<Member<NameSpaceServer>>& members() {
        static const std::vector<Member<NameSpaceServer>> table = {
            {L"GetDefaultFolder", kMethod, 1, 1,
             [](NameSpaceServer& s, const Call& c) {
                 return object(folderServer(s.ns_->GetDefaultFolder(c.integer(0))));
             },
             nullptr},
            {L"GetItemFromID", kMethod, 1, 2,
             [](NameSpaceServer& s, const Call& c) {
                 const QString entryId = c.text(0);
                 const QString storeId = c.given(1) ? c.text(1) : QString();
                 return object(itemServer(s.ns_->GetItemFromID(entryId, storeId)));
             },
             nullptr},
            {L"Folders", kGet, 0, 0,
             [](NameSpaceServer& s, const Call&) { return wrap<FoldersServer>(s.ns_->Folders()); },
             nullptr},
            {L"Categories", kGet, 0, 0,
             [](NameSpaceServer& s, const Call&) {
                 return wrap<CategoriesServer>(s.ns_->Categories());
             },
             nullptr},
        };
        return table;
    }

private:
    ol::NameSpacePtr ns_;
};

class InspectorServer final : public Dispatch<InspectorServer> {
public:
    InspectorServer(std::shared_ptr<Windows> windows, ol::InspectorPtr inspector)
        : windows_(std::move(windows)),
          inspector_(std::move(inspector)),
          identity_(inspector_.get(), this) {}
    static const std::vector<Member<InspectorServer>>& members() {
        static const std::vector<Member<InspectorServer>> table = {
            {L"CurrentItem", kGet, 0, 0,
             [](InspectorServer& s, const Call&) {
                 return object(itemServer(s.inspector_->CurrentItem()));
             },
             nullptr},
        };
        return table;
    }

protected:
    bool isWindow() const override { return true; }
    HWND handle() const override {
        const HostWindows& host = windows_->host;
        return host.inspectorWindow ? host.inspectorWindow(inspector_) : nullptr;
    }
    std::span<const IID> events() const override {
        static const IID ours[] = {oc::DIID_InspectorEvents_10};
        return ours;
    }
    Subscription subscribe(const IID&, const oc::ComPtr<IDispatch>& sink) override {
        const ol::Inspector* target = inspector_.get();
        Subscription subscription;
        subscription.push_back(
            windows_->app->OnInspectorActivate([sink, target](const ol::InspectorPtr& inspector) {
                if (inspector.get() == target) {
                    fire(sink.get(), oc::DISPID_InspectorActivate, "Activate", {});
                }
            }));
        if (windows_->host.onInspectorClose) {
            subscription.push_back(
                windows_->host.onInspectorClose([sink, target](const ol::InspectorPtr& inspector) {
                    if (inspector.get() == target) {
                        fire(sink.get(), oc::DISPID_InspectorClose, "Close", {});
                    }
                }));
        }
        for (Windows::Announcement& announcement : windows_->announcing) {
            if (announcement.inspector == target) {
                announcement.late.push_back(sink);
            }
        }
        return subscription;
    }

private:
    std::shared_ptr<Windows> windows_;
    ol::InspectorPtr inspector_;
    Identity identity_;
};

class InspectorsServer final : public Dispatch<InspectorsServer> {
public:
    explicit InspectorsServer(std::shared_ptr<Windows> windows)
        : windows_(std::move(windows)), identity_(windows_.get(), this) {}
    static const std::vector<Member<InspectorsServer>>& members() {
        static const std::vector<Member<InspectorsServer>> table = {
            {L"Count", kGet, 0, 0,
             [](InspectorsServer& s, const Call&) {
                 const Windows& w = *s.windows_;
                 if (w.host.inspectorCount) {
                     return integer(w.host.inspectorCount());
                 }
                 return integer(w.app->ActiveInspector() ? 1 : 0);
             },
             nullptr},
            {L"Item", kMethod, 1, 1,
             [](InspectorsServer& s, const Call& c) {
                 return object(inspectorServer(s.windows_,
                                               s.windows_->app->Inspectors()->Item(c.integer(0))));
             },
             nullptr},
        };
        return table;
    }

protected:
    std::span<const IID> events() const override {
        static const IID ours[] = {oc::DIID_InspectorsEvents};
        return ours;
    }
    // Each inspector is new to the sink the first time it is activated after the sink
    // was advised, unless the server had seen it before.
    Subscription subscribe(const IID&, const oc::ComPtr<IDispatch>& sink) override {
        auto announced =
            std::make_shared<std::vector<std::weak_ptr<ol::Inspector>>>(windows_->known);
        Subscription subscription;
        subscription.push_back(windows_->app->OnInspectorActivate(
            [windows = windows_, sink, announced](const ol::InspectorPtr& inspector) {
                if (Windows::contains(*announced, inspector)) {
                    return;
                }
                Windows::add(*announced, inspector);
                announce(windows, sink, inspector);
            }));
        return subscription;
    }

private:
    static void announce(const std::shared_ptr<Windows>& windows, const oc::ComPtr<IDispatch>& sink,
                         const ol::InspectorPtr& inspector) {
        const std::size_t at = windows->announcing.size();
        windows->announcing.push_back({inspector.get(), {}});
        std::exception_ptr failure;
        try {
            oc::Variant arg = object(inspectorServer(windows, inspector));
            fire(sink.get(), oc::DISPID_NewInspector, "NewInspector", {arg.get(), 1});
        } catch (...) {
            failure = std::current_exception();
        }
        std::vector<oc::ComPtr<IDispatch>> late = std::move(windows->announcing[at].late);
        windows->announcing.erase(windows->announcing.begin() + static_cast<std::ptrdiff_t>(at),
                                  windows->announcing.end());
        for (const oc::ComPtr<IDispatch>& each : late) {
            try {
                fire(each.get(), oc::DISPID_InspectorActivate, "Activate", {});
            } catch (...) {
                if (!failure) {
                    failure = std::current_exception();
                }
            }
        }
        if (failure) {
            std::rethrow_exception(failure);
        }
    }

    std::shared_ptr<Windows> windows_;
    Identity identity_;
};

// The main window. The add-in asks it for its window only.
class ExplorerServer final : public Dispatch<ExplorerServer> {
public:
    explicit ExplorerServer(std::shared_ptr<Windows> windows) : windows_(std::move(windows)) {}
    static const std::vector<Member<ExplorerServer>>& members() {
        static const std::vector<Member<ExplorerServer>> table = {};
        return table;
    }

protected:
    bool isWindow() const override { return true; }
    HWND handle() const override {
        return windows_->host.mainWindow ? windows_->host.mainWindow() : nullptr;
    }

private:
    std::shared_ptr<Windows> windows_;
};

class ApplicationServer final : public Dispatch<ApplicationServer> {
public:
    ApplicationServer(ol::ApplicationPtr app, HostWindows host)
        : windows_(std::make_shared<Windows>()), identity_(app.get(), this) {
        windows_->app = std::move(app);
        windows_->host = std::move(host);
        std::weak_ptr<Windows> weak = windows_;
        try {
            if (ol::InspectorPtr open = windows_->app->ActiveInspector()) {
                Windows::add(windows_->known, open);
            }
            windows_->recorder =
                windows_->app->OnInspectorActivate([weak](const ol::InspectorPtr& inspector) {
                    if (const std::shared_ptr<Windows> w = weak.lock()) {
                        Windows::add(w->known, inspector);
                    }
                });
        } catch (const std::exception&) {
            // A closed mailbox: every call fails anyway.
        }
    }
    static const std::vector<Member<ApplicationServer>>& members() {
        static const std::vector<Member<ApplicationServer>> table = {
            {L"Version", kGet, 0, 0,
             [](ApplicationServer& s, const Call&) { return text(s.app().Version()); }, nullptr},
            {L"Session", kGet, 0, 0,
             [](ApplicationServer& s, const Call&) {
                 return wrap<NameSpaceServer>(s.app().Session());
             },
             nullptr},
            {L"GetNamespace", kMethod, 1, 1,
             [](ApplicationServer& s, const Call& c) {
                 return wrap<NameSpaceServer>(s.app().GetNamespace(c.text(0)));
             },
             nullptr},
            {L"CreateItem", kMethod, 1, 1,
             [](ApplicationServer& s, const Call& c) {
                 return object(itemServer(s.app().CreateItem(c.integer(0))));
             },
             nullptr},
            {L"ActiveInspector", kMethod, 0, 0,
             [](ApplicationServer& s, const Call&) {
                 return object(inspectorServer(s.windows_, s.app().ActiveInspector()));
             },
             nullptr},
            {L"Explorers", kGet, 0, 0,
             [](ApplicationServer& s, const Call&) {
                 return wrap<ExplorersServer>(s.app().Explorers());
             },
             nullptr},
            {L"ActiveExplorer", kMethod, 0, 0,
             [](ApplicationServer& s, const Call&) { return object(s.activeExplorer()); }, nullptr},
            // The window in front: the active inspector, else the main window.
            {L"ActiveWindow", kMethod, 0, 0,
             [](ApplicationServer& s, const Call&) {
                 if (const ol::InspectorPtr inspector = s.app().ActiveInspector()) {
                     return object(inspectorServer(s.windows_, inspector));
                 }
                 return object(s.activeExplorer());
             },
             nullptr},
            {L"Inspectors", kGet, 0, 0,
             [](ApplicationServer& s, const Call&) {
                 oc::ComPtr<IDispatch> inspectors = identity(s.windows_.get());
                 if (!inspectors) {
                     inspectors = make<InspectorsServer>(s.windows_);
                 }
                 return object(std::move(inspectors));
             },
             nullptr},
        };
        return table;
    }

    // WINDOW's Inspector, or the main window for a null one.
    oc::ComPtr<IDispatch> window(const ol::InspectorPtr& inspector) const {
        return inspector ? inspectorServer(windows_, inspector) : activeExplorer();
    }

protected:
    std::span<const IID> events() const override {
        static const IID ours[] = {oc::DIID_ApplicationEvents_11};
        return ours;
    }
    Subscription subscribe(const IID&, const oc::ComPtr<IDispatch>& sink) override {
        Subscription subscription;
        subscription.push_back(app().OnItemSend([sink](const ol::ItemPtr& item, bool& cancel) {
            VARIANT_BOOL flag = cancel ? VARIANT_TRUE : VARIANT_FALSE;
            oc::Variant itemArg = object(itemServer(item));
            VARIANT args[2];
            args[0].vt = VT_BOOL | VT_BYREF;
            args[0].pboolVal = &flag;
            args[1] = *itemArg;  // still owned by itemArg
            try {
                fire(sink.get(), oc::DISPID_ItemSend, "ItemSend", args);
            } catch (...) {
                cancel = flag != VARIANT_FALSE;
                throw;
            }
            cancel = flag != VARIANT_FALSE;
        }));
        subscription.push_back(
            app().OnQuit([sink] { fire(sink.get(), oc::DISPID_Quit, "Quit", {}); }));
        return subscription;
    }

private:
    ol::Application& app() const { return *windows_->app; }
    // The main window, or Nothing while none is open.
    oc::ComPtr<IDispatch> activeExplorer() const {
        if (app().Explorers()->Count() == 0) {
            return {};
        }
        return make<ExplorerServer>(windows_);
    }

    std::shared_ptr<Windows> windows_;
    Identity identity_;
};

oc::ComPtr<IDispatch> itemServer(const ol::ItemPtr& item) {
    if (!item) {
        return {};
    }
    if (ol::MailItemPtr mail = ol::asMailItem(item)) {
        return make<ItemServer<ol::MailItem>>(std::move(mail));
    }
    if (ol::TaskItemPtr task = ol::asTaskItem(item)) {
        return make<ItemServer<ol::TaskItem>>(std::move(task));
    }
    if (ol::MeetingItemPtr meeting = ol::asMeetingItem(item)) {
        return make<ItemServer<ol::MeetingItem>>(std::move(meeting));
    }
    return make<ItemServer<ol::Item>>(item);
}

oc::ComPtr<IDispatch> folderServer(const ol::MAPIFolderPtr& folder) {
    return folder ? make<FolderServer>(folder) : oc::ComPtr<IDispatch>();
}

oc::ComPtr<IDispatch> inspectorServer(const std::shared_ptr<Windows>& windows,
                                      const ol::InspectorPtr& inspector) {
    if (!inspector) {
        return {};
    }
    Windows::add(windows->known, inspector);
    if (oc::ComPtr<IDispatch> known = identity(inspector.get())) {
        return known;
    }
    return make<InspectorServer>(windows, inspector);
}

}  // namespace

HostWindows windowsOf(engine::Engine& engine) {
    HostWindows windows;
    windows.inspectorCount = [&engine] { return static_cast<int>(engine.inspectors().size()); };
    windows.onInspectorClose = [&engine](std::function<void(const ol::InspectorPtr&)> handler) {
        return engine.onInspectorClose(std::move(handler));
    };
    return windows;
}

oc::ComPtr<IDispatch> windowObject(IDispatch* application, const ol::InspectorPtr& window) {
    const auto* server = dynamic_cast<const ApplicationServer*>(application);
    return server ? server->window(window) : oc::ComPtr<IDispatch>();
}

oc::ComPtr<IDispatch> makeApplicationServer(ol::ApplicationPtr app, HostWindows windows) {
    if (!app) {
        return {};
    }
    if (oc::ComPtr<IDispatch> known = identity(app.get())) {
        return known;
    }
    return make<ApplicationServer>(std::move(app), std::move(windows));
}

}  // namespace vantorel::host::com
