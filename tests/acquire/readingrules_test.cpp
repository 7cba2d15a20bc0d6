// Module files as real projects hold them, read from a folder through the
// listing and the build as the window and the headless build read them: one
// row per reading rule, with what is listed, the first module's stored text
// and rows, and what the user is told.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "acquire/DocumentHost.h"
#include "acquire/OfficeListing.h"
#include "model/BuildFixture.h"
#include "model/ProjectBuild.h"
#include "model/TagNotation.h"

namespace {

struct File {
    QByteArray path;  // relative, as bytes: a name need not be UTF-8
    QByteArray bytes;
};

struct Row {
    const char* rule;
    std::vector<File> files;
    const char* open = "";      // what is opened below the folder ("" the folder itself)
    const char* codePage = "";  // the option; "" keeps the default
    const char* listed = "";    // the component nodes, blank-separated
    const char* text = "";      // the first module's stored text, readable notation; "" not checked
    const char* rows = "";      // its routines: name typ start-end, "; "-separated
    const char* told = "";      // in what the user is told; "" nothing
};

const std::vector<Row>& rows() {
    static const std::vector<Row> table = {
        {"listing: a constant is code", {{"K.bas", "Attribute VB_Name = \"K\"\r\nPublic Const V = \"1.0\"\r\n"}},
         "", "", "K", "[k]Public[/] [k]Const[/] V = [s]\"1.0\"[/]\n", "", ""},
        {"listing: two lines of routine, more lines of comments alone",
         {{"D.bas", "Attribute VB_Name = \"D\"\r\nSub Dummy()\r\nEnd Sub\r\n"},
          {"E.bas", "Attribute VB_Name = \"E\"\r\nOption Explicit\r\n\r\n' Notiz _\r\n  weiter\r\nRem x\r\n"}},
         "", "", "D E", "", "Dummy 1 1-2", ""},
        {"listing: no code at all",
         {{"E.bas", "Attribute VB_Name = \"E\"\r\nOption Explicit\r\nOption Compare Text ' : x\r\n"}},
         "", "", "", "", "", "nur Komponenten ohne Code"},
        {"#Else heads with lines of their own",
         {{"W.bas", "Attribute VB_Name = \"W\"\r\n#If Win64 Then\r\nPublic Function H(ByVal w As LongPtr) As LongPtr\r\n"
                    "    Dim h As LongPtr\r\n#Else\r\nPublic Function H(ByVal w As Long) As Long\r\n    Dim h As Long\r\n"
                    "#End If\r\n    H = w\r\nEnd Function\r\n#If A Then\r\nProperty Get P() As Long\r\n  x = 1\r\n"
                    "#ElseIf B Then\r\nProperty Get P() As Integer\r\n#End If\r\nEnd Property\r\n"}},
         "", "", "W", "", "H 2 2-9; P 4 11-16", ""},
        {"an underscore glued to a name continues nothing",
         {{"U.bas", "Attribute VB_Name = \"U\"\r\nSub A()\r\nName = name_\r\nEnd Sub\r\nSub B(x, _\r\n\ty)\r\n"
                    "End Sub\r\n"}},
         "", "", "U",
         "[x][k]Sub[/] A()[/x]\nName = name_\n[x][k]End[/] [k]Sub[/][/x]\n[x][k]Sub[/] B(x, _\n\ty)[/x]\n"
         "[x][k]End[/] [k]Sub[/][/x]\n",
         "A 1 1-3; B 1 4-6", ""},
        {"hand-written: as the editor imports it",
         {{"H.bas", "attribute vb_name = \"H\"\r\nprivate declare function x lib \"k\" () as long\r\n"
                    "public sub Test ' end sub\r\nend sub\r\nfunction F as long: f = 1: end function\r\n"
                    "Sub G$ \r\ns = \"end sub\": cbool(1) ' redim\r\nEnd Sub\r\n"}},
         "", "", "H",
         "[x][k]Private[/] [k]Declare[/] [k]Function[/] x [k]Lib[/] [s]\"k\"[/] () [k]As[/] [k]Long[/][/x]\n"
         "[x][k]Public[/] [k]Sub[/] Test() [c]' end sub[/][/x]\n[x][k]End[/] [k]Sub[/][/x]\n"
         "[x][k]Function[/] F() [k]As[/] Long: f = 1: [k]End[/] [k]Function[/][/x]\n[x][k]Sub[/] G$() [/x]\n"
         "s = [s]\"end sub\"[/]: CBool(1) [c]' redim[/]\n[x][k]End[/] [k]Sub[/][/x]\n",
         "Test 1 2-3; G$ 1 5-7; x 12 1-1; F 2 4-4", ""},
        {"names spelled like keywords stay names",
         {{"N.cls", "Attribute VB_Name = \"N\"\r\nPublic Property Get Wert() As Long\r\n  Dim property, random\r\n"
                    "  Wert = property + random\r\nEnd Property\r\nprivate declare function x _\r\n  lib \"k\" () as long\r\n"
                    "Sub S(ByVal lib)\r\n  open \"f\" for binary access read as #1\r\nEnd Sub\r\n"}},
         "", "", "N",
         "[x][k]Public[/] [k]Property[/] [k]Get[/] Wert() [k]As[/] [k]Long[/][/x]\n  [k]Dim[/] property, random\n"
         "  Wert = property + random\n[x][k]End[/] [k]Property[/][/x]\n"
         "[x][k]Private[/] [k]Declare[/] [k]Function[/] x _\n  [k]Lib[/] [s]\"k\"[/] () [k]As[/] [k]Long[/][/x]\n"
         "[x][k]Sub[/] S([k]ByVal[/] lib)[/x]\n  [k]Open[/] [s]\"f\"[/] [k]For[/] [k]Binary[/] [k]Access[/] read [k]As[/] #1\n"
         "[x][k]End[/] [k]Sub[/][/x]\n",
         "S 1 7-9; x 12 5-6; Wert 4 1-4", ""},
        {"a line two passes claim: a fault, the other routines kept",
         {{"Q.cls", "Attribute VB_Name = \"Q\"\r\nPublic Property Get C() As Collection: End Function\r\nSub Gut()\r\n"
                    "End Sub\r\n"}},
         "", "", "Q", "", "Gut 1 2-3; C 2 1-1",
         "Modul: Q (\"Property\" in einer Zeile, die schon eine andere Routine beginnt oder beendet in Zeile 1): "
         "eingelesen"},
        {"routines that cannot be split: text kept, the real cause named",
         {{"P.cls", "Attribute VB_Name = \"P\"\r\nProperty Get X() As Long\r\nEnd Function\r\nSub Gut()\r\nEnd Sub\r\n"}},
         "", "", "P",
         "[x][k]Property[/] [k]Get[/] X() [k]As[/] [k]Long[/][/x]\n[k]End[/] [k]Function[/]\n[x][k]Sub[/] Gut()[/x]\n"
         "[x][k]End[/] [k]Sub[/][/x]\n",
         "Gut 1 3-4; X 4 1-", "Modul: P (Routinenkopf ohne \"End Property\" in Zeile 1): eingelesen, aber nicht"},
        {"code page in force, undefined bytes kept",
         {{"C.bas", "Attribute VB_Name = \"C\"\r\n' \xb9\xe6 \x81\r\nDim x\r\n"}},
         "", "windows-1250", "C", "[c]' \xc4\x85\xc4\x87 \xc2\x81[/]\n[k]Dim[/] x\n", "", ""},
        {"Shift-JIS comments",
         {{"J.bas", "Attribute VB_Name = \"J\"\r\n' \x93\xfa\x96\x7b\r\nDim x\r\n"}}, "", "shift_jis", "J",
         "[c]' \xe6\x97\xa5\xe6\x9c\xac[/]\n[k]Dim[/] x\n", "", ""},
        {"UTF-8 by its byte-order mark",
         {{"B.bas", "\xef\xbb\xbf" "Attribute VB_Name = \"B\"\r\n' \xc3\xa4\r\nDim x\r\n"}}, "", "", "B",
         "[c]' \xc3\xa4[/]\n[k]Dim[/] x\n",
         "", ""},
        {"a file name that is no UTF-8",
         {{"Pr\xfc" "fung.bas", "' x\r\nSub S()\r\nEnd Sub\r\n"}}, "", "", "Pr\xc3\xbc" "fung", "", "S 1 2-3", ""},
        {"hidden folders skipped",
         {{"A.bas", "Attribute VB_Name = \"A\"\r\nDim a\r\n"},
          {".git/B.bas", "Attribute VB_Name = \"B\"\r\nDim b\r\n"},
          {".vba-blocks/C.bas", "Attribute VB_Name = \"C\"\r\nDim c\r\n"}},
         "", "", "A", "", "", ""},
        {"a hidden folder given directly", {{".vba-blocks/C.bas", "Attribute VB_Name = \"C\"\r\nDim c\r\n"}},
         ".vba-blocks", "", "C", "", "", ""},
    };
    return table;
}

class ReadingRules : public lumo::test::BuildFixture {
protected:
    void TearDown() override {
        options().codePage = lumo::Options{}.codePage;
        BuildFixture::TearDown();
    }
};

QString rowsOf(const std::vector<lumo::test::RoutineRow>& routines) {
    QStringList out;
    for (const auto& r : routines) out << QString("%1 %2 %3-%4").arg(r.name).arg(r.typ).arg(r.start, r.end);
    return out.join("; ");
}

}  // namespace

