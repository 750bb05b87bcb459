#pragma once

#include <QString>

// The texts of an anonymised export.
namespace Anonymity {

// What stands for a reviewer's annotation: its kind, neither its title nor its body.
QString annotationText();
// True for a reviewer's annotation: an event whose text begins "A: ".
bool isAnnotation(const QString &eventText);
// An event's text in an anonymised export: a device event's text as it is (the device
// writes no name, date or serial into one), annotationText() for a reviewer's annotation.
QString eventText(const QString &text);
// The file name an anonymised export is offered under, before its suffix: it names
// neither the archive (whose name may hold a patient's name or the date) nor the case.
QString suggestedBaseName();

} // namespace Anonymity
