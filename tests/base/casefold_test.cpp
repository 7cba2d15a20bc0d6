// The quick folds against QString's own, on ASCII names, names beyond it and
// names whose capitals fold to more than one unit's worth of difference.
#include <gtest/gtest.h>

#include <array>

#include "base/CaseFold.h"

using namespace lumo;

TEST(CaseFold, QuickFoldsMatchTheirPlainDefinitions) {
    const QString names[] = {"", "a", "Z", "Modul1", "MODUL1", "modul_1", "@[`{", "Größe", "GRÖSSE", "ÄrgerDatei",
                             "ΣΊΣΥΦΟΣ", "Straße", "İstanbul", QString(70, u'Q')};
    std::array<char16_t, 64> buffer{};
    for (const QString& a : names) {
        const QString expected = plain::caseFolded(a);
        EXPECT_EQ(caseFolded(a), expected) << a.toStdString();
        EXPECT_EQ(caseFolded(QStringView(a)), expected) << a.toStdString();
        EXPECT_EQ(caseFolded(a, buffer), expected) << a.toStdString();
        for (const QString& b : names) {
            EXPECT_EQ(sameIgnoringCase(a, b), plain::sameIgnoringCase(a, b)) << a.toStdString() << " / " << b.toStdString();
            EXPECT_EQ(sameIgnoringCase(a, b.toUpper()), plain::sameIgnoringCase(a, b.toUpper())) << a.toStdString();
        }
    }
    for (char16_t c = 0; c < 0x100; ++c)
        EXPECT_EQ(QString(QChar(asciiLower(c))), c < 0x80 ? plain::caseFolded(QString(QChar(c))) : QString(QChar(c)));
}
