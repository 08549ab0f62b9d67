#pragma once

// The add-in's image resources, compiled into the add-in library.
//
// Every picture exists once per display scale, named prefix + scale suffix
// ("IMG_ALARM_150", "ICO_REMINDER_100"; see tools/DisplayScale.h). They are PNG files
// with alpha under ":/vantorel/images/NAME.png", drawn by resources/artwork at build
// time. Once the library is loaded, the host can reach them by that path as well.

#include <QIcon>
#include <QImage>
#include <QString>

namespace vantorel {

// The resource path of the image NAME.
QString ImageResourcePath(const QString& sName);

// The image NAME as a 32-bit image with premultiplied alpha, as picture boxes take
// it; a null image when there is no such resource.
QImage LoadImageResource(const QString& sName);

// The icon NAME ("ICO_REMINDER_150"); a null icon when there is no such resource.
QIcon LoadIconResource(const QString& sName);

}  // namespace vantorel
