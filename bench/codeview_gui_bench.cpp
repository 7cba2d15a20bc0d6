// Loading a project's modules into code views, against loading the same
// texts as plain text into the same number of text widgets.
//
// Input: the modules of the VBA-Web corpus project, cycled up to kModules
// views. The RTF is made once, outside the timing, by a small colouring of
// this benchmark's own (keywords, comments, strings, bold routine lines) in
// the renderer's dialect, so the view reads what it reads in the program.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSet>

#include <memory>
#include <vector>

#include "view/RtfReader.h"
#include "view/widgets/CodeView.h"

namespace {

constexpr int kModules = 40;

struct Module {
    QString plain;   // CR LF lines
    QString rtf;
};

std::vector<Module>& modules() {
    static std::vector<Module> all;
    return all;
}

QString escapeRtf(QStringView s) {
    QString out;
    for (QChar c : s) {
        if (c == u'\\') out += QStringLiteral("\\\\");
        else if (c == u'{') out += QStringLiteral("\\{");
        else if (c == u'}') out += QStringLiteral("\\}");
        else if (c == u'\t') out += QStringLiteral("\\tab ");
        else out += c;
    }
    return out;
}

const QSet<QString>& keywords() {
    static const QSet<QString> k = {
        "As", "Boolean", "ByRef", "ByVal", "Call", "Case", "Const", "Declare", "Dim", "Do", "Double",
        "Else", "ElseIf", "End", "Enum", "Exit", "False", "For", "Friend", "Function", "Get", "GoTo",
        "If", "Integer", "Is", "Let", "Long", "Loop", "New", "Next", "Not", "Nothing", "Object", "On",
        "Optional", "Or", "And", "Private", "Property", "Public", "Resume", "Select", "Set", "String",
        "Sub", "Then", "To", "True", "Type", "Variant", "Wend", "While", "With"};
    return k;
}

// One line of VBA coloured the simple way: strings, a comment from the first
// apostrophe outside a string, keywords between word boundaries.
QString colourLine(const QString& line) {
    QString out;
    int i = 0;
    const int n = line.size();
    while (i < n) {
        const QChar c = line.at(i);
        if (c == u'"') {
            int j = line.indexOf(u'"', i + 1);
            j = j < 0 ? n : j + 1;
            out += QStringLiteral("\\cf3 ") + escapeRtf(QStringView(line).mid(i, j - i)) + QStringLiteral("\\cf0 ");
            i = j;
        } else if (c == u'\'') {
            out += QStringLiteral("\\cf2 ") + escapeRtf(QStringView(line).mid(i)) + QStringLiteral("\\cf0 ");
            break;
        } else if (c.isLetter()) {
            int j = i;
            while (j < n && (line.at(j).isLetterOrNumber() || line.at(j) == u'_')) ++j;
            const QString word = line.mid(i, j - i);
            if (keywords().contains(word) && (i == 0 || line.at(i - 1) != u'.'))
                out += QStringLiteral("\\cf1 ") + word + QStringLiteral("\\cf0 ");
            else
                out += word;
            i = j;
        } else {
            out += escapeRtf(QStringView(line).mid(i, 1));
            ++i;
        }
    }
    return out;
}

QString toRtf(const QStringList& lines) {
    static const QRegularExpression routine(
        QStringLiteral("^\\s*((Public|Private|Friend)\\s+)?(Sub|Function|Property)\\s|^\\s*End\\s+(Sub|Function|Property)"));
    QString body;
    for (const QString& line : lines) {
        const bool bold = routine.match(line).hasMatch();
        if (bold) body += QStringLiteral("\\b ");
        body += colourLine(line);
        if (bold) body += QStringLiteral("\\b0 ");
        body += QStringLiteral("\r\n\\par ");
    }
    return QStringLiteral(
               "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}\r\n"
               "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss MS Sans Serif;}{\\f3\\fswiss Arial;}{\\f4\\fswiss\\fprq2 System;}}\r\n"
               "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue128;\\red0\\green128\\blue0;\\red128\\green0\\blue0;}\r\n"
               "\\deflang1031\\pard\\li105\\tx283\\tx566\\tx849\\tx1132\\tx1415\\tx1698\\tx1981\\tx2264\\tx2547\\tx2830"
               "\\plain\\f3\\fs20 ")
        + body + u'}';
}

// The code as the VBA editor shows it: without the export header.
QStringList codeLines(const QString& file) {
    QStringList lines = file.split(QStringLiteral("\r\n"));
    if (lines.size() == 1) lines = file.split(u'\n');
    int first = 0;
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(QStringLiteral("Attribute "))) first = i + 1;
    return lines.mid(first);
}

bool loadCorpus() {
    const QString dir = QStringLiteral(LUMO_SHARED_DIR "/corpus/vba-src/VBA-Web");
    std::vector<Module> found;
    QDirIterator it(dir, {QStringLiteral("*.bas"), QStringLiteral("*.cls")}, QDir::Files, QDirIterator::Subdirectories);
    QStringList paths;
    while (it.hasNext()) paths << it.next();
    paths.sort();
    for (const QString& p : paths) {
        QFile f(p);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QStringList lines = codeLines(QString::fromUtf8(f.readAll()));
        found.push_back({lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), toRtf(lines)});
    }
    if (found.empty()) return false;
    for (int i = 0; i < kModules; ++i) modules().push_back(found[i % found.size()]);
    return true;
}

template <class View>
struct Views {
    QWidget window;
    std::vector<View*> views;
    Views() {
        window.resize(1000, 700);
        for (int i = 0; i < kModules; ++i) {
            auto* v = new View(&window);
            v->setGeometry(0, 0, 1000, 700);
            v->setVisible(i == 0);
            views.push_back(v);
        }
        window.show();
    }
};

void BM_PlainTextIntoTextWidgets(benchmark::State& state) {
    Views<QPlainTextEdit> w;
    for (auto _ : state) {
        for (int i = 0; i < kModules; ++i) w.views[i]->setPlainText(modules()[i].plain);
        QCoreApplication::processEvents();
    }
    state.counters["modules"] = kModules;
}
BENCHMARK(BM_PlainTextIntoTextWidgets)->Unit(benchmark::kMillisecond);

void BM_RtfIntoCodeViews(benchmark::State& state) {
    Views<lumo::CodeView> w;
    for (auto _ : state) {
        for (int i = 0; i < kModules; ++i) w.views[i]->setRtf(modules()[i].rtf);
        QCoreApplication::processEvents();
    }
    state.counters["modules"] = kModules;
}
BENCHMARK(BM_RtfIntoCodeViews)->Unit(benchmark::kMillisecond);

// The pieces of the code view's load, to see where the time goes.
void BM_RtfReadOnly(benchmark::State& state) {
    for (auto _ : state)
        for (int i = 0; i < kModules; ++i) benchmark::DoNotOptimize(lumo::readRtf(modules()[i].rtf));
}
BENCHMARK(BM_RtfReadOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    if (!loadCorpus()) {
        fprintf(stderr, "codeview_gui_bench: corpus not found below " LUMO_SHARED_DIR "\n");
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
