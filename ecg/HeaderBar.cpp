#include "ecg/HeaderBar.h"

#include "ecg/EcgStyle.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>

namespace HeaderBar {

int captionText(int kind)
{
    return kind >= 1 && kind <= 3 ? 125 + kind : 0;
}

void draw(QImage &picture, const QString &caption)
{
    const int w = picture.width();
    QPainter painter(&picture);
    EcgStyle::prepare(painter);
    QLinearGradient gradient(QPointF(0, 0), QPointF(w, 0));
    gradient.setColorAt(0, EcgStyle::headerLeft());
    gradient.setColorAt(1, EcgStyle::headerRight());
    painter.fillRect(picture.rect(), gradient);
    painter.setPen(QColor(255, 255, 255, 255));
    painter.setFont(EcgStyle::font(15, true));
    painter.drawText(QRectF(picture.rect()), Qt::AlignLeft | Qt::AlignVCenter, caption);
}

} // namespace HeaderBar
