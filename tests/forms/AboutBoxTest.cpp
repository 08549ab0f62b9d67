// The About box offscreen, on an add-in library file made for each test.

#include "forms/AboutBoxUnit.h"
#include "platform/ShellOpen.h"
#include "tests/support/ScriptedWindows.h"
#include "tests/support/TestSystem.h"
#include "tools/DisplayScale.h"
#include "tools/Globals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace vantorel;

namespace {

// The shell's "open" action, recorded.
class RecordingUrlOpener : public platform::UrlOpener {
public:
    void openUrl(const QString& url) override { opened << url; }
    QStringList opened;
};

class AboutBoxTest : public ::testing::Test {
protected:
    AboutBoxTest() : urls(std::make_shared<RecordingUrlOpener>()) {
        platform::installUrlOpener(urls);
        HelpFilePath = dir.filePath(QStringLiteral("Vantorel.chm"));
        DisplayScale = 100;
    }
    ~AboutBoxTest() override {
        platform::installUrlOpener(nullptr);
        HelpFilePath.clear();
        DisplayScale = 0;
    }

    void installLibrary(const QString& version) { test::installAddInLibrary(dir.path(), version); }

    // Shows a new About box; PERSON acts in it.
    int show(const std::function<void(TAboutWindow&)>& person) {
        TAboutWindow about;
        windows->person = [&](QDialog&) { person(about); };
        return about.ShowModal();
    }

    static void key(QWidget* target, int code) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
    }

    QTemporaryDir dir;
    test::WindowsScope windows;
    std::shared_ptr<RecordingUrlOpener> urls;
};

struct ControlRow {
    const char* name;
    QPoint at;
    QSize size;  // empty: sized by its text
    const char* text;
};

TEST_F(AboutBoxTest, TheWindowAsDesigned) {
    installLibrary(QStringLiteral("2.0.0.5"));
    TAboutWindow about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(about.size(), QSize(313, 239));
    EXPECT_EQ(about.minimumSize(), about.maximumSize()) << "not resizable";
    EXPECT_EQ(about.layoutDirection(), Qt::LeftToRight);
    EXPECT_TRUE(about.btnClose->isDefault());
    EXPECT_EQ(about.lblVersion->font().pixelSize(), 16);
    EXPECT_TRUE(about.lblVersion->font().bold());
    EXPECT_TRUE(about.Label3->wordWrap());
    EXPECT_TRUE(about.LnkSupport->font().underline());
    EXPECT_EQ(about.LnkSupport->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(about.LnkSupport->palette().color(QPalette::WindowText), QColor(Qt::blue));

    const ControlRow rows[] = {
        {"imgLogo", {8, 8}, {48, 48}, ""},
        {"lblVersion", {80, 8}, {}, "Vantorel 2.0"},
        {"lblBuild", {80, 33}, {}, "Build 2.0.0.5"},
        {"Label3",
         {8, 149},
         {297, 26},
         "Should you have any issues, questions or suggestions, please contact us:"},
        {"LnkSupport", {8, 178}, {}, "https://www.ostrelin.example/vantorel/support"},
        {"btnClose", {230, 206}, {75, 25}, "&Close"},
    };
    for (const ControlRow& row : rows) {
        QWidget* w = about.findChild<QWidget*>(QLatin1String(row.name));
        ASSERT_NE(w, nullptr) << row.name;
        EXPECT_EQ(w->pos(), row.at) << row.name;
        if (!row.size.isEmpty()) {
            EXPECT_EQ(w->size(), row.size) << row.name;
        }
        if (auto* label = qobject_cast<QLabel*>(w); label && *row.text) {
            EXPECT_EQ(label->text(), QLatin1String(row.text)) << row.name;
        }
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            EXPECT_EQ(button->text(), QLatin1String(row.text)) << row.name;
        }
    }
}

TEST_F(AboutBoxTest, TheBuildIsTheLibrarysFileVersion) {
    EXPECT_EQ(AddInLibraryPath(), dir.filePath(QStringLiteral(VANTOREL_ADDIN_FILE_NAME)));
    installLibrary(QStringLiteral("2.0.0.40000"));
    EXPECT_EQ(BuildText(AddInLibraryPath()), QStringLiteral("Build 2.0.0.40000"));
    TAboutWindow about;
    EXPECT_EQ(about.lblBuild->text(), QStringLiteral("Build 2.0.0.40000"));
}

