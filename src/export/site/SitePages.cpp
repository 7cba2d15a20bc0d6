#include "export/site/SitePages.h"

#include <algorithm>
#include <map>
#include <span>

#include <QFileInfo>
#include <QHash>

#include "base/CaseFold.h"
#include "export/RoutineListing.h"
#include "export/site/PageBytes.h"
#include "export/site/SiteProject.h"
#include "model/Codes.h"
#include "render/HtmlRenderer.h"

namespace lumo {

namespace {

struct TypeHeading {
    int type;
    const char* heading;  // of the overview's section
    const char* single;   // beside a module's name
};

constexpr TypeHeading kTypeHeadings[] = {
    {ModUserForm, "Formulare", "Formular"},
    {ModStandard, "Allgemeine Module", "Allgemeines Modul"},
    {ModClass, "Klassenmodule", "Klassenmodul"},
    {ModDocument, "Dokumentmodule", "Dokumentmodul"},
};

struct ByModule {
    bool operator()(const RoutineRow& r, int module) const { return r.module < module; }
    bool operator()(int module, const RoutineRow& r) const { return module < r.module; }
};

const TypeHeading& headingOf(int type) {
    static const TypeHeading other{ModOther, "Andere Module", "Modul"};
    for (const TypeHeading& t : kTypeHeadings)
        if (t.type == type) return t;
    return other;
}

void startPage(PageBytes& out, QStringView title, const SiteTitle& site) {
    out.add("<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<meta name=\"generator\" content=\"Word Code Lumo\">\n<title>");
    out.addEscaped(title);
    out.add(" – ");
    out.addEscaped(site.project);
    out.add("</title>\n<link rel=\"stylesheet\" href=\"site.css\">\n</head>\n<body>\n<header>\n"
            "<nav aria-label=\"Projekt\"><a class=\"projekt\" href=\"index.html\">");
    out.addEscaped(site.project);
    out.add("</a> <a href=\"index.html\">Übersicht</a> <a href=\"routinen.html\">Routinen A–Z</a></nav>\n"
            "<form class=\"suche\" role=\"search\"><label for=\"suche\">Suchen</label> "
            "<input type=\"search\" id=\"suche\" name=\"q\" placeholder=\"Modul oder Routine\" autocomplete=\"off\" "
            "aria-controls=\"treffer\"><button type=\"submit\">Los</button>"
            "<ul id=\"treffer\" aria-label=\"Treffer\"></ul></form>\n</header>\n<main>\n");
}

void endPage(PageBytes& out) {
    out.add("</main>\n<footer>Erstellt mit Word Code Lumo</footer>\n"
            "<script src=\"suchindex.js\"></script>\n<script src=\"suche.js\"></script>\n</body>\n</html>\n");
}

// modul-Haupt.html#r-Start, escaped.
void addRoutineHref(PageBytes& out, const SiteProject& project, const RoutineRow& r) {
    out.add(project.pageBytes(r.module));
    out.add('#');
    out.add(project.anchorHtml(r));
}

// "Public Sub": a project has a handful of kinds, each worked out once.
class KindTexts {
public:
    const QString& of(const RoutineRow& r) {
        const int key = r.type * 16 + r.visibility;
        auto at = texts_.constFind(key);
        if (at == texts_.cend()) at = texts_.insert(key, visibilityText(r.visibility) + u' ' + routineKindText(r.type));
        return at.value();
    }

private:
    QHash<int, QString> texts_;
};

void addCount(PageBytes& out, qint64 n, const char* one, const char* many);

constexpr qsizetype kOpenCallers = 6;

void addCallers(PageBytes& out, const SiteProject& project, const RoutineRow& r) {
    const std::optional<std::vector<SiteCall>> calls = project.callers(r);
    if (!calls) return;
    if (calls->empty()) {
        out.add("<p class=\"aufrufe\">Keine Aufrufe gefunden.</p>");
        return;
    }
    // A long list stays folded, so that the code is not pushed far down.
    const bool folded = qsizetype(calls->size()) > kOpenCallers;
    if (folded) {
        out.add("<details class=\"aufrufe\"><summary>Aufgerufen von ");
        addCount(out, qint64(calls->size()), "Stelle", "Stellen");
        out.add("</summary>");
    } else {
        out.add("<p class=\"aufrufe\">Aufgerufen von: ");
    }
    for (size_t k = 0; k < calls->size(); ++k) {
        // "Haupt.Start, Zeile 20"; the module alone outside every routine.
        const SiteCall& c = (*calls)[k];
        if (k > 0) out.add(", ");
        out.add(project.callLinkStart(c.module));
        out.addNumber(c.line);
        out.add(project.callLabel(c));
        out.addNumber(c.line);
        out.add("</a>");
    }
    if (folded) out.add("</details>");
    else out.add("</p>");
}

// "1 Modul", "2 Module".
void addCount(PageBytes& out, qint64 n, const char* one, const char* many) {
    out.addNumber(n);
    out.add(' ');
    out.add(QByteArrayView(n == 1 ? one : many));
}

// The head as written, its continued lines kept apart.
void addSignature(PageBytes& out, const QString& signature) {
    if (signature.isEmpty()) return;
    out.add("<code class=\"sig\">");
    out.addEscaped(signature);
    out.add("</code>");
}

void addSummary(PageBytes& out, const DocComment& doc) {
    if (doc.summary.isEmpty()) return;
    out.add("<span class=\"doku\">");
    out.addEscaped(doc.summary);
    out.add("</span>");
}

// The whole text, the parameters with what is said of each, and the result.
void addDoc(PageBytes& out, const DocComment& doc) {
    if (doc.isEmpty()) return;
    out.add("<div class=\"doku\">");
    for (const QString& paragraph : doc.text.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts)) {
        out.add("<p>");
        out.addEscaped(paragraph);
        out.add("</p>");
    }
    if (!doc.params.empty()) {
        out.add("<dl>");
        for (const DocComment::Param& p : doc.params) {
            out.add("<dt>");
            out.addEscaped(p.name);
            out.add("</dt><dd>");
            out.addEscaped(p.text.isEmpty() ? QStringLiteral("–") : p.text);
            out.add("</dd>");
        }
        out.add("</dl>");
    }
    if (!doc.returns.isEmpty()) {
        out.add("<p><b>Rückgabe:</b> ");
        out.addEscaped(doc.returns);
        out.add("</p>");
    }
    out.add("</div>");
}

// Whether a font is one of the monospaced families of the usual systems;
// without a display the font database cannot be asked.
bool isMonospacedFontName(const QString& name) {
    static const char* const kinds[] = {"mono", "courier", "consol", "code", "fixed", "terminal", "lucida console",
                                        "menlo", "monaco", "inconsolata", "hack", "typewriter"};
    for (const char* k : kinds)
        if (name.contains(QLatin1StringView(k), Qt::CaseInsensitive)) return true;
    return false;
}

// A CSS string holding a font name, whatever the settings file says.
QString cssFontName(const QString& name) {
    QString out;
    for (const QChar c : name)
        if (c.isLetterOrNumber() || c == u' ' || c == u'-' || c == u'_') out += c;
    return out;
}

}  // namespace

