#include "export/SitePages.h"

#include <algorithm>
#include <map>


#include "export/RoutineListing.h"
#include "export/SiteCode.h"
#include "export/SiteProject.h"
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

const TypeHeading& headingOf(int type) {
    static const TypeHeading other{ModOther, "Andere Module", "Modul"};
    for (const TypeHeading& t : kTypeHeadings)
        if (t.type == type) return t;
    return other;
}

QString e(const QString& text) { return siteEscaped(text); }

QString page(const QString& title, const SiteTitle& site, const QString& body) {
    QString out;
    out.reserve(body.size() + 1024);
    out += QStringLiteral(
        "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        "<meta name=\"generator\" content=\"Word Code Lumo\">\n<title>");
    out += e(title) + QStringLiteral(" – ") + e(site.project);
    out += QStringLiteral(
        "</title>\n<link rel=\"stylesheet\" href=\"site.css\">\n</head>\n<body>\n<header>\n"
        "<nav><a class=\"projekt\" href=\"index.html\">");
    out += e(site.project);
    out += QStringLiteral(
        "</a> <a href=\"index.html\">Übersicht</a> <a href=\"routinen.html\">Routinen A–Z</a></nav>\n"
        "<form class=\"suche\" role=\"search\" action=\"#\"><label for=\"suche\">Suchen</label> "
        "<input type=\"search\" id=\"suche\" placeholder=\"Modul oder Routine\" autocomplete=\"off\">"
        "<ul id=\"treffer\"></ul></form>\n</header>\n<main>\n");
    out += body;
    out += QStringLiteral(
        "</main>\n<footer>Erstellt mit Word Code Lumo</footer>\n"
        "<script src=\"suchindex.js\"></script>\n<script src=\"suche.js\"></script>\n</body>\n</html>\n");
    return out;
}

int routineCount(const SiteProject& project, int module) {
    return int(std::count_if(project.routines().begin(), project.routines().end(), [&](const RoutineRow& r) {
        return r.module == module && !project.repeats(r);
    }));
}

QString routineHref(const SiteProject& project, const RoutineRow& r) {
    return project.pageOf(r.module) + u'#' + project.anchorOf(r.number);
}

QString kindText(const RoutineRow& r) { return visibilityText(r.visibility) + u' ' + routineKindText(r.type); }

// "Haupt.Start, Zeile 20" for a call; the module alone outside every routine.
QString callLabel(const SiteProject& project, const SiteCall& call) {
    const QString module = project.modules()[size_t(call.module) - 1].name;
    return (call.routine.isEmpty() ? module : module + u'.' + call.routine) + QStringLiteral(", Zeile ") +
           QString::number(call.line);
}

constexpr qsizetype kOpenCallers = 6;

// Written straight into the page: a much-called routine has thousands of
// callers, and pieces joined first would be copied twice more.
void appendCallers(QString& out, const SiteProject& project, const RoutineRow& r) {
    const std::optional<std::vector<SiteCall>> calls = project.callers(r);
    if (!calls) return;
    if (calls->empty()) {
        out += QLatin1String("<p class=\"aufrufe\">Keine Aufrufe gefunden.</p>");
        return;
    }
    // A long list stays folded, so that the code is not pushed far down.
    const bool folded = qsizetype(calls->size()) > kOpenCallers;
    if (folded) {
        out += QLatin1String("<details class=\"aufrufe\"><summary>Aufgerufen von ");
        out += QString::number(calls->size());
        out += QLatin1String(" Stellen</summary>");
    } else {
        out += QLatin1String("<p class=\"aufrufe\">Aufgerufen von: ");
    }
    for (size_t k = 0; k < calls->size(); ++k) {
        const SiteCall& c = (*calls)[k];
        if (k > 0) out += QLatin1String(", ");
        out += QLatin1String("<a href=\"");
        appendSiteEscaped(out, project.pageOf(c.module));
        out += QLatin1String("#L");
        out += QString::number(c.line);
        out += QLatin1String("\">");
        appendSiteEscaped(out, callLabel(project, c));
        out += QLatin1String("</a>");
    }
    out += folded ? QLatin1String("</details>") : QLatin1String("</p>");
}

