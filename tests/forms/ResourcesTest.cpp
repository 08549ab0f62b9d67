#include "resources/Images.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace vantorel;

namespace {

struct Picture {
    const char* prefix;
    int base;  // pixels square at 100 %
};

class ImageResources : public ::testing::TestWithParam<Picture> {};

TEST_P(ImageResources, ExistAtEveryScaleInTheirSize) {
    for (const int scale : {100, 125, 150, 175, 200, 225, 250, 300, 400}) {
        const QString name = QLatin1String(GetParam().prefix) + QString::number(scale);
        SCOPED_TRACE(name.toStdString());
        const QImage image = LoadImageResource(name);
        ASSERT_FALSE(image.isNull());
        const int size = GetParam().base * scale / 100;
        EXPECT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
        // A drawing on a transparent background.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        bool opaque = false;
        for (int y = 0; y < size && !opaque; ++y) {
            for (int x = 0; x < size && !opaque; ++x) {
                opaque = qAlpha(image.pixel(x, y)) == 255;
            }
        }
        EXPECT_TRUE(opaque);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ImageResources,
    ::testing::Values(Picture{"IMG_ALARM_", 16}, Picture{"IMG_DEFAULT_", 32},
                      Picture{"IMG_TEMPEDIT_", 32}, Picture{"IMG_SETTINGS_", 16},
                      Picture{"IMG_REMINDME_", 32}, Picture{"IMG_CUSTOM_", 32},
                      Picture{"IMG_REMINDER_", 32}, Picture{"IMG_OPTIONS_", 32},
                      Picture{"IMG_SUBJECT_", 32}, Picture{"IMG_CATEGORIES_", 32},
                      Picture{"IMG_TIP_", 32}, Picture{"IMG_TASK_", 32},
                      Picture{"ICO_REMINDER_", 16}),
    [](const auto& info) {
        return std::string(info.param.prefix).substr(0, std::string(info.param.prefix).size() - 1);
    });

TEST(ImageResources, TheReminderIconAtEachScale) {
    const QIcon icon = LoadIconResource(QStringLiteral("ICO_REMINDER_150"));
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(24, 24).size(), QSize(24, 24));
}

TEST(ImageResources, AnUnknownNameLoadsNothing) {
    EXPECT_TRUE(LoadImageResource(QStringLiteral("IMG_ALARM_110")).isNull());
    EXPECT_TRUE(LoadIconResource(QStringLiteral("ICO_REMINDER_")).isNull());
}

// The build puts the chime beside the host program and the add-in library.
TEST(ReminderSound, IsA16BitPcmWaveInTheProgramFolder) {
    QFile wave(QCoreApplication::applicationDirPath() + QStringLiteral("/reminder.wav"));
    ASSERT_TRUE(wave.open(QIODevice::ReadOnly)) << wave.fileName().toStdString();
    const QByteArray data = wave.readAll();
    ASSERT_GE(data.size(), 44);
    const char* h = data.constData();
    EXPECT_EQ(data.left(4), QByteArrayLiteral("RIFF"));
    EXPECT_EQ(data.mid(8, 8), QByteArrayLiteral("WAVEfmt "));
    EXPECT_EQ(qFromLittleEndian<quint16>(h + 20), 1);   // PCM
    EXPECT_EQ(qFromLittleEndian<quint16>(h + 34), 16);  // bits per sample
    EXPECT_EQ(data.mid(36, 4), QByteArrayLiteral("data"));
    const quint32 bytes = qFromLittleEndian<quint32>(h + 40);
    EXPECT_EQ(qsizetype(bytes), data.size() - 44);
    const quint32 rate = qFromLittleEndian<quint32>(h + 24);
    const quint16 channels = qFromLittleEndian<quint16>(h + 22);
    const double seconds = double(bytes) / (rate * channels * 2);
    EXPECT_GT(seconds, 0.5);
    EXPECT_LT(seconds, 3.0);
}

}  // namespace
