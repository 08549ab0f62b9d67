// On Linux the system plays nothing and hands web addresses and help requests to
// standard error, where the host installed nothing.

#include "platform/Help.h"
#include "platform/ShellOpen.h"
#include "platform/Sound.h"
#include "tests/support/QuietServices.h"

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
};

std::string standardErrorOf(void (*request)()) {
    ::testing::internal::CaptureStderr();
    request();
    return ::testing::internal::GetCapturedStderr();
}

}  // namespace

TEST_F(SystemServices, RequestsGoToStandardErrorAndNothingIsPlayed) {
    struct Row {
        const char* label;
        void (*request)();
        const char* line;
    };
    const Row rows[] = {
        {"Url", [] { ShellOpenUrl(QStringLiteral("https://example.org/a b")); },
         "open url \"https://example.org/a b\"\n"},
        {"HelpContext", [] { HtmlHelpContext(QStringLiteral("/opt/v/Vantorel.chm"), 7); },
         "help /opt/v/Vantorel.chm context 7\n"},
        {"HelpTopic", [] { HtmlHelpTopic(QStringLiteral("/opt/v/Vantorel.chm")); },
         "help /opt/v/Vantorel.chm\n"},
        {"Sound", [] { PlayWaveAsync(QStringLiteral("/opt/v/reminder.wav")); }, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(standardErrorOf(row.request), row.line);
    }
}
