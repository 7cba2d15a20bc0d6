#pragma once
// What one document (or one folder of exported modules) yields: a project
// with its components, each with the lines the VBA editor would show.
#include <vector>

#include <QString>
#include <QStringList>

#include "acquire/ModuleText.h"
#include "base/ReadError.h"

namespace lumo {

// Component kinds as the VBA editor numbers them.
enum VbaComponentType : int {
    VbaStandardModule = 1,
    VbaClassModule = 2,
    VbaUserForm = 3,
    VbaDocumentModule = 100,
};

struct VbaModule {
    QString name;
    int type = VbaStandardModule;
    EditorText code;  // the code as the editor shows it, Attribute lines hidden
    HiddenLines hidden;  // what the editor hides of it (its export writes them)
    QStringList lines() const { return code.toList(); }
};

struct VbaProjectData {
    QString name;
    QString fileName;        // full path of the document or folder
    bool locked = false;     // locked for viewing
    std::vector<VbaModule> modules;
    // Modules that had to be left out, one German sentence each; the rest of
    // the project stays usable.
    QStringList problems;
};

}  // namespace lumo
