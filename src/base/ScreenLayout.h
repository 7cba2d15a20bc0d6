#pragma once
// The user's window layout as the setting "bis" keeps it: "max", or left,
// top, width and height in twips joined by ";".
#include <optional>

#include <QString>

namespace lumo {

struct ScreenLayout {
    bool maximized = false;
    int left = 0, top = 0, width = 0, height = 0;  // twips
};

QString encodeScreenLayout(const ScreenLayout& layout);

// Nothing for a text that is no layout a screen could show: fewer than four
// numbers, a window of no size, or one no screen could hold. "max" in any case
// is the maximised window.
std::optional<ScreenLayout> decodeScreenLayout(const QString& bis);

}  // namespace lumo
