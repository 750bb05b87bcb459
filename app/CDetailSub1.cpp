#include "app/CDetailSub1.h"

#include "app/CDetailView.h"
#include "ecg/CEntired.h"

#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>

CDetailSub1::CDetailSub1(CDetailView &detail, CaseSession &view, ReviewState &review, QWidget *parent)
    : CEcgTabHost(detail, view, review, ArrowStepSeconds, parent), m_window(new CEntired(view, review, this))
{
    m_window->onScrollPosition = [this](int seconds) { setScrollPosition(seconds); };
    takeInputOf(m_window);
    m_window->onSelectEventAtPosition = [this] { m_detail.selectEventAtPosition(); };
    m_window->onShowEnlarged = [this] { m_detail.refresh(); };
    m_window->Resize(8, 8, width() - 30, height() - 30);
    m_window->UpdateLayout();
    m_window->Redraw();
    m_window->show();
}

void CDetailSub1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int cx = event->size().width();
    const int cy = event->size().height();
    startButton()->setGeometry(8, cy - 20, 22, 20);
    scrollBar()->setGeometry(30, cy - 20, cx - 60, 20);
    endButton()->setGeometry(cx - 30, cy - 20, 22, 20);
    m_window->Resize(8, 8, cx - 30, cy - 30);
    m_window->UpdateLayout();
    m_window->Redraw();
}

int CDetailSub1::screenSeconds() const
{
    return EntireGeometry::Rows * EntireGeometry::RowMs / 1000;
}

void CDetailSub1::showAtPosition()
{
    m_detail.showEntireAtPosition();
}
