#pragma once

// The display scale: which of the nine image sizes the add-in uses on this display.
//
// The template editor carries a picture box designed 32 x 32 pixels at 96 dots per
// inch; once the toolkit has scaled the form to the display, the box's height tells
// the scale. Every image resource exists once per scale and is named by a prefix and
// the scale's suffix ("IMG_ALARM_" + "150").

#include <QString>
#include <QtGlobal>

namespace vantorel {

// The scale in percent (100, 125, 150, 175, 200, 225, 250, 300 or 400) for the height
// in pixels of the 32-pixel marker box after scaling. Heights outside the table give
// 100; both 112 (a display at 350 %) and 128 (400 %) give 400.
quint16 ScaleFromImageHeight(int nHeight);

// The same measurement from the display's dots per inch, where the toolkit reports
// them: the marker box would be round(32 * dpi / 96) pixels high.
quint16 ScaleFromDotsPerInch(double dDotsPerInch);

// The suffix of the image resources for a scale: "125" ... "400" for the scales
// above 100, "100" for every other value (0, the scale before it is measured,
// included).
QString ScaleToSuffix(int nScale);

}  // namespace vantorel
