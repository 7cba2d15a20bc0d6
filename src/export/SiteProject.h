#pragma once
// A project read once for its website: modules, routines, texts, every
// declared name, and who calls each routine. The links of the site give the
// answers the window gives: a name leads where Definition (F8) jumps, a
// routine lists the lines the caller search finds.
#include <optional>
#include <vector>

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include "model/CodeDatabase.h"
#include "navigate/Declarations.h"

namespace lumo {

class WorkingStore;

// A line that calls a routine, and the routine it stands in ("" outside every routine).
struct SiteCall {
    int module = 0;
    int line = 0;
    QString routine;
};

class SiteProject {
public:
    // Reads the store; a module text that cannot be read is named in
    // unreadable() and shown without code. Throws StoreError (the tables).
    explicit SiteProject(WorkingStore& store);

    const std::vector<ModuleRow>& modules() const { return modules_; }  // by number
    const std::vector<RoutineRow>& routines() const { return routines_; }  // by module, then first line
    // The tagged text of module `module` (1-based); "" for one not read.
    const QString& text(int module) const;
    const QStringList& unreadable() const { return unreadable_; }
    // modulePageName of module `module` (1-based).
    const QString& pageOf(int module) const { return pages_[size_t(module) - 1]; }

    // The anchor of a routine on its module's page: "r-" + its name, a
    // second routine of that name in the module (a Property Let beside a
    // Get) with "-2" after it, and so on.
    QString anchorOf(qint32 routineNumber) const { return anchors_.value(routineNumber); }

    // An external declaration that its module declared before under
    // another branch of #If: listed once, with the first.
    bool repeats(const RoutineRow& routine) const { return repeated_.contains(routine.number); }
    // The routines as the site lists them, each declaration once.
    int routineCount() const { return int(routines_.size() - size_t(repeated_.size())); }

    // False when no module declares a name of that spelling in any case: a
    // quick test for the many words of a text that lead nowhere.
    bool mayBeDeclared(QStringView word) const;

    // Where Definition leads from `name` in module `module`: module and line.
    std::optional<std::pair<int, int>> definition(const QString& name, int module) const;
    // The calls of routine `routine` as the caller search finds them;
    // nothing for a routine it does not search (a property).
    std::optional<std::vector<SiteCall>> callers(const RoutineRow& routine) const;

private:
    void indexCalls();
    std::optional<std::pair<int, int>> firstCandidate(const QString& name, int module) const;

    std::vector<ModuleRow> modules_;
    std::vector<RoutineRow> routines_;
    std::vector<QString> texts_;
    std::vector<QString> pages_;
    QStringList unreadable_;
    DeclarationIndex declarations_;
    // Every reference to a routine name, by the name as written: module, line.
    QHash<QString, std::vector<std::pair<int, int>>> references_;
    QHash<qint32, QString> anchors_;
    QSet<qint32> repeated_;
    QSet<size_t> declaredHashes_;  // of every declared name, case folded
    struct Known {
        QSet<int> declaredIn;
        std::optional<std::pair<int, int>> elsewhere;  // from any other module
    };
    mutable QHash<QString, Known> known_;  // by the word as written
};

// The page of a module: "modul-" + its name when that is a plain ASCII
// name, else "modul-" + its number; ".html".
QString modulePageName(const ModuleRow& module);

}  // namespace lumo
