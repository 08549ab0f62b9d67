#pragma once

// The mail client's object model, as far as the add-in drives it: the objects,
// members and constants keep the names the mail client's automation interface
// gives them, so code reads like code written against the real thing.
//
// Conventions
// - Getters carry the member's name (Subject()), setters prefix it with Set
//   (SetSubject()); methods keep their names (Save(), Send(), GetItemFromID()).
// - Objects are shared: every accessor returns a std::shared_ptr. An item object
//   is a snapshot of the stored item, fetched anew by each lookup; changes reach
//   the store with Save() (or Send()). Keep EntryIDs, not objects, between uses.
// - Collections count from 1; an index outside 1..Count() throws.
// - Every failure throws OutlookError with the host's error text.
// - Date-times are doubles: days since 1899-12-30 00:00 on the local wall clock,
//   the time of day as the fraction. kNoDate (949998.0, 4501-01-01) means "none",
//   as the mail client reports an unset date.
// - Texts are QString; user property values are texts.
// - Events call their handlers in the order of subscription. An exception that
//   leaves a handler does not reach the call that raised the event (a save, a
//   send, an arrival): the host reports it and calls the next handler.
// - Everything runs on the user-interface thread; nothing here is thread-safe.
//
// The mail client calls its interfaces _MailItem and _TaskItem; a leading
// underscore with a capital letter is reserved in C++, so they appear here under
// the names of the mail client's item classes, MailItem and TaskItem.

#include "outlook/Event.h"
#include "outlook/OutlookError.h"

#include <QString>

#include <functional>
#include <memory>

namespace vantorel::outlook {

using DateTime = double;
inline constexpr DateTime kNoDate = 949998.0;

// CreateItem
enum OlItemType : int { olMailItem = 0, olTaskItem = 3 };

// GetDefaultFolder
enum OlDefaultFolders : int {
    olFolderDeletedItems = 3,
    olFolderOutbox = 4,
    olFolderSentMail = 5,
    olFolderInbox = 6,
    olFolderTasks = 13,
    olFolderDrafts = 16,
};

// Item::Class
enum OlObjectClass : int { olMail = 43, olTask = 48, olMeetingRequest = 53 };

// UserProperties::Add
enum OlUserPropertyType : int { olText = 1 };
// The display formats of an olText property: one, plain text. Others are refused.
enum OlFormatText : int { olFormatTextText = 1 };

// Recipient::Type
enum OlMailRecipientType : int { olOriginator = 0, olTo = 1, olCC = 2, olBCC = 3 };

// TaskItem::Importance
enum OlImportance : int { olImportanceLow = 0, olImportanceNormal = 1, olImportanceHigh = 2 };

class AddressEntry;
class Application;
class Categories;
class Category;
class Explorers;
class Folders;
class Inspector;
class Inspectors;
class Item;
class Items;
class MAPIFolder;
class PropertyAccessor;
class MailItem;
class MeetingItem;
class NameSpace;
class Recipient;
class Recipients;
class TaskItem;
class UserProperties;
class UserProperty;

using AddressEntryPtr = std::shared_ptr<AddressEntry>;
using ApplicationPtr = std::shared_ptr<Application>;
using CategoriesPtr = std::shared_ptr<Categories>;
using CategoryPtr = std::shared_ptr<Category>;
using ExplorersPtr = std::shared_ptr<Explorers>;
using FoldersPtr = std::shared_ptr<Folders>;
using InspectorPtr = std::shared_ptr<Inspector>;
using InspectorsPtr = std::shared_ptr<Inspectors>;
using ItemPtr = std::shared_ptr<Item>;
using ItemsPtr = std::shared_ptr<Items>;
using MAPIFolderPtr = std::shared_ptr<MAPIFolder>;
using MailItemPtr = std::shared_ptr<MailItem>;
using MeetingItemPtr = std::shared_ptr<MeetingItem>;
using PropertyAccessorPtr = std::shared_ptr<PropertyAccessor>;
using NameSpacePtr = std::shared_ptr<NameSpace>;
using RecipientPtr = std::shared_ptr<Recipient>;
using RecipientsPtr = std::shared_ptr<Recipients>;
using TaskItemPtr = std::shared_ptr<TaskItem>;
using UserPropertiesPtr = std::shared_ptr<UserProperties>;
using UserPropertyPtr = std::shared_ptr<UserProperty>;

using ItemSendHandler = std::function<void(const ItemPtr& item, bool& cancel)>;
using ItemAddHandler = std::function<void(const ItemPtr& item)>;
using QuitHandler = std::function<void()>;
using InspectorActivateHandler = std::function<void(const InspectorPtr& inspector)>;

class Application {
public:
    virtual ~Application();

