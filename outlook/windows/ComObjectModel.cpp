#include "outlook/windows/ComObjectModel.h"

#include "outlook/windows/ComContract.h"
#include "outlook/windows/LateBound.h"

#include <oleidl.h>

#include <map>
#include <memory>
#include <vector>

namespace vantorel::outlook::com {

namespace {

// The DISPIDs of each type of the client's objects.
DispIdCache applicationIds("Application");
DispIdCache namespaceIds("NameSpace");
DispIdCache foldersIds("Folders");
DispIdCache folderIds("MAPIFolder");
DispIdCache itemsIds("Items");
DispIdCache mailIds("MailItem");
DispIdCache taskIds("TaskItem");
DispIdCache meetingIds("MeetingItem");
// The other kinds of item (appointments, contacts, reports...), one cache per class.
DispIdCache& otherItemIds(int itemClass) {
    static std::map<int, DispIdCache> byClass;
    return byClass.try_emplace(itemClass, "Item").first->second;
}
DispIdCache accessorIds("PropertyAccessor");
DispIdCache userPropertiesIds("UserProperties");
DispIdCache userPropertyIds("UserProperty");
DispIdCache recipientsIds("Recipients");
DispIdCache recipientIds("Recipient");
DispIdCache addressEntryIds("AddressEntry");
DispIdCache inspectorIds("Inspector");
DispIdCache inspectorsIds("Inspectors");
DispIdCache categoriesIds("Categories");
DispIdCache categoryIds("Category");
DispIdCache explorersIds("Explorers");

ItemPtr wrapItem(ComPtr<IDispatch> item);
MAPIFolderPtr wrapFolder(ComPtr<IDispatch> folder);

// The argument at REVERSED position INDEX of an event, as an object.
IDispatch* eventObject(const DISPPARAMS* params, UINT index) {
    if (params == nullptr || params->cArgs <= index) {
        throw OutlookError(QStringLiteral("The mail client raised an event without its item"));
    }
    try {
        return toDispatch(params->rgvarg[index]);
    } catch (const VariantError& e) {
        throw OutlookError(QString::fromUtf8(e.what()));
    }
}

class ComAddressEntry final : public AddressEntry {
public:
    explicit ComAddressEntry(ComPtr<IDispatch> o) : o_(std::move(o), addressEntryIds) {}
    QString Name() override { return o_.text(L"Name"); }
    QString Address() override { return o_.text(L"Address"); }
    QString Type() override { return o_.text(L"Type"); }

private:
    LateBound o_;
};

class ComRecipient final : public Recipient {
public:
    explicit ComRecipient(ComPtr<IDispatch> o) : o_(std::move(o), recipientIds) {}
    QString Name() override { return o_.text(L"Name"); }
    QString Address() override { return o_.text(L"Address"); }
    int Type() override { return o_.integer(L"Type"); }
    bool Resolved() override { return o_.boolean(L"Resolved"); }
    AddressEntryPtr AddressEntry() override {
        ComPtr<IDispatch> entry = o_.object(L"AddressEntry");
        return entry ? std::make_shared<ComAddressEntry>(std::move(entry)) : nullptr;
    }

private:
    LateBound o_;
};

class ComRecipients final : public Recipients {
public:
    explicit ComRecipients(ComPtr<IDispatch> o) : o_(std::move(o), recipientsIds) {}
    int Count() override { return o_.integer(L"Count"); }
    RecipientPtr Item(int index) override {
        return std::make_shared<ComRecipient>(o_.callObject(L"Item", {Variant::integer(index)}));
    }
    bool ResolveAll() override { return toBool(*o_.call(L"ResolveAll")); }

private:
    LateBound o_;
};

class ComUserProperty final : public UserProperty {
public:
    explicit ComUserProperty(ComPtr<IDispatch> o) : o_(std::move(o), userPropertyIds) {}
    QString Name() override { return o_.text(L"Name"); }
    int Type() override { return o_.integer(L"Type"); }
    QString Value() override { return o_.text(L"Value"); }
    void SetValue(const QString& value) override { o_.put(L"Value", Variant::text(value)); }
    void Delete() override { o_.call(L"Delete"); }

private:
    LateBound o_;
};

UserPropertyPtr wrapUserProperty(ComPtr<IDispatch> property) {
    return property ? std::make_shared<ComUserProperty>(std::move(property)) : nullptr;
}

class ComUserProperties final : public UserProperties {
public:
    explicit ComUserProperties(ComPtr<IDispatch> o) : o_(std::move(o), userPropertiesIds) {}
    int Count() override { return o_.integer(L"Count"); }
    UserPropertyPtr Item(int index) override {
        return wrapUserProperty(o_.callObject(L"Item", {Variant::integer(index)}));
    }
    // The client's Item fails for a name it does not know; Find answers Nothing.
    UserPropertyPtr Item(const QString& name) override {
        return wrapUserProperty(o_.callObject(L"Find", {Variant::text(name)}));
    }
    UserPropertyPtr Add(const QString& name, int type, bool addToFolderFields,
                        int displayFormat) override {
        return wrapUserProperty(o_.callObject(
            L"Add", {Variant::text(name), Variant::integer(type),
                     Variant::boolean(addToFolderFields), Variant::integer(displayFormat)}));
    }
    void Remove(int index) override { o_.call(L"Remove", {Variant::integer(index)}); }

private:
    LateBound o_;
};

class ComPropertyAccessor final : public PropertyAccessor {
public:
    explicit ComPropertyAccessor(ComPtr<IDispatch> o) : o_(std::move(o), accessorIds) {}
    QString GetProperty(const QString& schemaName) override {
        const Variant value = o_.call(L"GetProperty", {Variant::text(schemaName)});
        try {
            return toText(*value);
        } catch (const VariantError& e) {
            throw OutlookError(QString::fromUtf8(e.what()));
        }
    }

private:
    LateBound o_;
};

// What every kind of item answers, over the item's own DISPIDs.
template <typename Base>
class ComItemOf : public Base {
public:
    ComItemOf(ComPtr<IDispatch> o, DispIdCache& ids) : o_(std::move(o), ids) {}
    int Class() override { return o_.integer(L"Class"); }
    QString MessageClass() override { return o_.text(L"MessageClass"); }
    QString EntryID() override { return o_.text(L"EntryID"); }
    QString Subject() override { return o_.text(L"Subject"); }
    void SetSubject(const QString& value) override { o_.put(L"Subject", Variant::text(value)); }
    QString Body() override { return o_.text(L"Body"); }
    void SetBody(const QString& value) override { o_.put(L"Body", Variant::text(value)); }
    UserPropertiesPtr UserProperties() override {
        return std::make_shared<ComUserProperties>(o_.object(L"UserProperties"));
    }
    void Save() override { o_.call(L"Save"); }
    void Delete() override { o_.call(L"Delete"); }
    void Display(bool modal) override { o_.call(L"Display", {Variant::boolean(modal)}); }

protected:
    LateBound o_;
};

class ComOtherItem final : public ComItemOf<Item> {
public:
    ComOtherItem(ComPtr<IDispatch> o, int itemClass)
        : ComItemOf(std::move(o), otherItemIds(itemClass)) {}
};

class ComMailItem final : public ComItemOf<MailItem> {
public:
    explicit ComMailItem(ComPtr<IDispatch> o) : ComItemOf(std::move(o), mailIds) {}
    QString ConversationTopic() override { return o_.text(L"ConversationTopic"); }
    QString SenderEmailAddress() override { return o_.text(L"SenderEmailAddress"); }
    QString SenderName() override { return o_.text(L"SenderName"); }
    QString To() override { return o_.text(L"To"); }
    void SetTo(const QString& value) override { o_.put(L"To", Variant::text(value)); }
    QString CC() override { return o_.text(L"CC"); }
    void SetCC(const QString& value) override { o_.put(L"CC", Variant::text(value)); }
    QString BCC() override { return o_.text(L"BCC"); }
    void SetBCC(const QString& value) override { o_.put(L"BCC", Variant::text(value)); }
    RecipientsPtr Recipients() override {
        return std::make_shared<ComRecipients>(o_.object(L"Recipients"));
    }
    bool Sent() override { return o_.boolean(L"Sent"); }
    DateTime SentOn() override { return o_.date(L"SentOn"); }
    DateTime ReceivedTime() override { return o_.date(L"ReceivedTime"); }
    void Send() override { o_.call(L"Send"); }
    MailItemPtr Forward() override { return asMailItem(wrapItem(o_.callObject(L"Forward"))); }
    PropertyAccessorPtr PropertyAccessor() override {
        return std::make_shared<ComPropertyAccessor>(o_.object(L"PropertyAccessor"));
    }
};

class ComTaskItem final : public ComItemOf<TaskItem> {
public:
    explicit ComTaskItem(ComPtr<IDispatch> o) : ComItemOf(std::move(o), taskIds) {}
    QString Categories() override { return o_.text(L"Categories"); }
    void SetCategories(const QString& value) override {
        o_.put(L"Categories", Variant::text(value));
    }
    DateTime StartDate() override { return o_.date(L"StartDate"); }
    void SetStartDate(DateTime value) override { o_.put(L"StartDate", Variant::date(value)); }
    DateTime DueDate() override { return o_.date(L"DueDate"); }
    void SetDueDate(DateTime value) override { o_.put(L"DueDate", Variant::date(value)); }
    int Importance() override { return o_.integer(L"Importance"); }
    void SetImportance(int value) override { o_.put(L"Importance", Variant::integer(value)); }
    bool ReminderOverrideDefault() override { return o_.boolean(L"ReminderOverrideDefault"); }
    void SetReminderOverrideDefault(bool value) override {
        o_.put(L"ReminderOverrideDefault", Variant::boolean(value));
    }
    bool ReminderSet() override { return o_.boolean(L"ReminderSet"); }
    void SetReminderSet(bool value) override { o_.put(L"ReminderSet", Variant::boolean(value)); }
    DateTime ReminderTime() override { return o_.date(L"ReminderTime"); }
    void SetReminderTime(DateTime value) override { o_.put(L"ReminderTime", Variant::date(value)); }
    bool Complete() override { return o_.boolean(L"Complete"); }
    void SetComplete(bool value) override { o_.put(L"Complete", Variant::boolean(value)); }
    void MarkComplete() override { o_.call(L"MarkComplete"); }
};

class ComMeetingItem final : public ComItemOf<MeetingItem> {
public:
    explicit ComMeetingItem(ComPtr<IDispatch> o) : ComItemOf(std::move(o), meetingIds) {}
    QString ConversationTopic() override { return o_.text(L"ConversationTopic"); }
    QString SenderEmailAddress() override { return o_.text(L"SenderEmailAddress"); }
    QString SenderName() override { return o_.text(L"SenderName"); }
    DateTime ReceivedTime() override { return o_.date(L"ReceivedTime"); }
};

// An item of the client as the kind of item its Class tells.
ItemPtr wrapItem(ComPtr<IDispatch> item) {
    if (!item) {
        return nullptr;
    }
    // The class is not known before it is read: Class's id is asked of this item itself,
    // never reused from an item of another class.
    DispIdCache classIds("Item");
    const int itemClass = LateBound(item, classIds).integer(L"Class");
    switch (itemClass) {
        case olMail:
            return std::make_shared<ComMailItem>(std::move(item));
        case olTask:
            return std::make_shared<ComTaskItem>(std::move(item));
        case olMeetingRequest:
            return std::make_shared<ComMeetingItem>(std::move(item));
        default:
            return std::make_shared<ComOtherItem>(std::move(item), itemClass);
    }
}

class ComItems final : public Items {
public:
    explicit ComItems(ComPtr<IDispatch> o) : o_(std::move(o), itemsIds) {}
    ~ComItems() override { subscriptions_.clear(); }
    int Count() override { return o_.integer(L"Count"); }
    ItemPtr Item(int index) override {
        return wrapItem(o_.callObject(L"Item", {Variant::integer(index)}));
    }
    MAPIFolderPtr Parent() override { return wrapFolder(o_.object(L"Parent")); }
    // The subscription holds the client's Items: the client raises ItemAdd only while
    // someone holds them.
    Connection OnItemAdd(ItemAddHandler handler) override {
        return advise(
            subscriptions_, o_.object(), DIID_ItemsEvents,
            [handler = std::move(handler)](DISPID id, DISPPARAMS* params, EXCEPINFO* exception) {
                if (id != DISPID_ItemAdd) {
                    return S_OK;
                }
                return guardedEvent(exception, [&] {
                    handler(wrapItem(ComPtr<IDispatch>(eventObject(params, 0))));
                });
            });
    }
    ItemsPtr Restrict(const QString& filter) override {
        return std::make_shared<ComItems>(o_.callObject(L"Restrict", {Variant::text(filter)}));
    }

private:
    LateBound o_;
    Event<> subscriptions_;
};

class ComFolders final : public Folders {
public:
    explicit ComFolders(ComPtr<IDispatch> o) : o_(std::move(o), foldersIds) {}
    int Count() override { return o_.integer(L"Count"); }
    MAPIFolderPtr Item(int index) override {
        return wrapFolder(o_.callObject(L"Item", {Variant::integer(index)}));
    }
    MAPIFolderPtr Item(const QString& name) override {
        return wrapFolder(o_.callObject(L"Item", {Variant::text(name)}));
    }

private:
    LateBound o_;
};

class ComFolder final : public MAPIFolder {
public:
    explicit ComFolder(ComPtr<IDispatch> o) : o_(std::move(o), folderIds) {}
    QString Name() override { return o_.text(L"Name"); }
    QString EntryID() override { return o_.text(L"EntryID"); }
    QString FolderPath() override { return o_.text(L"FolderPath"); }
    FoldersPtr Folders() override { return std::make_shared<ComFolders>(o_.object(L"Folders")); }
    ItemsPtr Items() override { return std::make_shared<ComItems>(o_.object(L"Items")); }

private:
    LateBound o_;
};

MAPIFolderPtr wrapFolder(ComPtr<IDispatch> folder) {
    if (!folder) {
        throw OutlookError(QStringLiteral("The mail client handed out no folder"));
    }
    return std::make_shared<ComFolder>(std::move(folder));
}

class ComCategory final : public Category {
public:
    explicit ComCategory(ComPtr<IDispatch> o) : o_(std::move(o), categoryIds) {}
    QString Name() override { return o_.text(L"Name"); }

private:
    LateBound o_;
};

class ComCategories final : public Categories {
public:
    explicit ComCategories(ComPtr<IDispatch> o) : o_(std::move(o), categoriesIds) {}
    int Count() override { return o_.integer(L"Count"); }
    CategoryPtr Item(int index) override {
        return std::make_shared<ComCategory>(o_.callObject(L"Item", {Variant::integer(index)}));
    }

private:
    LateBound o_;
};

class ComNameSpace final : public NameSpace {
public:
    explicit ComNameSpace(ComPtr<IDispatch> o) : o_(std::move(o), namespaceIds) {}
    MAPIFolderPtr GetDefaultFolder(int folderType) override {
        return wrapFolder(o_.callObject(L"GetDefaultFolder", {Variant::integer(folderType)}));
    }
    ItemPtr GetItemFromID(const QString& entryId, const QString& storeId) override {
        ComPtr<IDispatch> item =
            storeId.isEmpty()
                ? o_.callObject(L"GetItemFromID", {Variant::text(entryId)})
                : o_.callObject(L"GetItemFromID", {Variant::text(entryId), Variant::text(storeId)});
        return wrapItem(std::move(item));
    }
    FoldersPtr Folders() override { return std::make_shared<ComFolders>(o_.object(L"Folders")); }
    CategoriesPtr Categories() override {
        return std::make_shared<ComCategories>(o_.object(L"Categories"));
    }

private:
    LateBound o_;
};

class ComInspector final : public Inspector {
public:
    explicit ComInspector(ComPtr<IDispatch> o) : o_(std::move(o), inspectorIds) {}
    ItemPtr CurrentItem() override { return wrapItem(o_.object(L"CurrentItem")); }

private:
    LateBound o_;
};

// The open inspector windows, as the client lists them when asked.
class ComInspectors final : public Inspectors {
public:
    explicit ComInspectors(ComPtr<IDispatch> o) : o_(std::move(o), inspectorsIds) {}
    int Count() override { return o_.integer(L"Count"); }
    InspectorPtr Item(int index) override {
        return std::make_shared<ComInspector>(o_.callObject(L"Item", {Variant::integer(index)}));
    }

private:
    LateBound o_;
};

class ComExplorers final : public Explorers {
public:
    explicit ComExplorers(ComPtr<IDispatch> o) : o_(std::move(o), explorersIds) {}
    int Count() override { return o_.integer(L"Count"); }

private:
    LateBound o_;
};

// The client tells of an inspector's activation through the inspector itself: the
// subscription follows every inspector Inspectors announces, from NewInspector until
// the inspector closes.
class InspectorWatch : public std::enable_shared_from_this<InspectorWatch> {
public:
    explicit InspectorWatch(InspectorActivateHandler handler) : handler_(std::move(handler)) {}
    ~InspectorWatch() { stop(); }

