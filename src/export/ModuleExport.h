#pragma once
// A module as the VBA editor exports it: .bas, .cls (with its class header)
// or .frm (the code part with its header; the designer's form data lives in
// the document's own streams and is not written), lines ended by CR LF.
#include <QByteArray>
#include <QString>

#include "acquire/VbaProjectData.h"

namespace lumo {

// "Name.bas", "Name.cls" or "Name.frm" by the module's kind.
QString exportFileName(const VbaModule& module);

// The file's text: the lines the editor hid where it hid them (a header the
// document does not keep, the class block or the form's Begin ... End, and
// Attribute VB_Name when missing, made as the editor makes them), every line
// ended by CR LF.
QString exportedModuleText(const VbaModule& module);

// exportedModuleText in codePage; a module with characters the code page
// has no byte for is written in UTF-8 instead (utf8 then says so), which
// the reader takes as well.
QByteArray exportedModuleBytes(const VbaModule& module, int codePage, bool* utf8 = nullptr);

}  // namespace lumo
