// The server's members called late-bound: values going in and coming back, the
// coercions the client makes, the HRESULTs it answers and the errors it passes on.

#include "tests/com/LateBound.h"

#include <functional>
#include <optional>

namespace vantorel::host::com::testing {
namespace {

// Two values are the same when they are of the same type and hold the same.
void expectSame(const oc::Variant& actual, const oc::Variant& expected) {
    ASSERT_EQ(actual.type(), expected.type());
    switch (expected.type()) {
        case VT_BSTR:
            EXPECT_EQ(oc::toText(*actual), oc::toText(*expected));
            break;
        case VT_I4:
            EXPECT_EQ((*actual).lVal, (*expected).lVal);
            break;
        case VT_BOOL:
            EXPECT_EQ((*actual).boolVal, (*expected).boolVal);
            break;
        case VT_DATE:
            EXPECT_DOUBLE_EQ((*actual).date, (*expected).date);
            break;
        default:
            ADD_FAILURE() << "no comparison for VARTYPE " << expected.type();
    }
}

oc::Variant text(const char* value) {
    return oc::Variant::text(QString::fromUtf8(value));
}

oc::Variant shortInt(short value) {
    oc::Variant v;
    v.get()->vt = VT_I2;
    v.get()->iVal = value;
    return v;
}

using ServerMembersTest = ServerTest;

TEST_F(ServerMembersTest, WhatIsPutIsReadBackAndSavedThroughTheServer) {
    struct Row {
        const char* label;
        int itemType;
        const wchar_t* member;
        std::function<oc::Variant()> value;
    };
    const Row rows[] = {
        {"mail subject", ol::olMailItem, L"Subject", [] { return text("Quarterly report"); }},
        {"mail body", ol::olMailItem, L"Body", [] { return text("Line one\r\nLine two"); }},
        {"mail To", ol::olMailItem, L"To", [] { return text("ann@example.com"); }},
        {"mail CC", ol::olMailItem, L"CC", [] { return text("bob@example.com"); }},
        {"mail BCC", ol::olMailItem, L"BCC", [] { return text("cy@example.com"); }},
        {"task subject", ol::olTaskItem, L"Subject", [] { return text("Call back"); }},
        {"task categories", ol::olTaskItem, L"Categories", [] { return text("Waiting"); }},
        {"task start date", ol::olTaskItem, L"StartDate",
         [] { return oc::Variant::date(46001.0); }},
        {"task due date", ol::olTaskItem, L"DueDate", [] { return oc::Variant::date(46003.0); }},
        {"task due date none", ol::olTaskItem, L"DueDate",
         [] { return oc::Variant::date(ol::kNoDate); }},
        {"task reminder time", ol::olTaskItem, L"ReminderTime",
         [] { return oc::Variant::date(46002.375); }},
        {"task importance", ol::olTaskItem, L"Importance",
         [] { return oc::Variant::integer(ol::olImportanceHigh); }},
        {"task reminder override", ol::olTaskItem, L"ReminderOverrideDefault",
         [] { return oc::Variant::boolean(true); }},
        {"task reminder set", ol::olTaskItem, L"ReminderSet",
         [] { return oc::Variant::boolean(true); }},
        {"task complete", ol::olTaskItem, L"Complete", [] { return oc::Variant::boolean(true); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Object item = create(row.itemType);
        put(item.get(), row.member, row.value());
        expectSame(get(item.get(), row.member), row.value());
        call(item.get(), L"Save");
        const oc::Variant entryId = get(item.get(), L"EntryID");
        Object again =
            getObject(session().get(), L"GetItemFromID",
                      args(oc::Variant::text(oc::toText(*entryId)), oc::Variant::missing()));
        ASSERT_TRUE(again);
        expectSame(get(again.get(), row.member, {}, kGetFlags), row.value());
    }
}

TEST_F(ServerMembersTest, ReadOnlyMembersAnswerWhatTheEngineHolds) {
    engine->addCategory(QStringLiteral("Red"));
    struct Row {
        const char* label;
        std::function<Object()> object;
        const wchar_t* member;
        std::function<oc::Variant()> expected;
    };
    const Row rows[] = {
        {"version", [&] { return application; }, L"Version", [] { return text("16.0.0.0"); }},
        {"explorers", [&] { return getObject(application.get(), L"Explorers"); }, L"Count",
         [] { return oc::Variant::integer(1); }},
        {"no inspector open", [&] { return getObject(application.get(), L"Inspectors"); }, L"Count",
         [] { return oc::Variant::integer(0); }},
        {"folder name", [&] { return folder(ol::olFolderInbox); }, L"Name",
         [] { return text("Inbox"); }},
        {"folder path", [&] { return folder(ol::olFolderSentMail); }, L"FolderPath",
         [] { return text("\\\\Mailbox\\Sent Items"); }},
        {"categories", [&] { return getObject(session().get(), L"Categories"); }, L"Count",
         [] { return oc::Variant::integer(1); }},
        {"mail class", [&] { return create(ol::olMailItem); }, L"Class",
         [] { return oc::Variant::integer(ol::olMail); }},
        {"mail message class", [&] { return create(ol::olMailItem); }, L"MessageClass",
         [] { return text("IPM.Note"); }},
        {"unsaved entry id", [&] { return create(ol::olMailItem); }, L"EntryID",
         [] { return text(""); }},
        {"unsent", [&] { return create(ol::olMailItem); }, L"Sent",
         [] { return oc::Variant::boolean(false); }},
        {"unsent date", [&] { return create(ol::olMailItem); }, L"SentOn",
         [] { return oc::Variant::date(ol::kNoDate); }},
        {"task class", [&] { return create(ol::olTaskItem); }, L"Class",
         [] { return oc::Variant::integer(ol::olTask); }},
        {"task message class", [&] { return create(ol::olTaskItem); }, L"MessageClass",
         [] { return text("IPM.Task"); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const Object object = row.object();
        ASSERT_TRUE(object);
        expectSame(get(object.get(), row.member, {}, kGetFlags), row.expected());
        expectSame(get(object.get(), row.member, {}, kLateGet), row.expected());
    }
}

TEST_F(ServerMembersTest, FoldersAndItemsAreReachedByIndexNameAndDefaultMember) {
    engine::Delivery first = reply(QStringLiteral("ann@example.com"), QStringLiteral("First"));
    first.headers = {QStringLiteral("X-Test: 1")};
    engine->deliver(first);
    engine->deliver(reply(QStringLiteral("bob@example.com"), QStringLiteral("Second")));

    const Object stores = getObject(session().get(), L"Folders");
    EXPECT_EQ((*get(stores.get(), L"Count")).lVal, 1);
    const Object store = getObject(stores.get(), L"Item", args(oc::Variant::integer(1)));
    EXPECT_EQ(getText(store.get(), L"Name"), QStringLiteral("Mailbox"));
    const Object byName = getObject(stores.get(), L"Item", args(text("Mailbox")));
    EXPECT_EQ(getText(byName.get(), L"EntryID"), getText(store.get(), L"EntryID"));
    const Outcome byDefault = invokeId(getObject(store.get(), L"Folders").get(), DISPID_VALUE,
                                       kLateGet, args(text("Inbox")));
    ASSERT_EQ(byDefault.hr, S_OK);
    EXPECT_EQ(getText(objectOf(byDefault.value).get(), L"EntryID"),
              getText(folder(ol::olFolderInbox).get(), L"EntryID"));

    const Object inbox = items(ol::olFolderInbox);
    EXPECT_EQ((*get(inbox.get(), L"Count")).lVal, 2);
    const Object second = getObject(inbox.get(), L"Item", args(oc::Variant::integer(2)));
    EXPECT_EQ(getText(second.get(), L"Subject"), QStringLiteral("Second"));
    EXPECT_EQ(getText(second.get(), L"SenderEmailAddress"), QStringLiteral("bob@example.com"));
    EXPECT_EQ(get(second.get(), L"ReceivedTime").type(), VT_DATE);
    EXPECT_EQ(getText(getObject(inbox.get(), L"Parent").get(), L"Name"), QStringLiteral("Inbox"));

    const Object firstItem = getObject(inbox.get(), L"Item", args(oc::Variant::integer(1)));
    const Object accessor = getObject(firstItem.get(), L"PropertyAccessor");
    const oc::Variant headers = call(accessor.get(), L"GetProperty",
                                     args(oc::Variant::text(ol::PR_TRANSPORT_MESSAGE_HEADERS)));
    ASSERT_EQ(headers.type(), VT_BSTR);
    EXPECT_TRUE(oc::toText(*headers).contains(QStringLiteral("X-Test: 1")));

    // Tag the second one, then ask for the items that carry the tag.
    const Object properties = getObject(second.get(), L"UserProperties");
    const Object topic =
        getObject(properties.get(), L"Add", args(text("Topic"), oc::Variant::integer(ol::olText)));
    put(topic.get(), L"Value", text("Budget"));
    call(second.get(), L"Save");
    const Object chosen = getObject(inbox.get(), L"Restrict",
                                    args(oc::Variant::text(ol::UserPropertyFilter(
                                        QStringLiteral("Topic"), QStringLiteral("budget")))));
    EXPECT_EQ((*get(chosen.get(), L"Count")).lVal, 1);
    EXPECT_EQ(
        getText(getObject(chosen.get(), L"Item", args(oc::Variant::integer(1))).get(), L"Subject"),
        QStringLiteral("Second"));
}

TEST_F(ServerMembersTest, UserPropertiesAreAddedFoundAndRemoved) {
    const Object task = saved(ol::olTaskItem, QStringLiteral("Follow up"));
    const Object properties = getObject(task.get(), L"UserProperties");
    const Object added =
        getObject(properties.get(), L"Add",
                  args(text("Topic"), oc::Variant::integer(ol::olText), oc::Variant::boolean(false),
                       oc::Variant::integer(ol::olFormatTextText)));
    put(added.get(), L"Value", oc::Variant::integer(7));  // stored as its text
    EXPECT_EQ(getText(added.get(), L"Value"), QStringLiteral("7"));
    EXPECT_EQ((*get(added.get(), L"Type")).lVal, ol::olText);
    EXPECT_EQ((*get(properties.get(), L"Count")).lVal, 1);

    const Object byIndex = getObject(properties.get(), L"Item", args(oc::Variant::integer(1)));
    EXPECT_EQ(getText(byIndex.get(), L"Name"), QStringLiteral("Topic"));
    const Object byName = getObject(properties.get(), L"Item", args(text("topic")));
    EXPECT_EQ(getText(byName.get(), L"Value"), QStringLiteral("7"));
    const Object found =
        getObject(properties.get(), L"Find", args(text("Topic"), oc::Variant::boolean(true)));
    EXPECT_EQ(getText(found.get(), L"Name"), QStringLiteral("Topic"));
    const oc::Variant missing = call(properties.get(), L"Find", args(text("Nope")));
    EXPECT_EQ(missing.type(), VT_DISPATCH);
    EXPECT_EQ((*missing).pdispVal, nullptr);

    call(properties.get(), L"Remove", args(oc::Variant::integer(1)));
    EXPECT_EQ((*get(properties.get(), L"Count")).lVal, 0);
    const Object again =
        getObject(properties.get(), L"Add", args(text("Other"), oc::Variant::integer(ol::olText)));
    call(again.get(), L"Delete");
    EXPECT_EQ((*get(properties.get(), L"Count")).lVal, 0);
}

TEST_F(ServerMembersTest, MessagesSendForwardAndShowTheirRecipients) {
    const Object mail = create(ol::olMailItem);
    put(mail.get(), L"Subject", text("Plans"));
    put(mail.get(), L"To", text("Ann Lee <ann@example.com>"));
    const Object recipients = getObject(mail.get(), L"Recipients");
    EXPECT_EQ((*get(recipients.get(), L"Count")).lVal, 1);
    EXPECT_EQ((*call(recipients.get(), L"ResolveAll")).boolVal, VARIANT_TRUE);
    const Object ann = getObject(recipients.get(), L"Item", args(oc::Variant::integer(1)));
    EXPECT_EQ(getText(ann.get(), L"Name"), QStringLiteral("Ann Lee"));
    EXPECT_EQ(getText(ann.get(), L"Address"), QStringLiteral("ann@example.com"));
    EXPECT_EQ((*get(ann.get(), L"Type")).lVal, ol::olTo);
    EXPECT_EQ((*get(ann.get(), L"Resolved")).boolVal, VARIANT_TRUE);
    const Object entry = getObject(ann.get(), L"AddressEntry");
    EXPECT_EQ(getText(entry.get(), L"Type"), QStringLiteral("SMTP"));
    EXPECT_EQ(getText(entry.get(), L"Address"), QStringLiteral("ann@example.com"));

    const Object forward = getObject(mail.get(), L"Forward");
    EXPECT_EQ(getText(forward.get(), L"Subject"), QStringLiteral("FW: Plans"));
    EXPECT_EQ(getText(forward.get(), L"ConversationTopic"), QStringLiteral("Plans"));

    call(mail.get(), L"Send");
    const Object sentItems = items(ol::olFolderSentMail);
    ASSERT_EQ((*get(sentItems.get(), L"Count")).lVal, 1);
    const Object copy = getObject(sentItems.get(), L"Item", args(oc::Variant::integer(1)));
    EXPECT_EQ((*get(copy.get(), L"Sent")).boolVal, VARIANT_TRUE);
    EXPECT_EQ(getText(copy.get(), L"SenderEmailAddress"), QStringLiteral("user@vantorel.example"));
    EXPECT_NE((*get(copy.get(), L"SentOn")).date, ol::kNoDate);
}

TEST_F(ServerMembersTest, MeetingRequestsAndTasksGetTheirKindsMembers) {
    engine::Delivery request = reply(QStringLiteral("cy@example.com"), QStringLiteral("RE: Sync"));
    request.meetingRequest = true;
    engine->deliver(request);
    const Object meeting =
        getObject(items(ol::olFolderInbox).get(), L"Item", args(oc::Variant::integer(1)));
    EXPECT_EQ((*get(meeting.get(), L"Class")).lVal, ol::olMeetingRequest);
    EXPECT_EQ(getText(meeting.get(), L"ConversationTopic"), QStringLiteral("Sync"));
    EXPECT_EQ(getText(meeting.get(), L"SenderEmailAddress"), QStringLiteral("cy@example.com"));
    // A meeting request has no recipients to ask for, a task no Send.
    EXPECT_EQ(invoke(meeting.get(), L"Recipients", kLateGet).hr, DISP_E_UNKNOWNNAME);
    const Object task = create(ol::olTaskItem);
    EXPECT_EQ(invoke(task.get(), L"Send", DISPATCH_METHOD).hr, DISP_E_UNKNOWNNAME);

    call(task.get(), L"MarkComplete");
    EXPECT_EQ((*get(task.get(), L"Complete")).boolVal, VARIANT_TRUE);
}

TEST_F(ServerMembersTest, ArgumentsAreCoercedAsTheClientCoercesThem) {
    LONG byReference = ol::olFolderInbox;
    oc::Variant reference;
    reference.get()->vt = VT_I4 | VT_BYREF;
    reference.get()->plVal = &byReference;
    struct Row {
        const char* label;
        std::function<QString()> actual;
        QString expected;
    };
    const Row rows[] = {
        {"item type as text",
         [&] {
             return oc::toText(
                 *get(getObject(application.get(), L"CreateItem", args(text("3"))).get(),
                      L"MessageClass"));
         },
         QStringLiteral("IPM.Task")},
        {"item type as a short",
         [&] {
             return oc::toText(*get(
                 getObject(application.get(), L"CreateItem", args(shortInt(ol::olMailItem))).get(),
                 L"MessageClass"));
         },
         QStringLiteral("IPM.Note")},
        {"folder by reference",
         [&] {
             return getText(getObject(session().get(), L"GetDefaultFolder", args(reference)).get(),
                            L"Name");
         },
         QStringLiteral("Inbox")},
        {"importance as text",
         [&] {
             const Object task = create(ol::olTaskItem);
             put(task.get(), L"Importance", text("2"));
             return oc::toText(*get(task.get(), L"Importance"));
         },
         QStringLiteral("2")},
        {"complete as a number",
         [&] {
             const Object task = create(ol::olTaskItem);
             put(task.get(), L"Complete", oc::Variant::integer(1));
             return QString::number((*get(task.get(), L"Complete")).boolVal);
         },
         QString::number(VARIANT_TRUE)},
        {"subject as a number",
         [&] {
             const Object task = create(ol::olTaskItem);
             put(task.get(), L"Subject", shortInt(42));
             return getText(task.get(), L"Subject");
         },
         QStringLiteral("42")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(row.actual(), row.expected);
    }
}

TEST_F(ServerMembersTest, NamesResolveWithoutRegardToCaseToOneDispidPerMemberOfAClass) {
    const Object mail = create(ol::olMailItem);
    const Object task = create(ol::olTaskItem);
    const DISPID subject = idOf(mail.get(), L"Subject");
    EXPECT_NE(subject, DISPID_UNKNOWN);
    EXPECT_EQ(idOf(mail.get(), L"SUBJECT"), subject);
    EXPECT_EQ(idOf(mail.get(), L"subject"), subject);
    EXPECT_EQ(idOf(create(ol::olMailItem).get(), L"Subject"), subject);
    // Each class numbers its members on its own: a message's id is unknown to a task.
    const DISPID taskSubject = idOf(task.get(), L"Subject");
    EXPECT_NE(taskSubject, DISPID_UNKNOWN);
    EXPECT_NE(taskSubject, subject);
    EXPECT_EQ(invokeId(task.get(), subject, DISPATCH_PROPERTYGET, {}).hr, DISP_E_MEMBERNOTFOUND);
    EXPECT_NE(idOf(task.get(), L"Class"), idOf(mail.get(), L"Class"));

    LPOLESTR names[] = {const_cast<LPOLESTR>(L"Nonesuch")};
    DISPID id = 0;
    EXPECT_EQ(mail->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
              DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
}

TEST_F(ServerMembersTest, CallsTheClientRefusesGetItsHresults) {
    const Object mail = create(ol::olMailItem);
    const Object properties = getObject(mail.get(), L"UserProperties");
    struct Row {
        const char* label;
        IDispatch* object;
        const wchar_t* member;
        WORD flags;
        std::vector<oc::Variant> arguments;
        std::vector<DISPID> named;
        HRESULT expected;
        std::optional<UINT> argumentError;
    };
    std::vector<Row> rows;
    rows.push_back({"method without its argument",
                    application.get(),
                    L"CreateItem",
                    DISPATCH_METHOD,
                    {},
                    {},
                    DISP_E_BADPARAMCOUNT,
                    {}});
    rows.push_back({"method with one argument too many",
                    application.get(),
                    L"CreateItem",
                    DISPATCH_METHOD,
                    args(oc::Variant::integer(0), oc::Variant::integer(0)),
                    {},
                    DISP_E_BADPARAMCOUNT,
                    {}});
    rows.push_back({"property get with an argument",
                    mail.get(),
                    L"Subject",
                    kLateGet,
                    args(oc::Variant::integer(1)),
                    {},
                    DISP_E_BADPARAMCOUNT,
                    {}});
    rows.push_back({"argument that is no number",
                    application.get(),
                    L"CreateItem",
                    DISPATCH_METHOD,
                    args(text("mail")),
                    {},
                    DISP_E_TYPEMISMATCH,
                    0u});
    rows.push_back({"second of three arguments is no number",
                    properties.get(),
                    L"Add",
                    DISPATCH_METHOD,
                    args(text("Topic"), text("text"), oc::Variant::boolean(false)),
                    {},
                    DISP_E_TYPEMISMATCH,
                    1u});
    rows.push_back(
        {"last of four arguments is no number",
         properties.get(),
         L"Add",
         DISPATCH_METHOD,
         args(text("Topic"), oc::Variant::integer(1), oc::Variant::boolean(false), text("general")),
         {},
         DISP_E_TYPEMISMATCH,
         0u});
    rows.push_back({"put on a read-only property",
                    application.get(),
                    L"Version",
                    DISPATCH_PROPERTYPUT,
                    args(text("17.0")),
                    {DISPID_PROPERTYPUT},
                    DISP_E_MEMBERNOTFOUND,
                    {}});
    rows.push_back({"get of a method",
                    mail.get(),
                    L"Save",
                    DISPATCH_PROPERTYGET,
                    {},
                    {},
                    DISP_E_MEMBERNOTFOUND,
                    {}});
    rows.push_back({"property called as a method only",
                    mail.get(),
                    L"Subject",
                    DISPATCH_METHOD,
                    {},
                    {},
                    DISP_E_MEMBERNOTFOUND,
                    {}});
    rows.push_back({"put by reference",
                    mail.get(),
                    L"Subject",
                    DISPATCH_PROPERTYPUTREF,
                    args(text("x")),
                    {DISPID_PROPERTYPUT},
                    DISP_E_MEMBERNOTFOUND,
                    {}});
    rows.push_back({"put without its named argument",
                    mail.get(),
                    L"Subject",
                    DISPATCH_PROPERTYPUT,
                    args(text("x")),
                    {},
                    DISP_E_PARAMNOTFOUND,
                    {}});
    rows.push_back({"put with another named argument",
                    mail.get(),
                    L"Subject",
                    DISPATCH_PROPERTYPUT,
                    args(text("x")),
                    {1},
                    DISP_E_NONAMEDARGS,
                    {}});
    rows.push_back({"put of two values",
                    mail.get(),
                    L"Subject",
                    DISPATCH_PROPERTYPUT,
                    args(text("x"), text("y")),
                    {DISPID_PROPERTYPUT},
                    DISP_E_BADPARAMCOUNT,
                    {}});
    rows.push_back({"method with a named argument",
                    application.get(),
                    L"CreateItem",
                    DISPATCH_METHOD,
                    args(oc::Variant::integer(0)),
                    {1},
                    DISP_E_NONAMEDARGS,
                    {}});
    for (Row& row : rows) {
        SCOPED_TRACE(row.label);
        const Outcome out = invokeId(row.object, idOf(row.object, row.member), row.flags,
                                     std::move(row.arguments), row.named);
        EXPECT_EQ(out.hr, row.expected);
        if (row.argumentError) {
            EXPECT_EQ(out.argumentError, *row.argumentError);
        }
    }
    EXPECT_EQ(invokeId(mail.get(), 0x7777, kLateGet, {}).hr, DISP_E_MEMBERNOTFOUND);
    // Nothing was changed by the refused calls.
    EXPECT_EQ(getText(application.get(), L"Version"), QStringLiteral("16.0.0.0"));
    EXPECT_EQ(getText(mail.get(), L"Subject"), QString());
}

TEST_F(ServerMembersTest, EngineErrorsArriveWithTheEnginesText) {
    const Object mail = saved(ol::olMailItem, QStringLiteral("Hello"));
    const Object task = saved(ol::olTaskItem, QStringLiteral("Chase"));
    const ol::TaskItemPtr engineTask = ol::asTaskItem(app->CreateItem(ol::olTaskItem));
    const auto engineError = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const ol::OutlookError& e) {
            return e.text();
        }
        return QStringLiteral("(no error)");
    };
    struct Row {
        const char* label;
        std::function<Outcome()> call;
        QString expected;
    };
    const Row rows[] = {
        {"unknown entry id",
         [&] {
             return invoke(session().get(), L"GetItemFromID", DISPATCH_METHOD,
                           args(text("00DEAD")));
         },
         engineError([&] { ns->GetItemFromID(QStringLiteral("00DEAD")); })},
        {"unknown namespace",
         [&] {
             return invoke(application.get(), L"GetNamespace", DISPATCH_METHOD, args(text("XYZ")));
         },
         engineError([&] { app->GetNamespace(QStringLiteral("XYZ")); })},
        {"item index out of range",
         [&] {
             return invoke(items(ol::olFolderInbox).get(), L"Item", kLateGet,
                           args(oc::Variant::integer(5)));
         },
         engineError([&] { ns->GetDefaultFolder(ol::olFolderInbox)->Items()->Item(5); })},
        {"modal display",
         [&] {
             return invoke(mail.get(), L"Display", DISPATCH_METHOD,
                           args(oc::Variant::boolean(true)));
         },
         engineError([&] { engineTask->Display(true); })},
        {"importance out of range",
         [&] {
             return invoke(task.get(), L"Importance", DISPATCH_PROPERTYPUT,
                           args(oc::Variant::integer(7)));
         },
         engineError([&] { engineTask->SetImportance(7); })},
        {"filter the engine cannot read",
         [&] {
             return invoke(items(ol::olFolderTasks).get(), L"Restrict", DISPATCH_METHOD,
                           args(text("[Subject] = 'Chase'")));
         },
         engineError([&] {
             ns->GetDefaultFolder(ol::olFolderTasks)
                 ->Items()
                 ->Restrict(QStringLiteral("[Subject] = 'Chase'"));
         })},
        {"user property of an unknown name",
         [&] {
             return invoke(getObject(task.get(), L"UserProperties").get(), L"Item", kLateGet,
                           args(text("Nope")));
         },
         QStringLiteral("The operation failed. An object could not be found.")},
        {"user property of no display format the client has (0)",
         [&] {
             return invoke(getObject(task.get(), L"UserProperties").get(), L"Add", DISPATCH_METHOD,
                           args(text("Topic"), oc::Variant::integer(ol::olText),
                                oc::Variant::boolean(false), oc::Variant::integer(0)));
         },
         QStringLiteral("The value is out of range.")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        ASSERT_NE(row.expected, QStringLiteral("(no error)"));
        const Outcome out = row.call();
        EXPECT_EQ(out.hr, DISP_E_EXCEPTION);
        EXPECT_EQ(out.description, row.expected);
        EXPECT_EQ(out.source, QStringLiteral("Microsoft Outlook"));
        EXPECT_EQ(out.code, 0);
        EXPECT_EQ(out.scode, E_FAIL);
    }
}

TEST_F(ServerMembersTest, ObjectsAnswerOnlyTheirInterfaces) {
    const Object mail = create(ol::olMailItem);
    const Object inbox = items(ol::olFolderInbox);
    const Object inspectors = getObject(application.get(), L"Inspectors");
    struct Row {
        const char* label;
        IDispatch* object;
        IID iid;
        bool answered;
    };
    const Row rows[] = {
        {"item as IUnknown", mail.get(), IID_IUnknown, true},
        {"item as IDispatch", mail.get(), IID_IDispatch, true},
        {"item has no events", mail.get(), IID_IConnectionPointContainer, false},
        {"item is no stream", mail.get(), IID_IStream, false},
        {"items have events", inbox.get(), IID_IConnectionPointContainer, true},
        {"inspectors have events", inspectors.get(), IID_IConnectionPointContainer, true},
        {"application has events", application.get(), IID_IConnectionPointContainer, true},
        {"application is no type library", application.get(), IID_ITypeLib, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        void* out = reinterpret_cast<void*>(1);
        const HRESULT hr = row.object->QueryInterface(row.iid, &out);
        if (row.answered) {
            EXPECT_EQ(hr, S_OK);
            ASSERT_NE(out, nullptr);
            static_cast<IUnknown*>(out)->Release();
        } else {
            EXPECT_EQ(hr, E_NOINTERFACE);
            EXPECT_EQ(out, nullptr);
        }
    }
}

TEST_F(ServerMembersTest, ApplicationAndInspectorsKeepOneObjectWhileAlive) {
    const int before = liveServerObjects();
    EXPECT_EQ(makeApplicationServer(app).get(), application.get());
    const Object inspectors = getObject(application.get(), L"Inspectors");
    EXPECT_EQ(getObject(application.get(), L"Inspectors").get(), inspectors.get());
    EXPECT_EQ(liveServerObjects(), before + 1);

    const Object mail = saved(ol::olMailItem, QStringLiteral("Look"));
    call(mail.get(), L"Display");
    const Object active = getObject(application.get(), L"ActiveInspector");
    ASSERT_TRUE(active);
    EXPECT_EQ(getObject(application.get(), L"ActiveInspector").get(), active.get());
    EXPECT_EQ(getText(getObject(active.get(), L"CurrentItem").get(), L"Subject"),
              QStringLiteral("Look"));
    EXPECT_EQ((*get(inspectors.get(), L"Count")).lVal, 1);

    engine->close(engine->inspectors().front());
    const oc::Variant none = call(application.get(), L"ActiveInspector");
    EXPECT_EQ(none.type(), VT_DISPATCH);
    EXPECT_EQ((*none).pdispVal, nullptr);
}

}  // namespace
}  // namespace vantorel::host::com::testing