    void start(IDispatch* inspectors) {
        std::weak_ptr<InspectorWatch> self = weak_from_this();
        announced_ = advise(subscriptions_, inspectors, DIID_InspectorsEvents,
                            [self](DISPID id, DISPPARAMS* params, EXCEPINFO* exception) {
                                const auto watch = self.lock();
                                if (!watch || id != DISPID_NewInspector) {
                                    return S_OK;
                                }
                                return guardedEvent(exception, [&] {
                                    watch->follow(ComPtr<IDispatch>(eventObject(params, 0)));
                                });
                            });
    }

    void stop() { subscriptions_.clear(); }

private:
    void follow(ComPtr<IDispatch> inspector) {
        std::weak_ptr<InspectorWatch> self = weak_from_this();
        auto connection = std::make_shared<Connection>();
        *connection = advise(subscriptions_, inspector.get(), DIID_InspectorEvents_10,
                             [self, inspector, weakConnection = std::weak_ptr(connection)](
                                 DISPID id, DISPPARAMS*, EXCEPINFO* exception) {
                                 const auto watch = self.lock();
                                 if (!watch) {
                                     return S_OK;
                                 }
                                 if (id == DISPID_InspectorClose) {
                                     watch->forget(weakConnection.lock());
                                     return S_OK;
                                 }
                                 if (id != DISPID_InspectorActivate) {
                                     return S_OK;
                                 }
                                 return guardedEvent(exception, [&] {
                                     watch->handler_(std::make_shared<ComInspector>(inspector));
                                 });
                             });
        followed_.push_back(std::move(connection));
    }

