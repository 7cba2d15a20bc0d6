#pragma once
// Long work (reading, showing, searching, exporting a whole project) tells
// how far it has come and learns whether the user stopped it. The window
// answers with panel 5 and keeps its events going between steps; the
// headless tools and the tests run without anyone watching.
#include <functional>

#include <QString>

namespace lumo {

class Progress {
public:
    virtual ~Progress() = default;
    // Step `done` of `total` has begun (1-based), on the module named `name`
    // (empty when the step has no name). False: the user stopped the work,
    // which then ends as soon as it can and leaves nothing half done.
    virtual bool step(int done, int total, const QString& name) = 0;
    // True once the user stopped the work.
    virtual bool stopped() const = 0;
};

// Thrown where work that builds one result (an export of the whole project)
// is stopped: whoever started it drops the half-made result without a word.
struct WorkStopped {};

// Work nobody watches: never stopped.
Progress& noProgress();

// Loops deep down that know nothing of progress (reading a folder of
// modules or an Office file, a query over the whole store) call workTurn()
// between two pieces of work; the window lets its events have their turn
// there when one is due. The turn must not touch the working store. Empty
// (the headless tools): nothing happens.
void setWorkTurn(std::function<void()> turn);
void workTurn();

// "Modul 123 von 1000 ...": panel 5 while work runs (the module's name, where
// the work has one, is panel 1's).
QString progressText(int done, int total);

}  // namespace lumo
