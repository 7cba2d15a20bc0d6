#pragma once
// What a project declares, as VBA sees it from any place: the modules, each
// module's own names (its declarations part and its routines) and, per
// routine, its parameters and locals. The module texts are read once; each
// module's code lines and each routine's locals are worked out when first
// asked for.
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include "model/CodeDatabase.h"
#include "navigate/CodeLines.h"
#include "navigate/Declarations.h"
#include "navigate/RoutineLocals.h"

namespace lumo {

class WorkingStore;

// A declaration with the column of its name (1-based, 0 where not known).
struct PlacedDeclaration {
    Declaration declaration;
    int column = 0;
};

class ProjectScope {
public:
    // Reads the tables and every module text of the open store. A module
    // text that cannot be read leaves that module with the names the tables
    // know; unreadable() names it. Throws StoreError (the tables).
    static std::unique_ptr<ProjectScope> read(WorkingStore& store);
    // From rows and texts at hand (texts[i] of module i + 1, UTF-8 tagged
    // text; an empty array for one that could not be read).
    static std::unique_ptr<ProjectScope> of(std::vector<ModuleRow> modules, std::vector<RoutineRow> routines,
                                            std::vector<QByteArray> texts);

    int moduleCount() const { return int(modules_.size()); }
    const ModuleRow* module(int number) const;
    bool isClassLike(int module) const;  // every kind but a standard module
    // The module of that name (without regard to case), 0 for none.
    int moduleNamed(QStringView name) const;
    const QStringList& unreadable() const { return unreadable_; }

    // Routines of a module by first line.
    const std::vector<RoutineRow>& routinesOf(int module) const;
    const RoutineRow* routineAt(int module, int line) const;
    const RoutineRow* routineNumbered(int number) const;
    // The last head line of a routine (its head may go on over several lines).
    int headLastLine(const RoutineRow& r);

    // The stored text and the code lines of a module.
    const QByteArray& text(int module) const;
    const CodeLines& code(int module);
    bool hasCode(int module) const { return module >= 1 && module <= int(code_.size()) && code_[size_t(module) - 1]; }
    // Drops the code lines and locals worked out for a module (a caller that
    // walks a large project module by module keeps memory flat).
    void forget(int module);

    // The module-level declarations of `name` in `module` (routines
    // included), by line; the module's own name is not among them.
    std::span<const PlacedDeclaration* const> moduleLevel(int module, QStringView name);
    // Every module-level declaration of `name` in the project, by module, then line.
    std::span<const PlacedDeclaration* const> everywhere(QStringView name);
    // Reads every declarations part now: for a walk over every name of the project.
    void readAllParts();
    // All module-level declarations of a module, by line.
    std::vector<const PlacedDeclaration*> declarationsOf(int module);

    // The parameters and locals of a routine.
    const std::vector<LocalName>& locals(const RoutineRow& r);
    // The local declarations of `name` in routine `r`, and the one of them
    // that hides others of the name there, if any.
    std::vector<const LocalName*> localsNamed(const RoutineRow& r, QStringView name);
    const LocalName* localNamed(const RoutineRow& r, QStringView name);

private:
    ProjectScope() = default;
    void index();
    // The declarations parts are read when a name is first asked for, and
    // only those that hold it: a search for one name reads few of them.
    void readPartsHolding(QStringView name);
    void readPart(int module);

    std::vector<ModuleRow> modules_;                        // by number
    std::vector<std::vector<RoutineRow>> routines_;         // per module, by start
    std::vector<QByteArray> texts_;                         // per module
    std::vector<std::deque<PlacedDeclaration>> declared_;  // per module (routines, then its declarations part)
    std::vector<qsizetype> partEnd_;                       // per module: bytes of the declarations part
    std::vector<bool> partRead_;
    int partsUnread_ = 0;
    std::vector<std::unique_ptr<CodeLines>> code_;          // per module, when asked for
    std::unordered_map<int, std::vector<LocalName>> locals_;  // per routine number (nodes stay put)
    QHash<QPair<int, QString>, std::shared_ptr<std::vector<LocalName>>> localsNamed_;  // per routine and folded name
    QHash<int, std::pair<int, size_t>> routineIndex_;       // rou_num -> module, index
    // Names compare without regard to case; asked with a view, no copy.
    struct FoldedHash {
        using is_transparent = void;
        size_t operator()(QStringView s) const;
    };
    struct FoldedEqual {
        using is_transparent = void;
        bool operator()(QStringView a, QStringView b) const { return a.compare(b, Qt::CaseInsensitive) == 0; }
    };
    using Named = std::vector<const PlacedDeclaration*>;
    std::unordered_map<QString, Named, FoldedHash, FoldedEqual> byName_;  // by module, then line
    std::unordered_map<QString, int, FoldedHash, FoldedEqual> moduleByName_;
    std::unordered_map<QString, bool, FoldedHash, FoldedEqual> namesRead_;  // the parts holding it are read
    QStringList unreadable_;
};

// The scope of the project open in `store`, read at its first use after
// each opening and kept until the next. Throws StoreError (the tables).
ProjectScope& projectScopeOf(WorkingStore& store);


}  // namespace lumo
