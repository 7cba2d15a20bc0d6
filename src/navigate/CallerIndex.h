#pragma once
// The callers of every routine of a project at once, for pages that list
// them all (the site): the caller search (Callers.h, CallSites.h) reads
// every module once per routine asked, this reads each module once for
// all. Its answers are the caller search's, rule for rule: a reference is
// the routine's name, case and all, outside keywords, comments, strings and
// routine lines and not part of a longer name (isCallerIdentChar); lines
// are counted by carriage returns; a routine is asked as its module's first
// of that name (callerScope says where it is searched) and every line is
// listed once, with the routine covering it (coveringRoutine).
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QStringView>

#include "model/CodeDatabase.h"
#include "model/Tags.h"

namespace lumo {

// A line that calls a routine, and the routine covering it (nullptr outside every routine).
struct IndexedCall {
    int module = 0;
    int line = 0;
    const RoutineRow* in = nullptr;  // among the index's routines
};

class CallerIndex {
public:
    // `routines`: every routine of the project, by module, then first line
    // (routinesOfModulesByStart); kept by reference.
    explicit CallerIndex(const std::vector<RoutineRow>& routines);
    ~CallerIndex();
    CallerIndex(const CallerIndex&) = delete;
    CallerIndex& operator=(const CallerIndex&) = delete;

    // Reads the tagged text of module `module`. Modules are read in
    // ascending order of their numbers; the index may be filled on a thread
    // of its own, and is asked once it is filled.
    void addModule(int module, QStringView tagged);

    // The calls of `routine` (one of the index's routines) by module, then
    // line; nothing for a routine the caller search does not search (a property).
    std::optional<std::vector<IndexedCall>> callers(const RoutineRow& routine) const;

private:
    class Names;
    // One module's reading, a sink of readTagged.
    class ModuleReader {
    public:
        ModuleReader(CallerIndex& index, int module) : index_(index), module_(module) {}
        void text(QStringView run);
        void tag(TagKind kind);
        void finish();

    private:
        void word(QStringView word, int line);

        CallerIndex& index_;
        const int module_;
        int line_ = 1;
        bool inSpan_ = false;
        TagKind awaited_ = TagKind::Close;
    };

    std::span<const RoutineRow> routinesOf(int module) const;
    inline const RoutineRow* covering(int module, int line) const;

    const std::vector<RoutineRow>& routines_;
    std::unique_ptr<Names> names_;
    // Every reference by the name as written: module, line.
    std::vector<std::vector<std::pair<int, int>>> calls_;
    // By module number, line: the covering routine's place in routines_, -1 for none.
    std::vector<std::vector<int>> covering_;
};

}  // namespace lumo
