#pragma once
// Reading the sources of a headless run (documents, module folders, module
// files) into the modules of a project, and building that project into a
// folder, as "build" does; "site" builds a project the same way before it
// makes its pages.
#include <functional>
#include <memory>
#include <vector>

#include <QString>
#include <QStringList>

#include "acquire/DocumentHost.h"
#include "cli/ConsoleUi.h"
#include "model/ProjectBuild.h"

namespace lumo::cli {

// One module to build: read whole from a file (--raw) or taken from a
// component of the document host when its turn comes.
struct PlannedModule {
    QString name;
    int modTyp = 2;
    QString code;                       // --raw
    HostComponent* component = nullptr;  // otherwise
    QString source;                     // the file it comes from, as shown
};

// Plans the modules of sources whole from their files (--raw). A file that
// cannot be read is named on standard error and in leftOut, and the others
// are planned; false after saying why when nothing can be read.
using RawPlanner = bool (*)(const QStringList& sources, std::vector<PlannedModule>& plan, QStringList& leftOut);

// The sources as read: the document host keeps the components of the plan.
struct SourceRead {
    ConsoleUi ui;
    DocumentHost host{&ui};
    std::unique_ptr<HostApplication> app;
    std::vector<PlannedModule> plan;
    std::size_t duplicates = 0;
    // Each source, file or module the reading left out, with the reason, as
    // named on standard error.
    QStringList leftOut;

    // Nothing left out: no module, no duplicate, no file or component the reading skipped.
    bool complete(const std::vector<LeftOutModule>& modules) const { return modules.empty() && leftOut.isEmpty(); }
};

// Reads every source (with raw: through it instead of the document host),
// leaves out second modules of a name and checks the project's size. What
// cannot be read is named on standard error and left out while the rest is
// planned. False after saying why when nothing is left to build or the
// project would be too large.
bool readSources(const QStringList& sources, RawPlanner raw, SourceRead& read);

// The template database is there; says otherwise.
bool templateAvailable();

// Builds every planned module into buildFolder (AppState::workFolder is set
// to it). A module whose routines cannot all be split is read in part, one
// that cannot be read at all left out, both named (leftOut) while the others
// are built; anything else ends the build. False after saying why when the
// folder holds no usable project.
bool buildInto(const QString& buildFolder, const std::vector<PlannedModule>& plan,
               std::vector<LeftOutModule>& leftOut);

}  // namespace lumo::cli
