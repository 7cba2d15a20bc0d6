// The exact rules of "check" on real code: VBA-JSON and VBA-Web give only
// the findings below, each read in the code and found true (a variable
// declared and never named, a private function that only sets its own
// return value, constants of an API's table the module never uses).
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/CliFixture.h"

namespace {

const char* const kExact[] = {"option-explicit", "declare-ohne-ptrsafe", "private-routine-unbenutzt",
                              "deklaration-unbenutzt"};

TEST_F(CliProgram, ExactRulesGiveNoFalseFindingOnRealLibraries) {
    const QString corpus = QStringLiteral(LUMO_SHARED_DIR "/corpus/vba-src/");
    const struct {
        const char* source;
        QStringList findings;  // module:line rule name
    } cases[] = {
        {"VBA-JSON", {}},
        {"VBA-Web",
         {"GoogleAuthenticator:382 deklaration-unbenutzt auth_Document",
          "HttpBasicAuthenticator:20 deklaration-unbenutzt web_HTTPREQUEST_SETCREDENTIALS_FOR_PROXY",
          "OPSAuthenticator:87 deklaration-unbenutzt Encoded",
          "TodoistAuthenticator:266 deklaration-unbenutzt auth_Cookie",
          "TodoistAuthenticator:325 private-routine-unbenutzt auth_LoginIsApproval",
          "TwitterAuthenticator:109 deklaration-unbenutzt auth_Body",
          "WebClient:44 deklaration-unbenutzt web_HttpRequest_SetCredentials_ForServer",
          "WebClient:47 deklaration-unbenutzt web_HttpRequest_ProxySetting_Default",
          "WebClient:49 deklaration-unbenutzt web_HttpRequest_ProxySetting_Direct",
          "WebClient:252 deklaration-unbenutzt web_ErrorMessage",
          "WebResponse:324 deklaration-unbenutzt web_i",
          "WebResponse:325 deklaration-unbenutzt web_StatusText",
          "WindowsAuthenticator:20 deklaration-unbenutzt web_AutoLogonPolicy_OnlyIfBypassProxy",
          "WindowsAuthenticator:21 deklaration-unbenutzt web_AutoLogonPolicy_Never"}},
    };
    for (const auto& c : cases) {
        const QString source = corpus + c.source;
        if (!QFileInfo::exists(source)) {
            if (qgetenv("CI") == "true") FAIL() << "corpus missing: " << source.toStdString();
            GTEST_SKIP() << "corpus missing: " << source.toStdString();
        }
        const CliRun r = run({"check", "--format", "json", source});
        ASSERT_NE(r.status, 2) << r.err.toStdString();
        QStringList found;
        for (const QByteArray& line : r.out.split('\n')) {
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            const QString rule = o.value("rule").toString();
            if (std::find(std::begin(kExact), std::end(kExact), rule.toStdString()) == std::end(kExact)) continue;
            const QString message = o.value("message").toString();
            const QString name = message.section(u'»', 1).section(u'«', 0, 0);
            found << QString("%1:%2 %3 %4").arg(o.value("module").toString()).arg(o.value("line").toInt()).arg(rule, name);
        }
        QStringList want = c.findings;
        want.sort();
        found.sort();
        EXPECT_EQ(found.join('\n').toStdString(), want.join('\n').toStdString()) << c.source;
    }
}

}  // namespace