// A JavaScript string literal of text.
void appendJsString(QString& out, const QString& text) {
    out += u'"';
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\') out += u'\\';
        if (c.unicode() < 0x20) out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else out += c;
    }
    out += u'"';
}

// A CSS string holding a font name, whatever the settings file says.
QString cssFontName(const QString& name) {
    QString out;
    for (const QChar c : name)
        if (c.isLetterOrNumber() || c == u' ' || c == u'-' || c == u'_') out += c;
    return out;
}

}  // namespace

QString siteIndexPage(const SiteProject& project, const SiteTitle& title) {
    int lines = 0;
    for (const ModuleRow& m : project.modules()) lines += m.lines;
    QString body = QStringLiteral("<h1>") + e(title.project) + QStringLiteral("</h1>\n<p>");
    body += QStringLiteral("%1 Module, %2 Routinen, %3 Zeilen.")
                .arg(project.modules().size())
                .arg(project.routineCount())
                .arg(lines);
    if (!title.sources.isEmpty()) {
        body += title.sources.size() == 1 ? QStringLiteral(" Quelle: ") : QStringLiteral(" Quellen: ");
        QStringList shown;
        for (const QString& s : title.sources) shown << QStringLiteral("<code>") + e(s) + QStringLiteral("</code>");
        body += shown.join(QStringLiteral(", ")) + u'.';
    }
    body += QStringLiteral("</p>\n<p><a href=\"routinen.html\">Alle Routinen von A bis Z</a></p>\n");
    // Sections by type, modules by name within them, as the project tree lists them.
    std::map<int, std::vector<const ModuleRow*>> byType;
    for (const ModuleRow& m : project.modules()) byType[m.type].push_back(&m);
    for (auto& [type, modules] : byType) {
        std::sort(modules.begin(), modules.end(), [](const ModuleRow* a, const ModuleRow* b) {
            return a->name.compare(b->name, Qt::CaseInsensitive) < 0;
        });
        body += QStringLiteral("<section>\n<h2>") + QString::fromUtf8(headingOf(type).heading) +
                QStringLiteral("</h2>\n<table>\n<thead><tr><th>Modul</th><th class=\"zahl\">Zeilen</th>"
                               "<th class=\"zahl\">Routinen</th></tr></thead>\n<tbody>\n");
        for (const ModuleRow* m : modules)
            body += QStringLiteral("<tr><td><a href=\"%1\">%2</a></td><td class=\"zahl\">%3</td><td class=\"zahl\">%4</td></tr>\n")
                        .arg(e(project.pageOf(m->number)), e(m->name), QString::number(m->lines),
                             QString::number(routineCount(project, m->number)));
        body += QStringLiteral("</tbody>\n</table>\n</section>\n");
    }
    return page(QStringLiteral("Übersicht"), title, body);
}

