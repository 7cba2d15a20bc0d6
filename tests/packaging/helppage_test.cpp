#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

#include "base/OptionsStore.h"
#include "packaging/HelpPage.h"
#include "view/Commands.h"

using namespace lumo;
using namespace lumo::test;

namespace {

// What the user sees of a caption or a tooltip: the refresh command names the
// host once the options are loaded.
QString shownText(Command command, const char* text, bool tooltip) {
    if (command == Command::Refresh)
        return tooltip ? refreshToolTip(QStringLiteral("Word")) : shownCaption(refreshCaption(QStringLiteral("Word")));
    return tooltip ? QString::fromUtf8(text) : shownCaption(QString::fromUtf8(text));
}

void expectDescribed(const QString& row, const QString& id, const QString& shown, const QString& keys = {}) {
    ASSERT_FALSE(row.isNull()) << "no help row for " << id.toStdString();
    EXPECT_TRUE(row.contains(shown)) << id.toStdString() << " shows \"" << shown.toStdString() << "\": " << row.toStdString();
    if (!keys.isEmpty()) EXPECT_TRUE(row.contains(keys)) << id.toStdString() << " has " << keys.toStdString();
    // A row that only names the command tells the user nothing: beside its
    // name and keys it says what the command does or which one it runs.
    QString rest = row;
    rest.remove(rest.indexOf(shown), shown.size());
    if (!keys.isEmpty()) rest.remove(keys);
    EXPECT_GE(rest.split(QLatin1Char(' '), Qt::SkipEmptyParts).size(), 2) << id.toStdString() << ": " << row.toStdString();
}

TEST(HelpPage, DescribesEveryCommandOfTheCommandTables) {
    const QString page = helpPageSource();
    ASSERT_FALSE(page.isEmpty());
    int rows = 0;
    for (const MenuDef& m : menuTable()) {
        if (m.hidden) continue;
        const QString caption = shownCaption(QString::fromUtf8(m.caption));
        if (m.place == MenuPlace::Bar) {
            EXPECT_TRUE(page.contains(QStringLiteral("Menü ") + caption + QStringLiteral("</h2>"))) << m.objectName;
        } else if (m.place == MenuPlace::Submenu) {
            expectDescribed(helpRowText(page, QString::fromUtf8(m.objectName)), QString::fromUtf8(m.objectName), caption);
            ++rows;
        }
    }
    for (const MenuItemDef& item : menuItemTable()) {
        if (item.command == Command::None) continue;  // never shown, runs nothing
        const QString name = QString::fromUtf8(item.objectName);
        const QString row = helpItemRow(page, name, item.index);
        // Hidden items get their captions when shown (the recent projects).
        if (item.flags & kHidden) {
            EXPECT_FALSE(row.isNull()) << "no help row for " << item.objectName;
            continue;
        }
        expectDescribed(row, name, shownText(item.command, item.caption, false),
                        germanShortcut(QString::fromUtf8(item.shortcut)));
        ++rows;
    }
    for (const ToolButtonDef& b : toolButtonTable()) {
        if (b.command == Command::None) continue;
        const QString id = QStringLiteral("tob_") + QString::fromUtf8(b.key);
        expectDescribed(helpRowText(page, id), id, shownText(b.command, b.tooltip, true));
        ++rows;
    }
    EXPECT_GE(rows, 15);
}

// Every command of the enumeration, not only every row of the tables: a
// command the tables offer nowhere on the page, or only as a hidden item,
// would be one the user cannot learn about.
TEST(HelpPage, NamesEveryCommand) {
    const QString page = helpPageSource();
    for (int n = 1; n < kCommandCount; ++n) {
        const Command command = Command(n);
        bool described = false;
        for (const MenuItemDef& item : menuItemTable())
            described = described || (item.command == command &&
                                      !helpItemRow(page, QString::fromUtf8(item.objectName), item.index).isNull());
        for (const ToolButtonDef& b : toolButtonTable())
            described = described ||
                        (b.command == command && !helpRowText(page, QStringLiteral("tob_") + QString::fromUtf8(b.key)).isNull());
        for (const MenuDef& m : menuTable())
            described = described || (m.state == command && !m.hidden &&
                                      page.contains(QStringLiteral("Menü ") + shownCaption(QString::fromUtf8(m.caption)) +
                                                    QStringLiteral("</h2>")));
        EXPECT_TRUE(described) << "command " << n << " is on no row of the help page";
    }
}

TEST(HelpPage, ReadsAsUtf8InABrowserAndInTheHelpWindow) {
    const QString page = helpPageSource();
    EXPECT_TRUE(page.startsWith(QStringLiteral("<!DOCTYPE html>")));
    // The declaration must come before any umlaut, in the first 1024 bytes.
    const qsizetype charset = page.indexOf(QStringLiteral("charset=utf-8"));
    ASSERT_GE(charset, 0);
    EXPECT_LT(page.left(charset).toUtf8().size(), 1024);
    EXPECT_LT(charset, page.indexOf(QStringLiteral("ö")));
    // Ids are unique, or a row check could pass on the wrong row.
    static const QRegularExpression ids(QStringLiteral("id=\"([^\"]+)\""));
    QStringList seen;
    for (auto it = ids.globalMatch(page); it.hasNext();) {
        const QString id = it.next().captured(1);
        EXPECT_FALSE(seen.contains(id)) << "id twice: " << id.toStdString();
        seen << id;
    }
    // Every link inside the page leads somewhere.
    static const QRegularExpression links(QStringLiteral("href=\"#([^\"]+)\""));
    for (auto it = links.globalMatch(page); it.hasNext();) {
        const QString target = it.next().captured(1);
        EXPECT_TRUE(seen.contains(target)) << "dangling link #" << target.toStdString();
    }
}

TEST(HelpPage, DescribesEveryVerbOfTheHeadlessEntry) {
    const QString page = helpPageSource();
    QStringList verbs = {"help", "list", "dump", "build", "rtf", "info", "callers", "definition", "export"};
    // And whatever the entry lists today.
    QProcess cli;
    cli.start(QStringLiteral(LUMO_BIN_DIR "/codelumo-cli"), {QStringLiteral("help")});
    ASSERT_TRUE(cli.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(cli.readAllStandardOutput()).split(QLatin1Char('\n'));
    static const QRegularExpression usage(QStringLiteral("^\\s+codelumo-cli (\\S+)"));
    int listed = 0;
    for (const QString& line : lines) {
        const auto m = usage.match(line);
        if (!m.hasMatch()) continue;
        ++listed;
        if (!verbs.contains(m.captured(1))) verbs << m.captured(1);
    }
    EXPECT_GE(listed, 5);
    for (const QString& verb : verbs) {
        const QString row = helpRowText(page, QStringLiteral("cli_") + verb);
        ASSERT_FALSE(row.isNull()) << "no row for codelumo-cli " << verb.toStdString();
        EXPECT_TRUE(row.contains(QStringLiteral("codelumo-cli ") + verb)) << row.toStdString();
    }
}

}  // namespace
