#pragma once
// Every hit of a search at once, in a panel below the code (dckFundstellen):
// one row per hit with module, line and the line's text; a click or Enter
// on a row asks for a jump to that hit. The rows are read from the hits as
// they are drawn, so that thousands of them show at once; the panel keeps
// the hits it lists until the next list or until it is emptied.
#include <functional>
#include <vector>

#include <QDockWidget>

#include "navigate/SearchHits.h"

class QMainWindow;
class QTreeView;

namespace lumo {

class HitRows;

class HitPanel : public QDockWidget {
    Q_OBJECT
public:
    // Docked at the bottom of `window`, hidden until it lists something.
    explicit HitPanel(QMainWindow& window);

    // Lists the hits of `what` under `heading` ("Fundstellen: what (count)");
    // moduleName gives a module's name by its index. A declaring place is
    // set in bold. Shown, the panel takes at least a third of the height
    // the window gives the code and the panel together.
    void showHits(const QString& what, std::vector<SearchHit> hits, const std::function<QString(int)>& moduleName,
                  const QString& heading = QStringLiteral("Fundstellen"));
    // Empty and hidden, as after a project is closed.
    void clearHits();

    const std::vector<SearchHit>& hits() const;
    QTreeView* list() const { return list_; }

signals:
    void hitChosen(const SearchHit& hit);

private:
    void choose(const QModelIndex& index);
    void takeItsShare();

    QMainWindow& window_;
    QTreeView* list_ = nullptr;
    HitRows* rows_ = nullptr;
};

}  // namespace lumo
