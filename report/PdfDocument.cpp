#include "report/PdfDocument.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>

namespace PdfDocument {

QByteArray make(const QPageLayout &layout, const QString &title, const std::function<bool(QPagedPaintDevice &)> &print)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(layout);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Ravelin"));
        if (!print(writer))
            return QByteArray();
    }
    return bytes;
}

QPageLayout a4Portrait()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
}

} // namespace PdfDocument
