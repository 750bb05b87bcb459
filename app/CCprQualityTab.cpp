#include "app/CCprQualityTab.h"

#include "app/CprChartsWidget.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// A read-only table whose column `stretch` takes the width the others leave.
QTableWidget *table(int columns, int stretch, QWidget *parent)
{
    auto *t = new QTableWidget(0, columns, parent);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->verticalHeader()->hide();
    t->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setSectionResizeMode(stretch, QHeaderView::Stretch);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setWordWrap(false);
    return t;
}

QTableWidgetItem *item(const QString &text)
{
    return new QTableWidgetItem(text);
}

} // namespace

CCprQualityTab::CCprQualityTab(QWidget *parent)
    : QWidget(parent),
      m_noFeedback(new QLabel(this)),
      m_settings(new QLabel),
      m_pausesTitle(new QLabel),
      m_summary(table(4, 0, this)),
      m_pauses(table(3, 2, this)),
      m_charts(new CprChartsWidget),
      m_content(new QWidget(this))
{
    setAutoFillBackground(true);
    m_noFeedback->setWordWrap(true);
    m_noFeedback->setAlignment(Qt::AlignCenter);

    auto *left = new QVBoxLayout;
    left->addWidget(m_settings);
    left->addWidget(m_summary, 3);
    left->addWidget(m_pausesTitle);
    left->addWidget(m_pauses, 2);
    auto *columns = new QHBoxLayout(m_content);
    columns->addLayout(left, 3);
    columns->addWidget(m_charts, 2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_noFeedback);
    layout->addWidget(m_content);

    // A click, or Enter on a selected line, shows the pause in the enlarged ECG.
    connect(m_pauses, &QTableWidget::cellClicked, this, [this](int row, int) { pauseChosen(row); });
    connect(m_pauses, &QTableWidget::cellActivated, this, [this](int row, int) { pauseChosen(row); });
    m_content->hide();
}

void CCprQualityTab::showReport(CprQualityReport report)
{
    m_report = std::move(report);
    m_noFeedback->setText(m_report.noFeedback);
    m_noFeedback->setVisible(!m_report.hasFeedback);
    m_content->setVisible(m_report.hasFeedback);
    m_settings->setText(m_report.settingsLine);
    m_pausesTitle->setText(QStringLiteral("<b>%1</b>").arg(m_report.pausesTitle.toHtmlEscaped()));
    fillSummary();
    fillPauses();
    const CprQualityResult &r = m_report.result;
    m_charts->setCharts({CprChart::rateSeries(r, m_report.settings, m_report.rateChart),
                         CprChart::depthSeries(r, m_report.settings, m_report.depthChart),
                         CprChart::ccfSeries(r, m_report.settings, m_report.ccfChart)});
}

void CCprQualityTab::fillSummary()
{
    m_summary->clearContents();
    m_summary->setHorizontalHeaderLabels(
        {m_report.measureHeader, m_report.valueHeader, m_report.targetHeader, m_report.resultHeader});
    m_summary->setRowCount(int(m_report.summary.size()));
    for (int i = 0; i < int(m_report.summary.size()); ++i) {
        const CprSummaryRow &row = m_report.summary[size_t(i)];
        m_summary->setItem(i, 0, item(row.measure));
        m_summary->item(i, 0)->setToolTip(row.measure);
        m_summary->setItem(i, 1, item(row.value));
        m_summary->setItem(i, 2, item(row.target));
        QTableWidgetItem *result = item(row.result);
        if (row.status != CprTargetStatus::None) {
            const bool met = row.status == CprTargetStatus::Met;
            result->setText((met ? QStringLiteral("\u2714 ") : QStringLiteral("\u2718 ")) + row.result);
            result->setForeground(met ? QColor(20, 120, 40) : QColor(200, 30, 30));
            QFont bold = result->font();
            bold.setBold(true);
            result->setFont(bold);
        }
        m_summary->setItem(i, 3, result);
    }
}

void CCprQualityTab::fillPauses()
{
    m_pauses->clearContents();
    m_pauses->setHorizontalHeaderLabels({m_report.startHeader, m_report.lengthHeader, m_report.kindHeader});
    m_pauses->setRowCount(int(m_report.pauses.size()));
    for (int i = 0; i < int(m_report.pauses.size()); ++i) {
        const CprPauseRow &p = m_report.pauses[size_t(i)];
        m_pauses->setItem(i, 0, item(p.start));
        m_pauses->setItem(i, 1, item(p.length));
        m_pauses->setItem(i, 2, item(p.kind));
    }
}

void CCprQualityTab::pauseChosen(int row)
{
    if (row < 0 || row >= int(m_report.pauses.size()) || !onShowMoment)
        return;
    onShowMoment(m_report.pauses[size_t(row)].startMs);
}
