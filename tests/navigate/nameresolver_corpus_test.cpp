// The callers of every routine of VBA-Web and VBA-JSON: no line that only
// sets the routine's own return value, no name the calling routine declares
// for itself, checked against the code's text.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QRegularExpression>

#include "model/BuildFixture.h"
#include "model/CorpusModules.h"
#include "navigate/NameResolver.h"

using namespace lumo;

namespace {

class ResolverCorpus : public lumo::test::BuildFixture {};

}  // namespace

TEST_F(ResolverCorpus, NoCallerIsAReturnValueOrAShadowingLocal) {
    LUMO_REQUIRE_CORPUS();
    for (const QString& project : {QString("VBA-Web"), QString("VBA-JSON")}) {
        for (const QString& f : lumo::test::corpusModuleFiles()) {
            if (!f.startsWith(project + "/")) continue;
            QString code = lumo::test::corpusModule(f);
            code.replace("\r\n", "\n").replace("\n", "\r\n");
            ASSERT_TRUE(build.addModuleOrLeaveOut(QFileInfo(f).baseName(), f.endsWith(".cls") ? 3 : 2, code)) << f.toStdString();
        }
    }
    build.finish();
    store.openWorkingDatabase(StoreAccess::ReadOnly);
    const auto scope = ProjectScope::read(store);
    NameResolver resolver(*scope);
    int calls = 0;
    for (int m = 1; m <= scope->moduleCount(); ++m) {
        for (const RoutineRow& target : scope->routinesOf(m)) {
            const QString name = QRegularExpression::escape(target.name);
            const QRegularExpression ownValue("^\\s*(Set\\s+)?" + name + "\\s*=", QRegularExpression::CaseInsensitiveOption);
            const QRegularExpression declares("\\b(Dim|Static|Const|ReDim|ByVal|ByRef|Optional)\\b[^'\\n]*\\b" + name + "\\b",
                                              QRegularExpression::CaseInsensitiveOption);
            for (const NameReference& ref : resolver.calls(resolver.routineDeclaration(target.number))) {
                ++calls;
                const QString line = scope->code(ref.module).line(ref.line).toString();
                if (ref.routine == target.number)
                    EXPECT_FALSE(ownValue.match(line).hasMatch()) << target.name.toStdString() << ": " << line.toStdString();
                const RoutineRow* caller = scope->routineNumbered(ref.routine);
                if (!caller) continue;
                QStringList text;
                for (int l = caller->start; l <= std::max(caller->start, caller->end); ++l)
                    text << scope->code(caller->module).line(l).toString();
                EXPECT_FALSE(declares.match(text.join('\n')).hasMatch())
                    << caller->name.toStdString() << " declares " << target.name.toStdString();
            }
        }
    }
    EXPECT_EQ(scope->moduleCount(), 18);
    EXPECT_GT(calls, 300);
}
