#pragma once

#include <QIcon>
#include <QImage>

// The program's own pictures, drawn in code so that they stay crisp and need no image
// files: the toolbar buttons (16 x 15 pixels) and the program icon.
namespace Icons {

enum class Toolbar { New, Open, Save, Print, About, PreviousPage, NextPage };

constexpr int ToolbarWidth = 16;
constexpr int ToolbarHeight = 15;

QImage toolbarImage(Toolbar which);
QIcon toolbarIcon(Toolbar which);
// A red heart with an ECG trace; drawn at the requested square size.
QImage programImage(int size);
QIcon programIcon();

} // namespace Icons
