#include "settings/AddInRegistry.h"

#include "platform/AtomicWrite.h"
#include "platform/RegTree.h"
#include "tests/support/HiveKinds.h"
#include "tests/support/TempHives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

#include <gtest/gtest.h>

using namespace vantorel;
using platform::RegType;
using platform::RegValue;

namespace {

const QString kBase = QStringLiteral("Software\\Ostrelin\\Vantorel\\");

// The settings store on a fresh pair of hives of one kind: the .reg files, and on
// Windows the registry too (tests/support/HiveKinds.h).
class StoreOnHives {
protected:
    explicit StoreOnHives(const test::HiveKind& kind) : hives(kind.make()) {}
    void set(const QString& section, const QString& name, const RegValue& v) {
        user().setValue(kBase + section, name, v);
    }
    RegValue get(const QString& section, const QString& name) {
        return user().value(kBase + section, name);
    }
    bool has(const QString& section, const QString& name) {
        return user().hasValue(kBase + section, name);
    }
    platform::RegistryHive& user() { return hives->user(); }
    platform::RegistryHive& machine() { return hives->machine(); }
    std::unique_ptr<test::ScratchHives> hives;
    TAddInRegistry store{hives->user(), hives->machine()};
};

class AddInRegistryTest : public ::testing::TestWithParam<test::HiveKind>, protected StoreOnHives {
protected:
    AddInRegistryTest() : StoreOnHives(GetParam()) {}
};

QString S(const char* s) {
    return QString::fromUtf8(s);
}

// Every getter, the value it reads and its default: one row each.
struct Getter {
    const char* name;
    const char* section;
    const char* value;
    std::function<QVariant(TAddInRegistry&)> read;
    QVariant def;
    QVariant stored;  // what the getter returns after `stored` was written (as its type)
};

std::vector<Getter> getters() {
    auto b = [](auto f) { return [f](TAddInRegistry& r) { return QVariant(f(r)); }; };
    return {
        {"RemindMe", "Task", "RemindMe", b([](auto& r) { return r.GetTaskRemindMe(true); }), true,
         false},
        {"RemindMeStart", "Task", "RemindMeStart",
         b([](auto& r) { return r.GetTaskRemindMeStart(true); }), S("d1"), S("o5")},
        {"RemindMeTime", "Task", "RemindMeTime",
         b([](auto& r) { return r.GetTaskRemindMeTime(true); }), S("NOW"), S("17:30")},
        {"CreateOnlyStart", "Task", "CreateOnlyStart",
         b([](auto& r) { return r.GetTaskCreateOnlyStart(true); }), S("d0"), S("m1")},
        {"SetDuration", "Task", "SetDuration",
         b([](auto& r) { return r.GetTaskSetDuration(true); }), false, true},
        {"Duration", "Task", "Duration", b([](auto& r) { return r.GetTaskDuration(true); }),
         S("d1"), S("d7")},
        {"DeleteOnReply", "Task", "DeleteOnReply",
         b([](auto& r) { return r.GetTaskDeleteOnReply(true); }), true, false},
        {"MarkAsCompletedOnReply", "Task", "MarkAsCompletedOnReply",
         b([](auto& r) { return r.GetTaskMarkAsCompletedOnReply(true); }), true, false},
        {"Priority", "Task", "Priority", b([](auto& r) { return r.GetTaskPriority(true); }), 1, 2},
        {"MoveOffWeekend", "Task", "MoveOffWeekend",
         b([](auto& r) { return r.GetTaskMoveOffWeekend(true); }), false, true},
        {"CustomRemindMe", "Custom", "TaskRemindMe",
         b([](auto& r) { return r.GetTaskRemindMe(false); }), true, false},
        {"CustomRemindMeStart", "Custom", "TaksRemindMeStart",
         b([](auto& r) { return r.GetTaskRemindMeStart(false); }), S("d1"), S("d3")},
        {"CustomRemindMeTime", "Custom", "TaskRemindMeTime",
         b([](auto& r) { return r.GetTaskRemindMeTime(false); }), S("NOW"), S("08:00")},
        {"CustomCreateOnlyStart", "Custom", "TaskCreateOnlyStart",
         b([](auto& r) { return r.GetTaskCreateOnlyStart(false); }), S("d0"), S("d2")},
        {"CustomSetDuration", "Custom", "TaskSetDuration",
         b([](auto& r) { return r.GetTaskSetDuration(false); }), false, true},
        {"CustomDuration", "Custom", "TaskDuration",
         b([](auto& r) { return r.GetTaskDuration(false); }), S("d1"), S("m2")},
        {"CustomDeleteOnReply", "Custom", "TaskDeleteOnReply",
         b([](auto& r) { return r.GetTaskDeleteOnReply(false); }), true, false},
        {"CustomMarkAsCompletedOnReply", "Custom", "TaskMarkAsCompletedOnReply",
         b([](auto& r) { return r.GetTaskMarkAsCompletedOnReply(false); }), true, false},
        {"CustomPriority", "Custom", "TaskPriority",
         b([](auto& r) { return r.GetTaskPriority(false); }), 1, 0},
        {"CustomMoveOffWeekend", "Custom", "TaskMoveOffWeekend",
         b([](auto& r) { return r.GetTaskMoveOffWeekend(false); }), false, true},
        {"ShowAdvanced", "Custom", "TaskShowAdvanced",
         b([](auto& r) { return r.GetTaskShowAdvanced(); }), false, true},
        {"UseReplyTemplate", "General", "UseReplyTemplate",
         b([](auto& r) { return r.GetUseReplyTemplate(); }), true, false},
        {"StartWizard", "General", "StartWizardOnStartup",
         b([](auto& r) { return r.GetStartWizard(); }), true, false},
        {"MaxBodyLen", "General", "ReminderBodyMaxLength",
         b([](auto& r) { return r.GetMaxReminderBodyLen(); }), 2500, 10},
        {"UseSpecificText", "Advanced", "UseSpecificTextInSubject", b([](auto& r) {
             QString h;
             return r.GetIncludeSpecificTextInSubject(h);
         }),
         true, false},
        {"SpecificText", "Advanced", "SpecificTextInSubject", b([](auto& r) {
             QString h;
             r.GetIncludeSpecificTextInSubject(h);
             return h;
         }),
         S("[Vantorel]"), S("[FUP]")},
        {"IncludeName", "Advanced", "IncludeNameInSubject",
         b([](auto& r) { return r.GetIncludeNameInSubject(); }), true, false},
        {"IncludeEMail", "Advanced", "IncludeEMailInSubject",
         b([](auto& r) { return r.GetIncludeEMailInSubject(); }), true, false},
        {"IncludeDate", "Advanced", "IncludeDateInSubject",
         b([](auto& r) { return r.GetIncludeDateInSubject(); }), true, false},
        {"IncludeTime", "Advanced", "IncludeTimeInSubject",
         b([](auto& r) { return r.GetIncludeTimeInSubject(); }), false, true},
        {"Category", "Advanced", "ReminderCategory",
         b([](auto& r) { return r.GetRemindersCategory(); }), S("Vantorel"), S("Follow up")},
        {"ShowTemplate", "Dialogs", "ShowTemplate",
         b([](auto& r) { return r.GetShowDialogTemplate(); }), true, false},
        {"IsVerbose", "Verbose", "IsVerbose", b([](auto& r) { return r.IsVerbose(); }), false,
         true},
    };
}

RegValue asStored(const QVariant& v) {
    if (v.typeId() == QMetaType::QString) {
        return RegValue::fromString(v.toString());
    }
    return RegValue::fromDWord(static_cast<quint32>(v.toInt()));
}

// The other type, for the "wrongly typed value" rows.
RegValue wronglyTyped(const QVariant& v) {
    return v.typeId() == QMetaType::QString ? RegValue::fromDWord(1)
                                            : RegValue::fromString(QStringLiteral("1"));
}

class Getters : public ::testing::TestWithParam<std::tuple<Getter, test::HiveKind>>,
                protected StoreOnHives {
protected:
    Getters() : StoreOnHives(std::get<1>(GetParam())) {}
    static const Getter& row() { return std::get<0>(GetParam()); }
};

}  // namespace

