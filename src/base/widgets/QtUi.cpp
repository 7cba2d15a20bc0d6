#include "base/widgets/QtUi.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <utility>
#include <QUrl>

#include "base/AppState.h"
#include "base/TextHelpers.h"

namespace lumo {
namespace {

QMessageBox::Icon boxIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information: return QMessageBox::Information;
        case MsgIcon::Warning: return QMessageBox::Warning;
        case MsgIcon::Critical: return QMessageBox::Critical;
        case MsgIcon::Question: return QMessageBox::Question;
        case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The texts keep the CR LF line breaks they are quoted with; a label on this
// platform breaks lines at LF alone and would show the CR. Control
// characters of the names quoted show as escapes, as on standard error.
QString shownText(QString text) {
    return visibleControls(text.replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

// The program speaks German whatever the desktop's language; the buttons of
// its questions must not answer in another one.
void germanButtons(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, const char*> texts[] = {
        {QMessageBox::Yes, "&Ja"}, {QMessageBox::No, "&Nein"}, {QMessageBox::Cancel, "Abbrechen"},
        {QMessageBox::Ok, "OK"}};
    for (const auto& [which, text] : texts)
        if (QAbstractButton* b = box.button(which)) b->setText(QString::fromUtf8(text));
}

}  // namespace

QString QtUi::titleOr(const QString& title) const {
    if (!title.isEmpty()) return title;
    if (!appState().titleText.isEmpty()) return appState().titleText;
    return QCoreApplication::applicationName();
}

void QtUi::message(const QString& text, const QString& title, MsgIcon icon) {
    QMessageBox box(boxIcon(icon), titleOr(title), shownText(text), QMessageBox::Ok, owner_);
    germanButtons(box);
    box.exec();
}

Answer QtUi::question(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) {
    const bool cancel = buttons == MsgButtons::YesNoCancel;
    QMessageBox box(boxIcon(icon), titleOr(title), shownText(text),
                    cancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel : QMessageBox::Yes | QMessageBox::No,
                    owner_);
    germanButtons(box);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(cancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default: return cancel ? Answer::Cancel : Answer::No;
    }
}

std::optional<QString> QtUi::input(const QString& prompt, const QString& title, const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(owner_, titleOr(title), prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok) return std::nullopt;
    return text;
}

QString QtUi::chooseFolder(const QString& title, const QString& startFolder) {
    // A title of two lines goes into the one line a dialog's title bar has.
    QString shownTitle = title;
    shownTitle.replace(QLatin1String("\r\n"), QLatin1String(" "));
    // A start folder that is gone leaves the dialog where it opens by default.
    QString folder = QFileDialog::getExistingDirectory(owner_, shownTitle, startFolder);
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    return folder;
}

QString QtUi::chooseSaveFile(const QString& title, const QString& startFolder, const QString& defaultName,
                             const QList<SaveFilter>& filters, const QString& defaultSuffix) {
    QFileDialog dialog(owner_, title, startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList shown;
    for (const SaveFilter& f : filters) shown << f.shown;
    if (!shown.isEmpty()) {
        dialog.setNameFilters(shown);
        dialog.selectNameFilter(shown.first());
    }
    dialog.setDefaultSuffix(defaultSuffix);
    if (!defaultName.isEmpty()) dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

QStringList QtUi::chooseOpenFiles(const QString& title, const QString& startFolder, const QString& filter) {
    return QFileDialog::getOpenFileNames(owner_, title, startFolder, filter);
}

QString QtUi::clipboardText() { return QGuiApplication::clipboard()->text(); }
void QtUi::setClipboardText(const QString& text) { QGuiApplication::clipboard()->setText(text); }
void QtUi::clearClipboard() { QGuiApplication::clipboard()->clear(); }

bool QtUi::openInViewer(const QString& path) {
    // A web address goes to the browser as it is; anything else is a file.
    const bool web = path.startsWith(QLatin1String("https://")) || path.startsWith(QLatin1String("http://"));
    if (web) return QDesktopServices::openUrl(QUrl(path));
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return true;
    // A desktop without a browser registered for local files still gets to
    // read an HTML page (the help above all): in a window of our own.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("html") && suffix != QLatin1String("htm")) return false;
    if (!QFileInfo(path).isReadable()) return false;
    if (pageWindow_) {
        if (auto* browser = pageWindow_->findChild<QTextBrowser*>()) browser->setSource(QUrl::fromLocalFile(path));
        pageWindow_->setWindowTitle(QFileInfo(path).fileName());
        pageWindow_->show();
        pageWindow_->raise();
        pageWindow_->activateWindow();
        return true;
    }
    auto* window = new QDialog(owner_);
    pageWindow_ = window;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(QStringLiteral("frmHtmlAnzeige"));
    window->setWindowTitle(QFileInfo(path).fileName());
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browser = new QTextBrowser(window);
    browser->setOpenExternalLinks(true);
    browser->setSource(QUrl::fromLocalFile(path));
    layout->addWidget(browser);
    window->resize(900, 700);
    window->show();
    return true;
}

}  // namespace lumo
