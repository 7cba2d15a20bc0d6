// Documentation comments of each convention a VBA team writes.
#include <gtest/gtest.h>

#include "navigate/CommentBlock.h"

using namespace lumo;

namespace {

struct DocRow {
    const char* what;
    QStringList block;
    QString summary;
    QString text;
    QStringList params;  // "name: text"
    QString returns;
};

QStringList paramsOf(const DocComment& d) {
    QStringList out;
    for (const DocComment::Param& p : d.params) out << p.name + ": " + p.text;
    return out;
}

}  // namespace

TEST(DocComment, EachConventionGivesSummaryTextParametersAndReturns) {
    const DocRow rows[] = {
        {"plain lines, first sentence, z.B. kept",
         {"' Rechnet z.B. die Summe aus. Danach", "' wird gerundet.", "'", "' Zweiter Absatz."},
         "Rechnet z.B. die Summe aus.",
         "Rechnet z.B. die Summe aus. Danach wird gerundet.\n\nZweiter Absatz.",
         {},
         ""},
        {"Rem and separators", {"' =====", "Rem Liest die Datei", "'-----"}, "Liest die Datei", "Liest die Datei", {}, ""},
        {"annotations: description first, others left out",
         {"'@Folder(\"Werkzeug\")", "'@Description(\"Gibt \"\"x\"\" zurück.\")", "'@Ignore ProcedureNotUsed",
          "' Mehr dazu."},
         "Gibt \"x\" zurück.",
         "Gibt \"x\" zurück.\n\nMehr dazu.",
         {},
         ""},
        {"module description", {"'@ModuleDescription(\"Hilfen für Texte\")"}, "Hilfen für Texte", "Hilfen für Texte", {}, ""},
        {"xml", {"''' <summary>", "''' Addiert zwei Zahlen. Schnell.", "''' </summary>",
                 "''' <param name=\"a\">Die erste</param>", "''' <param name=\"b\">Die", "''' zweite</param>",
                 "''' <returns>Die Summe</returns>"},
         "Addiert zwei Zahlen.", "Addiert zwei Zahlen. Schnell.", {"a: Die erste", "b: Die zweite"}, "Die Summe"},
        {"tags as VBA-Web writes them",
         {"''", "' Execute the given request", "' and return the response.", "'", "' @example", "' ```VB.net",
          "' Dim Client As New WebClient", "'", "' Client.Go", "' @method Execute",
          "' @param {WebRequest} request The request", "'   to execute", "' @param {String} [Name=\"\"] - Optional",
          "' @return {WebResponse} Wrapper of server response", "' @throws 11010 - cURL error", "''"},
         "Execute the given request and return the response.",
         "Execute the given request and return the response.",
         {"request: The request to execute", "Name: Optional"},
         "Wrapper of server response"},
        {"no comment", {"Dim x"}, "", "", {}, ""},
    };
    for (const DocRow& row : rows) {
        const DocComment d = docCommentOf(row.block);
        EXPECT_EQ(d.summary, row.summary) << row.what;
        EXPECT_EQ(d.text, row.text) << row.what;
        EXPECT_EQ(paramsOf(d), row.params) << row.what;
        EXPECT_EQ(d.returns, row.returns) << row.what;
    }
}

TEST(DocComment, VbDescriptionAttributes) {
    EXPECT_EQ(vbDescriptionOf(u"Attribute Summe.VB_Description = \"Addiert \"\"a\"\".\""), QString("Addiert \"a\"."));
    EXPECT_EQ(vbDescriptionOf(u"attribute VB_Description = \"Das Modul\""), QString("Das Modul"));
    EXPECT_FALSE(vbDescriptionOf(u"Attribute VB_Name = \"Haupt\""));
    EXPECT_FALSE(vbDescriptionOf(u"' Attribute X.VB_Description = \"nein\""));
}
