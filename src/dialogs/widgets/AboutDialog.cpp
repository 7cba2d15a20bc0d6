#include "dialogs/widgets/AboutDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/AppState.h"
#include "base/HelpPage.h"
#include "base/Ui.h"
#include "dialogs/AboutInfo.h"
#include "view/widgets/Icons.h"

namespace lumo {

AboutDialog::AboutDialog(Ui& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Info"));
    setModal(true);
    const AppState& state = appState();

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgIcon"));
    picture->setPixmap(drawPicture(QStringLiteral("A2"), 48));
    auto* title = new QLabel(state.titleText, this);
    title->setObjectName(QStringLiteral("lblTitel"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    title->setFont(big);
    auto* what = new QLabel(QStringLiteral("Browser und Dokumentierer für VBA-Code"), this);
    what->setObjectName(QStringLiteral("lblBeschreibung"));
    // While no web page of the maker's is set, the button opens the help page.
    const QString webPage = state.options.makerWebPage;
    auto* address = new QLabel(webPage, this);
    address->setObjectName(QStringLiteral("lblWeb"));
    address->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* web = new QPushButton(QStringLiteral("&Webseite"), this);
    web->setObjectName(QStringLiteral("cmdWeb"));
    web->setToolTip(webPage.isEmpty() ? helpPageFile() : webPage);
    // Enter closes the box, as OK is its default, whichever button has the focus.
    web->setAutoDefault(false);
    auto* info = new QPushButton(QStringLiteral("&Systeminfo ..."), this);
    info->setObjectName(QStringLiteral("cmdSysInfo"));
    info->setAutoDefault(false);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(web, &QPushButton::clicked, this, &AboutDialog::openWebPage);
    connect(info, &QPushButton::clicked, this, &AboutDialog::showSystemInfo);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(what);
    texts->addSpacing(8);
    texts->addWidget(address);
    auto* head = new QHBoxLayout;
    head->addWidget(picture, 0, Qt::AlignTop);
    head->addSpacing(12);
    head->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(web);
    buttons->addWidget(info);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addSpacing(16);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void AboutDialog::openWebPage() {
    const QString address = appState().options.makerWebPage;
    if (address.isEmpty()) {
        openHelpPage(ui_);
        return;
    }
    if (!ui_.openInViewer(address))
        ui_.message(QStringLiteral("Die Seite ") + address + QStringLiteral(" konnte nicht geöffnet werden."), {},
                    MsgIcon::Warning);
}

void AboutDialog::showSystemInfo() {
    ui_.message(systemInformation(appState()), QStringLiteral("Systeminfo"), MsgIcon::Information);
}

}  // namespace lumo
