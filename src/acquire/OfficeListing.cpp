#include "acquire/OfficeListing.h"

#include <algorithm>

#include "acquire/ModuleText.h"
#include "base/SystemErrors.h"
#include "base/Ui.h"

namespace lumo {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

int leadingNumber(const QString& text) {
    int value = 0;
    for (QChar c : text) {
        if (!c.isDigit()) break;
        value = value * 10 + c.digitValue();
        if (value > 100000) break;
    }
    return value;
}

QString replaceExcel(QString text, const QString& hostName) {
    return text.replace(QStringLiteral("Excel"), hostName, Qt::CaseInsensitive);
}

bool startsWithWord(QStringView s, QLatin1String word) {
    return s.startsWith(word, Qt::CaseInsensitive) && (s.size() == word.size() || s[word.size()] == u' ' ||
                                                      s[word.size()] == u'\t');
}

bool continues(QStringView line) {
    return line.size() >= 2 && line.endsWith(u'_') && (line[line.size() - 2] == u' ' || line[line.size() - 2] == u'\t');
}

// An Option statement holds code when another statement follows it after a
// colon (before any comment).
bool onlyOption(QStringView line) {
    const qsizetype comment = line.indexOf(u'\'');
    return !(comment < 0 ? line : line.first(comment)).contains(u':');
}

}  // namespace

namespace {

// continued: the line before was no code and continues into the text.
bool codeIn(QStringView text, bool& continued) {
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
        const QStringView line = text.sliced(start, end - start);
        const QStringView s = line.trimmed();
        const bool noCode = continued || s.isEmpty() || s.startsWith(u'\'') || startsWithWord(s, QLatin1String("Rem")) ||
                            (startsWithWord(s, QLatin1String("Option")) && onlyOption(s)) || isAttributeLine(s);
        if (!noCode) return true;
        continued = continues(line);
        start = end + (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n' ? 2 : 1);
    }
    return false;
}

}  // namespace

bool holdsCode(QStringView text) {
    bool continued = false;
    return codeIn(text, continued);
}

bool holdsCode(const HostComponent& component) {
    // In blocks: the code of a module nearly always begins within its first lines.
    constexpr int kBlock = 64;
    const int n = component.countOfLines();
    bool continued = false;
    for (int from = 1; from <= n; from += kBlock)
        if (codeIn(component.lines(from, std::min(kBlock, n - from + 1)), continued)) return true;
    return false;
}

bool listedComponent(int lineCount, QStringView text) { return lineCount > 2 || holdsCode(text); }

bool listedComponent(const HostComponent& component) {
    return component.countOfLines() > 2 || holdsCode(component);
}

OfficeConnection connectOffice(HostConnector& connector) {
    OfficeConnection c;
    try {
        std::unique_ptr<HostApplication> app = connector.connect();
        if (!app) return c;
        c.officeVersion = leadingNumber(app->version());
        c.app = std::move(app);
    } catch (const std::exception&) {
        c.app.reset();
    }
    return c;
}

QString moduleImageKey(int componentType) {
    switch (componentType) {
    case 100: return QStringLiteral("M5");
    case 1: return QStringLiteral("M2");
    case 2: return QStringLiteral("M3");
    case 3: return QStringLiteral("M1");
    default: return QStringLiteral("XXX");
    }
}

bool listOfficeProjects(HostConnector& connector, AppTree& tree, int& officeVersion, Ui& ui) {
    tree.clear();
    OfficeConnection office = connectOffice(connector);
    officeVersion = office.officeVersion;
    if (!office) return false;
    try {
        const int n = office.app->projectCount();
        for (int i = 1; i <= n; ++i) {
            HostProject& project = office.app->project(i);
            QString fileName;
            try {
                fileName = project.fileName();
            } catch (const std::exception&) {
                fileName = QStringLiteral("Nicht gespeichert");
            }
            const QString name = project.name();
            // The last path component; paths here separate with "/".
            const QString filePart =
                fileName.mid(std::max(fileName.lastIndexOf(u'\\'), fileName.lastIndexOf(u'/')) + 1);
            if (project.protection()) continue;
            const QString key = QStringLiteral("A%1\\").arg(i);
            const std::size_t projectIndex = tree.size();
            tree.push_back({key, name + QLatin1String(" [") + filePart + QLatin1String("]"), QStringLiteral("Fahne"), {}});
            const int count = project.componentCount();
            for (int j = 1; j <= count; ++j) {
                HostComponent& component = project.component(j);
                if (!listedComponent(component)) continue;
                const QString componentName = component.name();
                tree.push_back({key + componentName, componentName, moduleImageKey(component.type()), key});
            }
            if (tree.size() == projectIndex + 1) tree.pop_back();
        }
    } catch (const HostError& e) {
        ui.message(e.description());
        return false;
    } catch (const std::exception& e) {
        ui.message(germanSystemText(QString::fromLocal8Bit(e.what())));
        return false;
    }
    return true;
}

