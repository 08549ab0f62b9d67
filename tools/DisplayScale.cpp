#include "tools/DisplayScale.h"

#include <cmath>

namespace vantorel {

namespace {
const int kMarkerSize = 32;  // the marker box's height at 100 %
const double kDesignDotsPerInch = 96.0;
}  // namespace

quint16 ScaleFromImageHeight(int nHeight) {
    switch (nHeight) {
        case 40:
            return 125;
        case 48:
            return 150;
        case 56:
            return 175;
        case 64:
            return 200;
        case 72:
            return 225;
        case 80:
            return 250;
        case 96:
            return 300;
        case 112:  // 350 %: the 400 % images, shrunk by their boxes
        case 128:  // 400 %
            return 400;
        default:
            return 100;
    }
}

quint16 ScaleFromDotsPerInch(double dDotsPerInch) {
    const double dHeight = kMarkerSize * dDotsPerInch / kDesignDotsPerInch;
    if (!(dHeight > 0 && dHeight < 1000)) {  // also NaN: nothing a display reports
        return 100;
    }
    return ScaleFromImageHeight(static_cast<int>(std::lround(dHeight)));
}

QString ScaleToSuffix(int nScale) {
    switch (nScale) {
        case 125:
        case 150:
        case 175:
        case 200:
        case 225:
        case 250:
        case 300:
        case 400:
            return QString::number(nScale);
        default:
            return QStringLiteral("100");
    }
}

}  // namespace vantorel
