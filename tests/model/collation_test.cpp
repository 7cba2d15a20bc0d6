#include <gtest/gtest.h>

#include <QStringList>

#include "model/Collation.h"

namespace lumo {
namespace {

int sign(int v) { return (v > 0) - (v < 0); }

int compareQ(const QString& a, const QString& b) {
    const QByteArray ua = a.toUtf8(), ub = b.toUtf8();
    return compareNames({ua.constData(), size_t(ua.size())}, {ub.constData(), size_t(ub.size())});
}

// Every name of up to three characters over letters of both cases, digits
// and "_" orders as the German collator orders it.
TEST(Collation, PlainNamesOrderAsTheCollator) {
    const QString alphabet = QStringLiteral("_09aAzZ");
    QStringList names{QString()};
    for (int length = 1, from = 0; length <= 3; ++length) {
        const qsizetype to = names.size();
        for (qsizetype i = from; i < to; ++i)
            for (const QChar c : alphabet) names << names[i] + c;
        from = int(to);
    }
    for (const QString& a : names)
        for (const QString& b : names)
            ASSERT_EQ(sign(compareQ(a, b)), sign(collateNames(a, b))) << qPrintable(a) << " / " << qPrintable(b);
}

TEST(Collation, OtherNamesGoToTheCollator) {
    struct Case {
        const char* a;
        const char* b;
        int order;
    };
    const Case cases[] = {
        {"Ärger", "Brief", -1}, {"apfel", "Ärger", -1}, {"ÄRGER", "ärger", 0}, {"Modul_1", "Módulo1", -1},
        {"a-b", "ab", -1},      {"Straße", "STRASSE", 1},
    };
    for (const Case& c : cases) {
        const QString a = QString::fromUtf8(c.a), b = QString::fromUtf8(c.b);
        EXPECT_EQ(sign(compareQ(a, b)), c.order) << c.a << " / " << c.b;
        EXPECT_EQ(sign(compareQ(a, b)), sign(collateNames(a, b))) << c.a << " / " << c.b;
    }
}

}  // namespace
}  // namespace lumo