void siteIndexPage(PageBytes& out, const SiteProject& project, const SiteTitle& title) {
    startPage(out, u"Übersicht", title);
    int lines = 0;
    for (const ModuleRow& m : project.modules()) lines += m.lines;
    out.add("<h1>");
    out.addEscaped(title.project);
    out.add("</h1>\n<p>");
    addCount(out, qint64(project.modules().size()), "Modul", "Module");
    out.add(", ");
    addCount(out, project.routineCount(), "Routine", "Routinen");
    out.add(", ");
    addCount(out, lines, "Zeile", "Zeilen");
    out.add('.');
    if (!title.sources.isEmpty()) {
        if (title.sources.size() == 1) out.add(" Quelle: ");
        else out.add(" Quellen: ");
        for (qsizetype k = 0; k < title.sources.size(); ++k) {
            if (k > 0) out.add(", ");
            // The name only: the folders of the building machine are nobody's business.
            out.add("<code>");
            out.addEscaped(QFileInfo(title.sources[k]).fileName());
            out.add("</code>");
        }
        out.add('.');
    }
    out.add("</p>\n");
    if (!title.leftOut.isEmpty()) {
        out.add("<p>Nicht aufgenommen:</p>\n<ul class=\"ausgelassen\">\n");
        for (const QString& line : title.leftOut) {
            out.add("<li>");
            out.addEscaped(line);
            out.add("</li>\n");
        }
        out.add("</ul>\n");
    }
    out.add("<p><a href=\"routinen.html\">Alle Routinen von A bis Z</a></p>\n");
    // Sections by type, modules by name within them, as the project tree lists them.
    std::map<int, std::vector<const ModuleRow*>> byType;
    for (const ModuleRow& m : project.modules()) byType[m.type].push_back(&m);
    for (auto& [type, modules] : byType) {
        std::sort(modules.begin(), modules.end(), [](const ModuleRow* a, const ModuleRow* b) {
            return a->name.compare(b->name, Qt::CaseInsensitive) < 0;
        });
        out.add("<section>\n<h2>");
        out.add(QByteArrayView(headingOf(type).heading));
        out.add("</h2>\n<table>\n<thead><tr><th>Modul</th><th class=\"zahl\">Zeilen</th>"
                "<th class=\"zahl\">Routinen</th></tr></thead>\n<tbody>\n");
        for (const ModuleRow* m : modules) {
            out.add("<tr><td><a href=\"");
            out.add(project.pageBytes(m->number));
            out.add("\">");
            out.add(project.nameHtml(m->number));
            out.add("</a>");
            addSummary(out, project.moduleDoc(m->number));
            out.add("</td><td class=\"zahl\">");
            out.addNumber(m->lines);
            out.add("</td><td class=\"zahl\">");
            out.addNumber(project.routineCount(m->number));
            out.add("</td></tr>\n");
        }
        out.add("</tbody>\n</table>\n</section>\n");
    }
    endPage(out);
}

