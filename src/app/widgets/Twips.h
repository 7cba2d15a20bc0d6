#pragma once
// The window's measures are twips (1440 to the inch), as the layout setting
// stores them; a widget converts them with its screen's logical DPI.
#include <QPaintDevice>
#include <QtMath>

namespace lumo {

inline int twipsToPixelsX(const QPaintDevice& device, int twips) {
    return qRound(twips * device.logicalDpiX() / 1440.0);
}

inline int twipsToPixelsY(const QPaintDevice& device, int twips) {
    return qRound(twips * device.logicalDpiY() / 1440.0);
}

}  // namespace lumo
