#pragma once
// "Vergleichen mit ...": the shown project against a document, a folder of
// exported modules (chosen through one of its files) or a stored project
// (through its DivuRuvi.mdb), the report opened as the HTML preview is.
#include <QString>

namespace lumo {

class WorkingStore;
struct ExportContext;

// Asks for the other version (starting in startFolder), compares the shown
// project (old) with it (new) and opens the report. Returns the path
// compared with, "" when the user chose nothing or it could not be read
// (said then).
QString compareCommand(WorkingStore& store, const QString& projectName, const QString& startFolder,
                       const ExportContext& context);

}  // namespace lumo
