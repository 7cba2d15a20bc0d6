#include "export/DiffReport.h"

namespace lumo {

namespace {

QString range(int start, int count) {
    return count == 1 ? QString::number(start) : QStringLiteral("%1,%2").arg(start).arg(count);
}

struct Counts {
    int added = 0, removed = 0, changed = 0;
    void count(Change c) { ++(c == Change::Added ? added : c == Change::Removed ? removed : changed); }
    QString text() const {
        return QStringLiteral("%1 hinzugefügt, %2 entfernt, %3 geändert").arg(added).arg(removed).arg(changed);
    }
};

QString moduleLine(const ModuleDiff& m) {
    const int type = m.change == Change::Removed ? m.oldType : m.newType;
    return QStringLiteral("Modul %1 (%2): %3").arg(m.name(), componentTypeName(type), changeWord(m.change));
}

}  // namespace

QString changeWord(Change change) {
    switch (change) {
    case Change::Added: return QStringLiteral("hinzugefügt");
    case Change::Removed: return QStringLiteral("entfernt");
    case Change::Changed: break;
    }
    return QStringLiteral("geändert");
}

QString hunkHeader(const DiffHunk& hunk, const QString& label) {
    return QStringLiteral("@@ -%1 +%2 @@ %3").arg(range(hunk.oldStart, hunk.oldCount), range(hunk.newStart, hunk.newCount), label);
}

QString diffReport(const ProjectDiff& diff, const QString& oldLabel, const QString& newLabel) {
    QString out = QStringLiteral("--- %1\n+++ %2\n").arg(oldLabel, newLabel);
    for (const ModuleDiff& m : diff.modules) {
        out += moduleLine(m) + QLatin1Char('\n');
        if (m.change == Change::Changed) {
            if (m.oldType != m.newType)
                out += QStringLiteral("  Typ: %1 → %2\n").arg(componentTypeName(m.oldType), componentTypeName(m.newType));
            if (m.oldName != m.newName) out += QStringLiteral("  Name: %1 → %2\n").arg(m.oldName, m.newName);
        }
        for (const PartDiff& p : m.parts) {
            if (m.change == Change::Changed) out += QStringLiteral("%1: %2\n").arg(p.label, changeWord(p.change));
            for (const DiffHunk& h : p.hunks) {
                out += hunkHeader(h, p.label) + QLatin1Char('\n');
                for (const DiffLine& l : h.lines) out += QLatin1Char(l.mark) + l.text + QLatin1Char('\n');
            }
        }
    }
    return out;
}

QString diffStat(const ProjectDiff& diff) {
    QString out;
    Counts modules;
    int added = 0, removed = 0;
    for (const ModuleDiff& m : diff.modules) {
        modules.count(m.change);
        Counts routines;
        for (const PartDiff& p : m.parts)
            if (!p.declarations) routines.count(p.change);
        added += m.linesAdded;
        removed += m.linesRemoved;
        out += QStringLiteral("%1; Routinen: %2; Zeilen +%3 -%4\n")
                   .arg(moduleLine(m), routines.text())
                   .arg(m.linesAdded)
                   .arg(m.linesRemoved);
    }
    out += QStringLiteral("Module: %1; Zeilen +%2 -%3\n").arg(modules.text()).arg(added).arg(removed);
    return out;
}

}  // namespace lumo
