#include "app/CDetailView.h"

#include "app/CMainFrame.h"
#include "app/LanguagePack.h"

#include <QLabel>
#include <QTabBar>

namespace {
constexpr int TabHeight = 22;
}

CDetailView::CDetailView(CMainFrame &frame, const LanguagePack &texts, QWidget *parent)
    : QWidget(parent), m_frame(frame), m_tabs(new QTabBar(this)), m_noCase(new QLabel(this))
{
    setAutoFillBackground(true);
    for (int text : {104, 105, 106})
        m_tabs->addTab(texts.GetText(text));
    m_noCase->setText(texts.GetText(TextId::NoCaseLoaded));
    m_noCase->adjustSize();
    layoutChildren();
    refresh();
}

void CDetailView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

void CDetailView::layoutChildren()
{
    m_tabs->setGeometry(0, 0, width(), TabHeight);
    // The text's top-left corner sits at the centre of the pane.
    m_noCase->move(width() / 2, height() / 2);
}

void CDetailView::refresh()
{
    m_noCase->setVisible(m_frame.m_nSelCase < 0);
}