qsizetype siteModulePage(PageBytes& out, const SiteProject& project, const ModuleRow& module, const SiteTitle& title) {
    startPage(out, module.name, title);
    out.add("<h1>");
    out.add(project.nameHtml(module.number));
    out.add(" <small>");
    out.add(QByteArrayView(headingOf(module.type).single));
    out.add("</small></h1>\n");
    addDoc(out, project.moduleDoc(module.number));
    out.add("<p>");
    addCount(out, module.lines, "Zeile", "Zeilen");
    out.add(", ");
    addCount(out, project.routineCount(module.number), "Routine", "Routinen");
    out.add(".</p>\n");
    const auto [from, to] = std::equal_range(project.routines().begin(), project.routines().end(), module.number,
                                             ByModule{});
    if (from != to) {
        KindTexts kinds;
        out.add("<section class=\"routinen\">\n<h2>Routinen</h2>\n<ul>\n");
        for (const RoutineRow& r : std::span(from, to)) {
            if (project.repeats(r)) continue;
            out.add("<li><a href=\"#");
            out.add(project.anchorHtml(r));
            out.add("\">");
            out.addEscaped(r.name);
            out.add("</a> <span class=\"art\">");
            out.addEscaped(kinds.of(r));
            out.add("</span>");
            addSignature(out, project.signatureOf(r));
            addDoc(out, project.docOf(r));
            addCallers(out, project, r);
            out.add("</li>\n");
        }
        out.add("</ul>\n</section>\n");
    }
    if (!project.hasText(module.number) && module.lines > 0) {
        out.add("<p class=\"fehlt\">Der Code dieses Moduls konnte nicht gelesen werden.</p>\n");
        endPage(out);
        return out.byteCount();
    }
    out.add("<h2 class=\"code-titel\">Code</h2>\n<pre class=\"code\">");
    const qsizetype code = out.byteCount();
    out.add("</pre>\n");
    endPage(out);
    return code;
}

