#pragma once
// The answers to the requests the server serves, each from the workspace
// and the request's params; a document outside the project gets an empty
// answer (null or []), as the protocol has it for a place without one.
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include "lsp/Workspace.h"

namespace lumo::lsp {

QJsonValue definitionAnswer(Workspace& workspace, const QJsonObject& params);
QJsonValue referencesAnswer(Workspace& workspace, const QJsonObject& params);
QJsonValue highlightAnswer(Workspace& workspace, const QJsonObject& params);
QJsonValue hoverAnswer(Workspace& workspace, const QJsonObject& params);

QJsonValue documentSymbolAnswer(Workspace& workspace, const QJsonObject& params);
QJsonValue workspaceSymbolAnswer(Workspace& workspace, const QJsonObject& params);

QJsonValue prepareCallHierarchyAnswer(Workspace& workspace, const QJsonObject& params);
QJsonValue incomingCallsAnswer(Workspace& workspace, const QJsonObject& params);
QJsonValue outgoingCallsAnswer(Workspace& workspace, const QJsonObject& params);

// The token types and modifiers semanticTokens/full answers with, in the
// order their numbers refer to.
QJsonObject semanticTokensLegend();
QJsonValue semanticTokensAnswer(Workspace& workspace, const QJsonObject& params);
QJsonValue foldingRangeAnswer(Workspace& workspace, const QJsonObject& params);

}  // namespace lumo::lsp
