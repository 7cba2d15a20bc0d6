#pragma once
// What a name at a place of the code means, as VBA binds it: the routine
// around the place first (its parameters and locals), then the module (its
// declarations part, routines and Enum members), then what the other
// modules make public, then module names. Inside a Function or Property Get
// its own bare name is its return value. A qualified name binds to what its
// qualifier names: a module's member, the own class's (Me), an Enum's; the
// member of any other object may be any class module's public member of
// that name, never a standard module's. Strings and comments hold no names.
// Definition (F8), the callers, call sites, every reference and the site's
// links all ask this one resolver.
#include <functional>
#include <vector>

#include "navigate/ProjectScope.h"

namespace lumo {

enum class UseKind {
    NotAName,     // a label, a named argument, a member behind "!", no name at all
    Use,          // a use of what `targets` names
    Declaration,  // the name where it is declared
    ReturnValue,  // a function's own name inside it: its return value, no call
};

struct Resolution {
    UseKind kind = UseKind::NotAName;
    // What the name may mean, nearest first: one declaration, the Property
    // Get, Let and Set of one name, or for the member of an object of
    // unknown class each class module's public member of the name. Empty
    // for a name nothing in the project declares.
    std::vector<Declaration> targets;
    bool objectMember = false;  // the last case: x.N, .N inside With
    int column = 0;             // 1-based column where the name starts
    int length = 0;
};

// A place where a declared thing is named.
struct NameReference {
    int module = 0;
    int line = 0;
    int column = 0;  // 1-based
    int length = 0;
    int routine = 0;           // rou_num of the routine around it, 0 outside every routine
    bool declaration = false;  // the name where it is declared
};

// The same declared thing (a property's Get, Let and Set are three).
bool sameDeclaration(const Declaration& a, const Declaration& b);

class NameResolver {
public:
    explicit NameResolver(ProjectScope& scope) : scope_(scope) {}

    // The name at line `line` of module `module` whose characters cover
    // column `column` (1-based; the column just after a name counts as
    // in it, as a caret there stands on it).
    Resolution resolveAt(int module, int line, int column);

    // The occurrence of `name` on line `line` first at or after column
    // `fromColumn`, resolved; NotAName when the line has none.
    Resolution resolveNamed(int module, int line, int fromColumn, QStringView name);

    // What `name` means at module level of `module` (outside every routine).
    std::vector<Declaration> visibleFrom(int module, QStringView name);

    // Every place that names `target`, by module, then line, then column:
    // its declaration and its uses (a function's return value inside it is
    // none). Modules whose text could not be read are passed over.
    // onlyModule > 0 keeps the search to that module (the uses marked in
    // the module shown).
    std::vector<NameReference> references(const Declaration& target, int onlyModule = 0);

    // Calls f(line, resolution) for every name of module `module`, in text
    // order, the kind NotAName included (a label, a named argument). For a
    // walk over a whole project read every declarations part first
    // (ProjectScope::readAllParts): each routine is read whole once.
    void forEachName(int module, const std::function<void(int line, const Resolution&)>& f);

    // The uses of a routine outside its declaration: what the callers and
    // call sites list.
    std::vector<NameReference> calls(const Declaration& routine);

    // The declaration of the routine numbered `number`, as targets name it.
    Declaration routineDeclaration(int number) const;

    ProjectScope& scope() { return scope_; }

private:
    Resolution resolveToken(int module, int line, int start, int end, int depth);
    std::vector<Declaration> unqualified(int module, int line, QStringView name, bool hasArguments, UseKind& kind);
    std::vector<Declaration> members(int module, int ofModule, QStringView name);
    std::vector<Declaration> typeNamed(int module, QStringView name);
    std::vector<Declaration> objectMembers(QStringView name);
    bool declaredHere(int module, int line, int column, QStringView name, Declaration& out);

    ProjectScope& scope_;
};

}  // namespace lumo
