#pragma once
// One build of the working store from module texts: a fresh copy of the
// template, then one module after the other through the tagging pipeline.
// Used by the headless build and by the project builder of the program.
#include <functional>
#include <vector>

#include <QString>

namespace lumo {

class Ui;
class WorkingStore;
struct Options;

// A module whose code could not be taken apart: left out, or (textKept)
// read with only the routines that could be split.
struct LeftOutModule {
    QString name;
    QString reason;  // what the parser found, without the line
    int line = 0;    // the module's line as the editor shows it; 0: no single line
    bool textKept = false;
};
// The modules of the list that were left out whole.
std::size_t countLeftOut(const std::vector<LeftOutModule>& modules);

class ProjectBuild {
public:
    // Builds into `store` with the text options of `options` (read at each module).
    ProjectBuild(Ui& ui, WorkingStore& store, const Options& options);

    // Closes the store, resets the counters, copies the template (false after
    // its message when that fails) and opens the new database.
    bool begin();
    // Module number + 1, current name and type, then the pipeline inside one
    // transaction. Throws ParseError or StoreError; the modules added before
    // stay in the store, the failing one leaves no rows and draws no module
    // or routine number.
    void addModule(const QString& name, int modTyp, const QString& code);
    // addModule, except that a module whose routines cannot all be split is
    // still read with those that can, and recorded in leftOut() (textKept)
    // while the build goes on; only a module that cannot be read at all is
    // left out: false then. Throws StoreError.
    bool addModuleOrLeaveOut(const QString& name, int modTyp, const QString& code);
    // The modules left out or read in part since begin(), in the order they were met.
    const std::vector<LeftOutModule>& leftOut() const { return leftOut_; }
    // Closes the store; silent.
    void finish();

private:
    void addModuleWith(const QString& name, int modTyp, const std::function<void()>& pipeline);
    Ui& ui_;
    WorkingStore& store_;
    const Options& options_;
    std::vector<LeftOutModule> leftOut_;
};

// The warning shown when a build fails or left modules out, lines joined by
// CR LF: the ten lines of the failed read, then, when modules were left out,
// a blank line and one leftOutLine per module.
QString buildFailedWarning(const std::vector<LeftOutModule>& leftOut = {});
// "Modul: " + name + " (" + reason + " in Zeile " + line + ")", and for a
// module read in part ": eingelesen, aber nicht in alle Routinen zerlegt".
QString leftOutLine(const LeftOutModule& module);
// The warning's title, naming the module that failed or the first left out.
QString buildFailedTitle(const QString& moduleName);

}  // namespace lumo
