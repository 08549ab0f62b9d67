// Items, folders and collections as the add-in uses them.

#include "EngineFixture.h"

#include <QRegularExpression>

namespace vantorel::engine::testing {
namespace {

using ::testing::HasSubstr;

QString errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const ol::OutlookError& e) {
        return e.text();
    }
    return QStringLiteral("(no error)");
}

TEST_F(EngineTest, EntryIdIsGivenOnFirstSaveAndKept) {
    ol::TaskItemPtr task = ol::asTaskItem(app->CreateItem(ol::olTaskItem));
    EXPECT_EQ(task->EntryID(), QString());
    task->Save();
    const QString id = task->EntryID();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{16,}$")).match(id).hasMatch())
        << id.toStdString();
    task->SetSubject(QStringLiteral("again"));
    task->Save();
    EXPECT_EQ(task->EntryID(), id);
    EXPECT_EQ(ns->GetItemFromID(id)->Subject(), QStringLiteral("again"));
    EXPECT_EQ(ns->GetItemFromID(id.toLower(), QString())->EntryID(), id);

    ol::MailItemPtr mail = newMail(QStringLiteral("ann@example.com"), QStringLiteral("Offer"));
    mail->Save();
    EXPECT_NE(mail->EntryID(), id);
    EXPECT_EQ(items(ol::olFolderTasks)->Count(), 1);
    EXPECT_EQ(items(ol::olFolderDrafts)->Count(), 1);
    EXPECT_EQ(items(ol::olFolderDrafts)->Item(1)->EntryID(), mail->EntryID());
}

TEST_F(EngineTest, CollectionsCountFromOneAndCountIsLive) {
    ol::ItemsPtr tasks = items(ol::olFolderTasks);
    EXPECT_EQ(tasks->Count(), 0);
    newTask(QStringLiteral("first"));
    newTask(QStringLiteral("second"));
    newTask(QStringLiteral("third"));
    EXPECT_EQ(tasks->Count(), 3);
    EXPECT_EQ(tasks->Item(1)->Subject(), QStringLiteral("first"));
    EXPECT_EQ(tasks->Item(3)->Subject(), QStringLiteral("third"));
    for (const int index : {0, 4, -1}) {
        EXPECT_EQ(errorOf([&] { tasks->Item(index); }),
                  QStringLiteral("Array index out of bounds."));
    }
    EXPECT_EQ(tasks->Parent()->Name(), QStringLiteral("Tasks"));

    ol::FoldersPtr stores = ns->Folders();
    ASSERT_EQ(stores->Count(), 1);
    ol::FoldersPtr top = stores->Item(1)->Folders();
    QStringList names;
    for (int i = 1; i <= top->Count(); ++i) {
        names << top->Item(i)->Name();
    }
    for (const char* name : {"Inbox", "Sent Items", "Tasks", "Drafts", "Outbox", "Deleted Items"}) {
        EXPECT_TRUE(names.contains(QLatin1String(name))) << name;
    }
    EXPECT_THROW(top->Item(top->Count() + 1), ol::OutlookError);
}

TEST_F(EngineTest, DefaultFoldersAreTheDefaultStores) {
    const struct {
        int type;
        const char* name;
    } rows[] = {{ol::olFolderSentMail, "Sent Items"}, {ol::olFolderInbox, "Inbox"},
                {ol::olFolderTasks, "Tasks"},         {ol::olFolderDrafts, "Drafts"},
                {ol::olFolderOutbox, "Outbox"},       {ol::olFolderDeletedItems, "Deleted Items"}};
    const QString root = ns->Folders()->Item(1)->Name();
    for (const auto& row : rows) {
        ol::MAPIFolderPtr f = folder(row.type);
        EXPECT_EQ(f->Name(), QLatin1String(row.name));
        EXPECT_EQ(f->FolderPath(), QStringLiteral("\\\\%1\\%2").arg(root, QLatin1String(row.name)));
        EXPECT_EQ(f->EntryID(), folder(row.type)->EntryID()) << "stable";
    }
    EXPECT_EQ(errorOf([&] { ns->GetDefaultFolder(9); }),
              QStringLiteral("Could not complete the operation. One or more parameter values are "
                             "not valid."));
}

