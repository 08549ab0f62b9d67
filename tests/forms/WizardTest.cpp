// The quick start wizard, offscreen, on a real settings hive.

#include "forms/WizardLogic.h"
#include "forms/WizardUnit.h"
#include "platform/AtomicWrite.h"
#include "settings/AddInRegistry.h"
#include "tests/support/RecordingPrompts.h"
#include "tests/support/ScriptedWindows.h"
#include "tests/support/TempHives.h"
#include "tools/Globals.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>

#include <gtest/gtest.h>

using namespace vantorel;

namespace {

class WizardTest : public ::testing::Test {
protected:
    WizardTest() {
        AddInRegistry = new TAddInRegistry();
        HelpFilePath = QStringLiteral("/opt/vantorel/Vantorel.chm");
    }
    ~WizardTest() override {
        delete AddInRegistry;
        AddInRegistry = nullptr;
        HelpFilePath.clear();
    }

    // A wizard for one showing, as at start-up; PERSON acts in it.
    int show(const std::function<void(TWizardWindow&)>& person) {
        TWizardWindow wizard;
        windows->person = [&](QDialog&) { person(wizard); };
        return wizard.ShowModal();
    }

    static void key(QWidget* target, int code) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
    }

    static void expectPage(const TWizardWindow& w, int n) {
        EXPECT_EQ(w.CurrentPage(), n);
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(w.Page(i)->isVisible(), i == n) << "page " << i << " on page " << n;
        }
        EXPECT_EQ(w.SubTitle->text(), WizardPageTitle(n));
        EXPECT_EQ(w.cmdBack->isEnabled(), n > 1) << "page " << n;
        EXPECT_EQ(w.cmdNext->isEnabled(), n < 5) << "page " << n;
        EXPECT_TRUE(w.cmdCancel->isEnabled());
        EXPECT_EQ(w.cmdCancel->text(),
                  n == 5 ? QStringLiteral("&Close") : QStringLiteral("&Cancel"));
    }

    test::TempHives hives;
    test::WindowsScope windows;
};

TEST_F(WizardTest, TheWindowAsDesigned) {
    TWizardWindow w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quick Start"));
    EXPECT_EQ(w.size(), QSize(519, 401));
    EXPECT_EQ(w.minimumSize(), w.maximumSize()) << "not resizable";
    const std::tuple<const char*, QRect, const char*> rows[] = {
        {"PanelTitle", {0, 0, 519, 59}, ""},        {"Image1", {463, 5, 48, 48}, ""},
        {"PanelWorkspace", {-5, 59, 529, 293}, ""}, {"cmdBack", {260, 368, 75, 25}, "&Back"},
        {"cmdNext", {341, 368, 75, 25}, "&Next"},   {"cmdCancel", {436, 368, 75, 25}, "&Cancel"},
        {"page02_Img01", {124, 73, 280, 129}, ""},  {"page03_Img01", {30, 73, 446, 86}, ""},
        {"page04_Img01", {120, 73, 248, 142}, ""},  {"page05_Img01", {105, 73, 300, 99}, ""},
    };
    for (const auto& [name, geometry, caption] : rows) {
        QWidget* c = w.findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(c->geometry(), geometry) << name;
        if (auto* button = qobject_cast<QPushButton*>(c)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(caption)) << name;
            // Enter goes on to the next page.
            EXPECT_EQ(button->isDefault(), QLatin1String(name) == QLatin1String("cmdNext")) << name;
        }
        if (auto* picture = qobject_cast<QLabel*>(c); picture && !picture->pixmap().isNull()) {
            // Shown in its box's shape, so stretching it distorts nothing.
            const QSize s = picture->pixmap().size();
            EXPECT_NEAR(1.0 * s.width() / s.height(), 1.0 * geometry.width() / geometry.height(),
                        0.03)
                << name;
        }
    }
    for (const char* picture :
         {"Image1", "page02_Img01", "page03_Img01", "page04_Img01", "page05_Img01"}) {
        EXPECT_FALSE(w.findChild<QLabel*>(QLatin1String(picture))->pixmap().isNull()) << picture;
    }
    const std::tuple<const char*, QPoint, QString> labels[] = {
        {"Title", {8, 5}, QStringLiteral("Vantorel")},
        {"SubTitle", {8, 24}, QStringLiteral("Welcome")},
        {"page01_lbl01", {30, 24}, wizard_text::kWelcome},
        {"page01_lbl02", {30, 64}, wizard_text::kBeAware},
        {"page01_lbl03", {30, 91}, wizard_text::kWhatFor},
        {"page01_lbl04", {30, 176}, QString::fromUtf8("Click Next to start a short introduction…")},
        {"page02_lbl01", {30, 24}, wizard_text::kSending},
        {"page03_lbl01", {30, 24}, wizard_text::kTasks},
        {"page04_lbl01", {30, 24}, wizard_text::kReminders},
        {"page04_lbl02", {30, 235}, wizard_text::kTemplate},
        {"page05_lbl01", {30, 24}, wizard_text::kSettings},
    };
    for (const auto& [name, pos, text] : labels) {
        auto* label = w.findChild<QLabel*>(QLatin1String(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->pos(), pos) << name;
        EXPECT_EQ(label->text(), text) << name;
    }
    EXPECT_TRUE(w.Title->font().bold());
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("page01_lbl01"))->font().bold());
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("page01_lbl03"))->width(), 449);
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("page01_lbl03"))->wordWrap());
}

