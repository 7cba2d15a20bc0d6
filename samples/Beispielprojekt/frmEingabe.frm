VERSION 5.00
Begin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} frmEingabe 
   Caption         =   "Kundendaten erfassen"
   ClientHeight    =   3015
   ClientLeft      =   120
   ClientTop       =   465
   ClientWidth     =   4560
   StartUpPosition =   1  'Fenstermitte
End
Attribute VB_Name = "frmEingabe"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mKunde As clsKunde
Private WithEvents mBeobachteterKunde As clsKunde

Private Sub UserForm_Initialize()
    Set mKunde = New clsKunde
    Set mBeobachteterKunde = mKunde
    Me.Caption = "Kundendaten vom " & Format$(Date, "dd.mm.yyyy")
End Sub

Private Sub cmdOK_Click()
    On Error GoTo Fehler
    mKunde.Name = Trim$(txtName.Text)
    mKunde.Umsatz = CCur(txtUmsatz.Text)
    Unload Me
    Exit Sub
Fehler:
    MsgBox "Eingabe ungültig: " & Err.Description, vbExclamation, "Kundendaten"
    Resume Next
End Sub

Private Sub cmdAbbrechen_Click()
    Unload Me
End Sub

Private Sub mBeobachteterKunde_UmsatzGeändert(ByVal alt As Currency, ByVal neu As Currency)
    lblHinweis.Caption = "Umsatz von " & alt & " auf " & neu & " geändert"
End Sub
