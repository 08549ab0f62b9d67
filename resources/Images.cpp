#include "resources/Images.h"

#include <QFileInfo>

namespace vantorel {

QString ImageResourcePath(const QString& sName) {
    return QStringLiteral(":/vantorel/images/") + sName + QStringLiteral(".png");
}

QImage LoadImageResource(const QString& sName) {
    const QImage image(ImageResourcePath(sName));
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QIcon LoadIconResource(const QString& sName) {
    const QString sPath = ImageResourcePath(sName);
    return QFileInfo::exists(sPath) ? QIcon(sPath) : QIcon();
}

}  // namespace vantorel