QString projectPrefix(const QString& key) {
    const qsizetype slash = key.indexOf(u'\\');
    return slash < 0 ? key + u'\\' : key.left(slash + 1);
}

int projectPosition(const QString& key) {
    const qsizetype slash = key.indexOf(u'\\');
    bool ok = false;
    const int position = key.mid(1, slash < 0 ? -1 : slash - 1).toInt(&ok);
    return ok ? position : 0;
}

QString componentName(const QString& key) { return key.mid(key.lastIndexOf(u'\\') + 1); }

bool hasChildren(const AppTree& tree, std::size_t index) {
    if (index >= tree.size()) return false;
    for (const AppNode& n : tree)
        if (n.parentKey == tree[index].key && !n.parentKey.isEmpty()) return true;
    return false;
}

bool anyChecked(const AppTree& tree) {
    for (const AppNode& n : tree)
        if (n.checked) return true;
    return false;
}

bool applyCheck(AppTree& tree, std::size_t index, bool checked) {
    if (index >= tree.size()) return anyChecked(tree);
    AppNode& node = tree[index];
    node.checked = checked;
    const QString prefix = projectPrefix(node.key);
    for (AppNode& n : tree)
        if (!n.key.startsWith(prefix, Qt::CaseInsensitive)) n.checked = false;
    const QString parentKey = node.key;
    for (AppNode& n : tree)
        if (!parentKey.isEmpty() && n.parentKey == parentKey) n.checked = checked;
    return anyChecked(tree);
}

QString notRunningExplanation(const QString& hostName) {
    const QString text = QStringLiteral("Excel ist im Moment nicht geöffnet. Es können daher keine Projekte aus Excel angezeigt werden. ") +
                         kCrLf + kCrLf +
                         QStringLiteral("Bitte öffnen Sie Excel und öffnen Sie die Mappe, deren Code Sie einlesen möchten !") + kCrLf +
                         QStringLiteral("Klicken Sie danach auf Aktualisieren Excel Projekte.") + kCrLf + kCrLf + kCrLf +
                         QStringLiteral("Alternativ können Sie über Öffnen Projekte einlesen, die mit Code Lumo erzeugt wurden.");
    return replaceExcel(text, hostName);
}

QString noReadableProjectsExplanation(const QString& hostName) {
    const QString text = QStringLiteral("Excel ist zwar im Moment geöffnet, aber es gibt keine auslesbaren Projekte.") + kCrLf + kCrLf +
                         QStringLiteral("Bitte öffnen Sie in Excel die Datei, deren Code Sie einlesen möchten und klicken Sie danach auf "
                                        "Aktualisieren Excel Projekte.") +
                         kCrLf + kCrLf +
                         QStringLiteral("Alternativ können Sie über Öffnen Projekte einlesen, die mit Code Lumo erzeugt wurden.") + kCrLf;
    return replaceExcel(text, hostName);
}

QString accessRefusedExplanation(const QString& hostName) {
    return QStringLiteral("Sie benutzen ") + hostName + QStringLiteral("XP.") + kCrLf +
           QStringLiteral("Ihre Anwendung ist zwar geöffnet, aber der Zugriff wird verweigert.") + kCrLf +
           QStringLiteral("Dies können Sie ändern, indem Sie in ") + hostName +
           QStringLiteral(" bei Extras - Makro - Sicherheit -vertrauenswürdige Quellen") + kCrLf +
           QStringLiteral("den Zugriff auf VBA-Projekte vertrauen anhaken.") + kCrLf +
           QStringLiteral("Lesen Sie dazu unbedingt auch in der Hilfe die Informationen zu Office XP") + kCrLf + kCrLf +
           QStringLiteral("Klicken Sie nachdem Sie die Einstellungen vorgenommen haben auf Aktualisieren");
}

QString openDocumentHint(const QString& hostName) {
    return QStringLiteral("In diesem Programm öffnen Sie %1-Dokumente (oder Ordner mit exportierten Modulen) über "
                          "Datei - Dokument öffnen ... (Strg+D) oder geben Sie sie beim Start an: codelumo DOKUMENT ...")
        .arg(hostName);
}

QString refreshExplanation(bool ok, const AppTree& tree, int officeVersion, const QString& hostName,
                           bool documentHost) {
    if (ok && !tree.empty()) return {};
    // Without the host program, "open the file in Word" alone leads nowhere:
    // both explanations that ask for a document say how to open one here.
    if (ok) {
        QString text = noReadableProjectsExplanation(hostName);
        if (documentHost) text += kCrLf + openDocumentHint(hostName);
        return text;
    }
    if (officeVersion >= 10) return accessRefusedExplanation(hostName);
    QString text = notRunningExplanation(hostName);
    // The hint stands apart from the sentences above, as a paragraph of its own.
    if (documentHost) text += kCrLf + kCrLf + openDocumentHint(hostName);
    return text;
}

}  // namespace lumo
