#pragma once
// The save-file dialog with its compact filter notation: entries of
// label ":" extensions ";", e.g. "RTF-Dokument:RTF;" or "Text:txt,log;".
#include <QList>
#include <QString>

#include "base/Ui.h"

namespace lumo {

struct SaveFilterList {
    QList<SaveFilter> filters;
    QString error;  // the message to show instead of the dialog, or ""
};

SaveFilterList parseSaveFilters(const QString& notation);

// Shows the dialog titled "Speichern unter" and returns the chosen path, or ""
// when the user cancels or the notation is malformed (its message shown).
// An empty start folder means the user's home folder.
QString saveFileName(Ui& ui, const QString& notation, const QString& defaultExtension,
                     const QString& startFolder = {}, const QString& defaultName = {});

}  // namespace lumo
