#pragma once
// The findings of "check" in the forms people and CI systems read: lines of
// text (source:module:line:column), JSON Lines (one finding per line, each
// whole in itself, so the output of many runs can be joined), SARIF 2.1.0
// and JUnit XML; the measures as JSON or CSV.
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "navigate/Checks.h"

namespace lumo {

struct CheckedSource {
    QString source;  // as given on the command line
    std::vector<Finding> findings;
};

QByteArray findingsAsText(const CheckedSource& checked);
QByteArray findingsAsJsonLines(const CheckedSource& checked);
// `unreadable`: the sources that could not be checked, with why.
QByteArray findingsAsSarif(const std::vector<CheckedSource>& all, const CheckRules& rules, const QStringList& unreadable);
// Findings at failOn or above fail their test case; the others pass with their text.
QByteArray findingsAsJUnit(const std::vector<CheckedSource>& all, Severity failOn, const QStringList& unreadable);

struct MeasuredSource {
    QString source;
    std::vector<MeasuredCode> measures;
};
QByteArray measuresAsJsonLines(const MeasuredSource& measured);
QByteArray measuresAsCsv(const MeasuredSource& measured, bool withHeader);

}  // namespace lumo
