#include "app/CCprQualityTab.h"

#include "app/CprChartsWidget.h"
#include "app/HandsOffBarWidget.h"
#include "base/ContextMenuBuilder.h"
#include "base/CommandIds.h"
#include "cpr/PauseCauseMenu.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

enum PauseColumn { StartColumn, LengthColumn, KindColumn, PartsColumn, PauseColumnCount };

const QColor MetColour(20, 120, 40);
const QColor NotMetColour(200, 30, 30);

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
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setWordWrap(false);
    return t;
}

// The table as tall as its header and rows, and (widthToo) at least as wide as its texts: the
// tab scrolls as a whole and cuts no text.
void fitContents(QTableWidget *t, bool widthToo = true)
{
    const int rows = t->rowCount() * t->verticalHeader()->defaultSectionSize();
    t->setFixedHeight(t->horizontalHeader()->sizeHint().height() + rows + 2 * t->frameWidth());
    if (!widthToo)
        return;
    const QAbstractItemView *view = t;
    int width = 2 * t->frameWidth();
    for (int c = 0; c < t->columnCount(); ++c)
        width += std::max(view->sizeHintForColumn(c), t->horizontalHeader()->sectionSizeHint(c));
    t->setMinimumWidth(width);
}

QTableWidgetItem *item(const QString &text)
{
    return new QTableWidgetItem(text);
}

// A value judged against its target: a mark, and green or bold red.
QTableWidgetItem *judgedItem(const QString &text, CprTargetStatus status)
{
    QTableWidgetItem *i = item(text);
    if (status == CprTargetStatus::None)
        return i;
    const bool met = status == CprTargetStatus::Met;
    i->setText((met ? QStringLiteral("\u2714 ") : QStringLiteral("\u2718 ")) + text);
    i->setForeground(met ? MetColour : NotMetColour);
    QFont bold = i->font();
    bold.setBold(!met);
    i->setFont(bold);
    return i;
}

QLabel *title(QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setTextFormat(Qt::RichText);
    return l;
}

QString bold(const QString &text)
{
    return QStringLiteral("<b>%1</b>").arg(text.toHtmlEscaped());
}

} // namespace

CCprQualityTab::CCprQualityTab(const LanguagePack &texts, QWidget *parent)
    : QWidget(parent),
      m_texts(texts),
      m_noFeedback(new QLabel(this)),
      m_settings(new QLabel),
      m_handsOffTitle(title(this)),
      m_beforeCpr(title(this)),
      m_shocksTitle(title(this)),
      m_pausesTitle(title(this)),
      m_summary(table(4, 0, this)),
      m_shocks(table(7, 6, this)),
      m_pauses(table(PauseColumnCount, PartsColumn, this)),
      m_charts(new CprChartsWidget),
      m_bar(new HandsOffBarWidget(this)),
      m_scroll(new QScrollArea(this))
{
    menuExec = [](QMenu &menu, const QPoint &globalPos) { return ContextMenuBuilder::exec(menu, globalPos); };
    setAutoFillBackground(true);
    m_noFeedback->setWordWrap(true);
    m_noFeedback->setAlignment(Qt::AlignCenter);
    m_beforeCpr->setWordWrap(true);
    // Beside a summary that shows its texts whole, at the window's default size.
    m_charts->setMinimumWidth(180);

    auto *content = new QWidget;
    auto *summary = new QVBoxLayout;
    summary->addWidget(m_settings);
    summary->addWidget(m_summary);
    summary->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addLayout(summary, 2);
    top->addWidget(m_charts, 1);

    auto *layout = new QVBoxLayout(content);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addWidget(m_handsOffTitle);
    layout->addWidget(m_bar);
    layout->addWidget(m_beforeCpr);
    layout->addSpacing(6);
    layout->addWidget(m_shocksTitle);
    layout->addWidget(m_shocks);
    layout->addSpacing(6);
    layout->addWidget(m_pausesTitle);
    layout->addWidget(m_pauses);
    layout->addStretch(1);

    m_scroll->setWidget(content);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    auto *outer = new QVBoxLayout(this);
    outer->addWidget(m_noFeedback);
    outer->addWidget(m_scroll);

    // A click, or Enter on a selected line, shows the pause in the enlarged ECG.
    connect(m_pauses, &QTableWidget::cellClicked, this, [this](int row, int) { pauseChosen(row); });
    connect(m_pauses, &QTableWidget::cellActivated, this, [this](int row, int) { pauseChosen(row); });
    m_pauses->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_pauses, &QWidget::customContextMenuRequested, this, &CCprQualityTab::pauseMenuRequested);
    m_scroll->hide();
}

void CCprQualityTab::showReport(CprQualityReport report, bool readOnly)
{
    m_report = std::move(report);
    m_readOnly = readOnly;
    m_noFeedback->setText(m_report.noFeedback);
    m_noFeedback->setVisible(!m_report.hasFeedback);
    m_scroll->setVisible(m_report.hasFeedback);
    m_settings->setText(m_report.settingsLine);
    m_pausesTitle->setText(bold(m_report.pausesTitle));
    fillSummary();
    fillHandsOff();
    fillShocks();
    fillPauses();
    m_charts->setCharts(cprQualityCharts(m_report));
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
            result->setForeground(met ? MetColour : NotMetColour);
            QFont boldFont = result->font();
            boldFont.setBold(true);
            result->setFont(boldFont);
        }
        m_summary->setItem(i, 3, result);
    }
    fitContents(m_summary);
}

