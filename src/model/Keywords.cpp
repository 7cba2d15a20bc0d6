#include "model/Keywords.h"

#include "model/Tags.h"

namespace lumo {

namespace {

// One literal, as the list has always been kept: the order is the order of
// the replacement passes, which matters for entries of several words.
constexpr const char* kKeywordList =
    " Option Base 1 , Option Private Module , Option Explicit , Option Compare Text , "
    "Option Compare Database , Access , And , As , Binary , Boolean , ByRef , Byte , ByVal , "
    "Call , Case , Cbool , Cbyte , Cint , Clng , Close , Const , Debug , Declare , DefBool , "
    "DefByte , DefCur , DefDate , DefDbl , DefDec , DefInt , DefLng , DefObj , DefSng , DefStr , "
    "DefVar , Dim , Do , Double , Else , ElseIf , Empty , End , Enum , Erase , Error , Event , "
    "Exit , Explicit , False , For , Friend , Function , Get , Global , GoSub , GoTo , If , "
    "Input , Integer , Is , LBound , Let , Lib , Lock , Long , Loop , Mid , New , Next , Not , "
    "Nothing , Null , Object , On , Open , Preserve , Optional , Or , ParamArray , Print , "
    "Private , Property , Public , Put , RaiseEvent , Random , Redim , Resume , Seek , Select , "
    "Set , Shared , Single , Static , Step , Stop , String , Sub , Then , To , True , Type , "
    "UBound , Unlock , Until , Variant , Wend , While , With , WithEvents , Write ";

}  // namespace

const QStringList& keywordEntries() {
    static const QStringList entries = QString::fromLatin1(kKeywordList).split(QLatin1Char(','));
    return entries;
}

QString taggedKeywordEntry(const QString& entry) {
    const QStringList words = entry.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString out = QStringLiteral(" ");
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (i > 0) out += QLatin1Char(' ');
        out += taggedKeyword(words[i]);
    }
    out += QLatin1Char(' ');
    return out;
}

}  // namespace lumo
