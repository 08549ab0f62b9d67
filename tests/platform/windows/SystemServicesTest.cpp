// On Windows, with nothing installed, the shell opens web addresses and help pages
// and PlaySoundW plays the wave file. What a test can see without starting a browser
// or playing a sound: what happens when the shell cannot open the page, and that a
// wave file that is not there plays nothing and stops nothing.

#include "platform/Help.h"
#include "platform/ShellOpen.h"
#include "platform/Sound.h"
#include "tests/support/QuietServices.h"
#include "tests/support/RecordingPrompts.h"

#include <QDir>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

using namespace vantorel::platform;

namespace {

class SystemServices : public ::testing::Test {
protected:
    SystemServices() {
        installSoundPlayer(nullptr);
        installUrlOpener(nullptr);
        installHelpViewer(nullptr);
    }
    ~SystemServices() override { vantorel::test::installQuietServices(); }
    QString native(const QString& name) const {
        return QDir::toNativeSeparators(dir.filePath(name));
    }
    QTemporaryDir dir;
    vantorel::test::PromptsScope prompts;
};

}  // namespace

// The forms' handlers call these directly: a page the shell cannot open is told in a
// message box naming it and Windows' reason, never thrown.
TEST_F(SystemServices, APageTheShellCannotOpenIsNamedInAMessage) {
    struct Row {
        const char* label;
        std::function<void()> request;
        QString page;  // as the message names it
    };
    const QString helpFile = dir.filePath(QStringLiteral("Vantorel.chm"));
    const Row rows[] = {
        {"Url", [&] { ShellOpenUrl(native(QStringLiteral("missing.html"))); },
         native(QStringLiteral("missing.html"))},
        {"HelpContext", [&] { HtmlHelpContext(helpFile, 7); },
         native(QStringLiteral("help/index.html"))},
        {"HelpTopic", [&] { HtmlHelpTopic(helpFile); }, native(QStringLiteral("help/index.html"))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        prompts->shown.clear();
        EXPECT_NO_THROW(row.request());
        ASSERT_EQ(prompts->shown.size(), 1u);
        const QString text = prompts->shown[0].text;
        EXPECT_TRUE(
            text.startsWith(QStringLiteral("No program could be started to show the page (")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("(Windows error 2)"))) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral("Open it yourself:\n\n") + row.page))
            << text.toStdString();
        EXPECT_EQ(prompts->shown[0].icon, MessageIcon::Information);
    }
}

TEST_F(SystemServices, AMissingWaveFilePlaysNothingAndRaisesNothing) {
    EXPECT_NO_THROW(PlayWaveAsync(dir.filePath(QStringLiteral("missing.wav"))));
    EXPECT_TRUE(prompts->shown.empty());
}
