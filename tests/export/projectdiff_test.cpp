// Two versions of a project compared routine by routine: each kind of
// change with the report a reviewer reads.
#include <gtest/gtest.h>

#include "export/DiffReport.h"
#include "export/ModuleExport.h"
#include "export/ProjectDiff.h"

namespace {

struct Mod {
    const char* name;
    int type;
    const char* code;  // lines separated by \n
};

lumo::VbaProjectData project(std::initializer_list<Mod> modules, const char* document = "Dok.docm") {
    lumo::VbaProjectData p;
    p.fileName = QString::fromUtf8(document);
    for (const Mod& m : modules)
        p.modules.push_back({QString::fromUtf8(m.name), m.type, QString::fromUtf8(m.code).split(u'\n'), {}});
    return p;
}

const char* const kBase = "Option Explicit\nDim x As Long\n\n' adds\nSub A()\n    x = 1\nEnd Sub\n\nFunction B() As Long\n"
                          "    B = x\nEnd Function";

struct Case {
    const char* what;
    lumo::VbaProjectData before, after;
    bool ignoreCase;
    const char* report;  // after the --- and +++ lines; empty: equal
};

TEST(ProjectDiff, ReportsEachKindOfChangeByRoutine) {
    const Case cases[] = {
        {"routine added", project({{"M", 1, kBase}}),
         project({{"M", 1, "Option Explicit\nDim x As Long\n\n' adds\nSub A()\n    x = 1\nEnd Sub\n\nFunction B() As Long\n"
                           "    B = x\nEnd Function\nSub C()\nEnd Sub"}}),
         false, "Modul M (Standardmodul): geändert\nSub C: hinzugefügt\n@@ -0,0 +12,2 @@ Sub C\n+Sub C()\n+End Sub\n"},
        {"routine removed", project({{"M", 1, kBase}}),
         project({{"M", 1, "Option Explicit\nDim x As Long\n\n' adds\nSub A()\n    x = 1\nEnd Sub"}}), false,
         "Modul M (Standardmodul): geändert\nFunction B: entfernt\n@@ -8,4 +0,0 @@ Function B\n-\n-Function B() As Long\n"
         "-    B = x\n-End Function\n"},
        {"routine changed, numbered as in the module", project({{"M", 1, kBase}}),
         project({{"M", 1, "Option Explicit\nDim x As Long\n\n' adds\nSub A()\n    x = 2\nEnd Sub\n\nFunction B() As Long\n"
                           "    B = x\nEnd Function"}}),
         false,
         "Modul M (Standardmodul): geändert\nSub A: geändert\n@@ -3,5 +3,5 @@ Sub A\n \n ' adds\n Sub A()\n-    x = 1\n"
         "+    x = 2\n End Sub\n"},
        {"routine moved", project({{"M", 1, kBase}}),
         project({{"M", 1, "Option Explicit\nDim x As Long\n\nFunction B() As Long\n    B = x\nEnd Function\n\n' adds\n"
                           "Sub A()\n    x = 1\nEnd Sub"}}),
         false, ""},
        {"routine renamed", project({{"M", 1, "Sub A()\nEnd Sub"}}), project({{"M", 1, "Sub Z()\nEnd Sub"}}), false,
         "Modul M (Standardmodul): geändert\nSub Z: hinzugefügt\n@@ -0,0 +1,2 @@ Sub Z\n+Sub Z()\n+End Sub\nSub A: "
         "entfernt\n@@ -1,2 +0,0 @@ Sub A\n-Sub A()\n-End Sub\n"},
        {"case only", project({{"M", 1, "Sub A()\n    x = \"Ab\" ' Ab\nEnd Sub"}}),
         project({{"M", 1, "Sub a()\n    X = \"Ab\" ' Ab\nEnd Sub"}}), true, ""},
        {"case only counts without --ignore-case", project({{"M", 1, "Sub A()\nEnd Sub"}}),
         project({{"M", 1, "Sub a()\nEnd Sub"}}), false,
         "Modul M (Standardmodul): geändert\nSub a: geändert\n@@ -1,2 +1,2 @@ Sub a\n-Sub A()\n+Sub a()\n End Sub\n"},
        {"a string's case counts with --ignore-case", project({{"M", 1, "Sub A()\n    x = \"Ab\"\nEnd Sub"}}),
         project({{"M", 1, "Sub A()\n    x = \"AB\"\nEnd Sub"}}), true,
         "Modul M (Standardmodul): geändert\nSub A: geändert\n@@ -1,3 +1,3 @@ Sub A\n Sub A()\n-    x = \"Ab\"\n"
         "+    x = \"AB\"\n End Sub\n"},
        {"declarations", project({{"M", 1, kBase}}),
         project({{"M", 1, "Option Explicit\nDim x As Integer\n\n' adds\nSub A()\n    x = 1\nEnd Sub\n\nFunction B() As "
                           "Long\n    B = x\nEnd Function"}}),
         false,
         "Modul M (Standardmodul): geändert\n(Deklarationen): geändert\n@@ -1,2 +1,2 @@ (Deklarationen)\n Option Explicit\n"
         "-Dim x As Long\n+Dim x As Integer\n"},
        {"module type changed", project({{"M", 1, "Sub A()\nEnd Sub"}}), project({{"M", 2, "Sub A()\nEnd Sub"}}), false,
         "Modul M (Klassenmodul): geändert\n  Typ: Standardmodul → Klassenmodul\n"},
        {"modules added and removed", project({{"Alt", 1, "Dim a"}}), project({{"Neu", 2, "Dim b"}}), false,
         "Modul Neu (Klassenmodul): hinzugefügt\n@@ -0,0 +1 @@ (Deklarationen)\n+Dim b\nModul Alt (Standardmodul): "
         "entfernt\n@@ -1 +0,0 @@ (Deklarationen)\n-Dim a\n"},
        {"same-named modules of two documents are one module", project({{"Modul1", 1, "Sub A()\nEnd Sub"}}, "a.docm"),
         project({{"modul1", 1, "Sub A()\nEnd Sub"}}, "b.xlsm"), false,
         "Modul modul1 (Standardmodul): geändert\n  Name: Modul1 → modul1\n"},
    };
    for (const Case& c : cases) {
        const lumo::ProjectDiff diff = lumo::compareProjects(c.before, c.after, {c.ignoreCase});
        const QString report = lumo::diffReport(diff, "alt", "neu").mid(QStringLiteral("--- alt\n+++ neu\n").size());
        EXPECT_EQ(report.toStdString(), std::string(c.report)) << c.what;
        EXPECT_EQ(diff.equal(), *c.report == 0) << c.what;
    }
}

TEST(ProjectDiff, StatCountsRoutinesAndLines) {
    const lumo::ProjectDiff diff = lumo::compareProjects(
        project({{"M", 1, "Sub A()\nEnd Sub\nSub B()\nEnd Sub"}}), project({{"M", 1, "Sub A()\n  x = 1\nEnd Sub\nSub C()\nEnd Sub"}}));
    EXPECT_EQ(lumo::diffStat(diff).toStdString(),
              "Modul M (Standardmodul): geändert; Routinen: 1 hinzugefügt, 1 entfernt, 1 geändert; Zeilen +3 -2\n"
              "Module: 0 hinzugefügt, 0 entfernt, 1 geändert; Zeilen +3 -2\n");
}

TEST(ModuleExport, WritesTheHiddenLinesWhereTheEditorHadThem) {
    lumo::VbaModule m{"Klasse", lumo::VbaClassModule, QStringList{"Property Get P()", "End Property"}, {}};
    m.hidden.head = {"Attribute VB_Name = \"Klasse\"", "Attribute VB_Exposed = False"};
    m.hidden.inside = {{1, "Attribute P.VB_UserMemId = 0"}};
    EXPECT_EQ(lumo::exportFileName(m), "Klasse.cls");
    EXPECT_EQ(lumo::exportedModuleText(m).toStdString(),
              "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\nAttribute VB_Name = \"Klasse\"\r\n"
              "Attribute VB_Exposed = False\r\nProperty Get P()\r\nAttribute P.VB_UserMemId = 0\r\nEnd Property\r\n");
    // A module file without attributes gets the name the editor would write.
    const lumo::VbaModule plain{"M", lumo::VbaStandardModule, QStringList{"Sub A()", "End Sub"}, {}};
    EXPECT_EQ(lumo::exportedModuleText(plain).toStdString(), "Attribute VB_Name = \"M\"\r\nSub A()\r\nEnd Sub\r\n");
    // Not in the code page: written in UTF-8, which the reader takes back.
    const lumo::VbaModule euro{"E", lumo::VbaStandardModule, QStringList{"' € ≠"}, {}};
    bool utf8 = false;
    EXPECT_EQ(lumo::exportedModuleBytes(euro, 1252, &utf8), QString("Attribute VB_Name = \"E\"\r\n' € ≠\r\n").toUtf8());
    EXPECT_TRUE(utf8);
    const lumo::VbaModule inPage{"E", lumo::VbaStandardModule, QStringList{"' €"}, {}};
    EXPECT_EQ(lumo::exportedModuleBytes(inPage, 1252, &utf8), QByteArray("Attribute VB_Name = \"E\"\r\n' \x80\r\n"));
    EXPECT_FALSE(utf8);
}

}  // namespace
