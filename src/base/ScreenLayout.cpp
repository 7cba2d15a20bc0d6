#include "base/ScreenLayout.h"

#include <cmath>

#include <QStringList>

namespace lumo {

namespace {
// Beyond this no screen reaches; such a layout is a damaged setting.
constexpr double kMaxTwips = 100000.0 * 15;
}  // namespace

QString encodeScreenLayout(const ScreenLayout& layout) {
    if (layout.maximized) return QStringLiteral("max");
    return QStringList{QString::number(layout.left), QString::number(layout.top), QString::number(layout.width),
                       QString::number(layout.height)}
        .join(QLatin1Char(';'));
}

std::optional<ScreenLayout> decodeScreenLayout(const QString& bis) {
    if (bis.compare(QStringLiteral("max"), Qt::CaseInsensitive) == 0) return ScreenLayout{true};
    const QStringList parts = bis.split(QLatin1Char(';'));
    if (parts.size() < 4) return std::nullopt;
    double v[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v[i]) || std::abs(v[i]) > kMaxTwips) return std::nullopt;
    }
    ScreenLayout l;
    l.left = int(std::lround(v[0]));
    l.top = int(std::lround(v[1]));
    l.width = int(std::lround(v[2]));
    l.height = int(std::lround(v[3]));
    if (l.width <= 0 || l.height <= 0) return std::nullopt;
    return l;
}

}  // namespace lumo
