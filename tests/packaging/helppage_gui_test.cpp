#include <QMenu>
#include <QToolBar>

#include "app/MainWindowFixture.h"
#include "packaging/HelpPage.h"

using namespace lumo;
using namespace lumo::test;

namespace {

bool onToolbar(const QAction* a) {
    for (const QObject* o : a->associatedObjects())
        if (qobject_cast<const QToolBar*>(o)) return true;
    return false;
}

// The page is checked against the window itself, as it shows after loading
// (the refresh caption names the host), and against items the window may add
// beside the command tables.
TEST_F(MainWindowTest, HelpPageDescribesEveryCommandTheWindowOffers) {
    open();
    const QString page = helpPageSource();
    ASSERT_FALSE(page.isEmpty());
    int checked = 0;
    for (const QAction* a : window->findChildren<QAction*>()) {
        const QString name = a->objectName();
        // Hidden items without a command (mnuVB, the picture-less "blind"
        // button) and Qt's own actions are no commands of the window.
        // Whole menus are headings of the page, not rows.
        if (name.isEmpty() || name.startsWith(QLatin1String("_q_")) || !a->isVisible() || a->menu()) continue;
        const bool button = onToolbar(a);
        const QString id = button ? QStringLiteral("tob_") + name : name;
        const QString row = helpItemRow(page, id, a->data().isValid() ? a->data().toInt() : -1);
        ASSERT_FALSE(row.isNull()) << "no help row for " << id.toStdString();
        const QString shown = button ? a->toolTip() : shownCaption(a->text());
        EXPECT_TRUE(row.contains(shown)) << id.toStdString() << " shows \"" << shown.toStdString() << "\"";
        if (!a->shortcut().isEmpty()) {
            const QString keys = germanShortcut(a->shortcut().toString(QKeySequence::PortableText));
            EXPECT_TRUE(row.contains(keys)) << id.toStdString() << " has " << keys.toStdString();
        }
        ++checked;
    }
    EXPECT_GE(checked, 15);
}

}  // namespace
