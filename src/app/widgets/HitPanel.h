#pragma once
// Every hit of a search at once, in a panel below the code (dckFundstellen):
// one row per hit with module, line and the line's text; a click or Enter
// on a row asks for a jump to that hit. The panel keeps the hits it lists
// until the next list or until it is emptied.
#include <functional>
#include <vector>

#include <QDockWidget>

#include "navigate/SearchHits.h"

class QMainWindow;
class QTreeWidget;
class QTreeWidgetItem;

namespace lumo {

class HitPanel : public QDockWidget {
    Q_OBJECT
public:
    // Docked at the bottom of `window`, hidden until it lists something.
    explicit HitPanel(QMainWindow& window);

    // Lists the hits of `what`; moduleName gives a module's name by its index.
    void showHits(const QString& what, std::vector<SearchHit> hits, const std::function<QString(int)>& moduleName);
    // Empty and hidden, as after a project is closed.
    void clearHits();

    const std::vector<SearchHit>& hits() const { return hits_; }
    QTreeWidget* list() const { return list_; }

signals:
    void hitChosen(const SearchHit& hit);

private:
    void choose(QTreeWidgetItem* item);

    QTreeWidget* list_ = nullptr;
    std::vector<SearchHit> hits_;
};

}  // namespace lumo
