#pragma once
// The output folder of a website: missing, empty, or a site this program
// wrote (its overview page names the program, and every file is one of a
// site's). Anything else is refused and left alone.
#include <functional>

#include <QString>

namespace lumo {

// The names of the files a site consists of.
bool isSiteFileName(const QString& fileName);

// Why folder must not be replaced by a site, in German; empty when it may.
QString siteRefusal(const QString& folder);

// Makes a site in place of folder: one run at a time (a lock beside it),
// foreign content refused, leftovers of killed runs removed, the files made
// by `make` in a new folder beside it, which is swapped in when make
// returns true. Empty on success, else the German reason (also make's).
QString replaceSiteFolder(const QString& folder, const std::function<bool(const QString& built, QString* why)>& make);

}  // namespace lumo
