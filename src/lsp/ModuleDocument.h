#pragma once
// One module file of a workspace as the language server reads it: the
// file's own lines (what the editor shows the user), the lines the project
// shows of it (the VERSION line, the designer block and the Attribute lines
// hidden, keywords and "()" as the VBA editor imports them), the tagged
// text the resolver reads, and the way between a place in the one and a
// place in the other. Positions in the file are 0-based lines and UTF-16
// units, as the protocol counts them; in the project 1-based lines and
// columns, as the resolver counts them.
#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "model/CodeDatabase.h"

namespace lumo::lsp {

struct FilePlace {
    int line = 0;       // 0-based line of the file
    int character = 0;  // 0-based, UTF-16 units
};

struct ShownPlace {
    int line = 0;    // 1-based line of the module as the project shows it
    int column = 0;  // 1-based
};

class ModuleDocument {
public:
    // The module of a file's decoded text; fileName gives the module's name
    // where the text has no Attribute VB_Name and its kind by extension.
    // Never throws: a module the parser cannot split keeps the routines it
    // can (problem() says why), one it cannot read at all keeps none.
    static ModuleDocument read(const QString& fileName, const QString& text);

    const QString& name() const { return name_; }
    int type() const { return type_; }  // mod_typ
    const QByteArray& tagged() const { return tagged_; }  // UTF-8, as a store keeps it
    // Routines numbered 1, 2, ... within this module, module number 0.
    const std::vector<RoutineRow>& routines() const { return routines_; }
    // Why the module was not read whole (or at all); empty when it was.
    const QString& problem() const { return problem_; }
    // Part of the project: its name valid and its text read (in part, at least).
    bool usable() const { return usable_; }
    int fileLineCount() const { return int(fileLines_.size()); }
    int shownLineCount() const { return int(shownLines_.size()); }
    const QString& fileLine(int line) const;    // 0-based; empty beyond the file
    const QString& shownLine(int line) const;   // 1-based, before tagging; empty beyond

    // Where a place of the file stands in the shown module; nothing on a hidden line.
    std::optional<ShownPlace> shown(FilePlace place) const;
    // Where a place of the shown module stands in the file.
    FilePlace file(ShownPlace place) const;
    // The file line of a shown line (1-based), -1 beyond the module.
    int fileLineOf(int shownLine) const;

private:
    QString name_;
    int type_ = ModStandard;
    QStringList fileLines_;
    QStringList shownLines_;
    std::vector<int> fileLineOfShown_;  // per shown line
    std::vector<int> shownOfFileLine_;  // per file line: 1-based shown line, 0 for a hidden one
    QByteArray tagged_;
    std::vector<RoutineRow> routines_;
    QString problem_;
    bool usable_ = false;
};

}  // namespace lumo::lsp