    void forget(const std::shared_ptr<Connection>& connection) {
        if (!connection) {
            return;
        }
        connection->disconnect();
        std::erase(followed_, connection);
    }

    InspectorActivateHandler handler_;
    Event<> subscriptions_;
    Connection announced_;
    std::vector<std::shared_ptr<Connection>> followed_;
};

class ComApplication final : public Application {
public:
    explicit ComApplication(ComPtr<IDispatch> o) : o_(std::move(o), applicationIds) {}
    ~ComApplication() override { subscriptions_.clear(); }

    QString Version() override { return o_.text(L"Version"); }
    NameSpacePtr Session() override {
        return std::make_shared<ComNameSpace>(o_.object(L"Session"));
    }
    NameSpacePtr GetNamespace(const QString& type) override {
        return std::make_shared<ComNameSpace>(
            o_.callObject(L"GetNamespace", {Variant::text(type)}));
    }
    ItemPtr CreateItem(int itemType) override {
        return wrapItem(o_.callObject(L"CreateItem", {Variant::integer(itemType)}));
    }
    InspectorPtr ActiveInspector() override {
        ComPtr<IDispatch> inspector = o_.callObject(L"ActiveInspector");
        return inspector ? std::make_shared<ComInspector>(std::move(inspector)) : nullptr;
    }
    ExplorersPtr Explorers() override {
        return std::make_shared<ComExplorers>(o_.object(L"Explorers"));
    }
    InspectorsPtr Inspectors() override {
        return std::make_shared<ComInspectors>(o_.object(L"Inspectors"));
    }

