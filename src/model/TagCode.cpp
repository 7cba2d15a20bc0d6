#include "model/TagCode.h"

#include "model/Indent.h"
#include "model/ModuleParser.h"
#include "model/TagScanner.h"
#include "model/Tags.h"
#include "model/WorkingStore.h"

namespace lumo {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

const QString& passTag(int pass) {
    static const QString tagsOfPasses[3] = {taggedKeyword(QStringLiteral("Sub")),
                                            taggedKeyword(QStringLiteral("Function")),
                                            taggedKeyword(QStringLiteral("Property"))};
    return tagsOfPasses[pass];
}

}  // namespace

QString tagText(const QString& input, const Options& options) {
    QString text = kCrLf + input + kCrLf;
    if (options.reindentBlocks) text = indentText(text);
    if (options.removeBlankLines) {
        const QString twoBreaks = kCrLf + kCrLf;
        while (text.contains(twoBreaks)) text.replace(twoBreaks, kCrLf);
    }
    return scanTags(text);
}

QString tagFragment(const QString& input, const Options& options) {
    QString text = tagText(input, options);
    for (int pass = 0; pass < 3; ++pass) tagRoutineLines(text, passTag(pass), options);
    return finishFragmentText(text);
}

void tagCode(QString& text, TagMode mode, const Options& options, WorkingStore& store) {
    if (mode == TagMode::Fragment) {
        text = tagFragment(text, options);
        return;
    }
    const ParsedModule module = parseModule(text, options, store.routineCounter);
    storeModule(module, store);
    store.writeModuleText(module.text);
    text = module.text;
}

}  // namespace lumo
