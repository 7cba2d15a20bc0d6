#include "export/Html.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/AppState.h"
#include "base/SystemErrors.h"
#include "base/Ui.h"
#include "export/ExportContext.h"

namespace lumo {

bool convertToHtml(QString& text, const ExportContext& context) {
    OperationStatus status(context, QStringLiteral("Erzeuge Html Code"));
    try {
        taggedToHtml(text, context.options);
        return true;
    } catch (const HtmlError& e) {
        context.ui.message(QString::fromStdString(e.what()));
        return false;
    }
}

QString htmlFooter(const QString& hostName, const QString& webPage) {
    const QString lead = QStringLiteral("<span style=\" font-weight:bold;\"> Code eingef&uuml;gt mit: </span> ");
    QString name = hostName + QStringLiteral(" Code Lumo");
    escapeHtml(name);
    // Without a web page of the maker's there is nothing to link to, and a
    // dead link in the user's pages is worse than none.
    if (webPage.isEmpty())
        return lead + QStringLiteral("<span style=\"color:#ffff00; background-color:#000080; font-weight:bold;\">") +
               name + QStringLiteral("</span>");
    QString address = webPage;
    escapeHtml(address);
    return lead + QStringLiteral("<a style =\"color:#ffff00; background-color:#000080; font-weight:bold;\"") +
           QStringLiteral(" href=\"") + address + QStringLiteral("\"") + QStringLiteral(" target=\"blank\">") + name +
           QStringLiteral("</a>");
}

QString withHtmlFooter(const QString& html, const QString& hostName, const QString& webPage) {
    return html + QStringLiteral("\r\n<br>") + htmlFooter(hostName, webPage);
}

void htmlToClipboard(QString html, const ExportContext& context) {
    if (context.options.confirmClipboard) {
        const QString question = QStringLiteral(
            "Die Daten sind jetzt für die Zwischenablage vorbereitet \r\n"
            "und stehen Ihnen nach Schliessen des Dialoges dort zur Verfügung !\r\n"
            "\r\n"
            "Hinweis auf Erstellungsprogramm Hinzufügen ?");
        if (context.ui.question(question, MsgButtons::YesNo, MsgIcon::Question) == Answer::Yes)
            html = withHtmlFooter(html, context.hostName, context.options.makerWebPage);
    }
    context.ui.clearClipboard();
    context.ui.setClipboardText(html);
    if (context.options.previewInBrowser) previewHtml(html, context);
}

QString previewPage(const QString& html, const QString& hostName) {
    // The charset declaration makes a browser read the page as the UTF-8 it
    // is written in; everything else is the page as it always was.
    return QStringLiteral("<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
                          "<TITLE>") +
           hostName + QStringLiteral(" Code Lumo</TITLE></HEAD><BODY>") + html + QStringLiteral("</Body></HTML>\r\n");
}

void previewHtml(const QString& html, const ExportContext& context) {
    QFile file(context.previewFile);
    const QByteArray bytes = previewPage(html, context.hostName).toUtf8();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush()) {
        context.ui.message(QStringLiteral("Die Vorschau ") + QDir::toNativeSeparators(context.previewFile) +
                           QStringLiteral(" kann nicht geschrieben werden: ") + germanSystemText(file.errorString()));
        return;
    }
    file.close();
    if (!context.ui.openInViewer(context.previewFile))
        context.ui.message(QStringLiteral("Vorschau nicht möglich, vermutlich kein IE installiert"));
}

QString defaultPreviewFile() {
    // TempRoot is the data folder + "TempDateien/"; the page sits beside it.
    const QString tempRoot = QDir::cleanPath(appState().tempRoot);
    return QFileInfo(tempRoot).path() + QStringLiteral("/TempCodeLum.htm");
}

}  // namespace lumo