    Connection OnItemSend(ItemSendHandler handler) override {
        return advise(
            subscriptions_, o_.object(), DIID_ApplicationEvents_11,
            [handler = std::move(handler)](DISPID id, DISPPARAMS* params, EXCEPINFO* exception) {
                if (id != DISPID_ItemSend) {
                    return S_OK;
                }
                return guardedEvent(exception, [&] {
                    // rgvarg[0]: Cancel, by reference; rgvarg[1]: the item.
                    if (params == nullptr || params->cArgs != 2 ||
                        params->rgvarg[0].vt != (VT_BOOL | VT_BYREF) ||
                        params->rgvarg[0].pboolVal == nullptr) {
                        throw OutlookError(
                            QStringLiteral("The mail client raised ItemSend without Cancel"));
                    }
                    VARIANT_BOOL* cancelArgument = params->rgvarg[0].pboolVal;
                    bool cancel = *cancelArgument != VARIANT_FALSE;
                    const ItemPtr item = wrapItem(ComPtr<IDispatch>(eventObject(params, 1)));
                    handler(item, cancel);
                    *cancelArgument = cancel ? VARIANT_TRUE : VARIANT_FALSE;
                });
            });
    }
    Connection OnQuit(QuitHandler handler) override {
        return advise(subscriptions_, o_.object(), DIID_ApplicationEvents_11,
                      [handler = std::move(handler)](DISPID id, DISPPARAMS*, EXCEPINFO* exception) {
                          return id == DISPID_Quit ? guardedEvent(exception, handler) : S_OK;
                      });
    }
    Connection OnInspectorActivate(InspectorActivateHandler handler) override {
        auto watch = std::make_shared<InspectorWatch>(std::move(handler));
        watch->start(o_.object(L"Inspectors").get());
        // The watch lives as long as the subscription.
        return subscriptions_.connect([] {}, [watch] { watch->stop(); });
    }

private:
    LateBound o_;
    Event<> subscriptions_;
};

}  // namespace

HWND activeWindowHandle(IDispatch* application) {
    try {
        const ComPtr<IDispatch> window =
            LateBound(ComPtr<IDispatch>(application), applicationIds).callObject(L"ActiveWindow");
        // A plain cast of the object is no window: the window comes through IOleWindow.
        const ComPtr<IOleWindow> ole = window.query<IOleWindow>(IID_IOleWindow);
        HWND handle = nullptr;
        if (ole && SUCCEEDED(ole->GetWindow(&handle))) {
            return handle;
        }
    } catch (const OutlookError&) {
        // No window in front (the client is starting or quitting): no owner.
    }
    return nullptr;
}

InspectorPtr comInspector(IDispatch* inspector) {
    return inspector ? std::make_shared<ComInspector>(ComPtr<IDispatch>(inspector)) : nullptr;
}

ApplicationPtr comApplication(IDispatch* application) {
    return std::make_shared<ComApplication>(ComPtr<IDispatch>(application));
}

}  // namespace vantorel::outlook::com
