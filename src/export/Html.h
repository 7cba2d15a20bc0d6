#pragma once
// Code as HTML source: tagged text to an HTML fragment with inline colour
// styles, the footer that names the program, the clipboard transfer with
// its question, and the preview page in the browser.
#include <optional>
#include <stdexcept>

#include <QString>
#include <QStringView>

#include "app/Options.h"

namespace lumo {

struct ExportContext;

// A colour that HTML cannot be written with; what() is the German description.
class HtmlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// In place: the fifteen characters that HTML (or a paste into a web editor)
// could misread become entities. The marker character and "|" stay, so the
// tags survive.
void escapeHtml(QString& text);
// Appends span to out, escaped as escapeHtml escapes it.
void appendEscapedHtml(QString& out, QStringView span);

// "#RRGGBB" of a 0x00BBGGRR colour; nothing when a component lies outside 0..255.
std::optional<QString> htmlColor(qint32 colour);

// In place: tagged text to the fragment "<pre><span ...>" ... "</span></pre>",
// comments, strings and keywords in their colours, routine lines bold when
// rouf is set. Throws HtmlError when a colour cannot be written; the text is
// then unchanged.
void taggedToHtml(QString& text, const Options& options);

// taggedToHtml as a command runs it: status panel 5 says "Erzeuge Html Code"
// while it works; a failure is shown with its description. False on failure.
bool convertToHtml(QString& text, const ExportContext& context);

// The line that names the program, linking to the maker's web page.
QString htmlFooter(const QString& hostName);
// html + CR LF + "<br>" + footer: what answering Yes to the footer question gives.
QString withHtmlFooter(const QString& html, const QString& hostName);

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