void siteRoutinePage(PageBytes& out, const SiteProject& project, const SiteTitle& title) {
    // Sorted by the names folded once, not folded again in every comparison.
    std::vector<std::pair<QString, const RoutineRow*>> keyed;
    for (const RoutineRow& r : project.routines())
        if (!project.repeats(r)) keyed.emplace_back(caseFolded(r.name), &r);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const RoutineRow*> all;
    for (const auto& k : keyed) all.push_back(k.second);
    // Letters as the names begin; what is no letter A to Z goes under "#"
    // (its anchor "b-0").
    auto letterOf = [](const RoutineRow* r) {
        const QChar c = r->name.isEmpty() ? QChar(u'#') : r->name.at(0).toUpper();
        return (c >= u'A' && c <= u'Z') ? char(c.unicode()) : '#';
    };
    std::vector<char> letters;
    for (const RoutineRow* r : all)
        if (std::find(letters.begin(), letters.end(), letterOf(r)) == letters.end()) letters.push_back(letterOf(r));
    startPage(out, u"Routinen A–Z", title);
    out.add("<h1>Routinen A–Z</h1>\n<p>");
    addCount(out, qint64(all.size()), "Routine", "Routinen");
    out.add(".</p>\n<nav class=\"buchstaben\" aria-label=\"Anfangsbuchstaben\">");
    for (const char l : letters) {
        out.add("<a href=\"#b-");
        out.add(l == '#' ? '0' : l);
        out.add("\">");
        out.add(l);
        out.add("</a> ");
    }
    out.add("</nav>\n");
    KindTexts kinds;
    char open = 0;
    for (const RoutineRow* r : all) {
        const char l = letterOf(r);
        if (l != open) {
            if (open) out.add("</ul>\n");
            out.add("<h2 id=\"b-");
            out.add(l == '#' ? '0' : l);
            out.add("\">");
            out.add(l);
            out.add("</h2>\n<ul class=\"index\">\n");
            open = l;
        }
        out.add("<li><a href=\"");
        addRoutineHref(out, project, *r);
        out.add("\">");
        out.addEscaped(r->name);
        out.add("</a> <span class=\"art\">");
        out.addEscaped(kinds.of(*r));
        out.add(" in ");
        out.add(project.nameHtml(r->module));
        out.add("</span>");
        addSignature(out, project.signatureOf(*r));
        addSummary(out, project.docOf(*r));
        out.add("</li>\n");
    }
    if (open) out.add("</ul>\n");
    endPage(out);
}

