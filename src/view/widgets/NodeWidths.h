#pragma once
// The sizes of a tree's nodes, worked out once for each name in each look.
// The tree sizes its column to its nodes' names and does so again after each
// change of layout, selection or colour, each time asking up to a thousand
// nodes; laying out a name's text costs far more than adding up its letters'
// advances, so a name of Latin-1 letters is measured so, and any other once
// by the full layout, until the tree is emptied.
#include <array>
#include <optional>
#include <utility>
#include <vector>

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QSize>
#include <QStyleOptionViewItem>

class QStyledItemDelegate;
class QWidget;

namespace lumo {

class NodeWidths {
public:
    // The number of the look a node is asked in (style, font, picture size
    // and place, direction, features); it changes with any of them and when
    // the sizes are forgotten. A node may keep its size for as long as the
    // number stays.
    quint32 lookOf(const QStyleOptionViewItem& option);
    // The size of the node at `index`: `asked` as the tree asks it, `filled`
    // the same filled in for the node. What the letters cannot tell is asked
    // of the delegate's own full layout.
    QSize sizeOf(const QStyledItemDelegate& delegate, const QStyleOptionViewItem& asked,
                 const QStyleOptionViewItem& filled, const QModelIndex& index);
    // The tree was emptied: no name's size is kept (the letters' advances are).
    void forget();

private:
    // The width of a name of Latin-1 letters in the font, and the font's
    // number among those asked (a node's font may be its own, bold).
    std::optional<int> latinWidth(const QString& text, const QFont& font, const QWidget* widget, int& fontNumber);

    QHash<QString, QSize> sizes_;
    // Per look (font, features, picture size): a node's size less its name's width.
    QHash<QString, QSize> bases_;
    // Per font: the advance of each Latin-1 character, -1 until asked.
    std::vector<std::pair<QFont, std::array<qreal, 256>>> advances_;
    // What the sizes above hold for.
    const QStyle* style_ = nullptr;
    QFont font_;
    QFontMetrics metrics_{QFont()};
    QStyleOptionViewItem::Position position_ = QStyleOptionViewItem::Left;
    Qt::LayoutDirection direction_ = Qt::LeftToRight;
    // The look of the last question, and its number.
    quint32 look_ = 1;
    const QStyle* askedStyle_ = nullptr;
    QFont askedFont_;
    QFontMetrics askedMetrics_{QFont()};
    QSize askedDecoration_;
    QStyleOptionViewItem::Position askedPosition_ = QStyleOptionViewItem::Left;
    Qt::LayoutDirection askedDirection_ = Qt::LeftToRight;
    QStyleOptionViewItem::ViewItemFeatures askedFeatures_;
};

}  // namespace lumo
