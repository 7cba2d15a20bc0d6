#pragma once
// Code as HTML on the clipboard and in the browser: the conversion as a
// command runs it, the footer that names the program, the clipboard transfer
// with its question, and the preview page.
#include <QString>

#include "base/Options.h"
#include "render/HtmlRenderer.h"

namespace lumo {

struct ExportContext;

// taggedToHtml as a command runs it: the status panel PanelOperation says "Erzeuge Html Code"
// while it works; a failure is shown with its description. False on failure.
bool convertToHtml(QString& text, const ExportContext& context);

// The line that names the program, linking to the maker's web page when
// one is set (webPage, the option "webseite"), else without a link.
QString htmlFooter(const QString& hostName, const QString& webPage);
// html + CR LF + "<br>" + footer: what answering Yes to the footer question gives.
QString withHtmlFooter(const QString& html, const QString& hostName, const QString& webPage);

// Asks (with meld) whether to add the footer, puts the HTML on the clipboard
// as plain text and, with vor, shows it in the browser.
void htmlToClipboard(QString html, const ExportContext& context);

// The whole preview page, ending in CR LF.
QString previewPage(const QString& html, const QString& hostName);
// Writes the preview page to context.previewFile (UTF-8) and opens it in the
// browser. Failures are shown; the clipboard is left alone.
void previewHtml(const QString& html, const ExportContext& context);
// "TempCodeLum.htm" in the per-user data folder (the parent of TempRoot).
QString defaultPreviewFile();

}  // namespace lumo