QString siteStyleSheet(const Options& options) {
    const QString keyword = htmlColorOrThrow(options.keywordColour, "Schlüsselwörter");
    const QString comment = htmlColorOrThrow(options.commentColour, "Kommentare");
    const QString string = htmlColorOrThrow(options.stringColour, "Zeichenketten");
    QString css = QStringLiteral(
        "*{box-sizing:border-box}\n"
        "body{margin:0;font-family:system-ui,-apple-system,\"Segoe UI\",sans-serif;color:#1b1b1b;background:#fff;"
        "line-height:1.45}\n"
        "header{display:flex;flex-wrap:wrap;gap:.5rem 1.5rem;align-items:center;justify-content:space-between;"
        "padding:.6rem 1rem;background:#1f3a5f;color:#fff}\n"
        "header nav a{color:#fff;margin-right:1rem;text-decoration:none}\n"
        "header nav a:hover{text-decoration:underline}\n"
        "header nav a.projekt{font-weight:bold}\n"
        "form.suche{position:relative;margin:0}\n"
        "form.suche label{margin-right:.4rem}\n"
        "form.suche input{width:16rem;max-width:60vw;padding:.25rem .4rem;border:1px solid #8aa;border-radius:3px}\n"
        "#treffer{position:absolute;right:0;z-index:2;margin:.2rem 0 0;padding:0;list-style:none;background:#fff;"
        "color:#1b1b1b;min-width:16rem;max-width:90vw;max-height:60vh;overflow:auto;box-shadow:0 2px 8px #0004}\n"
        "#treffer li{padding:.25rem .5rem;border-bottom:1px solid #eee}\n"
        "#treffer:empty{display:none}\n"
        "main{padding:1rem;max-width:80rem;margin:0 auto}\n"
        "h1 small{font-size:.6em;font-weight:normal;color:#555}\n"
        "a{color:#1a4f9c}\n"
        "table{border-collapse:collapse;width:100%;max-width:40rem}\n"
        "th,td{text-align:left;padding:.2rem .6rem;border-bottom:1px solid #ddd}\n"
        ".zahl{text-align:right;font-variant-numeric:tabular-nums}\n"
        ".art{color:#555;font-size:.9em}\n"
        "section.routinen ul,ul.index{padding-left:1.2rem}\n"
        "section.routinen li{margin:.2rem 0}\n"
        ".aufrufe{margin:.1rem 0 .3rem;font-size:.9em;overflow-wrap:anywhere}\n"
        "details.aufrufe summary{cursor:pointer;color:#1a4f9c}\n"
        "nav.buchstaben a{display:inline-block;padding:.1rem .35rem;font-weight:bold}\n"
        "pre.code{overflow-x:auto;padding:.5rem 0;border:1px solid #ddd;background:#fcfcfc;tab-size:4;"
        "line-height:1.35;");
    // Code lines up only in a monospaced font: the user's one where it is such, else the system's.
    const QString font = cssFontName(options.fontName);
    const QString mono = QStringLiteral("\"DejaVu Sans Mono\",Consolas,\"Courier New\",monospace");
    css += QStringLiteral("font-family:%1;font-size:%2pt}\n")
               .arg(isMonospacedFontName(font) ? u'"' + font + QStringLiteral("\",") + mono : mono)
               .arg(options.fontSize);
    css += QStringLiteral(
        "pre.code{counter-reset:zeile}\n"
        "pre.code>span{display:block;padding-right:1rem;counter-increment:zeile}\n"
        "pre.code>span:target{background:#fff3b0}\n"
        "pre.code>span::before{content:counter(zeile);display:inline-block;width:4.5em;padding-right:1em;"
        "text-align:right;color:#666;user-select:none}\n"
        "pre.code a{color:inherit;text-decoration:none;border-bottom:1px dotted #8aa}\n"
        "pre.code a:hover{background:#e8f0ff}\n");
    css += QStringLiteral(".k{color:%1}\n.c{color:%2}\n.s{color:%3}\n").arg(keyword, comment, string);
    css += options.boldRoutineLines ? QStringLiteral(".r{font-weight:bold}\n") : QStringLiteral(".r{}\n");
    css += QStringLiteral(
        "p.fehlt{color:#a00;font-weight:bold}\n"
        "footer{padding:1rem;color:#595959;font-size:.85em;text-align:center}\n"
        "code.sig{display:block;margin:.1rem 0;white-space:pre-wrap;overflow-wrap:anywhere;font-size:.9em;"
        "font-family:\"DejaVu Sans Mono\",Consolas,\"Courier New\",monospace}\n"
        ".doku p{margin:.2rem 0}\n.doku dl{margin:.2rem 0;display:grid;grid-template-columns:auto 1fr;gap:0 .8rem}\n"
        ".doku dt{font-family:monospace;font-weight:bold}\n.doku dd{margin:0}\n"
        "span.doku{display:block;font-size:.9em}\n"
        "form.suche button{margin-left:.3rem;padding:.2rem .5rem}\n"
        "@media (max-width:40rem){main{padding:.5rem}pre.code>span::before{width:3em;padding-right:.5em}"
        "form.suche input{width:100%;max-width:none}form.suche{flex:1 1 100%}}\n"
        "@media (prefers-color-scheme:dark){body{color:#e6e6e6;background:#16181c}a,details.aufrufe summary{color:#8ab4f8}"
        ".art,h1 small{color:#b8b8b8}footer{color:#b0b0b0}th,td{border-color:#444}"
        "#treffer{background:#22262c;color:#e6e6e6}#treffer li{border-color:#333}"
        // The code keeps its light ground: the user's colours were chosen for it.
        "pre.code{color:#1b1b1b;border-color:#444}pre.code a:hover{background:#d6e4ff}}\n"
        "@media print{header,footer,form.suche{display:none}main{max-width:none;padding:0}"
        "details.aufrufe>*{display:block}"
        "pre.code{white-space:pre-wrap;border:none;overflow:visible}pre.code a{border:none}"
        "a{color:inherit;text-decoration:none}section{break-inside:avoid-page}}\n");
    return css;
}