TEST_F(AboutBoxTest, AnUnreadableVersionRaisesAndThereIsNoWindow) {
    EXPECT_THROW(TAboutWindow about, std::runtime_error) << "no library at all";
    QFile file(dir.filePath(QStringLiteral(VANTOREL_ADDIN_FILE_NAME)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_THROW(BuildText(AddInLibraryPath()), std::runtime_error) << "no version in its name";
    EXPECT_EQ(windows->shownCount, 0);
}

struct ScaleRow {
    int scale;
    bool large;
};

class AboutLogoTest : public AboutBoxTest, public ::testing::WithParamInterface<ScaleRow> {};

TEST_P(AboutLogoTest, TheLargeLogoAbove125Percent) {
    const ScaleRow& row = GetParam();
    EXPECT_EQ(UsesLargeLogo(row.scale), row.large);
    EXPECT_EQ(LogoResourceName(row.scale),
              row.large ? QStringLiteral("IMG_LOGO_150") : QStringLiteral("IMG_LOGO_100"));
    installLibrary(QStringLiteral("2.0.0.1"));
    DisplayScale = static_cast<quint16>(row.scale);
    TAboutWindow about;
    EXPECT_EQ(about.imgLogo->pixmap().size(), row.large ? QSize(72, 72) : QSize(48, 48));
    EXPECT_EQ(about.imgLogo->size(), QSize(48, 48)) << "the box stretches its picture";
    EXPECT_TRUE(about.imgLogo->hasScaledContents());
}

INSTANTIATE_TEST_SUITE_P(Scales, AboutLogoTest,
                         ::testing::Values(ScaleRow{0, false}, ScaleRow{100, false},
                                           ScaleRow{125, false}, ScaleRow{150, true},
                                           ScaleRow{175, true}, ScaleRow{200, true},
                                           ScaleRow{400, true}),
                         [](const ::testing::TestParamInfo<ScaleRow>& info) {
                             return "Scale" + std::to_string(info.param.scale);
                         });

TEST_F(AboutBoxTest, EnterAndEscClose) {
    installLibrary(QStringLiteral("2.0.0.1"));
    for (const int code : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        bool closed = false;
        const int result = show([&](TAboutWindow& about) {
            key(about.btnClose, code);
            closed = !about.isVisible();
        });
        EXPECT_TRUE(closed) << code;
        EXPECT_EQ(result, QDialog::Accepted) << code;
    }
}

TEST_F(AboutBoxTest, TheLinkOpensTheSupportPage) {
    installLibrary(QStringLiteral("2.0.0.1"));
    show([](TAboutWindow& about) {
        const QPointF at(4, 4);
        QMouseEvent press(QEvent::MouseButtonPress, at, about.LnkSupport->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, about.LnkSupport->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(about.LnkSupport, &press);
        QCoreApplication::sendEvent(about.LnkSupport, &release);
        EXPECT_TRUE(about.isVisible());
        about.btnClose->click();
    });
    EXPECT_EQ(urls->opened, QStringList{kSupportUrl});
}

TEST_F(AboutBoxTest, F1OpensTheHelpAtItsDefaultPage) {
    installLibrary(QStringLiteral("2.0.0.1"));
    show([](TAboutWindow& about) {
        key(about.btnClose, Qt::Key_F1);
        EXPECT_TRUE(about.isVisible());
        about.btnClose->click();
    });
    ASSERT_EQ(windows->helpShown.size(), 1u);
    EXPECT_EQ(windows->helpShown[0], std::make_pair(HelpFilePath, -1));
}

// Writes the shown window to VANTOREL_GRAB_DIR, when set, to be looked at.
TEST_F(AboutBoxTest, Looks) {
    DisplayScale = ScaleFromDotsPerInch(96.0 * qApp->devicePixelRatio());
    installLibrary(QStringLiteral("2.0.0.17"));
    show([](TAboutWindow& about) {
        const QPixmap picture = about.grab();
        EXPECT_EQ(picture.deviceIndependentSize().toSize(), about.size());
        const QString folder = qEnvironmentVariable("VANTOREL_GRAB_DIR");
        if (!folder.isEmpty()) {
            picture.save(QDir(folder).filePath(
                QStringLiteral("about-%1.png").arg(ScaleToSuffix(DisplayScale))));
        }
        about.btnClose->click();
    });
}

}  // namespace