QString siteModulePage(const SiteProject& project, const ModuleRow& module, const SiteTitle& title) {
    QString body = QStringLiteral("<h1>") + e(module.name) + QStringLiteral(" <small>") +
                   QString::fromUtf8(headingOf(module.type).single) + QStringLiteral("</small></h1>\n");
    std::vector<const RoutineRow*> routines;
    for (const RoutineRow& r : project.routines())
        if (r.module == module.number) routines.push_back(&r);
    body += QStringLiteral("<p>%1 Zeilen, %2 Routinen.</p>\n").arg(module.lines).arg(routineCount(project, module.number));
    QHash<int, QStringList> anchors;
    if (!routines.empty()) {
        body += QStringLiteral("<section class=\"routinen\">\n<h2>Routinen</h2>\n<ul>\n");
        for (const RoutineRow* r : routines) {
            anchors[r->start] << project.anchorOf(r->number);
            if (project.repeats(*r)) continue;
            body += QLatin1String("<li><a href=\"#");
            appendSiteEscaped(body, project.anchorOf(r->number));
            body += QLatin1String("\">");
            appendSiteEscaped(body, r->name);
            body += QLatin1String("</a> <span class=\"art\">");
            appendSiteEscaped(body, kindText(*r));
            body += QLatin1String("</span>");
            appendCallers(body, project, *r);
            body += QLatin1String("</li>\n");
        }
        body += QStringLiteral("</ul>\n</section>\n");
    }
    const QString& text = project.text(module.number);
    if (text.isEmpty() && module.lines > 0) {
        body += QStringLiteral("<p class=\"fehlt\">Der Code dieses Moduls konnte nicht gelesen werden.</p>\n");
        return page(module.name, title, body);
    }
    // A page names the same few words again and again: each is looked up
    // once, found again by its hash, so that a word needs no copy of its own.
    struct Link {
        QString name;
        int module = 0;
        int line = 0;
        QString href;
    };
    QHash<size_t, Link> known;
    auto lookUp = [&](QStringView word) {
        Link link{word.toString(), 0, 0, {}};
        if (const auto target = project.definition(link.name, module.number)) {
            link.module = target->first;
            link.line = target->second;
            link.href = QStringLiteral("#L") + QString::number(target->second);
            if (target->first != module.number) link.href.prepend(project.pageOf(target->first));
        }
        return link;
    };
    const SiteLinkOf linkOf = [&](QStringView word, int line) -> QString {
        if (!project.mayBeDeclared(word)) return {};
        const size_t hash = qHash(word);
        auto at = known.find(hash);
        if (at == known.end()) at = known.insert(hash, lookUp(word));
        // Two words of one hash: the later one is looked up each time.
        if (at->name != word) {
            const Link other = lookUp(word);
            return other.module == module.number && other.line == line ? QString() : other.href;
        }
        // The declaration itself links nowhere.
        if (at->module == module.number && at->line == line) return {};
        return at->href;
    };
    body.reserve(body.size() + text.size() * 3);
    body += QStringLiteral("<h2 class=\"code-titel\">Code</h2>\n<pre class=\"code\">");
    body += siteCodeHtml(text, linkOf, anchors);
    body += QStringLiteral("</pre>\n");
    return page(module.name, title, body);
}

