#include "export/FindingReports.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace lumo {

namespace {

const char* sarifLevel(Severity s) {
    switch (s) {
    case Severity::Info: return "note";
    case Severity::Warning: return "warning";
    case Severity::Error: return "error";
    }
    return "note";
}

QString where(const Finding& f) {
    return f.routine.isEmpty() ? f.moduleName : f.moduleName + u'.' + f.routine;
}

// A path as a URI reference: relative ones stay relative to where CI runs.
QString uriOf(const QString& source) {
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(source));
    if (QDir::isAbsolutePath(clean)) return QUrl::fromLocalFile(clean).toString(QUrl::FullyEncoded);
    return QString::fromLatin1(QUrl::toPercentEncoding(clean, "/"));
}

QString xmlEscaped(const QString& s) {
    QString out = s.toHtmlEscaped();
    // Characters XML 1.0 does not allow.
    out.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r'; });
    return out;
}

}  // namespace

QByteArray findingsAsText(const CheckedSource& checked) {
    QString out;
    for (const Finding& f : checked.findings) {
        out += QStringLiteral("%1: %2:%3:%4: %5 [%6] %7")
                   .arg(checked.source, f.moduleName)
                   .arg(f.line)
                   .arg(f.column)
                   .arg(QLatin1StringView(severityWord(f.severity)), QLatin1StringView(ruleInfo(f.rule).id), f.message);
        if (!f.routine.isEmpty()) out += QStringLiteral(" (Routine %1)").arg(f.routine);
        out += u'\n';
    }
    return out.toUtf8();
}

QByteArray findingsAsJsonLines(const CheckedSource& checked) {
    QByteArray out;
    for (const Finding& f : checked.findings) {
        QJsonObject o{{"source", checked.source},
                      {"rule", QLatin1StringView(ruleInfo(f.rule).id)},
                      {"severity", QLatin1StringView(severityWord(f.severity))},
                      {"module", f.moduleName},
                      {"line", f.line},
                      {"column", f.column},
                      {"routine", f.routine},
                      {"message", f.message}};
        if (!f.callPath.isEmpty()) o.insert("callPath", QJsonArray::fromStringList(f.callPath));
        out += QJsonDocument(o).toJson(QJsonDocument::Compact);
        out += '\n';
    }
    return out;
}