TEST_F(EngineTest, EachFetchIsASnapshotThatSaveWritesBack) {
    const QString id = newTask(QStringLiteral("stored"))->EntryID();
    ol::ItemPtr a = ns->GetItemFromID(id);
    ol::ItemPtr b = items(ol::olFolderTasks)->Item(1);
    EXPECT_NE(a, b);
    a->SetSubject(QStringLiteral("changed"));
    EXPECT_EQ(b->Subject(), QStringLiteral("stored"));
    EXPECT_EQ(ns->GetItemFromID(id)->Subject(), QStringLiteral("stored"));
    a->Save();
    EXPECT_EQ(ns->GetItemFromID(id)->Subject(), QStringLiteral("changed"));
}

TEST_F(EngineTest, ItemKindsAreToldApartByCheckedCasts) {
    ol::ItemPtr task = app->CreateItem(ol::olTaskItem);
    ol::ItemPtr mail = app->CreateItem(ol::olMailItem);
    Delivery invitation = reply(QStringLiteral("ann@example.com"), QStringLiteral("Meeting"));
    invitation.meetingRequest = true;
    ol::ItemPtr meeting = engine->deliver(invitation);

    EXPECT_EQ(task->Class(), ol::olTask);
    EXPECT_EQ(mail->Class(), ol::olMail);
    EXPECT_EQ(meeting->Class(), ol::olMeetingRequest);
    EXPECT_TRUE(ol::asTaskItem(task) && !ol::asMailItem(task));
    EXPECT_TRUE(ol::asMailItem(mail) && !ol::asTaskItem(mail));
    EXPECT_TRUE(!ol::asMailItem(meeting) && !ol::asTaskItem(meeting) && ol::asMeetingItem(meeting));
    EXPECT_EQ(ol::asMailItem(nullptr), nullptr);
    EXPECT_EQ(items(ol::olFolderInbox)->Item(1)->Class(), ol::olMeetingRequest);
    EXPECT_THROW(app->CreateItem(7), ol::OutlookError);
}

TEST_F(EngineTest, MessageClassesAreTheKindsOwnUnlessTheDeliveryGivesOne) {
    ol::ItemPtr task = app->CreateItem(ol::olTaskItem);
    ol::ItemPtr mail = app->CreateItem(ol::olMailItem);
    Delivery invitation = reply(QStringLiteral("ann@example.com"), QStringLiteral("Meeting"));
    invitation.meetingRequest = true;
    Delivery bounce = reply(QStringLiteral("postmaster@example.com"), QStringLiteral("Offer"));
    bounce.messageClass = QStringLiteral("REPORT.IPM.Note.NDR");

    EXPECT_EQ(task->MessageClass(), QStringLiteral("IPM.Task"));
    EXPECT_EQ(mail->MessageClass(), QStringLiteral("IPM.Note"));
    EXPECT_EQ(engine->deliver(invitation)->MessageClass(),
              QStringLiteral("IPM.Schedule.Meeting.Request"));
    engine->deliver(bounce);
    reopen();
    EXPECT_EQ(items(ol::olFolderInbox)->Item(2)->MessageClass(),
              QStringLiteral("REPORT.IPM.Note.NDR"));
}

