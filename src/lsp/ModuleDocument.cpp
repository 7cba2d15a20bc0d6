#include "lsp/ModuleDocument.h"

#include <QFileInfo>

#include "acquire/EditorImport.h"
#include "acquire/ModuleText.h"
#include "base/Options.h"
#include "model/Codes.h"
#include "model/ModuleParser.h"
#include "model/ParseError.h"

namespace lumo::lsp {

namespace {

int moduleTypeOf(const QString& fileName, bool documentModule) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == u"frm") return ModUserForm;
    if (suffix == u"cls") return documentModule ? ModDocument : ModClass;
    return ModStandard;
}

// The editor's import changes a line only by the spelling of keywords (same
// length) and by "()" after a head's name: where file and shown line part,
// the rest is shifted by the difference of their lengths.
struct LineShift {
    int at = 0;     // first unit where they differ
    int delta = 0;  // shown length - file length
};

LineShift shiftBetween(QStringView fileLine, QStringView shownLine) {
    const int delta = int(shownLine.size() - fileLine.size());
    if (delta == 0) return {};
    int at = 0;
    const int n = int(std::min(fileLine.size(), shownLine.size()));
    while (at < n && fileLine[at].toCaseFolded() == shownLine[at].toCaseFolded()) ++at;
    return {at, delta};
}

bool validModuleName(const QString& name) {
    if (name.isEmpty()) return false;
    for (QChar c : name)
        if (c.unicode() < 0x20 || c == u'"' || c == u'\\' || c == u'/') return false;
    return true;
}

// The options that keep the lines where the file has them: no blank lines
// taken out or put in, no indentation changed. Positions must map one to one.
Options lineKeepingOptions() {
    Options o;
    o.removeBlankLines = false;
    o.blankLineBeforeRoutines = false;
    o.indentRoutineBodies = false;
    o.reindentBlocks = false;
    return o;
}

}  // namespace

ModuleDocument ModuleDocument::read(const QString& fileName, const QString& text) {
    ModuleDocument d;
    d.fileLines_ = splitSourceLines(text);
    ExportedSource source = parseExportedSource(text);
    d.name_ = source.vbName.isEmpty() ? QFileInfo(fileName).completeBaseName() : source.vbName;
    d.type_ = moduleTypeOf(fileName, source.documentModule);
    d.shownLines_ = asEditorImports(std::move(source.lines));
    d.fileLineOfShown_ = std::move(source.sourceLines);
    d.shownOfFileLine_.assign(size_t(d.fileLines_.size()), 0);
    for (size_t i = 0; i < d.fileLineOfShown_.size(); ++i)
        d.shownOfFileLine_[size_t(d.fileLineOfShown_[i])] = int(i) + 1;
    if (!validModuleName(d.name_)) {
        d.problem_ = QStringLiteral("Der Modulname »%1« ist ungültig; das Modul wird nicht gelesen.").arg(d.name_);
        return d;
    }
    const QString code = d.shownLines_.join(QStringLiteral("\r\n"));
    const Options options = lineKeepingOptions();
    qint32 counter = 0;
    ParsedModule parsed;
    try {
        parsed = parseModule(code, options, counter);
    } catch (const ParseError&) {
        counter = 0;
        std::vector<ParseFault> faults;
        try {
            parsed = parseModuleAsFarAsPossible(code, options, counter, faults);
            if (!faults.empty())
                d.problem_ = QStringLiteral("nicht in alle Routinen zerlegt: %1 in Zeile %2")
                                 .arg(faults.front().reason)
                                 .arg(d.fileLineOf(faults.front().line) + 1);
        } catch (const ParseError& e) {
            d.problem_ = QStringLiteral("nicht gelesen: %1").arg(e.reason());
            return d;
        }
    }
    d.tagged_ = parsed.text.toUtf8();
    d.usable_ = true;
    d.routines_ = std::move(parsed.routines);
    return d;
}

const QString& ModuleDocument::fileLine(int line) const {
    static const QString none;
    return line >= 0 && line < fileLines_.size() ? fileLines_[line] : none;
}

const QString& ModuleDocument::shownLine(int line) const {
    static const QString none;
    return line >= 1 && line <= shownLines_.size() ? shownLines_[line - 1] : none;
}

int ModuleDocument::fileLineOf(int shownLine) const {
    if (shownLine < 1 || shownLine > int(fileLineOfShown_.size())) return -1;
    return fileLineOfShown_[size_t(shownLine) - 1];
}

std::optional<ShownPlace> ModuleDocument::shown(FilePlace place) const {
    if (place.line < 0 || place.line >= int(shownOfFileLine_.size())) return std::nullopt;
    const int line = shownOfFileLine_[size_t(place.line)];
    if (line == 0) return std::nullopt;
    const QString& file = fileLines_[place.line];
    const QString& shown = shownLines_[line - 1];
    const int character = std::clamp(place.character, 0, int(file.size()));
    const LineShift shift = shiftBetween(file, shown);
    const int column = character < shift.at ? character : std::max(shift.at, character + shift.delta);
    return ShownPlace{line, column + 1};
}

FilePlace ModuleDocument::file(ShownPlace place) const {
    const int line = fileLineOf(place.line);
    if (line < 0) return {std::max(0, int(fileLines_.size()) - 1), 0};
    const QString& file = fileLines_[line];
    const LineShift shift = shiftBetween(file, shownLines_[place.line - 1]);
    int character = place.column - 1;
    if (character >= shift.at) character = std::max(shift.at, character - shift.delta);
    return {line, std::clamp(character, 0, int(file.size()))};
}

}  // namespace lumo::lsp
