#pragma once
// A small project with every kind of module-level declaration, for the
// reading aids (definition of every name, call sites, hit lists, the long
// structure listing). Line numbers in the tests are those of these texts.
#include "model/BuildFixture.h"

namespace lumo::test {

struct AidsModule {
    const char* file;
    const char* name;
    int type;
    const char* code;  // lines end in "\n"
};

inline const AidsModule kAidsProject[] = {
    {"Haupt.bas", "Haupt", 2,
     "Option Explicit\n"
     "Private Const MAX_N As Long = 10, MIN_N = 1\n"
     "Public Const Titel = \"Haupt: Rechne\"\n"
     "Public Enum Farbe\n"
     "    Rot = 1\n"
     "    Gruen ' Rechne\n"
     "End Enum\n"
     "Private Type Punkt\n"
     "    x As Long\n"
     "End Type\n"
     "Dim zaehler As Long, gesamt&\n"
     "Public Kunde As New Kunde\n"
     "#If VBA7 Then\n"
     "Private Declare PtrSafe Function Tick Lib \"k\" () As Long\n"
     "#Else\n"
     "Private Declare Function Tick Lib \"k\" () As Long\n"
     "#End If\n"
     "Sub Start()\n"
     "    Dim lokal As Long\n"
     "    Rechne MAX_N: Rechne 2\n"
     "    Set k = New Kunde ' Rechne\n"
     "End Sub\n"
     "Private Function Rechne(ByVal x As Long, _\n"
     "        y) As Long ' zwei Zeilen\n"
     "    Rechne = x + Rot\n"
     "End Function\n"},
    {"Kunde.cls", "Kunde", 3,
     "Option Explicit\n"
     "Public Name As String\n"
     "Private mNr As Long, Rechne\n"
     "Public Event Geaendert()\n"
     "Public Sub Start()\n"
     "    Rechne = 1\n"
     "End Sub\n"
     "Public Function Rot()\n"
     "End Function\n"
     "Property Get Wert()\n"
     "End Property\n"
     "Property Let Wert(v)\n"
     "End Property\n"},
    {"Helfer.bas", "Helfer", 2,
     "Dim s As String: Start\n"
     "Sub Test()\n"
     "    Start\n"
     "    Kunde.Start\n"
     "End Sub\n"},
};

class AidsProjectFixture : public BuildFixture {
protected:
    void SetUp() override {
        BuildFixture::SetUp();
        for (const AidsModule& m : kAidsProject) add(QString::fromUtf8(m.code), m.name, m.type);
    }
};

}  // namespace lumo::test