void siteSearchIndex(PageBytes& out, const SiteProject& project) {
    out.add("var lumoSuche = [");
    bool first = true;
    auto start = [&] {
        if (first) out.add("\n[\"");
        else out.add(",\n[\"");
        first = false;
    };
    for (const ModuleRow& m : project.modules()) {
        start();
        out.addJsText(m.name);
        out.add("\",\"");
        out.add(project.pageBytes(m.number));
        out.add("\",\"");
        out.add(QByteArrayView(headingOf(m.type).single));
        if (!project.moduleDoc(m.number).summary.isEmpty()) {
            out.add("\",\"");
            out.addJsText(project.moduleDoc(m.number).summary);
        }
        out.add("\"]");
    }
    KindTexts kinds;
    for (const RoutineRow& r : project.routines()) {
        if (project.repeats(r)) continue;
        start();
        out.addJsText(r.name);
        out.add("\",\"");
        out.add(project.pageBytes(r.module));
        out.add('#');
        out.addJsText(project.anchorOf(r));
        out.add("\",\"");
        out.addJsText(kinds.of(r));
        out.add(" in ");
        out.addJsText(project.modules()[size_t(r.module) - 1].name);
        if (!project.docOf(r).summary.isEmpty()) {
            out.add("\",\"");
            out.addJsText(project.docOf(r).summary);
        }
        out.add("\"]");
    }
    out.add("\n];\n");
}

QString siteSearchScript() {
    // Works from file:// as from a server: the index is a script, not a request.
    return QStringLiteral(R"JS((function () {
  "use strict";
  // Print shows what is folded: every <details> opens and closes again after.
  var opened = [];
  window.addEventListener("beforeprint", function () {
    document.querySelectorAll("details:not([open])").forEach(function (d) { d.open = true; opened.push(d); });
  });
  window.addEventListener("afterprint", function () {
    opened.forEach(function (d) { d.open = false; });
    opened = [];
  });
  var box = document.getElementById("suche");
  var list = document.getElementById("treffer");
  if (!box || !list || !window.lumoSuche) return;
  var most = 50;
  // The name itself first, then names that begin with it (shorter first), then names holding it.
  function hits(q) {
    var exact = [], begins = [], contains = [];
    for (var i = 0; i < lumoSuche.length; i++) {
      var name = lumoSuche[i][0].toLowerCase(), at = name.indexOf(q);
      if (name === q) exact.push(lumoSuche[i]);
      else if (at === 0) begins.push(lumoSuche[i]);
      else if (at > 0) contains.push(lumoSuche[i]);
    }
    begins.sort(function (a, b) { return a[0].length - b[0].length; });
    return exact.concat(begins, contains).slice(0, most);
  }
  function show() {
    var q = box.value.trim().toLowerCase();
    list.textContent = "";
    if (!q) return;
    var found = hits(q);
    if (!found.length) {
      var none = document.createElement("li");
      none.textContent = "Nichts gefunden";
      list.appendChild(none);
      return;
    }
    found.forEach(function (e) {
      var li = document.createElement("li"), a = document.createElement("a"), what = document.createElement("span");
      a.href = e[1];
      a.textContent = e[0];
      what.className = "art";
      what.textContent = " " + e[2];
      li.appendChild(a);
      li.appendChild(what);
      if (e[3]) {
        var said = document.createElement("span");
        said.className = "doku";
        said.textContent = e[3];
        li.appendChild(said);
      }
      list.appendChild(li);
    });
  }
  function step(by) {
    var links = Array.prototype.slice.call(list.querySelectorAll("a"));
    if (!links.length) return;
    var at = links.indexOf(document.activeElement) + by;
    if (at < 0) box.focus();
    else links[Math.min(at, links.length - 1)].focus();
  }
  box.addEventListener("input", show);
  box.form.addEventListener("keydown", function (ev) {
    if (ev.key === "Escape") { box.value = ""; show(); box.focus(); }
    else if (ev.key === "ArrowDown") { ev.preventDefault(); step(1); }
    else if (ev.key === "ArrowUp") { ev.preventDefault(); step(-1); }
  });
  box.form.addEventListener("submit", function (ev) {
    ev.preventDefault();
    var first = list.querySelector("a");
    if (first) window.location.href = first.href;
  });
  // An address with ?q=Name opens with its hits.
  var asked = new URLSearchParams(window.location.search).get("q");
  if (asked) { box.value = asked; show(); }
})();
)JS");
}

}  // namespace lumo