// Received mail carries its internet headers; mail written here has none, and asking
// for them (or for any other property) fails as for a property the item lacks.
TEST_F(EngineTest, InternetHeadersAreReadThroughThePropertyAccessor) {
    Delivery d = reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));
    d.headers = {QStringLiteral("Auto-Submitted: auto-replied"),
                 QStringLiteral("X-Loop: ann@example.com")};
    engine->deliver(d);
    reopen();
    const ol::MailItemPtr received = ol::asMailItem(items(ol::olFolderInbox)->Item(1));
    const QString expected =
        QStringLiteral("Auto-Submitted: auto-replied\r\nX-Loop: ann@example.com\r\n");
    EXPECT_EQ(received->PropertyAccessor()->GetProperty(ol::PR_TRANSPORT_MESSAGE_HEADERS),
              expected);
    EXPECT_EQ(received->PropertyAccessor()->GetProperty(ol::PR_TRANSPORT_MESSAGE_HEADERS_A),
              expected);
    try {
        received->PropertyAccessor()->GetProperty(QStringLiteral("urn:unknown"));
        ADD_FAILURE() << "an unknown property was read";
    } catch (const ol::OutlookError& e) {
        EXPECT_EQ(e.text(),
                  QStringLiteral("The property \"urn:unknown\" is unknown or cannot be found."));
    }
    const ol::MailItemPtr written = ol::asMailItem(app->CreateItem(ol::olMailItem));
    EXPECT_THROW(written->PropertyAccessor()->GetProperty(ol::PR_TRANSPORT_MESSAGE_HEADERS),
                 ol::OutlookError);
}

TEST_F(EngineTest, UserPropertiesKeepTheirOrderAndAMissingOneIsNull) {
    ol::TaskItemPtr task = newTask(QStringLiteral("tracked"));
    ol::UserPropertiesPtr props = task->UserProperties();
    for (const char* name : {"Topic", "Mail", "Recipients"}) {
        props->Add(QLatin1String(name), ol::olText, false, ol::olFormatTextText)
            ->SetValue(QLatin1String(name) + QStringLiteral(" value"));
    }
    EXPECT_EQ(props->Item(QStringLiteral("Snooze")), nullptr);
    EXPECT_EQ(props->Item(QStringLiteral("mail"))->Value(), QStringLiteral("Mail value"));
    // Adding a name the item has gives that property back.
    props->Add(QStringLiteral("Topic"), ol::olText, false, ol::olFormatTextText)
        ->SetValue(QStringLiteral("new"));
    EXPECT_EQ(props->Count(), 3);
    EXPECT_THROW(props->Add(QStringLiteral("Count"), 3, false, 0), ol::OutlookError);
    // A text property has one display format, olFormatTextText; 0 is none of the client's.
    for (int format : {0, 2, -1}) {
        EXPECT_EQ(errorOf([&] { props->Add(QStringLiteral("Format"), ol::olText, false, format); }),
                  QStringLiteral("The value is out of range."))
            << format;
    }
    EXPECT_NE(props->Add(QStringLiteral("Format"), ol::olText), nullptr);  // left out: plain text
    props->Item(QStringLiteral("Format"))->Delete();

    props->Item(QStringLiteral("Mail"))->Delete();
    task->Save();

    ol::UserPropertiesPtr stored = ns->GetItemFromID(task->EntryID())->UserProperties();
    ASSERT_EQ(stored->Count(), 2);
    EXPECT_EQ(stored->Item(1)->Name(), QStringLiteral("Topic"));
    EXPECT_EQ(stored->Item(1)->Value(), QStringLiteral("new"));
    EXPECT_EQ(stored->Item(2)->Name(), QStringLiteral("Recipients"));
    EXPECT_EQ(stored->Item(2)->Type(), ol::olText);
    EXPECT_EQ(stored->Item(QStringLiteral("Mail")), nullptr);
}

