#include "app/widgets/CommandBar.h"

#include <QAction>
#include <QHash>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "acquire/RecentProjects.h"
#include "app/widgets/Twips.h"
#include "base/Limits.h"
#include "base/OptionsStore.h"
#include "view/widgets/SearchBox.h"
#include "view/widgets/Icons.h"

namespace lumo {

CommandBar::CommandBar(QMainWindow& window, QWidget* toolbarParent, Dispatch run)
    : QObject(&window), run_(std::move(run)) {
    buildMenus(window);
    buildToolbar(toolbarParent);
}

void CommandBar::buildMenus(QMainWindow& window) {
    QHash<QString, QMenu*> menus;
    for (const MenuDef& m : menuTable()) {
        QMenu* menu = nullptr;
        switch (m.place) {
        case MenuPlace::Bar: menu = window.menuBar()->addMenu(QString::fromUtf8(m.caption)); break;
        case MenuPlace::Popup: menu = new QMenu(&window); break;
        case MenuPlace::Submenu: menu = menus.value(QString::fromUtf8(m.parent))->addMenu(QString::fromUtf8(m.caption)); break;
        }
        menu->setObjectName(QString::fromUtf8(m.objectName));
        menu->menuAction()->setObjectName(QString::fromUtf8(m.objectName));
        if (m.hidden) menu->menuAction()->setVisible(false);
        if (m.state != Command::None) menuActions_[size_t(m.state)].push_back(menu->menuAction());
        menus.insert(menu->objectName(), menu);
    }
    for (const MenuItemDef& item : menuItemTable()) {
        QMenu* menu = menus.value(QString::fromUtf8(item.menu));
        if (item.flags & kSeparatorBefore) menu->addSeparator();
        QAction* a = menu->addAction(QString::fromUtf8(item.caption));
        a->setObjectName(QString::fromUtf8(item.objectName));
        if (*item.shortcut) a->setShortcut(QKeySequence::fromString(QString::fromUtf8(item.shortcut)));
        if (item.flags & kHidden) a->setVisible(false);
        if (item.index >= 0) a->setData(item.index);
        wire(a, item.command, item.flags & kCheckable);
        menuActions_[size_t(item.command)].push_back(a);
    }
    codePopup_ = menus.value(QStringLiteral("mnuPopUpHaupt"));
    zoomPopup_ = menus.value(QStringLiteral("mnuPopUp_Zoom"));
    readPopup_ = menus.value(QStringLiteral("mnuPopUpEinlesen"));
    // A menu none of whose commands exist yet is left out of the bar.
    for (QMenu* menu : menus)
        if (menu->actions().isEmpty()) menu->menuAction()->setVisible(false);
}

void CommandBar::wire(QAction* a, Command command, bool checkable) {
    if (command == Command::None) return;
    a->setCheckable(checkable);
    connect(a, &QAction::triggered, this, [this, a, command, checkable](bool) {
        // The command sets the marks of all its items itself, so the click's
        // own toggle is taken back first.
        if (checkable) a->setChecked(!a->isChecked());
        run_(command, a->data().isValid() ? a->data().toInt() : -1);
    });
}

void CommandBar::buildToolbar(QWidget* parent) {
    toolbar_ = new QToolBar(parent);
    toolbar_->setObjectName(QStringLiteral("tobSymb1"));
    toolbar_->setIconSize(QSize(20, 20));
    toolbar_->setMovable(false);
    // Pictures only; the tooltips name the commands.
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ToolButtonDef& b : toolButtonTable()) {
        if (b.flags & kSeparatorBefore) toolbar_->addSeparator();
        if (b.command == Command::Search) {
            searchBox_ = new SearchBox(toolbar_);
            searchBox_->setMaximumWidth(twipsToPixelsX(*parent, 2400));
            connect(searchBox_, &QLineEdit::returnPressed, this, [this] { run_(Command::SearchFromPosition, -1); });
            toolbar_->addWidget(searchBox_);
        }
        const QString key = QString::fromUtf8(b.key);
        QAction* a = toolbar_->addAction(toolbarIcon(key), QString::fromUtf8(b.tooltip));
        a->setObjectName(key);
        a->setToolTip(QString::fromUtf8(b.tooltip));
        wire(a, b.command, b.flags & kCheckable);
        toolActions_[size_t(b.command)].push_back(a);
    }
}

void CommandBar::addToolAction(QAction* action, Command command) {
    wire(action, command, false);
    toolActions_[size_t(command)].push_back(action);
}

QAction* CommandBar::menuAction(Command command, int nth) const {
    const auto& list = menuActions_[size_t(command)];
    return nth >= 0 && nth < int(list.size()) ? list[size_t(nth)] : nullptr;
}

QAction* CommandBar::toolAction(Command command) const {
    const auto& list = toolActions_[size_t(command)];
    return list.empty() ? nullptr : list.front();
}

QAction* CommandBar::popupAction(Command command) const {
    for (QAction* a : menuActions_[size_t(command)])
        if (codePopup_->actions().contains(a)) return a;
    return nullptr;
}

void CommandBar::setEnabled(Command command, bool on) {
    for (QAction* a : menuActions_[size_t(command)]) a->setEnabled(on);
    for (QAction* a : toolActions_[size_t(command)]) a->setEnabled(on);
}

void CommandBar::setChecked(Command command, bool on) {
    for (QAction* a : menuActions_[size_t(command)])
        if (a->isCheckable()) a->setChecked(on);
    for (QAction* a : toolActions_[size_t(command)])
        if (a->isCheckable()) a->setChecked(on);
}

bool CommandBar::checked(Command command) const {
    for (QAction* a : menuActions_[size_t(command)])
        if (a->isCheckable()) return a->isChecked();
    return false;
}

void CommandBar::applyState(bool shown) {
    for (const CommandStateDef& row : commandStateTable())
        setEnabled(row.command, shown ? row.enabledWhenShown : row.enabledWhenEmpty);
}

void CommandBar::setRefreshTexts(const QString& hostName) {
    menuAction(Command::Refresh)->setText(refreshCaption(hostName));
    toolAction(Command::Refresh)->setToolTip(refreshToolTip(hostName));
}

void CommandBar::showRecentProjects(const QStringList& folders) {
    for (int k = 0; k < kRecentProjects; ++k) {
        QAction* entry = menuAction(Command::OpenRecent, k);
        if (!entry) continue;
        if (k < folders.size()) entry->setText(recentCaption(k, folders[k]));
        entry->setVisible(k < folders.size());
    }
}

QMenu* CommandBar::prepareCodePopup(const QString& word, const QString& routine) {
    if (QAction* a = popupAction(Command::Definition)) {
        a->setText(word.isEmpty() ? QStringLiteral("&Definition ") : QStringLiteral("&Definition : ") + word);
        a->setEnabled(!word.isEmpty());
    }
    if (QAction* a = popupAction(Command::Callers)) {
        a->setText(routine.isEmpty() ? QStringLiteral("Aufrufe") : QStringLiteral("Aufrufe: ") + routine);
        a->setEnabled(!routine.isEmpty());
    }
    if (QAction* a = popupAction(Command::AllReferences)) {
        a->setText(word.isEmpty() ? QStringLiteral("Alle Verweise") : QStringLiteral("Alle Verweise: ") + word);
        a->setEnabled(!word.isEmpty());
    }
    return codePopup_;
}

}  // namespace lumo
