#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QString>
#include <functional>

class QPagedPaintDevice;

namespace PdfDocument {

// The bytes of a PDF with the given page layout and title, its pages painted by print onto
// the PDF device; empty when print reports a failure.
QByteArray make(const QPageLayout &layout, const QString &title, const std::function<bool(QPagedPaintDevice &)> &print);

// A4 portrait without margins: the layout the reports use when no printer chose one.
QPageLayout a4Portrait();

} // namespace PdfDocument
