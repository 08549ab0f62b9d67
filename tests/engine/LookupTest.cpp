// Finding items and their properties fast without finding anything else: restricted
// collections, property names in any letter case, and walks over folders whose items
// change under them.

#include "EngineFixture.h"

namespace vantorel::engine::testing {
namespace {

class LookupTest : public EngineTest {
public:
    // A task carrying "Topic" = TOPIC (and any further properties), saved.
    ol::TaskItemPtr taskOf(const QString& subject, const QString& topic,
                           const std::map<QString, QString>& more = {}) {
        ol::TaskItemPtr task = ol::asTaskItem(app->CreateItem(ol::olTaskItem));
        task->SetSubject(subject);
        task->UserProperties()
            ->Add(QStringLiteral("Topic"), ol::olText, false, ol::olFormatTextText)
            ->SetValue(topic);
        for (const auto& [name, value] : more) {
            task->UserProperties()
                ->Add(name, ol::olText, false, ol::olFormatTextText)
                ->SetValue(value);
        }
        task->Save();
        return task;
    }

    static QStringList subjects(const ol::ItemsPtr& items) {
        QStringList result;
        for (int i = 1; i <= items->Count(); ++i) {
            result << items->Item(i)->Subject();
        }
        return result;
    }

    ol::ItemsPtr tasksOfTopic(const QString& topic) {
        return items(ol::olFolderTasks)
            ->Restrict(ol::UserPropertyFilter(QStringLiteral("Topic"), topic));
    }
};

TEST_F(LookupTest, RestrictKeepsTheFolderOrderAndComparesWithoutLetterCase) {
    taskOf(QStringLiteral("first"), QStringLiteral("Offer"));
    taskOf(QStringLiteral("other"), QStringLiteral("Quote"));
    newTask(QStringLiteral("no topic"));
    taskOf(QStringLiteral("second"), QStringLiteral("OFFER"));
    taskOf(QStringLiteral("longer"), QStringLiteral("Offers"));
    taskOf(QStringLiteral("quoted"), QStringLiteral("It's done"));

    EXPECT_EQ(subjects(tasksOfTopic(QStringLiteral("offer"))),
              (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
    EXPECT_EQ(subjects(tasksOfTopic(QStringLiteral("It's done"))),
              QStringList{QStringLiteral("quoted")});
    EXPECT_EQ(tasksOfTopic(QStringLiteral("nothing"))->Count(), 0);
    // A property name in another letter case is the same property.
    EXPECT_EQ(
        items(ol::olFolderTasks)
            ->Restrict(ol::UserPropertyFilter(QStringLiteral("TOPIC"), QStringLiteral("quote")))
            ->Count(),
        1);
}

TEST_F(LookupTest, ARestrictedCollectionIsTakenAtTheTimeOfTheCall) {
    ol::TaskItemPtr first = taskOf(QStringLiteral("first"), QStringLiteral("Offer"));
    const ol::ItemsPtr restricted = tasksOfTopic(QStringLiteral("Offer"));
    taskOf(QStringLiteral("later"), QStringLiteral("Offer"));
    first->UserProperties()->Item(QStringLiteral("Topic"))->SetValue(QStringLiteral("changed"));
    first->Save();

    ASSERT_EQ(restricted->Count(), 1);
    // The item chosen, as it is now: saving it keeps the change made since.
    ol::ItemPtr chosen = restricted->Item(1);
    EXPECT_EQ(chosen->UserProperties()->Item(QStringLiteral("Topic"))->Value(),
              QStringLiteral("changed"));
    chosen->SetSubject(QStringLiteral("first, renamed"));
    chosen->Save();
    EXPECT_EQ(ns->GetItemFromID(first->EntryID())
                  ->UserProperties()
                  ->Item(QStringLiteral("Topic"))
                  ->Value(),
              QStringLiteral("changed"));
    EXPECT_THROW(restricted->Item(2), ol::OutlookError);
    EXPECT_EQ(subjects(tasksOfTopic(QStringLiteral("Offer"))),
              QStringList{QStringLiteral("later")});
    // Restricting a restricted collection keeps both conditions.
    taskOf(QStringLiteral("marked"), QStringLiteral("Offer"),
           {{QStringLiteral("Mail"), QStringLiteral("x")}});
    EXPECT_EQ(subjects(tasksOfTopic(QStringLiteral("Offer"))
                           ->Restrict(ol::UserPropertyFilter(QStringLiteral("Mail"),
                                                             QStringLiteral("X")))),
              QStringList{QStringLiteral("marked")});
}

TEST_F(LookupTest, AnItemMovedOrDeletedSinceItWasChosenIsGone) {
    ol::TaskItemPtr task = taskOf(QStringLiteral("task"), QStringLiteral("Offer"));
    const ol::ItemsPtr restricted = tasksOfTopic(QStringLiteral("Offer"));
    task->Delete();  // into Deleted Items, as a new item
    try {
        restricted->Item(1);
        ADD_FAILURE() << "a deleted item was handed out";
    } catch (const ol::OutlookError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("The item has been moved or deleted."));
    }
}

TEST_F(LookupTest, ARestrictedCollectionRaisesItemAddForTheItemsThatMeetItsCondition) {
    const ol::ItemsPtr restricted = tasksOfTopic(QStringLiteral("Offer"));
    QStringList added;
    const ol::Connection connection =
        restricted->OnItemAdd([&added](const ol::ItemPtr& item) { added << item->Subject(); });
    taskOf(QStringLiteral("other"), QStringLiteral("Quote"));
    taskOf(QStringLiteral("wanted"), QStringLiteral("offer"));
    newTask(QStringLiteral("no topic"));
    EXPECT_EQ(added, QStringList{QStringLiteral("wanted")});
}

struct FilterRow {
    const char* filter;
    const char* error;   // where the parse stops; nullptr: accepted
    bool field = false;  // "Topic" is a field of the Tasks folder
};

class FilterTest : public LookupTest, public ::testing::WithParamInterface<FilterRow> {};

TEST_P(FilterTest, OnlyAUserPropertyTypedOrAFolderFieldAndItsTextAreUnderstood) {
    ol::TaskItemPtr task = taskOf(QStringLiteral("task"), QStringLiteral("a'b"));
    const FilterRow& row = GetParam();
    if (row.field) {
        task->UserProperties()->Add(QStringLiteral("Topic"), ol::olText, true,
                                    ol::olFormatTextText);
    }
    const QString filter = QString::fromUtf8(row.filter);
    if (row.error == nullptr) {
        EXPECT_EQ(items(ol::olFolderTasks)->Restrict(filter)->Count(), 1) << row.filter;
        return;
    }
    try {
        items(ol::olFolderTasks)->Restrict(filter);
        ADD_FAILURE() << "accepted: " << row.filter;
    } catch (const ol::OutlookError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Cannot parse condition. Error at \"%1\".")
                                .arg(QString::fromUtf8(row.error)));
    }
}

#define SCHEMA "http://schemas.microsoft.com/mapi/string/{00020329-0000-0000-C000-000000000046}/"

INSTANTIATE_TEST_SUITE_P(
    Filters, FilterTest,
    ::testing::Values(
        FilterRow{"@SQL=\"" SCHEMA "Topic/0000001f\" = 'a''b'", nullptr},
        FilterRow{"@SQL=\"" SCHEMA "topic/0000001E\" = 'a''b'", nullptr},
        FilterRow{"  @sql=\"" SCHEMA "topic\"='A''B'  ", nullptr, true},
        FilterRow{"@SQL=\"http://SCHEMAS.microsoft.com/mapi/string/"
                  "{00020329-0000-0000-c000-000000000046}/Topic/0000001f\" = 'a''b'",
                  nullptr},
        // Untyped and no field of the folder: the mail client's search fails.
        FilterRow{"@SQL=\"" SCHEMA "Topic\" = 'a''b'", "\"" SCHEMA "Topic\" = 'a''b'"},
        FilterRow{"[Topic] = 'a''b'", "[Topic] = 'a''b'"},
        FilterRow{"@SQL=\"" SCHEMA "\" = 'x'", "\"" SCHEMA "\" = 'x'"},
        FilterRow{"@SQL=\"" SCHEMA "/0000001f\" = 'x'", "\"" SCHEMA "/0000001f\" = 'x'"},
        FilterRow{"@SQL=\"urn:schemas:httpmail:subject\" = 'x'",
                  "\"urn:schemas:httpmail:subject\" = 'x'"},
        FilterRow{"@SQL=\"" SCHEMA "Topic = 'x'", "\"" SCHEMA "Topic = 'x'"},
        FilterRow{"@SQL=\"" SCHEMA "Topic/0000001f\" <> 'x'", "<> 'x'"},
        FilterRow{"@SQL=\"" SCHEMA "Topic/0000001f\" = x", "x"},
        FilterRow{"@SQL=\"" SCHEMA "Topic/0000001f\" = 'x", "'x"},
        FilterRow{"@SQL=\"" SCHEMA "Topic/0000001f\" = 'x' AND", "AND"}, FilterRow{"", ""}));

// Lookups by name remember where a name was found and which names an item has; none
// of that may outlive a change of the item.
TEST_F(LookupTest, PropertiesAreFoundInAnyLetterCaseThroughChanges) {
    const QString kelvin = QString(QChar(0x212A)) + QStringLiteral("ey");  // folds to "key"
    ol::TaskItemPtr task =
        taskOf(QStringLiteral("task"), QStringLiteral("t"),
               {{QStringLiteral("Mail"), QStringLiteral("m")}, {kelvin, QStringLiteral("k")}});
    ol::TaskItemPtr other = taskOf(QStringLiteral("other"), QStringLiteral("o"));
    for (int round = 0; round < 2; ++round) {  // the second round reads what the first learnt
        EXPECT_EQ(task->UserProperties()->Item(QStringLiteral("MAIL"))->Value(),
                  QStringLiteral("m"));
        EXPECT_EQ(task->UserProperties()->Item(QStringLiteral("Mail"))->Value(),
                  QStringLiteral("m"));
        EXPECT_EQ(task->UserProperties()->Item(QStringLiteral("KEY"))->Value(),
                  QStringLiteral("k"));
        EXPECT_EQ(other->UserProperties()->Item(QStringLiteral("Mail")), nullptr);
        EXPECT_EQ(other->UserProperties()->Item(QStringLiteral("Snooze")), nullptr);
    }
    // Added, removed, added again under another spelling: each lookup sees the change.
    other->UserProperties()
        ->Add(QStringLiteral("Snooze"), ol::olText, false, ol::olFormatTextText)
        ->SetValue(QStringLiteral("s"));
    EXPECT_EQ(other->UserProperties()->Item(QStringLiteral("snooze"))->Value(),
              QStringLiteral("s"));
    other->Save();
    EXPECT_EQ(ns->GetItemFromID(other->EntryID())
                  ->UserProperties()
                  ->Item(QStringLiteral("SNOOZE"))
                  ->Value(),
              QStringLiteral("s"));
    other->UserProperties()->Item(QStringLiteral("Snooze"))->Delete();
    EXPECT_EQ(other->UserProperties()->Item(QStringLiteral("Snooze")), nullptr);
    other->UserProperties()->Remove(1);  // "Topic"
    EXPECT_EQ(other->UserProperties()->Item(QStringLiteral("Topic")), nullptr);
    other->Save();
    reopen();
    const ol::ItemsPtr tasks = items(ol::olFolderTasks);
    ASSERT_EQ(tasks->Count(), 2);
    EXPECT_EQ(tasks->Item(1)->UserProperties()->Item(QStringLiteral("key"))->Value(),
              QStringLiteral("k"));
    EXPECT_EQ(tasks->Item(2)->UserProperties()->Count(), 0);
}

// Names made while the program runs come and go at the same places in memory: what is
// remembered of one must never be taken for another.
TEST_F(LookupTest, NamesMadeAtRunTimeAreFoundWhereverTheirTextLies) {
    const auto nameOf = [](int i) {
        return QStringLiteral("Name%1").arg(i, 3, 10, QLatin1Char('0'));
    };
    QStringList ids;
    for (int i = 0; i < 64; ++i) {
        // Where the name lies changes from one task to the next.
        ol::TaskItemPtr task = newTask(QStringLiteral("task"));
        QStringList names{nameOf(i), QStringLiteral("Filler")};
        if (i % 2 == 1) {
            names.swapItemsAt(0, 1);
        }
        for (const QString& name : names) {
            task->UserProperties()
                ->Add(name, ol::olText, false, ol::olFormatTextText)
                ->SetValue(nameOf(i));
        }
        task->Save();
        ids << task->EntryID();
    }
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 64; ++i) {
            const ol::UserPropertyPtr p =
                ns->GetItemFromID(ids.at(i))->UserProperties()->Item(nameOf(i));
            ASSERT_TRUE(p) << qPrintable(nameOf(i));
            EXPECT_EQ(p->Value(), nameOf(i));
        }
        reopen();
    }
}

