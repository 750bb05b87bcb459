#pragma once

#include <QString>

class QImage;

// Section header bars of the General tab: a gradient from near black on the left to dark
// red on the right over the bar's full width, with a white bold caption.
namespace HeaderBar {

// Language-pack text of a bar's caption: kinds 1, 2, 3 give texts 126 "Case", 127
// "Automated external defibrillator" and 128 "Patient"; other kinds have no caption (0).
int captionText(int kind);

// Draws the bar into the whole picture.
void draw(QImage &picture, const QString &caption);

} // namespace HeaderBar
