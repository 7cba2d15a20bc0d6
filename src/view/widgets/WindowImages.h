#pragma once
// The pictures of the main window: tree nodes by image key, toolbar buttons
// by key, and the window icon of an edition ("A" + host kind).
#include <QIcon>
#include <QString>

namespace lumo {

QIcon treeImage(const QString& key);
QIcon toolbarIcon(const QString& key);
QIcon windowIcon(int hostKind);

}  // namespace lumo