    // "16.0.0.0": the major version, ".", and more.
    virtual QString Version() = 0;
    virtual NameSpacePtr Session() = 0;
    // Only "MAPI" is known.
    virtual NameSpacePtr GetNamespace(const QString& type) = 0;
    // A new, unsaved item: olMailItem (saved into Drafts) or olTaskItem (into Tasks).
    virtual ItemPtr CreateItem(int itemType) = 0;
    // The topmost open inspector window; null when none is open.
    virtual InspectorPtr ActiveInspector() = 0;
    virtual ExplorersPtr Explorers() = 0;
    // The open inspector windows. A mail client that does not list them throws
    // OutlookError (the default).
    virtual InspectorsPtr Inspectors();

    // Raised inside MailItem::Send, before the message leaves; cancel = true stops
    // the send. Changes made to the item here travel with the sent copy.
    [[nodiscard]] virtual Connection OnItemSend(ItemSendHandler handler) = 0;
    [[nodiscard]] virtual Connection OnQuit(QuitHandler handler) = 0;
    // Raised when an inspector window becomes the active window.
    [[nodiscard]] virtual Connection OnInspectorActivate(InspectorActivateHandler handler) = 0;
};

class NameSpace {
public:
    virtual ~NameSpace();

    // The default store's folder: olFolderSentMail, olFolderInbox, olFolderTasks, ...
    virtual MAPIFolderPtr GetDefaultFolder(int folderType) = 0;
    // The item with that EntryID in any store (storeId may be empty); throws for an
    // unknown or deleted item.
    virtual ItemPtr GetItemFromID(const QString& entryId, const QString& storeId = {}) = 0;
    // The top-level folder of every store, the default store first.
    virtual FoldersPtr Folders() = 0;
    // The profile's master category list.
    virtual CategoriesPtr Categories() = 0;
};

class Folders {
public:
    virtual ~Folders();
    virtual int Count() = 0;
    virtual MAPIFolderPtr Item(int index) = 0;
    // By name, exactly as spelled; throws when there is none.
    virtual MAPIFolderPtr Item(const QString& name) = 0;
};

class MAPIFolder {
public:
    virtual ~MAPIFolder();
    virtual QString Name() = 0;
    virtual QString EntryID() = 0;
    // "\\Store\\Parent\\Name".
    virtual QString FolderPath() = 0;
    virtual FoldersPtr Folders() = 0;
    virtual ItemsPtr Items() = 0;
};

class Items {
public:
    virtual ~Items();
    // Live: counts the folder's items at the time of the call.
    virtual int Count() = 0;
    virtual ItemPtr Item(int index) = 0;
    virtual MAPIFolderPtr Parent() = 0;
    // Raised for each item that arrives in the folder: a first save, a delivery,
    // a sent copy, a deleted item. Of a restricted collection: each one that meets
    // its condition when it arrives.
    [[nodiscard]] virtual Connection OnItemAdd(ItemAddHandler handler) = 0;
    // The items of this collection that meet FILTER, in their order, as a collection
    // of its own chosen at the time of the call (each item handed out as it is then). The filter
    // names a user property and the text it holds, in the mail client's query language:
    //   @SQL="http://schemas.microsoft.com/mapi/string/{00020329-0000-0000-C000-000000000046}/Topic/0000001f"
    //   = 'It''s done'
    // (a ' inside the text doubled); texts compare without regard to letter case. The
    // name carries its type (/0000001f, or /0000001e) unless the property is a field of
    // the folder (UserProperties::Add with addToFolderFields). Any other filter fails
    // with "Cannot parse condition. ...".
    virtual ItemsPtr Restrict(const QString& filter) = 0;
};

// The schema name of the user property NAME, for filters (see Items::Restrict).
QString UserPropertySchemaName(const QString& name);
// The filter for the items whose user property NAME holds TEXT, the name typed as a
// text, so that it is understood in any folder.
QString UserPropertyFilter(const QString& name, const QString& text);

// What every kind of item has.
class Item {
public:
    virtual ~Item();
    virtual int Class() = 0;  // OlObjectClass
    // The form the item is of: "IPM.Note" for a message, "IPM.Task" for a task,
    // "IPM.Schedule.Meeting.Request" for a meeting request; mail the server or a
    // rule writes carries its own ("IPM.Note.Rules.OofTemplate.Microsoft" for an
    // out-of-office reply, "IPM.Report.*" for delivery reports).
    virtual QString MessageClass() = 0;
    // Empty until the item is first saved.
    virtual QString EntryID() = 0;
    virtual QString Subject() = 0;
    virtual void SetSubject(const QString& value) = 0;
    virtual QString Body() = 0;
    virtual void SetBody(const QString& value) = 0;
    virtual UserPropertiesPtr UserProperties() = 0;
    virtual void Save() = 0;
    // Moves the item to Deleted Items (removes it there); its EntryID stops resolving.
    virtual void Delete() = 0;
    // Opens the item in its own window; modal display is not offered.
    virtual void Display(bool modal = false) = 0;

protected:
    friend MailItemPtr asMailItem(const ItemPtr& item);
    friend TaskItemPtr asTaskItem(const ItemPtr& item);
    friend MeetingItemPtr asMeetingItem(const ItemPtr& item);
    // The item as that kind of item, or null: what the mail client's objects answer
    // when asked for another of their interfaces. The kinds of item below answer for
    // themselves, so the helpers at the end need no run-time type search (the reply
    // watch and the poll ask it of every task).
    virtual MailItem* queryMailItem() { return nullptr; }
    virtual TaskItem* queryTaskItem() { return nullptr; }
    virtual MeetingItem* queryMeetingItem() { return nullptr; }
};

class MailItem : public Item {
public:
    // The subject without leading reply and forward prefixes ("RE: ", "FW: ", ...),
    // kept from the first message of the conversation.
    virtual QString ConversationTopic() = 0;
    // Empty until the message is sent.
    virtual QString SenderEmailAddress() = 0;
    virtual QString SenderName() = 0;
    // Display names of the recipients of that type, joined by "; ". Setting one
    // replaces the recipients of that type with the entries of the text.
    virtual QString To() = 0;
    virtual void SetTo(const QString& value) = 0;
    virtual QString CC() = 0;
    virtual void SetCC(const QString& value) = 0;
    virtual QString BCC() = 0;
    virtual void SetBCC(const QString& value) = 0;
    virtual RecipientsPtr Recipients() = 0;
    virtual bool Sent() = 0;
    virtual DateTime SentOn() = 0;        // kNoDate until sent
    virtual DateTime ReceivedTime() = 0;  // kNoDate for a message not received
    // Raises Application's ItemSend; unless cancelled the message leaves Drafts and
    // its sent copy, with a new EntryID, arrives in Sent Items.
    virtual void Send() = 0;
    // A new, unsent message quoting this one, subject "FW: " + Subject().
    virtual MailItemPtr Forward() = 0;
    // The message's MAPI properties by schema name (see PropertyAccessor).
    virtual PropertyAccessorPtr PropertyAccessor() = 0;

protected:
    MailItem* queryMailItem() override { return this; }
};

// The internet headers of a received message, as the transport handed them over:
// "Name: value" lines ending in CR LF, continuation lines as received. A message
// that did not come over the internet (one written or sent here) has none.
inline const QString PR_TRANSPORT_MESSAGE_HEADERS =
    QStringLiteral("http://schemas.microsoft.com/mapi/proptag/0x007D001F");
// The same property read as an 8-bit string, as older code names it.
inline const QString PR_TRANSPORT_MESSAGE_HEADERS_A =
    QStringLiteral("http://schemas.microsoft.com/mapi/proptag/0x007D001E");

// Read access to an item's properties by schema name; only the text properties
// named above are offered.
class PropertyAccessor {
public:
    virtual ~PropertyAccessor();
    // Throws for a property the item does not have.
    virtual QString GetProperty(const QString& schemaName) = 0;
};

class TaskItem : public Item {
public:
    virtual QString Categories() = 0;
    virtual void SetCategories(const QString& value) = 0;
    virtual DateTime StartDate() = 0;
    virtual void SetStartDate(DateTime value) = 0;
    virtual DateTime DueDate() = 0;
    virtual void SetDueDate(DateTime value) = 0;
    virtual int Importance() = 0;
    // 0..2 (OlImportance); another value throws.
    virtual void SetImportance(int value) = 0;
    virtual bool ReminderOverrideDefault() = 0;
    virtual void SetReminderOverrideDefault(bool value) = 0;
    virtual bool ReminderSet() = 0;
    virtual void SetReminderSet(bool value) = 0;
    virtual DateTime ReminderTime() = 0;
    virtual void SetReminderTime(DateTime value) = 0;
    virtual bool Complete() = 0;
    virtual void SetComplete(bool value) = 0;
    // Sets Complete; like every change it needs Save().
    virtual void MarkComplete() = 0;

protected:
    TaskItem* queryTaskItem() override { return this; }
};

// A meeting request, as it arrives in an Inbox.
class MeetingItem : public Item {
public:
    virtual QString ConversationTopic() = 0;
    virtual QString SenderEmailAddress() = 0;
    virtual QString SenderName() = 0;
    virtual DateTime ReceivedTime() = 0;

protected:
    MeetingItem* queryMeetingItem() override { return this; }
};

class UserProperties {
public:
    virtual ~UserProperties();
    virtual int Count() = 0;
    // In the order the properties were added.
    virtual UserPropertyPtr Item(int index) = 0;
    // Null when the item has no property of that name (names ignore letter case).
    virtual UserPropertyPtr Item(const QString& name) = 0;
    // Adds a property (only olText is offered); a name the item has already gives
    // that property back.
    virtual UserPropertyPtr Add(const QString& name, int type, bool addToFolderFields = false,
                                int displayFormat = olFormatTextText) = 0;
    virtual void Remove(int index) = 0;
};

class UserProperty {
public:
    virtual ~UserProperty();
    virtual QString Name() = 0;
    virtual int Type() = 0;  // OlUserPropertyType
    virtual QString Value() = 0;
    virtual void SetValue(const QString& value) = 0;
    // Removes the property from its item (it goes with the item's next Save()).
    virtual void Delete() = 0;
};

class Recipients {
public:
    virtual ~Recipients();
    virtual int Count() = 0;
    virtual RecipientPtr Item(int index) = 0;
    // True when every recipient resolves to an address-book entry or an address.
    virtual bool ResolveAll() = 0;
};

class Recipient {
public:
    virtual ~Recipient();
    virtual QString Name() = 0;
    // An e-mail address, or an Exchange (X.500) address for an "EX" entry.
    virtual QString Address() = 0;
    virtual int Type() = 0;  // OlMailRecipientType
    virtual bool Resolved() = 0;
    virtual AddressEntryPtr AddressEntry() = 0;
};

class AddressEntry {
public:
    virtual ~AddressEntry();
    virtual QString Name() = 0;
    virtual QString Address() = 0;
    // "SMTP" or "EX" (an Exchange entry).
    virtual QString Type() = 0;
};

class Inspector {
public:
    virtual ~Inspector();
    // The item the window shows: the same object for the window's whole life.
    virtual ItemPtr CurrentItem() = 0;
};

class Inspectors {
public:
    virtual ~Inspectors();
    virtual int Count() = 0;
    virtual InspectorPtr Item(int index) = 0;
};

class Categories {
public:
    virtual ~Categories();
    virtual int Count() = 0;
    virtual CategoryPtr Item(int index) = 0;
};

class Category {
public:
    virtual ~Category();
    virtual QString Name() = 0;
};

class Explorers {
public:
    virtual ~Explorers();
    // The main windows open.
    virtual int Count() = 0;
};

// "As a MailItem" (or TaskItem, MeetingItem): the item, when it is one; null for
// another kind of item, and for null.
MailItemPtr asMailItem(const ItemPtr& item);
TaskItemPtr asTaskItem(const ItemPtr& item);
MeetingItemPtr asMeetingItem(const ItemPtr& item);

}  // namespace vantorel::outlook