QByteArray findingsAsSarif(const std::vector<CheckedSource>& all, const CheckRules& rules, const QStringList& unreadable) {
    QJsonArray ruleList;
    for (const RuleInfo& r : ruleTable()) {
        QJsonObject rule{{"id", QLatin1StringView(r.id)},
                         {"shortDescription", QJsonObject{{"text", QString::fromUtf8(r.title)}}},
                         {"defaultConfiguration",
                          QJsonObject{{"enabled", rules.on(r.rule)}, {"level", sarifLevel(rules.severity(r.rule))}}},
                         {"properties", QJsonObject{{"exact", r.exact}, {"security", r.security}}}};
        if (r.security) rule.insert("fullDescription", QJsonObject{{"text", securityNotice()}});
        ruleList.append(rule);
    }
    QJsonArray results;
    QJsonArray artifacts;
    for (const CheckedSource& c : all) {
        const int artifact = int(artifacts.size());
        artifacts.append(QJsonObject{{"location", QJsonObject{{"uri", uriOf(c.source)}}}});
        for (const Finding& f : c.findings) {
            QJsonObject region{{"startLine", f.line}, {"startColumn", f.column}};
            if (f.length > 0) region.insert("endColumn", f.column + f.length);
            QJsonObject logical{{"fullyQualifiedName", where(f)},
                                {"name", f.routine.isEmpty() ? f.moduleName : f.routine},
                                {"kind", f.routine.isEmpty() ? "module" : "function"}};
            QJsonObject location{{"physicalLocation",
                                  QJsonObject{{"artifactLocation", QJsonObject{{"uri", uriOf(c.source)}, {"index", artifact}}},
                                              {"region", region}}},
                                 {"logicalLocations", QJsonArray{logical}}};
            QJsonObject result{{"ruleId", QLatin1StringView(ruleInfo(f.rule).id)},
                               {"ruleIndex", int(f.rule)},
                               {"level", sarifLevel(f.severity)},
                               {"message", QJsonObject{{"text", f.message}}},
                               {"locations", QJsonArray{location}},
                               {"partialFingerprints",
                                QJsonObject{{"codelumo/v1", QStringLiteral("%1|%2|%3|%4")
                                                                .arg(QLatin1StringView(ruleInfo(f.rule).id), where(f))
                                                                .arg(f.line)
                                                                .arg(f.column)}}}};
            if (!f.callPath.isEmpty()) result.insert("properties", QJsonObject{{"callPath", QJsonArray::fromStringList(f.callPath)}});
            results.append(result);
        }
    }
    QJsonArray notes;
    for (const QString& u : unreadable)
        notes.append(QJsonObject{{"level", "error"}, {"message", QJsonObject{{"text", u}}}});
    QJsonObject invocation{{"executionSuccessful", unreadable.isEmpty()}};
    if (!notes.isEmpty()) invocation.insert("toolExecutionNotifications", notes);
    const QJsonObject run{
        {"tool", QJsonObject{{"driver", QJsonObject{{"name", "Code Lumo"}, {"version", "1.0"}, {"rules", ruleList}}}}},
        {"artifacts", artifacts},
        {"invocations", QJsonArray{invocation}},
        {"results", results},
        {"properties", QJsonObject{{"securityNotice", securityNotice()}}}};
    const QJsonObject log{{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
                          {"version", "2.1.0"},
                          {"runs", QJsonArray{run}}};
    return QJsonDocument(log).toJson(QJsonDocument::Indented);
}

QByteArray findingsAsJUnit(const std::vector<CheckedSource>& all, Severity failOn, const QStringList& unreadable) {
    QString suites;
    int tests = 0, failures = 0;
    for (const CheckedSource& c : all) {
        QString cases;
        int suiteFailures = 0;
        for (const Finding& f : c.findings) {
            const QString name = QStringLiteral("%1 %2:%3").arg(QLatin1StringView(ruleInfo(f.rule).id), f.moduleName).arg(f.line);
            const QString text = QStringLiteral("%1:%2:%3: %4").arg(f.moduleName).arg(f.line).arg(f.column).arg(f.message);
            cases += QStringLiteral("    <testcase classname=\"%1\" name=\"%2\">\n")
                         .arg(xmlEscaped(c.source + u'.' + where(f)), xmlEscaped(name));
            if (f.severity >= failOn) {
                ++suiteFailures;
                cases += QStringLiteral("      <failure type=\"%1\" message=\"%2\">%3</failure>\n")
                             .arg(QLatin1StringView(severityWord(f.severity)), xmlEscaped(f.message), xmlEscaped(text));
            } else {
                cases += QStringLiteral("      <system-out>%1</system-out>\n").arg(xmlEscaped(text));
            }
            cases += QStringLiteral("    </testcase>\n");
        }
        int count = int(c.findings.size());
        if (count == 0) {
            cases += QStringLiteral("    <testcase classname=\"%1\" name=\"keine Befunde\"/>\n").arg(xmlEscaped(c.source));
            count = 1;
        }
        suites += QStringLiteral("  <testsuite name=\"%1\" tests=\"%2\" failures=\"%3\" errors=\"0\">\n")
                      .arg(xmlEscaped(c.source))
                      .arg(count)
                      .arg(suiteFailures) +
                  cases + QStringLiteral("  </testsuite>\n");
        tests += count;
        failures += suiteFailures;
    }
    for (const QString& u : unreadable) {
        suites += QStringLiteral("  <testsuite name=\"nicht lesbar\" tests=\"1\" failures=\"0\" errors=\"1\">\n"
                                 "    <testcase classname=\"nicht lesbar\" name=\"%1\">\n"
                                 "      <error message=\"%1\"/>\n    </testcase>\n  </testsuite>\n")
                      .arg(xmlEscaped(u));
        ++tests;
    }
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<testsuites name=\"codelumo check\" tests=\"%1\" failures=\"%2\" errors=\"%3\">\n")
                .arg(tests)
                .arg(failures)
                .arg(unreadable.size()) +
            suites + QStringLiteral("</testsuites>\n"))
        .toUtf8();
}

QByteArray measuresAsJsonLines(const MeasuredSource& measured) {
    QByteArray out;
    for (const MeasuredCode& m : measured.measures) {
        const QJsonObject o{{"source", measured.source},     {"module", m.moduleName},
                            {"routine", m.routine},          {"line", m.line},
                            {"lines", m.measures.lines},     {"codeLines", m.measures.codeLines},
                            {"commentLines", m.measures.commentLines},
                            {"complexity", m.measures.complexity}, {"nesting", m.measures.nesting}};
        out += QJsonDocument(o).toJson(QJsonDocument::Compact);
        out += '\n';
    }
    return out;
}

QByteArray measuresAsCsv(const MeasuredSource& measured, bool withHeader) {
    auto field = [](const QString& s) {
        if (!s.contains(u',') && !s.contains(u'"') && !s.contains(u'\n')) return s;
        QString q = s;
        q.replace(u'"', QStringLiteral("\"\""));
        return u'"' + q + u'"';
    };
    QString out;
    if (withHeader) out += QStringLiteral("quelle,modul,routine,zeile,zeilen,codezeilen,kommentarzeilen,komplexitaet,verschachtelung\n");
    for (const MeasuredCode& m : measured.measures)
        out += QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,%9\n")
                   .arg(field(measured.source), field(m.moduleName), field(m.routine))
                   .arg(m.line)
                   .arg(m.measures.lines)
                   .arg(m.measures.codeLines)
                   .arg(m.measures.commentLines)
                   .arg(m.measures.complexity)
                   .arg(m.measures.nesting);
    return out.toUtf8();
}

}  // namespace lumo
