Attribute VB_Name = "modAllgemein"
Option Explicit
Option Base 1

' Allgemeine Hilfsroutinen des Beispielprojekts.
' Dieser Kommentar endet mit einem Unterstrich _
  und läuft deshalb in der nächsten Zeile weiter.

Private Declare PtrSafe Function MessageBeep _
    Lib "user32" _
    (ByVal wType As Long) As Long
Public Declare PtrSafe Sub Sleep Lib "kernel32" (ByVal dwMilliseconds As Long)

Public Const MAX_ZEILEN As Long = 100
Private mZähler As Long

Public Enum Größenklasse
    gkKlein = 1
    gkMittel = 2
    gkGroß = 3
End Enum

Public Type Adresse
    Straße As String
    Postleitzahl As String * 5
    Ort As String
End Type

Public Function GrößenklasseErmitteln(ByVal länge As Double) As Größenklasse
    Select Case länge
        Case Is < 10
            GrößenklasseErmitteln = gkKlein
        Case 10 To 100
            GrößenklasseErmitteln = gkMittel
        Case Else
            GrößenklasseErmitteln = gkGroß
    End Select
End Function

Public Sub Begrüßung(Optional ByVal name As String = "Welt")
    Dim text As String
    text = "Hallo, " & name & "! Er sagte: ""Guten Tag""."
    If Len(name) = 0 Then
        Exit Sub
    ElseIf name = "Rem" Then ' Rem im Text ist kein Kommentar
        text = text & " (Sonderfall)"
    Else
        text = text & "" ' eine leere Zeichenkette bleibt ungefärbt
    End If
    Rem Auch diese Zeile ist ein Kommentar, wird aber nicht gefärbt
    Debug.Print text
    MessageBeep 0
End Sub

Public Function Verketten(ByVal erster As String, _
ByVal zweiter As String) As String
    Verketten = erster & " " & zweiter
End Function

Private Function Summe(ParamArray werte() As Variant) As Double
    Dim i As Long, ergebnis As Double
    For i = LBound(werte) To UBound(werte)
        ergebnis = ergebnis + CDbl(werte(i))
    Next i
    Summe = ergebnis
End Function

Sub ZeilenZählen()
    Dim zeile As Long
    Dim liste() As Long
    ReDim liste(1 To 5)
    Do While zeile < MAX_ZEILEN
        zeile = zeile + 1
        If zeile Mod 10 = 0 Then Debug.Print "Zeile " & zeile
    Loop
    ReDim Preserve liste(1 To 10)
    mZähler = mZähler + zeile
    Sleep 10
End Sub
