#pragma once
// One build of the working store from module texts: a fresh copy of the
// template, then one module after the other through the tagging pipeline.
// Used by the headless build and by the project builder of the program.
#include <QString>

namespace lumo {

class Ui;
class WorkingStore;
struct Options;

class ProjectBuild {
public:
    // Builds into `store` with the text options of `options` (read at each module).
    ProjectBuild(Ui& ui, WorkingStore& store, const Options& options);

    // Closes the store, resets the counters, copies the template (false after
    // its message when that fails) and opens the new database.
    bool begin();
    // Module number + 1, current name and type, then the pipeline inside one
    // transaction. Throws ParseError or StoreError; the modules added before
    // stay in the store, the failing one leaves no rows.
    void addModule(const QString& name, int modTyp, const QString& code);
    // Closes the store; silent.
    void finish();

private:
    Ui& ui_;
    WorkingStore& store_;
    const Options& options_;
};

// The warning shown when a build fails, lines joined by CR LF.
QString buildFailedWarning();

}  // namespace lumo