void CCprQualityTab::fillHandsOff()
{
    m_handsOffTitle->setText(bold(m_report.handsOffTitle) + QStringLiteral("&nbsp;&nbsp;&nbsp;")
                             + m_report.handsOffTotal.toHtmlEscaped());
    m_bar->setCauses(m_report.byCause);
    QStringList times;
    for (const HandsOffTimeRow &t : m_report.beforeCpr)
        times << (t.label + QLatin1Char(' ') + t.time).toHtmlEscaped();
    m_beforeCpr->setText(bold(m_report.beforeCprTitle) + QStringLiteral(":&nbsp;&nbsp;")
                         + times.join(QStringLiteral(" &nbsp;\u00b7&nbsp; ")));
}

void CCprQualityTab::fillShocks()
{
    const bool none = m_report.shocks.empty();
    m_shocksTitle->setText(bold(m_report.shocksTitle)
                           + (none ? QStringLiteral("&nbsp;&nbsp;&nbsp;") + m_report.noShocks.toHtmlEscaped()
                                   : QString()));
    m_shocks->setVisible(!none);
    m_shocks->clearContents();
    m_shocks->setHorizontalHeaderLabels(m_report.shockHeaders);
    m_shocks->setRowCount(int(m_report.shocks.size()) + 1);
    const auto fillRow = [this](int row, const HandsOffShockRow &s, bool target) {
        const QStringList cells = s.cells();
        for (int c = 0; c < int(cells.size()); ++c) {
            QTableWidgetItem *i = target ? item(cells[c])
                : c == 4                 ? judgedItem(cells[c], s.preShock)
                : c == 5                 ? judgedItem(cells[c], s.postShock)
                : c == 6                 ? judgedItem(cells[c], s.periShock)
                                         : item(cells[c]);
            if (target) {
                QFont italic = i->font();
                italic.setItalic(true);
                i->setFont(italic);
                i->setForeground(QColor(90, 90, 90));
            }
            m_shocks->setItem(row, c, i);
        }
    };
    fillRow(0, m_report.shockTargets, true);
    for (int i = 0; i < int(m_report.shocks.size()); ++i)
        fillRow(i + 1, m_report.shocks[size_t(i)], false);
    fitContents(m_shocks);
}

void CCprQualityTab::fillPauses()
{
    m_pauses->clearContents();
    m_pauses->setHorizontalHeaderLabels(
        {m_report.startHeader, m_report.lengthHeader, m_report.kindHeader, m_report.partsHeader});
    m_pauses->setRowCount(int(m_report.pauses.size()));
    for (int i = 0; i < int(m_report.pauses.size()); ++i) {
        const CprPauseRow &p = m_report.pauses[size_t(i)];
        m_pauses->setItem(i, StartColumn, item(p.start));
        m_pauses->setItem(i, LengthColumn, item(p.length));
        m_pauses->setItem(i, KindColumn, item(p.kind));
        QTableWidgetItem *parts = item(p.parts);
        parts->setToolTip(p.parts);
        if (p.setByReviewer) {
            QFont italic = parts->font();
            italic.setItalic(true);
            parts->setFont(italic);
        }
        m_pauses->setItem(i, PartsColumn, parts);
    }
    // The longest parts (a shock's five steps) may be wider than the tab; they keep a tooltip.
    fitContents(m_pauses, false);
}

void CCprQualityTab::pauseChosen(int row)
{
    if (row < 0 || row >= int(m_report.pauses.size()) || !onShowMoment)
        return;
    onShowMoment(m_report.pauses[size_t(row)].startMs);
}

std::unique_ptr<QMenu> CCprQualityTab::pauseMenu(int row)
{
    if (row < 0 || row >= int(m_report.pauses.size()))
        return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    ContextMenuBuilder::addEntries(menu.get(), PauseCauseMenu::entries(m_texts));
    for (QAction *a : menu->actions())
        if (a->menu())
            a->setEnabled(!m_readOnly);
    ContextMenuBuilder::setEnabled(menu.get(), CommandId::PauseCauseDevice,
                                   !m_readOnly && m_report.pauses[size_t(row)].setByReviewer);
    return menu;
}

void CCprQualityTab::pauseCommand(int row, int commandId)
{
    const std::optional<QString> cause = PauseCauseMenu::causeOf(commandId);
    if (m_readOnly || !cause || row < 0 || row >= int(m_report.pauses.size()) || !onSetPauseCause)
        return;
    onSetPauseCause(m_report.pauses[size_t(row)].startMs, *cause);
}

void CCprQualityTab::pauseMenuRequested(const QPoint &pos)
{
    const int row = m_pauses->rowAt(pos.y());
    std::unique_ptr<QMenu> menu = pauseMenu(row);
    if (!menu || !menuExec)
        return;
    const int command = menuExec(*menu, m_pauses->viewport()->mapToGlobal(pos));
    menu.reset();
    pauseCommand(row, command);
}
