#include "app/widgets/HitPanel.h"

#include <algorithm>

#include <QAbstractTableModel>
#include <QFontDatabase>
#include <QHeaderView>
#include <QMainWindow>
#include <QTreeView>

namespace lumo {

// The hits as the rows of a table: module name, line, the line's text.
class HitRows : public QAbstractTableModel {
public:
    explicit HitRows(QObject* parent)
        : QAbstractTableModel(parent), code_(QFontDatabase::systemFont(QFontDatabase::FixedFont)) {
        bold_ = code_;
        bold_.setBold(true);
    }

    void reset(std::vector<SearchHit> hits, QStringList moduleNames) {
        beginResetModel();
        hits_ = std::move(hits);
        names_ = std::move(moduleNames);
        endResetModel();
    }
    const std::vector<SearchHit>& hits() const { return hits_; }
    const QStringList& names() const { return names_; }

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(hits_.size()); }
    int columnCount(const QModelIndex&) const override { return 3; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= int(hits_.size())) return {};
        const SearchHit& hit = hits_[std::size_t(index.row())];
        switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
            case 0: return names_.value(hit.module);
            case 1: return hit.line;
            default: return hit.text.trimmed();
            }
        case Qt::FontRole:
            if (hit.declaration) return index.column() == 2 ? QVariant(bold_) : QVariant(boldPlain());
            return index.column() == 2 ? QVariant(code_) : QVariant();
        case Qt::TextAlignmentRole:
            return index.column() == 1 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        default: return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        static const char* const kHeads[] = {"Modul", "Zeile", "Text"};
        return section >= 0 && section < 3 ? QString::fromUtf8(kHeads[section]) : QVariant();
    }

private:
    std::vector<SearchHit> hits_;
    QStringList names_;  // by module index
    QFont code_;
    QFont bold_;
    static QFont boldPlain() {
        QFont f;
        f.setBold(true);
        return f;
    }
};

HitPanel::HitPanel(QMainWindow& window) : QDockWidget(QStringLiteral("Fundstellen"), &window), window_(window) {
    setObjectName(QStringLiteral("dckFundstellen"));
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    rows_ = new HitRows(this);
    list_ = new QTreeView(this);
    list_->setObjectName(QStringLiteral("lstFundstellen"));
    list_->setModel(rows_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->header()->setStretchLastSection(true);
    setWidget(list_);
    connect(list_, &QTreeView::clicked, this, &HitPanel::choose);
    connect(list_, &QTreeView::activated, this, &HitPanel::choose);
    window.addDockWidget(Qt::BottomDockWidgetArea, this);
    hide();
}

const std::vector<SearchHit>& HitPanel::hits() const { return rows_->hits(); }

void HitPanel::showHits(const QString& what, std::vector<SearchHit> hits,
                        const std::function<QString(int)>& moduleName, const QString& heading) {
    QStringList names;
    int lastLine = 0;
    for (const SearchHit& hit : hits) {
        while (names.size() <= hit.module) names << QString();
        if (names[hit.module].isNull()) names[hit.module] = moduleName(hit.module);
        lastLine = std::max(lastLine, hit.line);
    }
    // Widths from the names rather than from every row, which a list of
    // thousands would make slow to show.
    const QFontMetrics metrics(list_->font());
    int nameWidth = metrics.horizontalAdvance(QStringLiteral("Modul"));
    for (const QString& name : std::as_const(names)) nameWidth = std::max(nameWidth, metrics.horizontalAdvance(name));
    const int lineWidth = metrics.horizontalAdvance(QString::number(lastLine * 10 + 10));
    const int count = int(hits.size());
    rows_->reset(std::move(hits), std::move(names));
    const int padding = 4 * metrics.averageCharWidth();
    list_->header()->resizeSection(0, nameWidth + padding);
    list_->header()->resizeSection(1, lineWidth + padding);
    setWindowTitle(QStringLiteral("%1: %2 (%3)").arg(heading, what).arg(count));
    show();
    raise();
    takeItsShare();
}

void HitPanel::takeItsShare() {
    // A third of what the code and the panel share; the code keeps the rest.
    const QWidget* code = window_.centralWidget();
    const int shared = (code ? code->height() : 0) + (isVisible() ? height() : 0);
    const int third = shared / 3;
    if (third > 0 && height() < third) window_.resizeDocks({this}, {third}, Qt::Vertical);
}

void HitPanel::clearHits() {
    rows_->reset({}, {});
    hide();
}

void HitPanel::choose(const QModelIndex& index) {
    if (index.isValid() && index.row() < int(hits().size())) emit hitChosen(hits()[std::size_t(index.row())]);
}

}  // namespace lumo
