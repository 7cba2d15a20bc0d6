#pragma once
// Every name a module declares at module level: the module's own name, its
// routines and external declarations (from the store), and the constants,
// enumerations with their members, user-defined types, events and
// variables of its declarations part (read from the stored module text).
// What Definition follows for names that are not routines.
#include <vector>

#include <QHash>
#include <QString>
#include <QStringView>

namespace lumo {

class WorkingStore;
struct ModuleRow;
struct RoutineRow;

// Parameter and the Local kinds are names of one routine (its head, its
// Dim, Static, Const and ReDim statements); the others are module level.
enum class DeclarationKind { Module, Routine, Constant, Enum, EnumMember, Type, Event, Variable,
                             Parameter, LocalVariable, LocalConstant };

struct Declaration {
    QString name;
    DeclarationKind kind = DeclarationKind::Variable;
    int module = 0;         // mod_num
    int line = 0;           // 1-based line of the statement; 1 for a module's own name
    bool isPublic = false;  // reachable from other modules
    int routine = 0;        // rou_num of the routine a Parameter or Local belongs to
    QString container;      // the Enum of an EnumMember
};

// The names that the statements of `tagged` declare on lines 1 to
// `lastLine` (every line when lastLine is 0). Comments and string literals
// are skipped, continued lines read as one statement, and the members of a
// Type are not names of the module. Routine heads and Declare statements
// are left to the store.
std::vector<Declaration> scanDeclarations(QStringView tagged, int moduleNumber, int lastLine);

// Every declaration of the project, by module, then line (a module's own
// name before the rest of its line 1), from the modules and routines read
// already (routines by module, then first line) and their texts (texts[i]
// of module i + 1, a null string for one that could not be read). Throws
// StoreError (the tables).
std::vector<Declaration> projectDeclarations(WorkingStore& store, const std::vector<ModuleRow>& modules,
                                             const std::vector<RoutineRow>& routines,
                                             const std::vector<QString>& texts);

class DeclarationIndex {
public:
    // Every module of the project with all it declares. A module text that
    // cannot be read adds nothing of its own. Throws StoreError (the tables).
    static DeclarationIndex ofProject(WorkingStore& store);
    // The same from the module texts read already (texts[i] of module i + 1,
    // a null string for one that could not be read).
    static DeclarationIndex ofProject(WorkingStore& store, const std::vector<QString>& texts);
    // Only the declarations of `name`: a module's text is read through only
    // when its declarations part holds the name at all. Throws StoreError (the tables).
    static DeclarationIndex ofName(WorkingStore& store, const QString& name);

    // By module, then line; a module's own name before the rest of its line 1.
    const std::vector<Declaration>& all() const { return all_; }
    // The declarations of `name`, compared without regard to case, in the order of all().
    std::vector<Declaration> named(const QString& name) const;
    // The name of module `module`, "" for a module the store does not have.
    QString moduleName(int module) const { return moduleNames_.value(module); }

private:
    void add(Declaration d);
    void finish();

    std::vector<Declaration> all_;
    QMultiHash<QString, qsizetype> byName_;  // folded name -> index into all_
    QHash<int, QString> moduleNames_;
};

}  // namespace lumo
