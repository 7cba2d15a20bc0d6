#include <gtest/gtest.h>

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include "CorpusModules.h"
#include "model/Collation.h"

namespace lumo {
namespace {

int sign(int v) { return (v > 0) - (v < 0); }

// Every pair of names the corpus holds (modules, routines, variables and
// parameters) keeps the order the collator alone gives it.
TEST(CollationCorpus, EveryNamePairOrdersAsBefore) {
    LUMO_REQUIRE_CORPUS();
    QSet<QString> found;
    const QRegularExpression word(QStringLiteral("\\b(?:Sub|Function|Get|Let|Set|Dim|Private|Public|ByVal|ByRef)"
                                                 "\\s+(\\w+)"),
                                  QRegularExpression::UseUnicodePropertiesOption);
    for (const auto& [path, code] : test::allCorpusModules()) {
        found << QFileInfo(path).completeBaseName();
        for (auto it = word.globalMatch(code); it.hasNext();) found << it.next().captured(1);
    }
    const QStringList names = found.values();
    ASSERT_GT(names.size(), 500);
    std::vector<QByteArray> utf8;
    for (const QString& n : names) utf8.push_back(n.toUtf8());
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QByteArray& a = utf8[size_t(i)];
        for (qsizetype j = 0; j < names.size(); ++j) {
            const QByteArray& b = utf8[size_t(j)];
            ASSERT_EQ(sign(compareNames({a.constData(), size_t(a.size())}, {b.constData(), size_t(b.size())})),
                      sign(collateNames(names[i], names[j])))
                << qPrintable(names[i]) << " / " << qPrintable(names[j]);
        }
    }
}

}  // namespace
}  // namespace lumo
