#pragma once
// The Office hosts an edition can be built for; the build picks one row by
// its number (LUMO_HOST_KIND).
#include <QString>

namespace lumo {

struct HostRow {
    int kind;
    const char* name;  // "" for the unused numbers 5 to 8
    const char* code;  // the edition's short code
};

// Kinds 1 to 9 in order; kinds without a host have empty texts.
inline constexpr HostRow kHostTable[] = {
    {1, "Excel", "QXL"},      {2, "Word", "QDL"}, {3, "Access", "QAC"}, {4, "PowerPoint", "QPP"},
    {5, "", ""},              {6, "", ""},        {7, "", ""},          {8, "", ""},
    {9, "VisualBasic", "QVB"},
};

// The row of a kind; an unknown kind gives empty texts.
HostRow hostRow(int kind);

}  // namespace lumo
