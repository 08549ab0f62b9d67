#include "tools/DisplayScale.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vantorel;

namespace {

struct HeightCase {
    const char* name;
    int height;
    quint16 scale;
};

class ScaleFromHeight : public ::testing::TestWithParam<HeightCase> {};

TEST_P(ScaleFromHeight, MapsTheMarkerHeight) {
    EXPECT_EQ(ScaleFromImageHeight(GetParam().height), GetParam().scale);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScaleFromHeight,
    ::testing::Values(HeightCase{"At100", 32, 100}, HeightCase{"At125", 40, 125},
                      HeightCase{"At150", 48, 150}, HeightCase{"At175", 56, 175},
                      HeightCase{"At200", 64, 200}, HeightCase{"At225", 72, 225},
                      HeightCase{"At250", 80, 250}, HeightCase{"At300", 96, 300},
                      HeightCase{"At350", 112, 400},
                      // A display at 400 % uses the 400 % images.
                      HeightCase{"At400", 128, 400},
                      // Between the listed heights: 110 %, 140 %, 275 %.
                      HeightCase{"At110", 35, 100}, HeightCase{"At140", 45, 100},
                      HeightCase{"At275", 88, 100}, HeightCase{"At500", 160, 100},
                      HeightCase{"Zero", 0, 100}, HeightCase{"Negative", -48, 100}),
    [](const auto& info) { return std::string(info.param.name); });

struct DpiCase {
    const char* name;
    double dpi;
    quint16 scale;
};

class ScaleFromDpi : public ::testing::TestWithParam<DpiCase> {};

TEST_P(ScaleFromDpi, AgreesWithTheMarkerTheToolkitWouldScale) {
    EXPECT_EQ(ScaleFromDotsPerInch(GetParam().dpi), GetParam().scale);
}

INSTANTIATE_TEST_SUITE_P(Table, ScaleFromDpi,
                         ::testing::Values(DpiCase{"At100", 96, 100}, DpiCase{"At125", 120, 125},
                                           DpiCase{"At150", 144, 150}, DpiCase{"At175", 168, 175},
                                           DpiCase{"At200", 192, 200}, DpiCase{"At225", 216, 225},
                                           DpiCase{"At250", 240, 250}, DpiCase{"At300", 288, 300},
                                           DpiCase{"At350", 336, 400}, DpiCase{"At400", 384, 400},
                                           // 32 * 105.6 / 96 = 35.2: a 110 % display.
                                           DpiCase{"At110", 105.6, 100},
                                           // 32 * 142.6 / 96 = 47.53 rounds to 48.
                                           DpiCase{"RoundsToTheNearestPixel", 142.6, 150},
                                           DpiCase{"Zero", 0, 100}, DpiCase{"Huge", 1e300, 100},
                                           DpiCase{"NotANumber",
                                                   std::numeric_limits<double>::quiet_NaN(), 100}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScaleToSuffix, NamesTheImagesOfEachScale) {
    for (const int scale : {125, 150, 175, 200, 225, 250, 300, 400}) {
        EXPECT_EQ(ScaleToSuffix(scale), QString::number(scale));
    }
}

TEST(ScaleToSuffix, AnyOtherScaleUsesThe100Images) {
    // 0: the scale before it has been measured.
    for (const int scale : {0, 100, 110, 350, 65535, -150}) {
        EXPECT_EQ(ScaleToSuffix(scale), QStringLiteral("100")) << scale;
    }
}

}  // namespace