TEST_F(EngineTest, TaskFieldsRoundTripAndMarkCompleteCompletes) {
    ol::TaskItemPtr fresh = ol::asTaskItem(app->CreateItem(ol::olTaskItem));
    EXPECT_EQ(fresh->StartDate(), ol::kNoDate);
    EXPECT_EQ(fresh->DueDate(), ol::kNoDate);
    EXPECT_EQ(fresh->ReminderTime(), ol::kNoDate);
    EXPECT_EQ(fresh->Importance(), ol::olImportanceNormal);
    EXPECT_FALSE(fresh->Complete());

    ol::TaskItemPtr task = newTask(QStringLiteral("[Vantorel] Ann Lee: Offer"));
    task->SetBody(QStringLiteral("Message sent on 12/10/26 09:00\r"));
    task->SetCategories(QStringLiteral("Vantorel"));
    task->SetStartDate(46367.375);
    task->SetDueDate(46369.375);
    task->SetImportance(ol::olImportanceHigh);
    task->SetReminderOverrideDefault(true);
    task->SetReminderSet(false);
    task->SetReminderTime(46367.5);
    task->MarkComplete();
    EXPECT_TRUE(task->Complete());
    task->Save();

    ol::TaskItemPtr back = ol::asTaskItem(ns->GetItemFromID(task->EntryID()));
    EXPECT_EQ(back->Subject(), QStringLiteral("[Vantorel] Ann Lee: Offer"));
    EXPECT_EQ(back->Body(), QStringLiteral("Message sent on 12/10/26 09:00\r"));
    EXPECT_EQ(back->Categories(), QStringLiteral("Vantorel"));
    EXPECT_EQ(back->StartDate(), 46367.375);
    EXPECT_EQ(back->DueDate(), 46369.375);
    EXPECT_EQ(back->Importance(), ol::olImportanceHigh);
    EXPECT_TRUE(back->ReminderOverrideDefault());
    EXPECT_FALSE(back->ReminderSet());
    EXPECT_EQ(back->ReminderTime(), 46367.5);
    EXPECT_TRUE(back->Complete());
}

class ImportanceTest : public EngineTest, public ::testing::WithParamInterface<int> {};

TEST_P(ImportanceTest, OutsideZeroToTwoIsOutOfRange) {
    ol::TaskItemPtr task = newTask(QStringLiteral("task"));
    const int value = GetParam();
    if (value >= 0 && value <= 2) {
        task->SetImportance(value);
        EXPECT_EQ(task->Importance(), value);
    } else {
        EXPECT_THAT(errorOf([&] { task->SetImportance(value); }).toStdString(),
                    HasSubstr("out of range"));
        EXPECT_EQ(task->Importance(), ol::olImportanceNormal);
    }
}

INSTANTIATE_TEST_SUITE_P(Values, ImportanceTest, ::testing::Values(-1, 0, 1, 2, 3, 100));

TEST_F(EngineTest, DeletedItemsNoLongerResolve) {
    ol::TaskItemPtr keep = newTask(QStringLiteral("keep"));
    ol::TaskItemPtr gone = newTask(QStringLiteral("gone"));
    const QString id = gone->EntryID();
    ns->GetItemFromID(id)->Delete();

    const QString notFound = QStringLiteral("The operation failed. An object could not be found.");
    EXPECT_EQ(errorOf([&] { ns->GetItemFromID(id); }), notFound);
    EXPECT_EQ(errorOf([&] { ns->GetItemFromID(QStringLiteral("00AB")); }), notFound);
    EXPECT_EQ(errorOf([&] { ns->GetItemFromID(QString()); }), notFound);
    EXPECT_EQ(errorOf([&] { ns->GetItemFromID(folder(ol::olFolderTasks)->EntryID()); }), notFound);
    EXPECT_EQ(errorOf([&] { gone->Save(); }),
              QStringLiteral("The item has been moved or deleted."));

    ol::ItemsPtr tasks = items(ol::olFolderTasks);
    ASSERT_EQ(tasks->Count(), 1);
    EXPECT_EQ(tasks->Item(1)->EntryID(), keep->EntryID());

    // The item went to Deleted Items under a new EntryID; deleting it there ends it.
    ol::ItemsPtr bin = items(ol::olFolderDeletedItems);
    ASSERT_EQ(bin->Count(), 1);
    ol::ItemPtr binned = bin->Item(1);
    EXPECT_EQ(binned->Subject(), QStringLiteral("gone"));
    EXPECT_NE(binned->EntryID(), id);
    binned->Delete();
    EXPECT_EQ(bin->Count(), 0);
}

struct TopicRow {
    const char* name;
    const char* subject;
    const char* topic;
};

class ConversationTopicTest : public EngineTest, public ::testing::WithParamInterface<TopicRow> {};

