#pragma once
// The pictures of the trees (image list imlTree), of the toolbar and the
// window icon, drawn in code so that they stay sharp at every scale: each
// picture is drawn on a 16-unit grid and rendered at 16, 32 and 48 pixels.
//
// Tree pictures: module kinds by shape ("M" + module type), routine kinds by
// a coloured shape with a letter ("R" + routine type), visibility by a badge
// in the lower right corner ("O1" public: green dot, "O2" private: padlock,
// "O3" friend: blue half-open ring).
#include <QIcon>
#include <QPixmap>
#include <QStringList>

namespace lumo {

// The 34 keys of imlTree, in their fixed order.
const QStringList& treeImageKeys();
// The keys of the toolbar buttons that carry a picture (tobSymb1's, then
// "close" of the caller result's head tobSuche).
const QStringList& toolbarImageKeys();

// Tree picture by key ("M1", "R2O1", "Fahne" ...); a null icon for an unknown key.
QIcon treeIcon(const QString& key);
// Toolbar picture by button key, without regard to case; null for an unknown key.
QIcon toolbarIcon(const QString& key);
// The window icon, key "A2" (the Word edition).
QIcon windowIcon();

// One picture at a size in pixels (any key of the three sets); a null
// pixmap for an unknown key.
QPixmap drawPicture(const QString& key, int size);

}  // namespace lumo
