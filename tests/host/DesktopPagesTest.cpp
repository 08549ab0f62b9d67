// Help pages and web addresses: opened by the launcher, or named in a message box
// when no launcher can open them.

#include "host/desktop/DesktopHelp.h"
#include "host/desktop/DesktopUrlOpener.h"
#include "tests/support/RecordingPrompts.h"

#include <gtest/gtest.h>

namespace vantorel::test {
namespace {

struct PageRow {
    const char* name;
    bool help;      // a help page (else a web address)
    bool launches;  // the launcher opens it
};

class DesktopPages : public ::testing::TestWithParam<PageRow> {
protected:
    PromptsScope prompts;
};

TEST_P(DesktopPages, APageNoLauncherOpensIsNamedInAMessageBox) {
    const PageRow& row = GetParam();
    QUrl opened;
    const host::PageLauncher launch = [&](const QUrl& url) {
        opened = url;
        return row.launches;
    };
    QString where;
    if (row.help) {
        host::DesktopHelp(launch).showTopic(QStringLiteral("vantorel.chm"));
        where = opened.toLocalFile();
        EXPECT_TRUE(opened.isLocalFile()) << opened.toString().toStdString();
    } else {
        where = QStringLiteral("https://example.com/vantorel");
        host::DesktopUrlOpener(launch).openUrl(where);
        EXPECT_EQ(opened, QUrl(where));
    }
    ASSERT_FALSE(where.isEmpty());
    if (row.launches) {
        EXPECT_TRUE(prompts->shown.empty());
    } else {
        ASSERT_EQ(prompts->shown.size(), 1U);
        EXPECT_TRUE(prompts->shown[0].text.contains(where)) << prompts->shown[0].text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, DesktopPages,
                         ::testing::Values(PageRow{"HelpOpened", true, true},
                                           PageRow{"HelpWithoutLauncher", true, false},
                                           PageRow{"LinkOpened", false, true},
                                           PageRow{"LinkWithoutLauncher", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantorel::test
