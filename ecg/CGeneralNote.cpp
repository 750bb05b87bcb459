#include "ecg/CGeneralNote.h"

#include "base/LanguagePack.h"
#include "ecg/HeaderBar.h"

#include <QPainter>

CGeneralNote::CGeneralNote(int kind, const LanguagePack &texts, QWidget *parent)
    : QWidget(parent), m_kind(kind), m_texts(texts), m_picture(1, 1, QImage::Format_RGB32)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    m_picture.fill(Qt::white);
}

void CGeneralNote::Resize(int x, int y, int width, int height)
{
    width = std::max(1, width);
    height = std::max(1, height);
    m_picture = QImage(width, height, QImage::Format_RGB32);
    m_picture.fill(Qt::white);
    setGeometry(x, y, width, height);
}

void CGeneralNote::resizeEvent(QResizeEvent *)
{
    if (m_picture.size() != size()) {
        m_picture = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        m_picture.fill(Qt::white);
    }
}

void CGeneralNote::Redraw()
{
    const int text = HeaderBar::captionText(m_kind);
    HeaderBar::draw(m_picture, text > 0 ? m_texts.GetText(text) : QString());
    update();
}

void CGeneralNote::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}