QString siteRoutinePage(const SiteProject& project, const SiteTitle& title) {
    // Sorted by the names folded once, not folded again in every comparison.
    std::vector<std::pair<QString, const RoutineRow*>> keyed;
    for (const RoutineRow& r : project.routines())
        if (!project.repeats(r)) keyed.emplace_back(r.name.toCaseFolded(), &r);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const RoutineRow*> all;
    for (const auto& k : keyed) all.push_back(k.second);
    // Letters as the names begin; what is no letter A to Z goes under "#".
    auto letterOf = [](const RoutineRow* r) {
        const QChar c = r->name.isEmpty() ? QChar(u'#') : r->name.at(0).toUpper();
        return (c >= u'A' && c <= u'Z') ? QString(c) : QStringLiteral("#");
    };
    QStringList letters;
    for (const RoutineRow* r : all)
        if (letters.isEmpty() || letters.back() != letterOf(r)) letters << letterOf(r);
    letters.removeDuplicates();
    QString body = QStringLiteral("<h1>Routinen A–Z</h1>\n<p>%1 Routinen.</p>\n<nav class=\"buchstaben\">").arg(all.size());
    for (const QString& l : letters)
        body += QStringLiteral("<a href=\"#b-%1\">%2</a> ").arg(l == u'#' ? QStringLiteral("0") : l, e(l));
    body += QStringLiteral("</nav>\n");
    QString open;
    for (const RoutineRow* r : all) {
        const QString l = letterOf(r);
        if (l != open) {
            if (!open.isEmpty()) body += QStringLiteral("</ul>\n");
            body += QStringLiteral("<h2 id=\"b-%1\">%2</h2>\n<ul class=\"index\">\n")
                        .arg(l == u'#' ? QStringLiteral("0") : l, e(l));
            open = l;
        }
        body += QStringLiteral("<li><a href=\"%1\">%2</a> <span class=\"art\">%3 in %4</span></li>\n")
                    .arg(e(routineHref(project, *r)), e(r->name), e(kindText(*r)),
                         e(project.modules()[size_t(r->module) - 1].name));
    }
    if (!open.isEmpty()) body += QStringLiteral("</ul>\n");
    return page(QStringLiteral("Routinen A–Z"), title, body);
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
    css += QStringLiteral("font-family:\"%1\",\"DejaVu Sans Mono\",Consolas,monospace;font-size:%2pt}\n")
               .arg(cssFontName(options.fontName))
               .arg(options.fontSize);
    css += QStringLiteral(
        "pre.code{counter-reset:zeile}\n"
        "pre.code>span{display:block;padding-right:1rem;counter-increment:zeile}\n"
        "pre.code>span:target{background:#fff3b0}\n"
        "pre.code>span::before{content:counter(zeile);display:inline-block;width:4.5em;padding-right:1em;"
        "text-align:right;color:#888;user-select:none}\n"
        "pre.code a{color:inherit;text-decoration:none;border-bottom:1px dotted #8aa}\n"
        "pre.code a:hover{background:#e8f0ff}\n");
    css += QStringLiteral(".k{color:%1}\n.c{color:%2}\n.s{color:%3}\n").arg(keyword, comment, string);
    css += options.boldRoutineLines ? QStringLiteral(".r{font-weight:bold}\n") : QStringLiteral(".r{}\n");
    css += QStringLiteral(
        "p.fehlt{color:#a00;font-weight:bold}\n"
        "footer{padding:1rem;color:#777;font-size:.85em;text-align:center}\n"
        "@media (max-width:40rem){main{padding:.5rem}pre.code>span::before{width:3em;padding-right:.5em}"
        "form.suche input{width:100%;max-width:none}form.suche{flex:1 1 100%}}\n"
        "@media print{header,footer,form.suche{display:none}main{max-width:none;padding:0}"
        "details.aufrufe>*{display:block}"
        "pre.code{white-space:pre-wrap;border:none;overflow:visible}pre.code a{border:none}"
        "a{color:inherit;text-decoration:none}section{break-inside:avoid-page}}\n");
    return css;
}

QString siteSearchIndex(const SiteProject& project) {
    QString out = QStringLiteral("var lumoSuche = [");
    bool first = true;
    auto entry = [&](const QString& name, const QString& href, const QString& what) {
        out += first ? QStringLiteral("\n[") : QStringLiteral(",\n[");
        first = false;
        appendJsString(out, name);
        out += u',';
        appendJsString(out, href);
        out += u',';
        appendJsString(out, what);
        out += u']';
    };
    for (const ModuleRow& m : project.modules())
        entry(m.name, project.pageOf(m.number), QString::fromUtf8(headingOf(m.type).single));
    for (const RoutineRow& r : project.routines())
        if (!project.repeats(r)) entry(r.name, routineHref(project, r),
              kindText(r) + QStringLiteral(" in ") + project.modules()[size_t(r.module) - 1].name);
    return out + QStringLiteral("\n];\n");
}

QString siteSearchScript() {
    return QStringLiteral(R"JS((function () {
  "use strict";
  var box = document.getElementById("suche");
  var list = document.getElementById("treffer");
  if (!box || !list || !window.lumoSuche) return;
  var most = 50;
  function hits(q) {
    var begins = [], contains = [];
    for (var i = 0; i < lumoSuche.length; i++) {
      var at = lumoSuche[i][0].toLowerCase().indexOf(q);
      if (at === 0) begins.push(lumoSuche[i]);
      else if (at > 0) contains.push(lumoSuche[i]);
    }
    return begins.concat(contains).slice(0, most);
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
      list.appendChild(li);
    });
  }
  box.addEventListener("input", show);
  box.addEventListener("keydown", function (ev) {
    if (ev.key === "Escape") { box.value = ""; show(); }
  });
  box.form.addEventListener("submit", function (ev) {
    ev.preventDefault();
    var first = list.querySelector("a");
    if (first) window.location.href = first.href;
  });
})();
)JS");
}

}  // namespace lumo