// A walk forwards or backwards over a folder reads ahead; it must still hand out
// the items as they are now, after saves, deletions and arrivals.
TEST_F(LookupTest, WalksSeeTheFolderAsItIsNow) {
    for (int i = 1; i <= 40; ++i) {
        taskOf(QStringLiteral("task %1").arg(i), QStringLiteral("topic %1").arg(i));
    }
    const ol::ItemsPtr tasks = items(ol::olFolderTasks);
    for (int i = 1; i <= 20; ++i) {
        EXPECT_EQ(tasks->Item(i)->Subject(), QStringLiteral("task %1").arg(i));
    }
    ol::ItemPtr changed = tasks->Item(30);
    changed->SetSubject(QStringLiteral("changed"));
    changed->Save();
    tasks->Item(10)->Delete();
    newTask(QStringLiteral("new"));
    ASSERT_EQ(tasks->Count(), 40);
    QStringList backwards;
    for (int i = tasks->Count(); i >= 1; --i) {
        backwards.prepend(tasks->Item(i)->Subject());
    }
    EXPECT_EQ(backwards.at(8), QStringLiteral("task 9"));
    EXPECT_EQ(backwards.at(9), QStringLiteral("task 11"));
    EXPECT_EQ(backwards.at(28), QStringLiteral("changed"));
    EXPECT_EQ(backwards.last(), QStringLiteral("new"));
    EXPECT_EQ(subjects(tasksOfTopic(QStringLiteral("topic 30"))),
              QStringList{QStringLiteral("changed")});
}

}  // namespace
}  // namespace vantorel::engine::testing
