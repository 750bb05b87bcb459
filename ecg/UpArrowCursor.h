#pragma once

#include <QCursor>
#include <QImage>
#include <QPoint>

// The pointer over the entire-ECG rows: an upward arrow of 32 x 32 pixels whose tip, at
// (15, 4), is the hot spot.
namespace UpArrowCursor {

constexpr QPoint HotSpot{15, 4};

QImage image();
QCursor cursor();

} // namespace UpArrowCursor
