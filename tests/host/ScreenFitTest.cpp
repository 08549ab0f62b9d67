// Windows fit into the screen's available area and open on it.

#include "host/desktop/ScreenFit.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace vantorel::test {
namespace {

struct FitRow {
    const char* name;
    QRect window;
    bool placed;
    QSize minimum;
    QRect expected;
};

class ScreenFit : public ::testing::TestWithParam<FitRow> {};

// A 1066 x 666 screen (1600 x 1000 at 150 %) with a 30-pixel panel at the top, and a
// frame of 4 pixels with a 26-pixel title bar.
const QRect kAvailable(0, 30, 1066, 636);
const QMargins kFrame(4, 26, 4, 4);

TEST_P(ScreenFit, TheWindowFitsIntoTheAvailableArea) {
    const FitRow& row = GetParam();
    EXPECT_EQ(host::fitIntoScreen(row.window, kFrame, kAvailable, row.placed, row.minimum),
              row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ScreenFit,
    ::testing::Values(
        FitRow{"SmallPlacedStays", QRect(100, 100, 400, 300), true, {}, QRect(100, 100, 400, 300)},
        FitRow{
            "SmallUnplacedIsCentred", QRect(0, 0, 400, 300), false, {}, QRect(333, 209, 400, 300)},
        FitRow{"LargerThanTheScreenShrinks",
               QRect(0, 0, 1180, 680),
               false,
               {},
               QRect(4, 56, 1058, 606)},
        FitRow{"BelowTheBottomMovesUp",
               QRect(300, 500, 720, 500),
               true,
               {},
               QRect(300, 162, 720, 500)},
        FitRow{"LeftOfTheScreenMovesRight",
               QRect(-200, 100, 400, 300),
               true,
               {},
               QRect(4, 100, 400, 300)},
        FitRow{"AFixedSizeKeepsItsTopLeftIn", QRect(0, 0, 600, 800), true, QSize(600, 800),
               QRect(4, 56, 600, 800)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScreenFit, ANewWindowStepsAsideFromTheWindowsItWouldCover) {
    const QRect area(4, 56, 1058, 606);
    const QRect fitted(333, 209, 400, 300);
    EXPECT_EQ(host::cascade(fitted, {}, area), QPoint(333, 209));
    EXPECT_EQ(host::cascade(fitted, {QPoint(333, 209)}, area), QPoint(359, 235));
    EXPECT_EQ(host::cascade(fitted, {QPoint(336, 218)}, area), QPoint(359, 235))
        << "a window moved by its frame is still in the way";
    EXPECT_EQ(host::cascade(fitted, {QPoint(333, 209), QPoint(359, 235)}, area), QPoint(385, 261));
    // Out of room at the bottom right: from the top left again.
    const QRect low(600, 350, 400, 300);
    EXPECT_EQ(host::cascade(low, {QPoint(600, 350), QPoint(626, 376)}, area), QPoint(4, 56));
}

TEST(ScreenFitter, AWindowShownLargerThanTheScreenFitsIntoIt) {
    host::ScreenFitter fitter;
    qApp->installEventFilter(&fitter);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget window;
    window.resize(available.size() + QSize(400, 300));
    window.show();
    QApplication::processEvents();
    EXPECT_TRUE(available.contains(window.geometry()))
        << window.geometry().width() << "x" << window.geometry().height();
    QWidget second;
    second.resize(200, 100);
    QWidget third;
    third.resize(200, 100);
    second.show();
    third.show();
    EXPECT_NE(second.pos(), third.pos());
    EXPECT_TRUE(available.contains(third.geometry()));
    qApp->removeEventFilter(&fitter);
}

}  // namespace
}  // namespace vantorel::test
