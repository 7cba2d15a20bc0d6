#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "base/widgets/QtUi.h"
#include "support/GuiApp.h"

using namespace lumo;

namespace {

// Answers the next message box with the given button and records what it showed.
struct BoxSeen {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    QMessageBox::StandardButtons buttons;
};

void answerNextBox(QMessageBox::StandardButton press, BoxSeen& seen) {
    QTimer::singleShot(0, [press, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->icon(), box->text(), box->standardButtons()};
        box->button(press)->click();
    });
}

TEST(QtUi, QuestionsOfferTheAskedButtonsAndReturnTheAnswer) {
    test::guiApp();
    QtUi ui;
    BoxSeen seen;
    answerNextBox(QMessageBox::Cancel, seen);
    EXPECT_EQ(ui.question("Projekt jetzt speichern ?", MsgButtons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.text, "Projekt jetzt speichern ?");
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    answerNextBox(QMessageBox::No, seen);
    EXPECT_EQ(ui.question("Überschreiben ?", MsgButtons::YesNo), Answer::No);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);

    answerNextBox(QMessageBox::Ok, seen);
    ui.message("Fehlt", {}, MsgIcon::Critical);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

TEST(QtUi, ClipboardRoundTrip) {
    test::guiApp();
    QtUi ui;
    ui.setClipboardText("Sub Ä()");
    EXPECT_EQ(ui.clipboardText(), "Sub Ä()");
    ui.clearClipboard();
    EXPECT_EQ(ui.clipboardText(), "");
}

}  // namespace
