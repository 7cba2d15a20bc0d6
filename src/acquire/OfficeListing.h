#pragma once
// The list of the host's projects and their components (the tree treApp),
// kept as data so that the window only draws it, and the rules for ticking.
#include <memory>
#include <vector>

#include <QString>

#include "acquire/HostInterface.h"

namespace lumo {

class Ui;

struct AppNode {
    QString key;        // "A1\" for a project, "A1\Module1" for a component
    QString text;
    QString imageKey;   // "Fahne", "M5", "M2", "M3", "M1", "XXX"
    QString parentKey;  // empty for a project
    bool checked = false;
};
// Nodes in index order: each project followed by its components.
using AppTree = std::vector<AppNode>;

// The outcome of reaching the host: the application (null when it could not
// be reached) and the leading number of its Version text (0 when unknown).
struct OfficeConnection {
    std::unique_ptr<HostApplication> app;
    int officeVersion = 0;
    explicit operator bool() const { return app != nullptr; }
};
OfficeConnection connectOffice(HostConnector& connector);

// Whether a component holds code. Lines that are no code: blank, comments,
// Option statements, Attribute lines (and their continuations).
bool holdsCode(QStringView text);
bool holdsCode(const HostComponent& component);
// A component is listed when it has more than 2 lines, as the host's own
// editor counts them, or holds code: an empty module of the host's own
// lines (Option Explicit) is left out, while a module of comments alone
// (documentation, code commented out) and a 2-line routine are read.
bool listedComponent(int lineCount, QStringView text);
bool listedComponent(const HostComponent& component);

// "M5" for a document module (100), "M2" standard (1), "M3" class (2), "M1"
// user form (3), "XXX" anything else.
QString moduleImageKey(int componentType);

// Clears and fills tree; true when the whole project collection was walked.
// officeVersion receives the connection's version number (0 when the host
// was not reached). An error while walking shows its description and ends
// the listing with the nodes so far.
bool listOfficeProjects(HostConnector& connector, AppTree& tree, int& officeVersion, Ui& ui);

// Project and component name of a component node's key.
QString projectPrefix(const QString& key);  // "A2\" for "A2\Module1"
int projectPosition(const QString& key);    // 2 for "A2\Module1", 0 when malformed
QString componentName(const QString& key);  // after the last "\"

// The user ticks or unticks node index: only one project can be ticked at a
// time, a project's children follow it. Returns whether "&Code Einlesen" is
// enabled afterwards.
bool applyCheck(AppTree& tree, std::size_t index, bool checked);
bool anyChecked(const AppTree& tree);
bool hasChildren(const AppTree& tree, std::size_t index);

// The explanations shown in place of an empty list.
QString notRunningExplanation(const QString& hostName);
QString noReadableProjectsExplanation(const QString& hostName);
QString accessRefusedExplanation(const QString& hostName);
// The hint appended by the document host to the not-running explanation.
QString openDocumentHint(const QString& hostName);

// Which explanation the refresh shows after a listing; empty when the tree
// has nodes. documentHost adds the hint on opening documents.
QString refreshExplanation(bool ok, const AppTree& tree, int officeVersion, const QString& hostName,
                           bool documentHost);

}  // namespace lumo