TEST_P(ConversationTopicTest, LeadingReplyAndForwardPrefixesGo) {
    const TopicRow& row = GetParam();
    ol::MailItemPtr mail =
        newMail(QStringLiteral("ann@example.com"), QString::fromUtf8(row.subject));
    EXPECT_EQ(mail->ConversationTopic(), QString::fromUtf8(row.topic));
    engine->deliver(reply(QStringLiteral("ann@example.com"), QString::fromUtf8(row.subject)));
    EXPECT_EQ(ol::asMailItem(items(ol::olFolderInbox)->Item(1))->ConversationTopic(),
              QString::fromUtf8(row.topic));
}

INSTANTIATE_TEST_SUITE_P(
    Subjects, ConversationTopicTest,
    ::testing::Values(
        TopicRow{"plain", "Offer", "Offer"}, TopicRow{"reply", "RE: Offer", "Offer"},
        TopicRow{"forward", "FW: Offer", "Offer"}, TopicRow{"german_reply", "AW: Offer", "Offer"},
        TopicRow{"lower_case", "re: Offer", "Offer"},
        TopicRow{"stacked", "RE: FW: AW: Offer", "Offer"},
        TopicRow{"no_blank", "RE:Offer", "RE:Offer"},
        TopicRow{"inside", "Offer RE: 2", "Offer RE: 2"}, TopicRow{"only_prefix", "RE: ", ""},
        // Marks nobody sees hide no prefix.
        TopicRow{"after_a_right_to_left_mark", "\u200FRE: Offer", "Offer"},
        TopicRow{"marks_between_prefixes", "\u200E\u202BRE: \uFEFFFW: Offer", "Offer"},
        TopicRow{"mark_without_a_prefix", "\u200FOffer", "\u200FOffer"},
        TopicRow{"mark_inside_the_topic", "RE: \u200BOffer", "\u200BOffer"}),
    [](const ::testing::TestParamInfo<TopicRow>& info) { return std::string(info.param.name); });

TEST_F(EngineTest, ConversationTopicIsKeptFromTheFirstMessage) {
    engine->deliver(reply(QStringLiteral("ann@example.com"), QStringLiteral("Offer")));
    ol::MailItemPtr first = ol::asMailItem(items(ol::olFolderInbox)->Item(1));
    ol::MailItemPtr forward = first->Forward();
    forward->SetSubject(QStringLiteral("Something else"));
    EXPECT_EQ(forward->ConversationTopic(), QStringLiteral("Offer"));

    Delivery answer = reply(QStringLiteral("bob@example.com"), QStringLiteral("RE: Renamed"));
    answer.topic = QStringLiteral("Offer");
    EXPECT_EQ(ol::asMailItem(engine->deliver(answer))->ConversationTopic(),
              QStringLiteral("Offer"));
}

struct RecipientRow {
    const char* name;
    const char* text;
    const char* display;
    const char* address;
    const char* entryType;
};

class RecipientParseTest : public EngineTest, public ::testing::WithParamInterface<RecipientRow> {};