TEST_F(WizardTest, ThePagesLieOnTopOfEachOtherInTheWorkArea) {
    show([](TWizardWindow& w) {
        for (int n = 1; n <= 5; ++n) {
            EXPECT_EQ(w.Page(n)->geometry(), QRect(13, 6, 519, 293)) << n;
            EXPECT_EQ(w.Page(n)->parentWidget(), w.PanelWorkspace);
        }
        expectPage(w, 1);
    });
}

struct WalkRow {
    const char* what;
    const char* clicks;  // N: Next, B: Back
    int page;
};

class Walks : public WizardTest, public ::testing::WithParamInterface<WalkRow> {};

TEST_P(Walks, EndOnThePageWithItsTitleAndButtons) {
    show([](TWizardWindow& w) {
        for (const char* c = GetParam().clicks; *c != '\0'; ++c) {
            (*c == 'N' ? w.cmdNext : w.cmdBack)->click();
        }
        expectPage(w, GetParam().page);
    });
}

INSTANTIATE_TEST_SUITE_P(
    WizardTest, Walks,
    ::testing::Values(WalkRow{"Start", "", 1}, WalkRow{"OneOn", "N", 2},
                      WalkRow{"ThereAndBack", "NNBB", 1}, WalkRow{"ToTheEnd", "NNNN", 5},
                      WalkRow{"PastTheEnd", "NNNNN", 5}, WalkRow{"BackFromTheEnd", "NNNNB", 4},
                      WalkRow{"BackAtTheStart", "B", 1}),
    [](const ::testing::TestParamInfo<WalkRow>& info) { return info.param.what; });

TEST_F(WizardTest, EveryShowingStartsOnTheFirstPage) {
    TWizardWindow wizard;
    windows->person = [&](QDialog&) {
        wizard.cmdNext->click();
        wizard.cmdNext->click();
        wizard.close();
    };
    wizard.ShowModal();
    windows->person = [&](QDialog&) { expectPage(wizard, 1); };
    wizard.ShowModal();
}

struct CloseRow {
    const char* what;
    int page;
    int how;  // 0: the cancel button, 1: Esc, 2: the close box
    bool startWizardAfter;
};

class Closing : public WizardTest, public ::testing::WithParamInterface<CloseRow> {};

