// The search box keeps only the keys no command uses.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QTest>

#include "support/GuiApp.h"
#include "view/widgets/SearchBox.h"

using namespace lumo;

TEST(SearchBoxTest, CommandKeysReachTheirCommandsWhileTheBoxHasTheFocus) {
    test::guiApp();
    QMainWindow window;
    auto* box = new SearchBox(&window);
    window.setCentralWidget(box);
    int options = 0, find = 0;
    auto* optionsAction = window.addAction(QStringLiteral("Optionen"));
    optionsAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
    QObject::connect(optionsAction, &QAction::triggered, [&] { ++options; });
    auto* findAction = window.addAction(QStringLiteral("Suchen"));
    findAction->setShortcut(QKeySequence(QStringLiteral("F3")));
    QObject::connect(findAction, &QAction::triggered, [&] { ++find; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::setActiveWindow(&window);  // no window manager activates it in tests
    box->setFocus();
    box->setText(QStringLiteral("abc"));

    QTest::keyClick(box, Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_F3);
    EXPECT_EQ(options, 1);
    EXPECT_EQ(find, 1);
    // Keys no command uses stay the box's own.
    box->setCursorPosition(0);
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_X);
    EXPECT_EQ(box->text(), QStringLiteral("abcx"));
}