TEST_P(RecipientParseTest, EntriesBecomeRecipients) {
    const RecipientRow& row = GetParam();
    ol::MailItemPtr mail = newMail(QString::fromUtf8(row.text), QStringLiteral("Offer"));
    ol::RecipientsPtr recipients = mail->Recipients();
    ASSERT_EQ(recipients->Count(), 1);
    ol::RecipientPtr r = recipients->Item(1);
    EXPECT_EQ(r->Name(), QString::fromUtf8(row.display));
    EXPECT_EQ(r->Address(), QString::fromUtf8(row.address));
    EXPECT_EQ(r->Type(), ol::olTo);
    EXPECT_EQ(r->AddressEntry()->Type(), QString::fromUtf8(row.entryType));
    EXPECT_EQ(r->AddressEntry()->Address(), QString::fromUtf8(row.address));
    EXPECT_EQ(mail->To(), QString::fromUtf8(row.display));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, RecipientParseTest,
    ::testing::Values(RecipientRow{"name_and_address", "Ann Lee <ann@example.com>", "Ann Lee",
                                   "ann@example.com", "SMTP"},
                      RecipientRow{"bare_address", " bob@example.com ", "bob@example.com",
                                   "bob@example.com", "SMTP"},
                      RecipientRow{"quoted_name", "\"Lee, Ann\" <ann@example.com>", "Lee, Ann",
                                   "ann@example.com", "SMTP"},
                      RecipientRow{"exchange", "Cy Dunn <ex:/o=org/cn=cy>", "Cy Dunn",
                                   "/o=org/cn=cy", "EX"},
                      RecipientRow{"trailing_separator", "ann@example.com; ", "ann@example.com",
                                   "ann@example.com", "SMTP"},
                      // A name may hold what an address may not.
                      RecipientRow{"bar_in_name", "Bob|Smith <bob@example.com>", "Bob|Smith",
                                   "bob@example.com", "SMTP"}),
    [](const ::testing::TestParamInfo<RecipientRow>& info) {
        return std::string(info.param.name);
    });

TEST_F(EngineTest, RecipientLinesReplaceTheirOwnTypeOnly) {
    ol::MailItemPtr mail = newMail(QStringLiteral("Ann Lee <ann@example.com>; bob@example.com"),
                                   QStringLiteral("Offer"));
    mail->SetCC(QStringLiteral("Cy Dunn <ex:/o=org/cn=cy>"));
    mail->SetBCC(QStringLiteral("dee@example.com"));
    EXPECT_EQ(mail->To(), QStringLiteral("Ann Lee; bob@example.com"));
    mail->SetTo(QStringLiteral("eve@example.com"));
    EXPECT_EQ(mail->To(), QStringLiteral("eve@example.com"));
    EXPECT_EQ(mail->CC(), QStringLiteral("Cy Dunn"));
    EXPECT_EQ(mail->BCC(), QStringLiteral("dee@example.com"));
    ol::RecipientsPtr recipients = mail->Recipients();
    ASSERT_EQ(recipients->Count(), 3);
    QList<int> types;
    for (int i = 1; i <= recipients->Count(); ++i) {
        types << recipients->Item(i)->Type();
    }
    EXPECT_EQ(types, (QList<int>{ol::olCC, ol::olBCC, ol::olTo}));
}

TEST_F(EngineTest, ResolveAllKnowsAddressesAndLearntExchangeEntries) {
    ol::MailItemPtr mail = newMail(QStringLiteral("Somebody"), QStringLiteral("Offer"));
    EXPECT_FALSE(mail->Recipients()->ResolveAll());
    EXPECT_FALSE(mail->Recipients()->Item(1)->Resolved());

    // An Exchange entry seen with its name is found later by its X.500 address or name.
    newMail(QStringLiteral("Cy Dunn <ex:/o=org/cn=cy>"), QStringLiteral("Other"));
    mail->SetTo(QStringLiteral("/o=org/cn=cy; cy dunn; ann@example.com"));
    EXPECT_TRUE(mail->Recipients()->ResolveAll());
    ol::RecipientsPtr r = mail->Recipients();
    EXPECT_EQ(r->Item(1)->Name(), QStringLiteral("Cy Dunn"));
    EXPECT_EQ(r->Item(1)->AddressEntry()->Type(), QStringLiteral("EX"));
    EXPECT_EQ(r->Item(2)->Address(), QStringLiteral("/o=org/cn=cy"));
    EXPECT_EQ(r->Item(3)->AddressEntry()->Type(), QStringLiteral("SMTP"));
}

