#include "tests/addin/AddInFixture.h"

#include "reminders/PendingSends.h"
#include "resources/Images.h"
#include "settings/AddInRegistry.h"
#include "tools/Globals.h"

using namespace vantorel;
using test::AddInFixture;

namespace {

// The images of the add-in's ribbon groups, chosen by the display scale when the mail
// client builds a window type's ribbon.
class RibbonImagesTest : public test::ModuleFixture {
protected:
    RibbonImagesTest() { startModule(); }
    // The group's image, then each button's, in ribbon order.
    static QStringList images(const RibbonTab& tab) {
        QStringList names{tab.group.Image()};
        for (const auto& button : tab.controls) {
            names << button->Image();
        }
        return names;
    }
};

TEST_F(RibbonImagesTest, TheMainWindowsRibbonAt150) {
    DisplayScale = 150;
    module->RibbonBeforeCreate(kRibbonExplorer);
    EXPECT_EQ(
        images(module->MainToolbar),
        QStringList({QStringLiteral("IMG_ALARM_150"), QStringLiteral("IMG_DEFAULT_150"),
                     QStringLiteral("IMG_TEMPEDIT_150"), QStringLiteral("IMG_SETTINGS_150")}));
    // The message window's ribbon is built when a message window first opens.
    EXPECT_EQ(images(module->SendMailToolbar), QStringList(3, QString()));
}

TEST_F(RibbonImagesTest, TheMessageWindowsRibbonAt150) {
    DisplayScale = 150;
    module->RibbonBeforeCreate(kRibbonMailCompose);
    EXPECT_EQ(images(module->SendMailToolbar),
              QStringList({QStringLiteral("IMG_ALARM_150"), QStringLiteral("IMG_REMINDME_150"),
                           QStringLiteral("IMG_CUSTOM_150")}));
    EXPECT_EQ(images(module->MainToolbar), QStringList(4, QString()));
}

TEST_F(RibbonImagesTest, AnUnmeasuredScaleUsesThe100Images) {
    DisplayScale = 0;
    module->RibbonBeforeCreate(kRibbonExplorer);
    module->RibbonBeforeCreate(kRibbonMailCompose);
    EXPECT_EQ(
        images(module->MainToolbar),
        QStringList({QStringLiteral("IMG_ALARM_100"), QStringLiteral("IMG_DEFAULT_100"),
                     QStringLiteral("IMG_TEMPEDIT_100"), QStringLiteral("IMG_SETTINGS_100")}));
    EXPECT_EQ(images(module->SendMailToolbar),
              QStringList({QStringLiteral("IMG_ALARM_100"), QStringLiteral("IMG_REMINDME_100"),
                           QStringLiteral("IMG_CUSTOM_100")}));
}

TEST_F(RibbonImagesTest, EveryImageTheRibbonNamesIsInTheLibrary) {
    for (const quint16 scale : {100, 125, 150, 175, 200, 225, 250, 300, 400}) {
        DisplayScale = scale;
        module->RibbonBeforeCreate(kRibbonExplorer);
        module->RibbonBeforeCreate(kRibbonMailCompose);
        for (const QString& name : images(module->MainToolbar) + images(module->SendMailToolbar)) {
            EXPECT_FALSE(LoadImageResource(name).isNull()) << name.toStdString();
        }
    }
}

}  // namespace
