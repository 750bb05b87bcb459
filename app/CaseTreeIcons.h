#pragma once

#include <QImage>
#include <QList>

// The case tree's 19 images of 31 x 18 pixels, drawn in code, in image-list order (see
// TreeImage): date, device, case not viewed, case viewed, then the five event kinds
// (other, shock, power off, annotation, power on) for each of the three device models.
// An event image is a tile in the model's colour holding the kind's sign, followed by
// the model's number, so the three sets differ at a glance.
namespace CaseTreeIcons {

constexpr int Width = 31;
constexpr int Height = 18;

QImage image(int index); // a transparent image for an index outside the list
QList<QImage> images();

} // namespace CaseTreeIcons