TEST_F(EngineTest, ForwardQuotesTheOriginal) {
    Delivery offer = reply(QStringLiteral("ann@example.com"), QStringLiteral("Offer"));
    offer.name = QStringLiteral("Ann Lee");
    offer.body = QStringLiteral("Our offer stands.");
    ol::MailItemPtr original = ol::asMailItem(engine->deliver(offer));

    ol::MailItemPtr forward = original->Forward();
    EXPECT_EQ(forward->Subject(), QStringLiteral("FW: Offer"));
    EXPECT_EQ(forward->EntryID(), QString());
    EXPECT_EQ(forward->Recipients()->Count(), 0);
    EXPECT_FALSE(forward->Sent());
    EXPECT_EQ(forward->Body(), QStringLiteral("\r\n\r\n-----Original Message-----\r\n"
                                              "From: Ann Lee <ann@example.com>\r\n"
                                              "Sent: Thursday, December 10, 2026 9:00 AM\r\n"
                                              "To: Vantorel User\r\n"
                                              "Subject: Offer\r\n"
                                              "\r\n"
                                              "Our offer stands."));
    forward->Save();
    EXPECT_EQ(items(ol::olFolderDrafts)->Count(), 1);
}

TEST_F(EngineTest, AddedStoresHaveTheirOwnFolders) {
    engine->addStore(QStringLiteral("Archive"));
    engine->addStore(QStringLiteral("Shared"), QStringLiteral("Posteingang"));
    engine->addStore(QStringLiteral("Deep"), QString(), true);
    EXPECT_EQ(engine->addStore(QStringLiteral("Archive"))->Name(), QStringLiteral("Archive"));

    ol::FoldersPtr roots = ns->Folders();
    ASSERT_EQ(roots->Count(), 4);
    EXPECT_EQ(roots->Item(2)->Name(), QStringLiteral("Archive"));
    EXPECT_NO_THROW(
        roots->Item(QStringLiteral("Archive"))->Folders()->Item(QStringLiteral("Inbox")));
    EXPECT_NO_THROW(
        roots->Item(QStringLiteral("Shared"))->Folders()->Item(QStringLiteral("Posteingang")));
    ol::FoldersPtr deep = roots->Item(QStringLiteral("Deep"))->Folders();
    EXPECT_THROW(deep->Item(QStringLiteral("Inbox")), ol::OutlookError);
    EXPECT_EQ(
        deep->Item(QStringLiteral("Mail"))->Folders()->Item(QStringLiteral("Inbox"))->FolderPath(),
        QStringLiteral("\\\\Deep\\Mail\\Inbox"));

    // A message for another store arrives in that store's Inbox, and is found by its EntryID.
    ol::ItemPtr arrived = engine->deliver(
        reply(QStringLiteral("x@example.com"), QStringLiteral("Hi")), QStringLiteral("Deep"));
    EXPECT_EQ(engine->inbox(QStringLiteral("Deep"))->Items()->Count(), 1);
    EXPECT_EQ(items(ol::olFolderInbox)->Count(), 0);
    EXPECT_EQ(ns->GetItemFromID(arrived->EntryID())->Subject(), QStringLiteral("Hi"));
}

TEST_F(EngineTest, ApplicationReportsTheProfile) {
    EXPECT_EQ(app->Version(), QStringLiteral("16.0.0.0"));
    EXPECT_EQ(app->Explorers()->Count(), 1);
    EXPECT_EQ(app->ActiveInspector(), nullptr);
    engine->setVersion(QStringLiteral("12.0.6423.1000"));
    engine->setExplorerCount(0);
    EXPECT_EQ(app->Version(), QStringLiteral("12.0.6423.1000"));
    EXPECT_EQ(app->Explorers()->Count(), 0);
    EXPECT_THROW(app->GetNamespace(QStringLiteral("OTHER")), ol::OutlookError);
    EXPECT_NE(app->Session(), nullptr);

    engine->addCategory(QStringLiteral("Vantorel"));
    engine->addCategory(QStringLiteral("Clients"));
    engine->addCategory(QStringLiteral("Vantorel"));
    ol::CategoriesPtr categories = ns->Categories();
    ASSERT_EQ(categories->Count(), 2);
    EXPECT_EQ(categories->Item(1)->Name(), QStringLiteral("Vantorel"));
    EXPECT_EQ(categories->Item(2)->Name(), QStringLiteral("Clients"));
}

}  // namespace
}  // namespace vantorel::engine::testing
