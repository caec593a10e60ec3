#pragma once
// The program's own toolbar pictures, painted rather than loaded so that they scale and need
// no files: one picture per toolbar button, the save indicator and the picture of the main
// window's work area.

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <vector>

namespace kavina::shell {

// The picture of a toolbar button by its object name ("bSzamla", "partnersButton"); a plain
// document for a name without a picture of its own.
QIcon toolbarIcon(const QString& buttonName);

// The main menu's picture list, which plugins name their entries' pictures from by number:
// the toolbar pictures in a fixed order.
std::vector<QIcon> menuPictures();

// The small picture the status bar shows while a change is being written.
QPixmap saveIndicatorPixmap(int size);

// The emblem and name of the program shown in the middle of the main window.
QPixmap workAreaPicture();

}  // namespace kavina::shell
