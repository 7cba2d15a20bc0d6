#include <QMenu>
#include <QToolBar>

#include "packaging/HelpPage.h"
#include "view/MainWindowFixture.h"

using namespace lumo;
using namespace lumo::test;

namespace {

bool onToolbar(const QAction* a) {
    for (const QObject* o : a->associatedObjects())
        if (qobject_cast<const QToolBar*>(o)) return true;
    return false;
}

// The page is checked against the window itself, so a command added to a menu
// or a toolbar without a word in the help fails here.
TEST_F(MainWindowTest, HelpPageDescribesEveryCommandTheWindowOffers) {
    open();
    const QString page = helpPageSource();
    ASSERT_FALSE(page.isEmpty());
    int checked = 0;
    for (const QAction* a : window->findChildren<QAction*>()) {
        const QString name = a->objectName();
        // Hidden items without a command (mnuVB, the picture-less "blind"
        // button) and Qt's own actions are no commands of the window.
        if (name.isEmpty() || name.startsWith(QLatin1String("_q_")) || !a->isVisible()) continue;
        const bool button = onToolbar(a) && !a->menu();
        const QString id = button ? QStringLiteral("tob_") + name : name;
        const QString row = helpRowText(page, id);
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