TEST_F(ReadingRules, EveryRuleOnAModuleOfItsOwn) {
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.rule);
        QTemporaryDir dir;
        const QByteArray root = QFile::encodeName(dir.path()) + '/';
        for (const File& f : row.files) {
            QDir().mkpath(QFileInfo(QFile::decodeName(root + f.path)).absolutePath());
            FILE* out = fopen((root + f.path).constData(), "wb");
            ASSERT_TRUE(out);
            fwrite(f.bytes.constData(), 1, size_t(f.bytes.size()), out);
            fclose(out);
        }
        options().codePage = *row.codePage ? QString(row.codePage) : lumo::Options{}.codePage;
        ASSERT_TRUE(build.begin());

        lumo::DocumentHost host(&ui);
        host.open(dir.path() + (*row.open ? QString("/") + row.open : QString()));
        lumo::AppTree tree;
        int version = 0;
        lumo::listOfficeProjects(host, tree, version, ui);
        QStringList listed;
        auto app = host.connect();
        for (const lumo::AppNode& n : tree) {
            if (n.parentKey.isEmpty()) continue;
            listed << n.text;
            lumo::HostComponent& c = app->project(lumo::projectPosition(n.key)).component(n.text);
            build.addModuleOrLeaveOut(c.name(), 2, c.lines(1, c.countOfLines()));
        }
        EXPECT_EQ(listed.join(' ').toStdString(), row.listed);
        if (*row.text) EXPECT_EQ(lumo::test::readable(store.readModuleText(1)).replace("\r\n", "\n").toStdString(), row.text);
        EXPECT_EQ(rowsOf(routines()).toStdString(), row.rows);
        const QString told = host.lastReport() + lumo::buildFailedWarning(build.leftOut());
        if (*row.told) EXPECT_TRUE(told.contains(QString::fromUtf8(row.told))) << told.toStdString();
        else EXPECT_TRUE(build.leftOut().empty() && host.lastReport().isEmpty()) << told.toStdString();
    }
}
