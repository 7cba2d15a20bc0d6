#include <gtest/gtest.h>

#include "acquire/ModuleText.h"

namespace {

TEST(ModuleText, SplitsAtEveryKindOfLineBreak) {
    EXPECT_EQ(lumo::splitSourceLines(u"a\r\nb\rc\nd"), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(lumo::splitSourceLines(u"a\r\n\r\n"), QStringList({"a", ""}));
    EXPECT_TRUE(lumo::splitSourceLines(u"").isEmpty());
}

TEST(ModuleText, HidesHeaderAndMemberAttributesOnly) {
    const QString source =
        "Attribute VB_Name = \"Module1\"\r\n"
        "Attribute VB_Exposed = True\r\n"
        "Option Explicit\r\n"
        "Sub Macro1()\r\n"
        "Attribute Macro1.VB_ProcData.VB_Invoke_Func = \" \\n14\"\r\n"
        "    Attribute = 5\r\n"
        "    Dim Attribute As Long\r\n"
        "End Sub\r\n";
    EXPECT_EQ(lumo::editorLines(source), QStringList({"Option Explicit", "Sub Macro1()", "    Attribute = 5",
                                                      "    Dim Attribute As Long", "End Sub"}));
    // An "Attribute VB_..." line in the code (not qualified) is code, not header.
    EXPECT_EQ(lumo::editorLines(u"Attribute VB_Name = \"M\"\r\nx = 1\r\nAttribute VB_Foo = 1"),
              QStringList({"x = 1", "Attribute VB_Foo = 1"}));
    // The keyword in any case, and only as a whole word (with a tab after it, too).
    EXPECT_EQ(lumo::editorLines(u"ATTRIBUTE VB_Name = \"M\"\r\nattribute\tVB_Exposed = 0\r\nAttributes = 1\r\n"
                                u"Sub A()\r\naTTribute A.VB_UserMemId = 0\r\nAttributeX.VB_Y = 1\r\nEnd Sub"),
              QStringList({"Attributes = 1", "Sub A()", "AttributeX.VB_Y = 1", "End Sub"}));
}

TEST(ModuleText, EditorTextJoinsWithCrLfWhateverTheSourceUsed) {
    const lumo::EditorText t = lumo::editorText(
        u"Attribute VB_Name = \"M\"\r\na\r\n\r\nb\nc\rd\r\nAttribute x.VB_Y = 1\r\ne\r\n");
    EXPECT_EQ(t.toList(), QStringList({"a", "", "b", "c", "d", "e"}));
    EXPECT_EQ(t.text(), "a\r\n\r\nb\r\nc\r\nd\r\ne");
    EXPECT_EQ(t.lines(3, 3), "b\r\nc\r\nd");
    EXPECT_EQ(t.lines(6, 1), "e");
    EXPECT_EQ(t.lines(1, 0), "");
    EXPECT_EQ(lumo::editorText(u"Attribute VB_Name = \"M\"\r\n").lineCount(), 0);
}

TEST(ModuleText, ExportedFormHeaderIsHiddenWithItsNestedBlocks) {
    const QString frm =
        "VERSION 5.00\r\n"
        "Begin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} frmMain \r\n"
        "   Caption         =   \"Main\"\r\n"
        "   Begin VB.Frame fra\r\n"
        "      BeginProperty Font \r\n"
        "         Name = \"Arial\"\r\n"
        "      EndProperty\r\n"
        "   End\r\n"
        "End\r\n"
        "Attribute VB_Name = \"frmMain\"\r\n"
        "Attribute VB_Base = \"0{5D6C4C0F}\"\r\n"
        "Private Sub UserForm_Click()\r\n"
        "End Sub\r\n";
    const lumo::ExportedSource src = lumo::parseExportedSource(frm);
    EXPECT_EQ(src.vbName, "frmMain");
    EXPECT_EQ(src.lines, QStringList({"Private Sub UserForm_Click()", "End Sub"}));

    const lumo::ExportedSource cls = lumo::parseExportedSource(
        u"VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1  'True\nEND\nAttribute VB_Name = \"Sheet1\"\n"
        u"Attribute VB_Base = \"0{00020820-0000-0000-C000-000000000046}\"\nAttribute VB_Customizable = True\n"
        u"Option Explicit\n");
    EXPECT_EQ(cls.vbName, "Sheet1");
    EXPECT_TRUE(cls.documentModule);
    EXPECT_EQ(cls.lines, QStringList({"Option Explicit"}));

    const lumo::ExportedSource plain = lumo::parseExportedSource(
        u"VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1\r\nEND\r\nAttribute VB_Name = \"WebClient\"\r\n"
        u"Attribute VB_PredeclaredId = False\r\n' comment\r\n");
    EXPECT_FALSE(plain.documentModule);
    EXPECT_EQ(plain.lines, QStringList({"' comment"}));
}

}  // namespace
