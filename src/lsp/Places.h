#pragma once
// Between the protocol's places (a document's URI, 0-based lines and UTF-16
// units) and the resolver's (module number, 1-based line and column of the
// shown module).
#include <optional>

#include <QJsonObject>
#include <QString>

#include "lsp/Workspace.h"

namespace lumo::lsp {

QString pathOfUri(const QString& uri);
QString uriOfPath(const QString& path);

// A place in a module of the project.
struct ModulePlace {
    int module = 0;
    int line = 0;    // 1-based, as shown
    int column = 0;  // 1-based
    const ModuleDocument* document = nullptr;
};

// The place `params` names (textDocument.uri and position); nothing for a
// file outside the project or a line the project hides.
std::optional<ModulePlace> placeOf(Workspace& workspace, const QJsonObject& params);

// {"start": ..., "end": ...} of `length` units from a shown place of a module.
QJsonObject rangeOf(const ModuleDocument& document, int line, int column, int length);
// The whole of shown lines first..last.
QJsonObject linesRange(const ModuleDocument& document, int first, int last);
// {"uri": ..., "range": ...}
QJsonObject locationOf(Workspace& workspace, int module, const QJsonObject& range);

// The column of a declaration's name on its line (1-based), 0 when the line
// does not hold it (a module's own name).
int nameColumn(ProjectScope& scope, const Declaration& declaration);

}  // namespace lumo::lsp