TEST_P(Getters, DefaultOnAnEmptyProfile) {
    EXPECT_EQ(row().read(store), row().def);
}

TEST_P(Getters, DefaultWhenTheSectionLacksTheValue) {
    set(S(row().section), QStringLiteral("Unrelated"), RegValue::fromDWord(7));
    EXPECT_EQ(row().read(store), row().def);
}

TEST_P(Getters, TheStoredValueUnderItsExactName) {
    set(S(row().section), S(row().value), asStored(row().stored));
    EXPECT_EQ(row().read(store), row().stored);
}

TEST_P(Getters, DefaultForAValueOfTheWrongType) {
    set(S(row().section), S(row().value), wronglyTyped(row().def));
    EXPECT_EQ(row().read(store), row().def);
}

INSTANTIATE_TEST_SUITE_P(All, Getters,
                         ::testing::Combine(::testing::ValuesIn(getters()),
                                            ::testing::ValuesIn(test::hiveKinds())),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

TEST_P(AddInRegistryTest, BooleansAreTrueForAnyNonZeroNumber) {
    set(S("Advanced"), S("IncludeTimeInSubject"), RegValue::fromDWord(2));
    EXPECT_TRUE(store.GetIncludeTimeInSubject());
    set(S("Advanced"), S("IncludeTimeInSubject"), RegValue::fromDWord(0xffffffff));
    EXPECT_TRUE(store.GetIncludeTimeInSubject());
}

TEST_P(AddInRegistryTest, ExpandableTextIsReadUnexpanded) {
    set(S("Task"), S("Duration"), RegValue::fromString(QStringLiteral("%d2%"), RegType::ExpandSz));
    EXPECT_EQ(store.GetTaskDuration(true), QStringLiteral("%d2%"));
}

TEST_P(AddInRegistryTest, DefaultSettersCopyIntoTheCustomSetOnlyWhenAsked) {
    store.SetTaskPriority(2, true);
    EXPECT_EQ(get(S("Task"), S("Priority")), RegValue::fromDWord(2));
    EXPECT_EQ(get(S("Custom"), S("TaskPriority")), RegValue::fromDWord(2));
    store.SetTaskPriority(0, false);
    EXPECT_EQ(get(S("Task"), S("Priority")), RegValue::fromDWord(0));
    EXPECT_EQ(get(S("Custom"), S("TaskPriority")), RegValue::fromDWord(2));

    store.SetTaskRemindMeStart(S("o3"), true);
    EXPECT_EQ(get(S("Custom"), S("TaksRemindMeStart")), RegValue::fromString(S("o3")));
    EXPECT_EQ(store.GetTaskRemindMeStart(false), S("o3"));
    EXPECT_FALSE(has(S("Custom"), S("TaskRemindMeStart")));
}

TEST_P(AddInRegistryTest, EachDefaultSetterWritesItsPairOfValues) {
    store.SetTaskRemindMe(false, true);
    store.SetTaskRemindMeTime(S("17:30"), true);
    store.SetTaskCreateOnlyStart(S("d2"), true);
    store.SetTaskSetDuration(true, true);
    store.SetTaskDuration(S("m1"), true);
    store.SetTaskDeleteOnReply(false, true);
    store.SetTaskMarkAsCompletedOnReply(false, true);
    store.SetTaskMoveOffWeekend(true, true);
    for (bool set : {true, false}) {
        SCOPED_TRACE(set ? "Task" : "Custom");
        EXPECT_FALSE(store.GetTaskRemindMe(set));
        EXPECT_EQ(store.GetTaskRemindMeTime(set), S("17:30"));
        EXPECT_EQ(store.GetTaskCreateOnlyStart(set), S("d2"));
        EXPECT_TRUE(store.GetTaskSetDuration(set));
        EXPECT_EQ(store.GetTaskDuration(set), S("m1"));
        EXPECT_FALSE(store.GetTaskDeleteOnReply(set));
        EXPECT_FALSE(store.GetTaskMarkAsCompletedOnReply(set));
        EXPECT_TRUE(store.GetTaskMoveOffWeekend(set));
    }
}

TEST_P(AddInRegistryTest, SettersReplaceAValueOfAnotherType) {
    set(S("Task"), S("RemindMe"), RegValue::fromString(S("1")));
    store.SetTaskRemindMe(false, false);
    EXPECT_EQ(get(S("Task"), S("RemindMe")), RegValue::fromDWord(0));
}

TEST_P(AddInRegistryTest, ShowAdvancedIsWrittenToCustomAlone) {
    store.SetTaskShowAdvanced(true);
    EXPECT_EQ(get(S("Custom"), S("TaskShowAdvanced")), RegValue::fromDWord(1));
    // After a first cancelled custom dialog "Custom" holds only this value.
    EXPECT_EQ(store.GetTaskRemindMeStart(false), S("d1"));
    EXPECT_EQ(store.GetTaskRemindMeTime(false), S("NOW"));
}

TEST_P(AddInRegistryTest, SpecificTextIsStoredEvenWhenSwitchedOff) {
    store.SetIncludeSpecificTextInSubject(false, S("[FUP]"));
    QString header = S("untouched");
    EXPECT_FALSE(store.GetIncludeSpecificTextInSubject(header));
    EXPECT_EQ(header, S("[FUP]"));
}

TEST_P(AddInRegistryTest, NoneInAnyLetterCaseOrEmptyMeansNoCategory) {
    for (const char* none : {"(none)", "(NONE)", "(NoNe)", ""}) {
        SCOPED_TRACE(none);
        store.SetRemindersCategory(S("Work"));
        store.SetRemindersCategory(S(none));
        EXPECT_EQ(get(S("Advanced"), S("ReminderCategory")), RegValue::fromString(QString()));
        EXPECT_EQ(store.GetRemindersCategory(), QString());
    }
    store.SetRemindersCategory(S("(none) of these"));
    EXPECT_EQ(store.GetRemindersCategory(), S("(none) of these"));
}

TEST_P(AddInRegistryTest, TheFirstTemplateReaderStoresTheDefault) {
    EXPECT_EQ(store.GetReplyTemplate(), DefaultReplyTemplate);
    EXPECT_EQ(get(S("General"), S("ReplyTemplate")), RegValue::fromString(DefaultReplyTemplate));
    EXPECT_EQ(get(S("General"), S("UseReplyTemplate")), RegValue::fromDWord(1));
    EXPECT_EQ(DefaultReplyTemplate.count(QStringLiteral("\r\n")), 6);
    EXPECT_TRUE(DefaultReplyTemplate.startsWith(S("Dear &[NAME],\r\n\r\nI'm still waiting")));
    EXPECT_TRUE(DefaultReplyTemplate.endsWith(SignatureText));
    EXPECT_TRUE(
        SignatureText.startsWith(S("P.S.: Be aware of your unanswered messages; Use "
                                   "Vantorel! For more information, go to ")));
    EXPECT_TRUE(SignatureText.endsWith(S(".")));
}

TEST_P(AddInRegistryTest, AnEmptyTemplateSwitchesTheTemplateOffForGood) {
    store.SetReplyTemplate(true, QString());
    EXPECT_EQ(get(S("General"), S("ReplyTemplate")), RegValue::fromString(QString()));
    EXPECT_FALSE(store.GetUseReplyTemplate());
    EXPECT_EQ(store.GetReplyTemplate(), QString());
    EXPECT_EQ(get(S("General"), S("ReplyTemplate")), RegValue::fromString(QString()));

    store.SetReplyTemplate(false, S("Hi &[NAME]"));
    EXPECT_FALSE(store.GetUseReplyTemplate());
    EXPECT_EQ(store.GetReplyTemplate(), S("Hi &[NAME]"));
}

TEST_P(AddInRegistryTest, ReadingShowTemplateCreatesTheDialogsKey) {
    EXPECT_FALSE(user().keyExists(kBase + S("Dialogs")));
    EXPECT_TRUE(store.GetShowDialogTemplate());
    EXPECT_TRUE(user().keyExists(kBase + S("Dialogs")));
    // Other getters create nothing.
    store.GetTaskRemindMe(true);
    store.GetStartWizard();
    EXPECT_FALSE(user().keyExists(kBase + S("Task")));
    EXPECT_FALSE(user().keyExists(kBase + S("General")));
}

TEST_P(AddInRegistryTest, OutlookPathIsTheFolderOfTheRegisteredProgram) {
    const QString key = S("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE");
    struct Row {
        const char* registered;
        const char* folder;
    };
    for (const Row& row :
         {Row{"C:\\Program Files\\Microsoft Office\\root\\Office16\\OUTLOOK.EXE",
              "C:\\Program Files\\Microsoft Office\\root\\Office16\\"},
          Row{"/opt/vantorel/bin/vantorel-host", "/opt/vantorel/bin/"},
          Row{"C:\\Office\\", "C:\\Office\\"}, Row{"OUTLOOK.EXE", ""}, Row{"", ""}}) {
        SCOPED_TRACE(row.registered);
        machine().setValue(key, S("Path"), RegValue::fromString(S(row.registered)));
        EXPECT_EQ(store.GetOutlookPath(), S(row.folder));
    }
    machine().setValue(key, S("Path"), RegValue::fromDWord(1));
    EXPECT_EQ(store.GetOutlookPath(), QString());
    machine().deleteKey(key);
    EXPECT_EQ(store.GetOutlookPath(), QString());
}

TEST_P(AddInRegistryTest, ANewStoreSeesWhatAnotherWrote) {
    store.SetIncludeDateInSubject(false);
    TAddInRegistry other;  // on the process's hives, which TempHives installed
    EXPECT_FALSE(other.GetIncludeDateInSubject());
}

INSTANTIATE_TEST_SUITE_P(On, AddInRegistryTest, ::testing::ValuesIn(test::hiveKinds()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AddInRegistryOnFiles, ADamagedHiveFileGivesDefaultsAndIsKept) {
    test::TempHives hives;
    TAddInRegistry store{hives.user(), hives.machine()};
    {
        QFile f(hives.user().filePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a registry file\n");
    }
    EXPECT_EQ(store.GetTaskRemindMeStart(true), S("d1"));
    EXPECT_TRUE(QFile::exists(hives.user().filePath() + S(".damaged")));
}

TEST(AddInRegistryOnFiles, AFileWrittenBeforeTheWeekendMoveReadsAsBefore) {
    test::TempHives hives;
    TAddInRegistry store{hives.user(), hives.machine()};
    {
        QFile f(hives.user().filePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Ostrelin\\Vantorel\\Task]\r\n"
            "\"RemindMeStart\"=\"d2\"\r\n"
            "\"RemindMeTime\"=\"09:00\"\r\n"
            "\"SetDuration\"=dword:00000001\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Ostrelin\\Vantorel\\Custom]\r\n"
            "\"TaksRemindMeStart\"=\"m1\"\r\n");
    }
    EXPECT_EQ(store.GetTaskRemindMeStart(true), S("d2"));
    EXPECT_EQ(store.GetTaskRemindMeTime(true), S("09:00"));
    EXPECT_TRUE(store.GetTaskSetDuration(true));
    EXPECT_EQ(store.GetTaskRemindMeStart(false), S("m1"));
    // Neither set moves reminders, and reading writes nothing.
    EXPECT_FALSE(store.GetTaskMoveOffWeekend(true));
    EXPECT_FALSE(store.GetTaskMoveOffWeekend(false));
    EXPECT_FALSE(QFile::exists(hives.user().filePath() + S(".damaged")));
    QFile f(hives.user().filePath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_FALSE(f.readAll().contains("MoveOffWeekend"));
}

// A setter alone keeps the old value on a full disk and says nothing; inside a checked
// save the first value that could not be written is told, with the file and why.
TEST(AddInRegistryOnFiles, ACheckedSaveTellsWhatCouldNotBeWritten) {
    test::TempHives hives;
    TAddInRegistry store{hives.user(), hives.machine()};
    store.SetTaskPriority(2, false);
    QFile file(hives.user().filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    const QString told = S("Cannot save the settings to %1: the disk is full.")
                             .arg(QDir::toNativeSeparators(hives.user().filePath()));

    const platform::DiskSpaceLimit full(0);
    store.SetTaskPriority(0, false);
    EXPECT_EQ(store.GetTaskPriority(true), 2);
    // What is stored already needs no room.
    EXPECT_NO_THROW(store.SaveChecked([&] { store.SetTaskPriority(2, false); }));
    const std::pair<const char*, std::function<void()>> saves[] = {
        {"a value of a section that is there", [&] { store.SetTaskPriority(0, false); }},
        {"a section not there yet", [&] { store.SetStartWizard(false); }}};
    for (const auto& [label, save] : saves) {
        SCOPED_TRACE(label);
        try {
            store.SaveChecked(save);
            ADD_FAILURE() << "saved";
        } catch (const SettingsSaveError& e) {
            EXPECT_EQ(e.text(), told);
        }
    }
    EXPECT_TRUE(store.GetStartWizard());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

// A checked save ends at the first value it cannot write: a template too long for the
// room left does not switch the template off without its text.
TEST(AddInRegistryOnFiles, ACheckedSaveStopsAtTheFirstValueItCannotWrite) {
    test::TempHives hives;
    TAddInRegistry store{hives.user(), hives.machine()};
    store.SetReplyTemplate(true, S("Short"));
    const qint64 size = QFileInfo(hives.user().filePath()).size();
    const platform::DiskSpaceLimit room(size + 200);
    EXPECT_THROW(store.SaveChecked(
                     [&] { store.SetReplyTemplate(false, QString(10'000, QLatin1Char('x'))); }),
                 SettingsSaveError);
    EXPECT_TRUE(store.GetUseReplyTemplate());
    EXPECT_EQ(store.GetReplyTemplate(), S("Short"));
    EXPECT_EQ(QFileInfo(hives.user().filePath()).size(), size);
}
