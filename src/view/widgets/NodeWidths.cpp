#include "view/widgets/NodeWidths.h"

#include <algorithm>

#include <QApplication>
#include <QFontMetricsF>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QtMath>

namespace lumo {

quint32 NodeWidths::lookOf(const QStyleOptionViewItem& option) {
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    if (style != askedStyle_ || option.font != askedFont_ || option.fontMetrics != askedMetrics_ ||
        option.decorationSize != askedDecoration_ || option.decorationPosition != askedPosition_ ||
        option.direction != askedDirection_ || option.features != askedFeatures_) {
        ++look_;
        askedStyle_ = style;
        askedFont_ = option.font;
        askedMetrics_ = option.fontMetrics;
        askedDecoration_ = option.decorationSize;
        askedPosition_ = option.decorationPosition;
        askedDirection_ = option.direction;
        askedFeatures_ = option.features;
    }
    return look_;
}

void NodeWidths::forget() {
    sizes_.clear();
    bases_.clear();
    ++look_;
}

QSize NodeWidths::sizeOf(const QStyledItemDelegate& delegate, const QStyleOptionViewItem& asked,
                         const QStyleOptionViewItem& opt, const QModelIndex& index) {
    const QWidget* widget = opt.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    // The metrics tell a screen of another resolution too, which the font does not.
    if (style != style_ || opt.font != font_ || opt.fontMetrics != metrics_ || opt.decorationPosition != position_ ||
        opt.direction != direction_) {
        sizes_.clear();
        bases_.clear();
        advances_.clear();
        style_ = style;
        font_ = opt.font;
        metrics_ = opt.fontMetrics;
        position_ = opt.decorationPosition;
        direction_ = opt.direction;
    }
    if (opt.features & QStyleOptionViewItem::WrapText) return delegate.QStyledItemDelegate::sizeHint(asked, index);
    // Features and picture size are small numbers: one character each.
    const QString key = opt.text + QChar(0) + QChar(char16_t(opt.features.toInt())) +
                        QChar(char16_t(opt.decorationSize.width())) + QChar(char16_t(opt.decorationSize.height()));
    auto known = sizes_.constFind(key);
    if (known != sizes_.constEnd()) return known.value();
    // A name of Latin-1 letters is measured by its letters' advances, beside
    // what the full layout gives for one letter in the same look. Kerned
    // letters (AV, Ta) make the column a little wider; the pixel added keeps
    // room for a last letter reaching past its advance (f).
    int fontNumber = 0;
    if (const std::optional<int> width = latinWidth(opt.text, opt.font, widget, fontNumber)) {
        const QString look = QChar(char16_t(fontNumber)) + key.right(3);
        auto base = bases_.constFind(look);
        if (base == bases_.constEnd()) {
            QStyleOptionViewItem letter = opt;
            letter.text = QStringLiteral("x");
            const QSize size = style->sizeFromContents(QStyle::CT_ItemViewItem, &letter, QSize(), widget);
            const int letterWidth = latinWidth(letter.text, opt.font, widget, fontNumber).value_or(0);
            base = bases_.insert(look, QSize(size.width() - letterWidth + 1, size.height()));
        }
        return QSize(base->width() + *width, base->height());
    }
    return sizes_.insert(key, delegate.QStyledItemDelegate::sizeHint(asked, index)).value();
}

std::optional<int> NodeWidths::latinWidth(const QString& text, const QFont& font, const QWidget* widget,
                                          int& fontNumber) {
    auto found = std::find_if(advances_.begin(), advances_.end(), [&](const auto& f) { return f.first == font; });
    if (found == advances_.end()) {
        advances_.push_back({font, {}});
        found = advances_.end() - 1;
        found->second.fill(-1);
    }
    fontNumber = int(found - advances_.begin());
    std::array<qreal, 256>& advances = found->second;
    std::optional<QFontMetricsF> metrics;
    qreal sum = 0;
    for (const QChar c : text) {
        // Control characters (C0, DEL, C1) are left to the full layout.
        const char16_t u = c.unicode();
        if (!((u >= 0x20 && u < 0x7F) || (u >= 0xA0 && u <= 0xFF))) return std::nullopt;
        qreal& advance = advances[c.unicode()];
        if (advance < 0) {
            if (!metrics) widget ? metrics.emplace(font, widget) : metrics.emplace(font);
            advance = metrics->horizontalAdvance(c);
        }
        sum += advance;
    }
    return qCeil(sum);
}

}  // namespace lumo
