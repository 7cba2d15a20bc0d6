#pragma once
// The generated module of the reading aids' benchmarks: constants, an
// enumeration, a type and variables in its declarations part, and twelve
// routines that each call the shared routine Gemeinsam (declared in module
// 1) twice and name it in a comment and a string.
#include <QString>

namespace lumo::bench {

inline QString aidsModule(int m) {
    const QString n = QString::number(m);
    QString s = "Option Explicit\r\nPrivate Const GRENZE" + n + " As Long = 10, UNTEN" + n + " = 1\r\n";
    s += "Public Enum Art" + n + "\r\n    ArtEins" + n + " = 1\r\n    ArtZwei" + n + "\r\nEnd Enum\r\n";
    s += "Private Type Satz" + n + "\r\n    Wert As Long\r\nEnd Type\r\n";
    s += "Private mZahl As Long ' Gemeinsam\r\nPublic Zaehler" + n + " As Long, Name" + n + " As String\r\n\r\n";
    if (m == 1) s += "Public Function Gemeinsam(ByVal x As Long) As Long\r\n    Gemeinsam = x * 2\r\nEnd Function\r\n\r\n";
    for (int r = 0; r < 12; ++r) {
        const QString k = n + "_" + QString::number(r);
        s += "Public Sub Arbeit" + k + "(ByVal n As Long)\r\n";
        s += "    Dim i As Long, s As String\r\n";
        s += "    ' ruft Gemeinsam zweimal\r\n";
        s += "    For i = 1 To n\r\n        mZahl = mZahl + Gemeinsam(i)\r\n    Next i\r\n";
        s += "    s = \"Gemeinsam \" & CStr(mZahl)\r\n";
        s += "    If Gemeinsam(n) > ArtZwei" + n + " Then Debug.Print s\r\n";
        s += "    MeinGemeinsam2 = Gemeinsam_x\r\n";
        s += "End Sub\r\n\r\n";
    }
    return s;
}

}  // namespace lumo::bench
