#include "host/engine/Engine.h"
#include "settings/AddInRegistry.h"
#include "tests/support/TempHives.h"
#include "tools/Globals.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace vantorel;

namespace {

class MasterCategories : public ::testing::Test {
protected:
    MasterCategories() { OutlookApp = mail.application(); }
    ~MasterCategories() override { OutlookApp.reset(); }

    test::TempHives hives;
    engine::Engine mail{QDir(hives.folder()).filePath(QStringLiteral("mailbox.db"))};
    TAddInRegistry store{hives.user(), hives.machine()};
};

}  // namespace

TEST_F(MasterCategories, AProfileWithoutCategoriesGivesAnEmptyList) {
    EXPECT_EQ(store.GetMasterCategories(), QStringList());
}

TEST_F(MasterCategories, NamesComeInTheProfilesOrder) {
    for (const char* name : {"Vantorel", "Work", "Family"}) {
        mail.addCategory(QString::fromLatin1(name));
    }
    EXPECT_EQ(store.GetMasterCategories(),
              (QStringList{QStringLiteral("Vantorel"), QStringLiteral("Work"),
                           QStringLiteral("Family")}));
}

TEST_F(MasterCategories, AFailureGivesAListAllTheSame) {
    mail.addCategory(QStringLiteral("Vantorel"));
    for (const char* operation :
         {"Categories.Count", "Categories.Item", "Category.Name", "NameSpace.Categories"}) {
        SCOPED_TRACE(operation);
        mail.faults().failNext(QString::fromLatin1(operation), 1);
        EXPECT_EQ(store.GetMasterCategories(), QStringList());
    }
    EXPECT_EQ(store.GetMasterCategories(), QStringList{QStringLiteral("Vantorel")});
}

TEST(MasterCategoriesWithoutApplication, GiveAnEmptyList) {
    test::TempHives hives;
    TAddInRegistry store{hives.user(), hives.machine()};
    EXPECT_EQ(store.GetMasterCategories(), QStringList());
}
