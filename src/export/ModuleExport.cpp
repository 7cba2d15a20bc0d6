#include "export/ModuleExport.h"

#include "render/CodePage.h"

namespace lumo {

namespace {

bool startsWithWord(const QString& line, QLatin1StringView word) {
    const QStringView t = QStringView(line).trimmed();
    return t.startsWith(word, Qt::CaseInsensitive) && (t.size() == word.size() || t[word.size()].isSpace());
}

// What the editor writes before the Attribute lines, when the module's own
// head has none of it (a document keeps only the Attribute lines).
QStringList exportHeader(const VbaModule& module) {
    switch (module.type) {
    case VbaStandardModule: return {};
    case VbaUserForm:
        return {QStringLiteral("VERSION 5.00"),
                QStringLiteral("Begin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} ") + module.name, QStringLiteral("End")};
    default:
        return {QStringLiteral("VERSION 1.0 CLASS"), QStringLiteral("BEGIN"), QStringLiteral("  MultiUse = -1  'True"),
                QStringLiteral("END")};
    }
}

}  // namespace

QString exportFileName(const VbaModule& module) {
    switch (module.type) {
    case VbaStandardModule: return module.name + QStringLiteral(".bas");
    case VbaUserForm: return module.name + QStringLiteral(".frm");
    default: return module.name + QStringLiteral(".cls");
    }
}

QString exportedModuleText(const VbaModule& module) {
    QStringList head = module.hidden.head;
    if (head.isEmpty() || !startsWithWord(head.front(), QLatin1StringView("VERSION"))) head = exportHeader(module) + head;
    bool named = false;
    qsizetype firstAttribute = head.size();
    for (qsizetype i = 0; i < head.size(); ++i) {
        if (!isAttributeLine(head[i])) continue;
        firstAttribute = std::min(firstAttribute, i);
        if (!attributeValue(head[i], u"VB_Name").isEmpty()) named = true;
    }
    if (!named) head.insert(firstAttribute, QStringLiteral("Attribute VB_Name = \"%1\"").arg(module.name));

    QString text;
    text.reserve(module.code.text().size() + 64 * head.size() + 2);
    for (const QString& line : head) text += line + QLatin1String("\r\n");
    const auto& inside = module.hidden.inside;
    auto next = inside.begin();
    const int lines = module.code.lineCount();
    for (int shown = 0; shown <= lines; ++shown) {
        for (; next != inside.end() && next->first == shown; ++next) text += next->second + QLatin1String("\r\n");
        if (shown < lines) text += module.code.lines(shown + 1, 1) + QLatin1String("\r\n");
    }
    // Lines recorded past the end (never from the readers) still are not lost.
    for (; next != inside.end(); ++next) text += next->second + QLatin1String("\r\n");
    return text;
}

QByteArray exportedModuleBytes(const VbaModule& module, int codePage, bool* utf8) {
    const QString text = exportedModuleText(module);
    QByteArray bytes;
    const bool encoded = encodeInCodePage(text, codePage, bytes);
    if (utf8) *utf8 = !encoded;
    return encoded ? bytes : text.toUtf8();
}

}  // namespace lumo
