// vantorel_artwork: renders the add-in's pictures and its reminder sound at build time.
//
//   vantorel_artwork images OUTDIR SCALES NAME:BASE...
//       For each NAME (a resource prefix without its scale, "IMG_ALARM") and each scale
//       of the comma-separated SCALES ("100,125"), draws OUTDIR/NAME_SCALE.png, a square
//       of BASE * SCALE / 100 pixels with alpha.
//   vantorel_artwork sound FILE
//       Writes the reminder chime to FILE.

#include "resources/artwork/Drawings.h"
#include "resources/artwork/Sound.h"

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
    return fail(
        QStringLiteral("usage: vantorel_artwork images OUTDIR SCALES NAME:BASE... | sound FILE"));
}
