#include "app/widgets/HitPanel.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QMainWindow>
#include <QTreeWidget>

namespace lumo {

namespace {

constexpr int kHitRole = Qt::UserRole + 1;  // the row's index into the hits

}  // namespace

HitPanel::HitPanel(QMainWindow& window) : QDockWidget(QStringLiteral("Fundstellen"), &window) {
    setObjectName(QStringLiteral("dckFundstellen"));
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("lstFundstellen"));
    list_->setHeaderLabels({QStringLiteral("Modul"), QStringLiteral("Zeile"), QStringLiteral("Text")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->header()->setStretchLastSection(true);
    setWidget(list_);
    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { choose(item); });
    connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { choose(item); });
    window.addDockWidget(Qt::BottomDockWidgetArea, this);
    hide();
}

void HitPanel::showHits(const QString& what, std::vector<SearchHit> hits,
                        const std::function<QString(int)>& moduleName) {
    hits_ = std::move(hits);
    list_->setUpdatesEnabled(false);
    list_->clear();
    const QFont code = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(qsizetype(hits_.size()));
    QString name;
    int named = -1;  // the module `name` belongs to; hits come by module
    for (std::size_t i = 0; i < hits_.size(); ++i) {
        const SearchHit& hit = hits_[i];
        if (hit.module != named) {
            named = hit.module;
            name = moduleName(hit.module);
        }
        auto* row = new QTreeWidgetItem({name, QString::number(hit.line), hit.text.trimmed()});
        row->setData(0, kHitRole, int(i));
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        row->setFont(2, code);
        rows << row;
    }
    list_->addTopLevelItems(rows);
    list_->resizeColumnToContents(0);
    list_->resizeColumnToContents(1);
    list_->setUpdatesEnabled(true);
    setWindowTitle(QStringLiteral("Fundstellen: %1 (%2)").arg(what).arg(hits_.size()));
    show();
    raise();
}

void HitPanel::clearHits() {
    hits_.clear();
    list_->clear();
    hide();
}

void HitPanel::choose(QTreeWidgetItem* item) {
    if (!item) return;
    const int index = item->data(0, kHitRole).toInt();
    if (index >= 0 && index < int(hits_.size())) emit hitChosen(hits_[std::size_t(index)]);
}

}  // namespace lumo
