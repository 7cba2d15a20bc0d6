#include "navigate/CheckHits.h"

#include <algorithm>

#include "base/Ui.h"
#include "navigate/Definition.h"
#include "view/CodeWindow.h"

namespace lumo {

SearchHit hitOfFinding(const Finding& f, const QString& moduleText) {
    qsizetype start = 0;
    for (int l = 1; l < f.line; ++l) {
        const qsizetype nl = moduleText.indexOf(QLatin1String("\r\n"), start);
        if (nl < 0) break;
        start = nl + 2;
    }
    qsizetype end = moduleText.indexOf(QLatin1String("\r\n"), start);
    if (end < 0) end = moduleText.size();
    const int position = int(std::min(start + f.column - 1, end));
    const int length = int(std::min<qsizetype>(f.length, end - position));
    QString text = QStringLiteral("[%1] %2: %3")
                       .arg(QLatin1StringView(severityWord(f.severity)), QLatin1StringView(ruleInfo(f.rule).id), f.message);
    if (!f.routine.isEmpty()) text += QStringLiteral(" (Routine %1)").arg(f.routine);
    return {f.module - 1, f.line, position, std::max(0, length), text};
}

std::vector<SearchHit> checkCommand(CodeWindow& window, WorkingStore& store, Ui& ui) {
    if (window.zoomOn()) {
        ui.message(zoomRefusal(), {}, MsgIcon::Information);
        return {};
    }
    std::vector<Finding> findings;
    try {
        findings = checkProject(projectScopeOf(store), CheckRules(), window.progress());
    } catch (const std::exception& e) {
        ui.message(QString::fromUtf8(e.what()));
        return {};
    }
    if (window.progress().stopped()) return {};
    if (findings.empty()) {
        ui.message(QStringLiteral("Keine Befunde."), {}, MsgIcon::Information);
        return {};
    }
    std::vector<SearchHit> hits;
    hits.reserve(findings.size());
    int shown = -1;
    QString text;
    for (const Finding& f : findings) {
        if (f.module - 1 != shown) {
            shown = f.module - 1;
            text = window.moduleText(shown);
        }
        hits.push_back(hitOfFinding(f, text));
    }
    return hits;
}

}  // namespace lumo
