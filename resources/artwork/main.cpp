// vantorel_artwork: renders the add-in's pictures and its reminder sound at build time.
//
//   vantorel_artwork images OUTDIR SCALES NAME:BASE...
//       For each NAME (a resource prefix without its scale, "IMG_ALARM") and each scale
//       of the comma-separated SCALES ("100,125"), draws OUTDIR/NAME_SCALE.png, a square
//       of BASE * SCALE / 100 pixels with alpha.
//   vantorel_artwork sound FILE
//       Writes the reminder chime to FILE.
//   vantorel_artwork installer OUTDIR
//       Writes the Windows installer's pictures: OUTDIR/vantorel.ico (the reminder icon
//       at 16, 24, 32, 48 and 256 pixels), OUTDIR/welcome.bmp (164 x 314, the first and
//       last pages) and OUTDIR/header.bmp (150 x 57, the other pages' header).

#include "resources/artwork/Drawings.h"
#include "resources/artwork/Sound.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

namespace {

using vantorel::artwork::drawings;

int fail(const QString& text) {
    std::fprintf(stderr, "vantorel_artwork: %s\n", qPrintable(text));
    return 1;
}

bool writeFile(const QString& path, const QByteArray& data) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

QImage render(const vantorel::artwork::Drawing& draw, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 100.0, size / 100.0);
    draw(painter);
    painter.end();
    return image;
}

int images(const QString& outDir, const QString& scaleList, const QStringList& pictures) {
    QList<int> scales;
    for (const QString& text : scaleList.split(QLatin1Char(','))) {
        bool ok = false;
        scales << text.toInt(&ok);
        if (!ok || scales.last() <= 0) {
            return fail(QStringLiteral("bad scale \"%1\"").arg(text));
        }
    }
    if (!QDir().mkpath(outDir)) {
        return fail(QStringLiteral("cannot create %1").arg(outDir));
    }
    for (const QString& picture : pictures) {
        const QString name = picture.section(QLatin1Char(':'), 0, 0);
        bool ok = false;
        const int base = picture.section(QLatin1Char(':'), 1).toInt(&ok);
        const auto drawing = drawings().find(name);
        if (!ok || base <= 0 || drawing == drawings().end()) {
            return fail(QStringLiteral("no picture \"%1\"").arg(picture));
        }
        for (const int scale : scales) {
            if (base * scale % 100 != 0) {
                return fail(QStringLiteral("%1 at %2 %% is not a whole number of pixels")
                                .arg(picture)
                                .arg(scale));
            }
            const QString path = QStringLiteral("%1/%2_%3.png").arg(outDir, name).arg(scale);
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly) ||
                !render(drawing->second, base * scale / 100).save(&file, "PNG") || !file.commit()) {
                return fail(QStringLiteral("cannot write %1").arg(path));
            }
        }
    }
    return 0;
}

// An .ico of uncompressed 32-bit bitmaps, which every reader of icons takes (the
// installer's compiler too): each picture is a BITMAPINFOHEADER, its rows bottom-up in
// BGRA, then a one-bit mask, bottom-up, of the fully transparent pixels.
QByteArray iconFile(const vantorel::artwork::Drawing& draw, const QList<int>& sizes) {
    QList<QByteArray> pictures;
    for (const int size : sizes) {
        const QImage image = render(draw, size).convertToFormat(QImage::Format_ARGB32);
        QByteArray bits;
        QDataStream out(&bits, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        const int maskStride = (size + 31) / 32 * 4;
        out << quint32(40) << qint32(size) << qint32(2 * size) << quint16(1) << quint16(32)
            << quint32(0) << quint32(size * size * 4 + maskStride * size) << qint32(0) << qint32(0)
            << quint32(0) << quint32(0);
        for (int y = size - 1; y >= 0; --y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < size; ++x) {
                out << quint8(qBlue(row[x])) << quint8(qGreen(row[x])) << quint8(qRed(row[x]))
                    << quint8(qAlpha(row[x]));
            }
        }
        for (int y = size - 1; y >= 0; --y) {
            QByteArray mask(maskStride, '\0');
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < size; ++x) {
                if (qAlpha(row[x]) == 0) {
                    mask[x / 8] = char(mask[x / 8] | (0x80 >> (x % 8)));
                }
            }
            out.writeRawData(mask.constData(), int(mask.size()));
        }
        pictures << bits;
    }
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(sizes.size());
    quint32 offset = 6 + 16 * quint32(sizes.size());
    for (int i = 0; i < sizes.size(); ++i) {
        const quint8 side = sizes[i] >= 256 ? 0 : quint8(sizes[i]);
        out << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(pictures[i].size()) << offset;
        offset += quint32(pictures[i].size());
    }
    for (const QByteArray& picture : pictures) {
        out.writeRawData(picture.constData(), int(picture.size()));
    }
    return file;
}

// A page picture of the installer: the reminder icon of iconSize pixels centred on
// (centreX, centreY), over white with a band of the icon's blue when banded.
QByteArray pagePicture(int width, int height, int iconSize, int centreX, int centreY, bool banded) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (banded) {
        QLinearGradient band(0, 0, 0, height);
        band.setColorAt(0, QColor(0x31, 0x82, 0xce));
        band.setColorAt(1, QColor(0xbe, 0xe3, 0xf8));
        painter.fillRect(image.rect(), band);
    }
    const QImage icon = render(drawings().at(QStringLiteral("ICO_REMINDER")), iconSize);
    painter.drawImage(centreX - iconSize / 2, centreY - iconSize / 2, icon);
    painter.end();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    return data;
}

int installer(const QString& outDir) {
    if (!QDir().mkpath(outDir)) {
        return fail(QStringLiteral("cannot create %1").arg(outDir));
    }
    const std::pair<QString, QByteArray> files[] = {
        {QStringLiteral("vantorel.ico"),
         iconFile(drawings().at(QStringLiteral("ICO_REMINDER")), {16, 24, 32, 48, 256})},
        {QStringLiteral("welcome.bmp"), pagePicture(164, 314, 112, 82, 120, true)},
        {QStringLiteral("header.bmp"), pagePicture(150, 57, 48, 121, 28, false)},
    };
    for (const auto& [name, data] : files) {
        const QString path = outDir + QLatin1Char('/') + name;
        if (!writeFile(path, data)) {
            return fail(QStringLiteral("cannot write %1").arg(path));
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    if (args.size() >= 4 && args[0] == QLatin1String("images")) {
        return images(args[1], args[2], args.mid(3));
    }
    if (args.size() == 2 && args[0] == QLatin1String("sound")) {
        return writeFile(args[1], vantorel::artwork::chimeWave())
                   ? 0
                   : fail(QStringLiteral("cannot write %1").arg(args[1]));
    }
    if (args.size() == 2 && args[0] == QLatin1String("installer")) {
        return installer(args[1]);
    }
    return fail(QStringLiteral(
        "usage: vantorel_artwork images OUTDIR SCALES NAME:BASE... | sound FILE | installer "
        "OUTDIR"));
}