TEST_P(Closing, SwitchesTheIntroductionOffOnlyFromTheLastPage) {
    const CloseRow& row = GetParam();
    bool closed = false;
    show([&](TWizardWindow& w) {
        while (w.CurrentPage() < row.page) {
            w.cmdNext->click();
        }
        switch (row.how) {
            case 0:
                w.cmdCancel->click();
                break;
            case 1:
                key(w.cmdNext, Qt::Key_Escape);
                break;
            default:
                w.close();
        }
        closed = !w.isVisible();
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(AddInRegistry->GetStartWizard(), row.startWizardAfter);
    EXPECT_EQ(TAddInRegistry().GetStartWizard(), row.startWizardAfter) << "stored for good";
}

INSTANTIATE_TEST_SUITE_P(
    WizardTest, Closing,
    ::testing::Values(CloseRow{"CancelOnPage1", 1, 0, true}, CloseRow{"CancelOnPage4", 4, 0, true},
                      CloseRow{"EscOnPage3", 3, 1, true}, CloseRow{"CloseOnPage5", 5, 0, false},
                      CloseRow{"EscOnPage5", 5, 1, false}, CloseRow{"CloseBoxOnPage5", 5, 2, true}),
    [](const ::testing::TestParamInfo<CloseRow>& info) { return info.param.what; });

// Closing from the last page on a full disk: the person is told that the switch could
// not be saved (the introduction comes again at the next start), and the wizard closes.
TEST_F(WizardTest, CloseOnAFullDiskSaysTheSwitchWasNotSaved) {
    AddInRegistry->SetReplyTemplate(true, QStringLiteral("Mine"));
    test::PromptsScope prompts;
    const platform::DiskSpaceLimit full(0);
    bool closed = false;
    show([&](TWizardWindow& w) {
        while (w.CurrentPage() < 5) {
            w.cmdNext->click();
        }
        w.cmdCancel->click();
        closed = !w.isVisible();
    });
    EXPECT_TRUE(closed);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(prompts->shown[0].text,
              QStringLiteral("Cannot save the settings to %1: the disk is full.")
                  .arg(QDir::toNativeSeparators(hives.userFile())));
    EXPECT_TRUE(AddInRegistry->GetStartWizard());
}

TEST_F(WizardTest, ReturnGoesOnPageByPageAndClosesOnTheLast) {
    show([](TWizardWindow& w) {
        EXPECT_EQ(w.focusWidget(), w.cmdNext);
        for (int page = 2; page <= 5; ++page) {
            key(w.focusWidget(), Qt::Key_Return);
            EXPECT_EQ(w.CurrentPage(), page);
        }
        EXPECT_EQ(w.focusWidget(), w.cmdCancel) << "Next is off on the last page";
        EXPECT_TRUE(w.cmdCancel->isDefault());
        key(w.focusWidget(), Qt::Key_Return);
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_FALSE(AddInRegistry->GetStartWizard()) << "read to the end, as Close";
}

TEST_F(WizardTest, CancelNeverSwitchesTheFlagOn) {
    AddInRegistry->SetStartWizard(false);
    show([](TWizardWindow& w) { w.cmdCancel->click(); });
    EXPECT_FALSE(AddInRegistry->GetStartWizard()) << "left as it was";
}

TEST_F(WizardTest, F1OpensTheHelpAtItsDefaultPage) {
    show([](TWizardWindow& w) {
        key(w.cmdNext, Qt::Key_F1);
        w.cmdCancel->click();
    });
    ASSERT_EQ(windows->helpShown.size(), 1u);
    EXPECT_EQ(windows->helpShown[0].first, QStringLiteral("/opt/vantorel/Vantorel.chm"));
    EXPECT_EQ(windows->helpShown[0].second, -1) << "a topic, no context";
}

TEST(WizardLogicTest, TitlesAndButtonsOfEveryPage) {
    const char* titles[] = {"Welcome", "Sending an e-mail", "Tasks", "Reminders", "Settings"};
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(WizardPageTitle(n), QLatin1String(titles[n - 1]));
        EXPECT_EQ(CancelSwitchesOffStartWizard(n), n == 5) << n;
    }
    EXPECT_TRUE(WizardPageTitle(6).isEmpty());
    EXPECT_EQ(WizardNextPage(5), 5);
    EXPECT_EQ(WizardBackPage(1), 1);
}

TEST(WizardLogicTest, APictureShowsTheBandOfItsBoxsShape) {
    QImage square(448, 448, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    const QImage band = PictureBand(square, QSize(446, 86));
    EXPECT_EQ(band.size(), QSize(448, 86));
    EXPECT_EQ(PictureBand(square, QSize(40, 80)).size(), QSize(448, 448)) << "never taller";
    EXPECT_TRUE(PictureBand(QImage(), QSize(10, 10)).isNull());
}

TEST(WizardLogicTest, TheTitlePictureIsNeverEnlarged) {
    const std::pair<int, const char*> rows[] = {{100, "150"}, {125, "200"}, {150, "225"},
                                                {200, "300"}, {250, "400"}, {400, "400"},
                                                {0, "150"}};
    for (const auto& [scale, suffix] : rows) {
        EXPECT_EQ(TitleImageSuffix(scale), QLatin1String(suffix)) << scale;
    }
}

}  // namespace
