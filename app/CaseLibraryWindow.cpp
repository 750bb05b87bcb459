#include "app/CaseLibraryWindow.h"

#include "base/ReviewerIdentity.h"

#include "app/CaseHistoryDialog.h"
#include "app/CaseTableModel.h"
#include "app/LibraryChart.h"
#include "base/AtomicFileWriter.h"
#include "base/CTime.h"
#include "base/FileError.h"
#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "base/ReviewerIdentity.h"
#include "cpr/CprQuality.h"
#include "cpr/CprTexts.h"
#include "cpr/HandsOffTexts.h"
#include "device/TimeZoneTable.h"
#include "library/CaseLibrary.h"
#include "library/LibraryService.h"
#include "library/LibraryQaReport.h"
#include "library/LibraryQaReportPainter.h"
#include "library/LibraryQaTexts.h"
#include "library/LibraryText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString percent(std::optional<double> share)
{
    return share ? QString::number(*share * 100.0, 'f', 1) + QStringLiteral(" %") : QString();
}

QString seconds(std::optional<double> ms)
{
    return ms ? QString::number(*ms / 1000.0, 'f', 1) : QString();
}

// A cell that sorts nothing by itself (the library sorts) and cannot be edited.
QTableWidgetItem *cell(const QString &value, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *item = new QTableWidgetItem(value);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setTextAlignment(alignment);
    return item;
}

QTableWidget *makeTable(const QStringList &headings)
{
    auto *table = new QTableWidget(0, int(headings.size()));
    table->setHorizontalHeaderLabels(headings);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setWordWrap(false);
    return table;
}

// The stages in the order the status filter and "Set status" offer them.
constexpr ReviewStatus::Stage Stages[] = {ReviewStatus::Stage::New, ReviewStatus::Stage::InReview,
                                          ReviewStatus::Stage::Reviewed, ReviewStatus::Stage::FollowUp};
constexpr int StageTexts[] = {LibraryText::StageNew, LibraryText::StageInReview, LibraryText::StageReviewed,
                              LibraryText::StageFollowUp};

bool isServerLocation(const QString &text)
{
    LibraryLocation location;
    QString why;
    return parseLibraryLocation(text, location, why) && location.engine == LibraryLocation::Engine::Postgres;
}

} // namespace

CaseLibraryWindow::CaseLibraryWindow(LanguagePack &texts, Platform &platform, LibraryService &service, QWidget *parent)
    : QDialog(parent), m_texts(texts), m_platform(platform), m_service(service)
{
    setWindowTitle(text(LibraryText::Caption));
    setModal(false);
    resize(1100, 640);

    m_location = new QLineEdit(service.locationText());
    m_location->setPlaceholderText(QDir::toNativeSeparators(defaultLibraryFile()));
    m_autoIndex = new QCheckBox(text(LibraryText::AutoIndex));
    m_autoIndex->setChecked(service.autoIndex);
    connect(m_autoIndex, &QCheckBox::toggled, this, [this](bool on) {
        m_service.autoIndex = on;
        if (settingsChanged)
            settingsChanged();
    });
    // A server's password, remembered in the keyring; the box belongs to the applied location.
    m_rememberPassword = new QCheckBox(text(LibraryText::RememberPassword));
    m_rememberPassword->setChecked(service.rememberPassword);
    updateRememberBox();
    connect(m_rememberPassword, &QCheckBox::toggled, this, &CaseLibraryWindow::rememberPasswordToggled);
    auto *apply = new QPushButton(text(LibraryText::Apply));
    connect(apply, &QPushButton::clicked, this, &CaseLibraryWindow::applySettings);
    auto *settings = new QHBoxLayout;
    settings->addWidget(new QLabel(text(LibraryText::Location)));
    settings->addWidget(m_location, 1);
    settings->addWidget(m_rememberPassword);
    settings->addWidget(apply);

    // Who is reviewing: the name that goes with every status change, lock and audit entry
    // (empty: the computer account's name, shown as the field's hint).
    m_reviewer = new QLineEdit(ReviewerIdentity::settingsName());
    m_reviewer->setPlaceholderText(ReviewerIdentity::accountName());
    connect(m_reviewer, &QLineEdit::editingFinished, this,
            [this] { ReviewerIdentity::setSettingsName(m_reviewer->text()); });
    auto *options = new QHBoxLayout;
    options->addWidget(m_autoIndex, 1);
    options->addWidget(new QLabel(m_texts.isItalian() ? QStringLiteral("Revisore") : QStringLiteral("Reviewer")));
    options->addWidget(m_reviewer);

    m_tabs = new QTabWidget;
    m_tabs->addTab(makeCasesPage(), text(LibraryText::Cases));
    m_tabs->addTab(makeSummaryPage(), text(LibraryText::Summary));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addLayout(options);
    layout->addWidget(m_tabs, 1);
}

QString CaseLibraryWindow::text(int number) const
{
    return m_texts.GetText(number);
}

QWidget *CaseLibraryWindow::makeCasesPage()
{
    auto *page = new QWidget;
    m_from = new QLineEdit;
    m_from->setPlaceholderText(QStringLiteral("YYYY-MM-DD"));
    m_to = new QLineEdit;
    m_to->setPlaceholderText(QStringLiteral("YYYY-MM-DD"));
    m_serial = new QLineEdit;
    m_model = new QComboBox;
    m_model->addItems({text(LibraryText::Any), QStringLiteral("Q21"), QStringLiteral("Q25"), QStringLiteral("Q26")});
    // Days and times are those of the library's zone, the computer's unless one was chosen.
    m_zone = new QComboBox;
    m_zone->setObjectName(QStringLiteral("libraryZone"));
    m_zone->addItems(TimeZoneTable::timeZoneNames());
    m_zone->setMaxVisibleItems(20);
    m_zone->setCurrentIndex(m_service.zoneRow >= 0 ? m_service.zoneRow
                                                   : TimeZoneTable::preselectedRow(TimeZoneTable::localZoneOffset()));
    m_minShocks = new QSpinBox;
    m_minShocks->setRange(0, 999);
    m_ccfBelow = new QLineEdit;
    m_ccfBelow->setPlaceholderText(QStringLiteral("80 %"));
    m_search = new QLineEdit;
    m_stage = new QComboBox;
    m_stage->addItem(text(LibraryText::All));
    for (int stageText : StageTexts)
        m_stage->addItem(text(stageText));
    m_assignee = new QLineEdit;
    auto *refresh = new QPushButton(text(LibraryText::Refresh));
    auto *qaReport = new QPushButton(text(LibraryQaText::MenuItem));
    connect(qaReport, &QPushButton::clicked, this, &CaseLibraryWindow::writeQaReport);
    auto *add = new QPushButton(text(LibraryText::AddFolder));
    connect(refresh, &QPushButton::clicked, this, &CaseLibraryWindow::refresh);
    connect(add, &QPushButton::clicked, this, [this] {
        const QString folder = m_platform.browseFolder(text(LibraryText::AddFolder));
        if (!folder.isEmpty())
            addFolder(folder);
    });
    // The table follows the filters as they are typed, once the typing pauses; Enter and
    // Refresh do not wait.
    m_filterDelay = new QTimer(this);
    m_filterDelay->setSingleShot(true);
    m_filterDelay->setInterval(FilterDelayMs);
    connect(m_filterDelay, &QTimer::timeout, this, &CaseLibraryWindow::refresh);
    const auto later = [this] { m_filterDelay->start(); };
    for (QLineEdit *field : {m_from, m_to, m_serial, m_ccfBelow, m_search, m_assignee}) {
        connect(field, &QLineEdit::returnPressed, this, &CaseLibraryWindow::refresh);
        connect(field, &QLineEdit::textChanged, this, later);
    }
    connect(m_model, &QComboBox::currentIndexChanged, this, later);
    connect(m_stage, &QComboBox::currentIndexChanged, this, later);
    connect(m_zone, &QComboBox::activated, this, [this](int row) {
        m_service.zoneRow = row;
        if (settingsChanged)
            settingsChanged();
        this->refresh();
    });
    connect(m_minShocks, &QSpinBox::valueChanged, this, later);

    // Two rows: the filters on the device and the date, then the measures and the search.
    auto *filters = new QHBoxLayout;
    auto *measures = new QHBoxLayout;
    const auto labelled = [](QHBoxLayout *row, const QString &label, QWidget *field, int stretch = 0) {
        row->addWidget(new QLabel(label));
        row->addWidget(field, stretch);
    };
    labelled(filters, text(LibraryText::From), m_from);
    labelled(filters, text(LibraryText::To), m_to);
    labelled(filters, text(LibraryText::Serial), m_serial);
    labelled(filters, text(LibraryText::Model), m_model);
    labelled(filters, text(LibraryText::Zone), m_zone, 1);
    filters->addStretch(1);
    filters->addWidget(add);
    labelled(measures, text(LibraryText::MinShocks), m_minShocks);
    labelled(measures, text(LibraryText::CcfBelow), m_ccfBelow);
    labelled(measures, text(LibraryText::Search), m_search, 1);
    labelled(measures, text(LibraryText::Status), m_stage);
    labelled(measures, text(LibraryText::Assignee), m_assignee);
    measures->addWidget(refresh);
    measures->addWidget(qaReport);

    // The rows come from the library a page at a time as the view scrolls to them.
    m_rows = new CaseTableModel(m_texts, this);
    m_cases = new QTableView;
    m_cases->setModel(m_rows);
    m_cases->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_cases->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_cases->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_cases->verticalHeader()->hide();
    m_cases->horizontalHeader()->setStretchLastSection(true);
    m_cases->setWordWrap(false);
    m_cases->horizontalHeader()->setSortIndicatorShown(true);
    m_cases->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    m_cases->horizontalHeader()->setSectionsClickable(true);
    connect(m_cases->horizontalHeader(), &QHeaderView::sectionClicked, this, &CaseLibraryWindow::sortByColumn);
    connect(m_cases, &QTableView::doubleClicked, this, [this](const QModelIndex &index) { openRow(index.row()); });

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(filters);
    layout->addLayout(measures);
    layout->addWidget(m_cases, 1);
    layout->addLayout(makeReviewButtons());
    return page;
}

QLayout *CaseLibraryWindow::makeReviewButtons()
{
    auto *assign = new QPushButton(text(LibraryText::AssignTo));
    connect(assign, &QPushButton::clicked, this, &CaseLibraryWindow::assignSelected);
    auto *status = new QPushButton(text(LibraryText::SetStatus));
    auto *stages = new QMenu(status);
    for (std::size_t i = 0; i < std::size(Stages); ++i)
        connect(stages->addAction(text(StageTexts[i])), &QAction::triggered, this,
                [this, stage = Stages[i]] { setStatusOfSelected(stage); });
    status->setMenu(stages);
    auto *history = new QPushButton(text(LibraryText::History));
    connect(history, &QPushButton::clicked, this, &CaseLibraryWindow::showHistory);
    auto *row = new QHBoxLayout;
    row->addWidget(assign);
    row->addWidget(status);
    row->addWidget(history);
    row->addStretch(1);
    return row;
}

QWidget *CaseLibraryWindow::makeSummaryPage()
{
    auto *page = new QWidget;
    m_grouping = new QComboBox;
    m_grouping->addItems({text(LibraryText::ByMonth), text(LibraryText::ByDevice)});
    connect(m_grouping, &QComboBox::currentIndexChanged, this, &CaseLibraryWindow::refresh);
    m_summary = makeTable({text(LibraryText::Month), text(LibraryText::Cases), text(LibraryText::Shocks),
                           text(LibraryText::MedianCcf), text(LibraryText::CcfAtLeast80),
                           text(LibraryText::PreShockAtMost10s), text(HandsOffText::MedianAnalysis),
                           text(HandsOffText::MedianToShock), text(HandsOffText::MedianPreShockPause),
                           text(HandsOffText::ShareHandsOffOther), text(LibraryText::MeanDepth)});
    // What the chart shows: the CPR quality shares, the median steps to a shock, the
    // hands-off time without a cause, or the mean depth.
    m_chartSeries = new QComboBox;
    m_chartSeries->addItems({text(CprText::Tab), text(HandsOffText::HandsOffTime),
                             text(HandsOffText::ShareHandsOffOther), text(LibraryText::MeanDepth)});
    connect(m_chartSeries, &QComboBox::currentIndexChanged, this, &CaseLibraryWindow::refresh);
    // The chart comes from its plugin; without it the window says why in its place.
    QString chartError;
    m_chartPlugin = LibraryChart::load(&chartError);
    if (m_chartPlugin) {
        m_chart = m_chartPlugin->newView();
    } else {
        auto *missing = new QLabel(text(LibraryText::ChartMissing).arg(chartError));
        missing->setWordWrap(true);
        missing->setAlignment(Qt::AlignCenter);
        m_chart = missing;
    }
    m_chart->setMinimumHeight(240);

    auto *top = new QHBoxLayout;
    top->addWidget(m_grouping);
    top->addWidget(m_chartSeries);
    top->addStretch(1);
    auto *split = new QSplitter(Qt::Vertical);
    split->addWidget(m_summary);
    split->addWidget(m_chart);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    return page;
}

LibraryFilter CaseLibraryWindow::filter() const
{
    LibraryFilter f;
    QString why;
    f.fromDay = checkedLibraryDay(m_from->text().trimmed(), why);
    f.toDay = checkedLibraryDay(m_to->text().trimmed(), why);
    f.serialNumber = m_serial->text().trimmed();
    if (m_model->currentIndex() > 0)
        f.model = m_model->currentText();
    if (m_minShocks->value() > 0)
        f.minShocks = m_minShocks->value();
    // "80", "80 %" and "0.8" all mean a CCF below 80 %.
    QString ccf = m_ccfBelow->text().trimmed();
    ccf.remove(QLatin1Char('%'));
    bool ok = false;
    const double value = ccf.trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (ok && value >= 0)
        f.ccfBelow = value > 1 ? value / 100.0 : value;
    f.search = m_search->text().trimmed();
    if (m_stage->currentIndex() > 0)
        f.stage = Stages[m_stage->currentIndex() - 1];
    f.assignee = m_assignee->text().trimmed();
    f.sort = m_sort;
    f.descending = m_descending;
    f.zoneOffsetMinutes = TimeZoneTable::offsetOfRow(m_zone->currentIndex());
    return f;
}

void CaseLibraryWindow::writeQaReport()
{
    CaseLibrary *library = m_service.library();
    if (!library)
        return;
    const QString path = m_platform.saveFileDialog(text(LibraryQaText::MenuItem).remove(QStringLiteral("...")),
                                                   QStringLiteral("qa-report.pdf"), text(LibraryQaText::PdfFilter),
                                                   QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    const auto failed = [&](const QString &why) {
        m_platform.messageBox(text(LibraryQaText::CannotWrite).arg(QDir::toNativeSeparators(path), why),
                              text(LibraryText::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
    };
    LibraryQaReport report;
    if (!readLibraryQaReport(*library, filter(), ccfTarget ? ccfTarget() : DefaultLibraryCcfTarget, report))
        return failed(library->errorText());
    const QByteArray pdf = LibraryQaReportPainter::pdf(report, m_texts, false);
    try {
        if (pdf.isEmpty())
            throw FileError(path, FileError::Kind::WriteFailed, QString());
        AtomicFileWriter::writePrivate(path, pdf);
    } catch (const FileError &e) {
        return failed(e.message());
    }
    m_platform.messageBox(text(LibraryQaText::Written).arg(QDir::toNativeSeparators(path)), text(LibraryText::Caption),
                          Platform::Icon::Information, Platform::Buttons::Ok);
}

void CaseLibraryWindow::refresh()
{
    m_filterDelay->stop();
    const LibraryFilter cases = filter();
    m_pageError.clear();
    m_rows->setZoneOffsetMinutes(cases.zoneOffsetMinutes);
    m_rows->reset([this, cases](int offset, int limit, std::vector<LibraryCase> &page) {
        CaseLibrary *library = m_service.library();
        if (!library)
            return false;
        if (library->listPage(cases, offset, limit, page))
            return true;
        // A page read while scrolling says why once the view is done with it.
        if (m_pageError.isEmpty())
            QTimer::singleShot(0, this, [this] {
                if (!m_pageError.isEmpty())
                    m_platform.messageBox(m_pageError, text(LibraryText::Caption), Platform::Icon::Warning,
                                          Platform::Buttons::Ok);
                m_pageError.clear();
            });
        m_pageError = library->errorText();
        return false;
    });
    m_cases->resizeColumnsToContents();
    std::vector<LibraryStatsRow> rows;
    const LibraryGrouping grouping = m_grouping->currentIndex() == 1 ? LibraryGrouping::Device : LibraryGrouping::Month;
    CaseLibrary *library = m_service.library();
    if (library && m_pageError.isEmpty() && !library->stats(grouping, cases, rows))
        m_pageError = library->errorText();
    if (!m_pageError.isEmpty()) {
        m_platform.messageBox(m_pageError, text(LibraryText::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
        m_pageError.clear();
    }
    fillSummary(rows, grouping);
}

void CaseLibraryWindow::fillSummary(const std::vector<LibraryStatsRow> &rows, LibraryGrouping grouping)
{
    m_summary->horizontalHeaderItem(0)->setText(text(grouping == LibraryGrouping::Month ? LibraryText::Month
                                                                                        : LibraryText::Device));
    m_summary->setRowCount(int(rows.size()));
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    for (int row = 0; row < int(rows.size()); ++row) {
        const LibraryStatsRow &r = rows[std::size_t(row)];
        const QString group = r.group.isEmpty() ? text(LibraryText::Unknown) : r.group;
        m_summary->setItem(row, 0, cell(group));
        m_summary->setItem(row, 1, cell(QString::number(r.cases), right));
        m_summary->setItem(row, 2, cell(QString::number(r.shocks), right));
        m_summary->setItem(row, 3, cell(m_texts.localNumbers(percent(r.medianCcf)), right));
        m_summary->setItem(row, 4, cell(m_texts.localNumbers(percent(r.shareCcfAtTarget)), right));
        m_summary->setItem(row, 5, cell(m_texts.localNumbers(percent(r.shareShocksPreShockPauseAtMost10s)), right));
        m_summary->setItem(row, 6, cell(m_texts.localNumbers(seconds(r.medianAnalysisMs)), right));
        m_summary->setItem(row, 7, cell(m_texts.localNumbers(seconds(r.medianToShockMs)), right));
        m_summary->setItem(row, 8, cell(m_texts.localNumbers(seconds(r.medianPreShockPauseMs)), right));
        m_summary->setItem(row, 9, cell(m_texts.localNumbers(percent(r.shareHandsOffOther)), right));
        m_summary->setItem(row, 10, cell(CaseTableModel::depthText(r.meanDepthIn, m_depthUnit, m_texts), right));
    }
    m_summary->resizeColumnsToContents();
    if (m_chartPlugin)
        m_chartPlugin->showBars(m_chart, summaryBars(rows, ChartSeries(m_chartSeries->currentIndex())));
}

LibraryBars CaseLibraryWindow::summaryBars(const std::vector<LibraryStatsRow> &rows, ChartSeries series) const
{
    using Value = std::optional<double> LibraryStatsRow::*;
    std::vector<std::pair<int, Value>> sets;
    LibraryBars bars;
    // Shares are shown as percentages, times in seconds, depths in the reviewer's unit.
    double scale = 100.0;
    switch (series) {
    case ChartSeries::Quality:
        sets = {{LibraryText::MedianCcf, &LibraryStatsRow::medianCcf},
                {LibraryText::CcfAtLeast80, &LibraryStatsRow::shareCcfAtTarget},
                {LibraryText::PreShockAtMost10s, &LibraryStatsRow::shareShocksPreShockPauseAtMost10s}};
        break;
    case ChartSeries::StepsToShock:
        sets = {{HandsOffText::MedianAnalysis, &LibraryStatsRow::medianAnalysisMs},
                {HandsOffText::MedianToShock, &LibraryStatsRow::medianToShockMs},
                {HandsOffText::MedianPreShockPause, &LibraryStatsRow::medianPreShockPauseMs}};
        scale = 0.001;
        break;
    case ChartSeries::HandsOffOther:
        sets = {{HandsOffText::ShareHandsOffOther, &LibraryStatsRow::shareHandsOffOther}};
        break;
    case ChartSeries::MeanDepth:
        sets = {{LibraryText::MeanDepth, &LibraryStatsRow::meanDepthIn}};
        scale = m_depthUnit == CprDepthUnit::Centimetres ? inchesToCm(1.0) : 1.0;
        break;
    }
    // A group without the figure has no bar.
    double largest = 0;
    for (const auto &[name, value] : sets) {
        QList<double> values;
        for (const LibraryStatsRow &r : rows) {
            values << (r.*value).value_or(0) * scale;
            largest = std::max(largest, values.back());
        }
        bars.sets.append({text(name), values});
    }
    switch (series) {
    case ChartSeries::Quality:
    case ChartSeries::HandsOffOther: bars.axis = LibraryAxes::percent(); break;
    case ChartSeries::StepsToShock: bars.axis = LibraryAxes::seconds(largest); break;
    case ChartSeries::MeanDepth: bars.axis = LibraryAxes::depth(largest, m_depthUnit); break;
    }
    for (const LibraryStatsRow &r : rows)
        bars.categories << (r.group.isEmpty() ? text(LibraryText::Unknown) : r.group);
    return bars;
}

void CaseLibraryWindow::setDepthUnit(CprDepthUnit unit)
{
    if (unit == m_depthUnit)
        return;
    m_depthUnit = unit;
    m_rows->setDepthUnit(unit);
    refresh();
}

void CaseLibraryWindow::sortByColumn(int column)
{
    const std::optional<LibraryFilter::Sort> sort = CaseTableModel::sortOf(column);
    if (sort) {
        m_descending = *sort == m_sort ? !m_descending : false;
        m_sort = *sort;
        m_sortColumn = column;
    }
    // A column the library does not sort by leaves the order (and its mark) as it was.
    m_cases->horizontalHeader()->setSortIndicator(m_sortColumn, m_descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    if (sort)
        refresh();
}

void CaseLibraryWindow::openRow(int row)
{
    if (row < 0 || row >= m_rows->rowCount())
        return;
    const QString path = m_rows->caseAt(row).path;
    if (!QFileInfo::exists(path)) {
        m_platform.messageBox(text(LibraryText::ArchiveGone).arg(QDir::toNativeSeparators(path)),
                              text(LibraryText::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
        return;
    }
    if (openArchive)
        openArchive(path);
}

QList<int> CaseLibraryWindow::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_cases->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CaseLibraryWindow::assignSelected()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) {
        m_platform.messageBox(text(LibraryText::SelectCases), text(LibraryText::Caption), Platform::Icon::Information,
                              Platform::Buttons::Ok);
        return;
    }
    QString name = m_rows->caseAt(rows.first()).review.assignee;
    if (!m_platform.askText(text(LibraryText::Caption), text(LibraryText::AssignQuestion), name))
        return;
    ReviewStatusChange change;
    change.assignee = name.trimmed();
    changeSelected(change);
}

void CaseLibraryWindow::setStatusOfSelected(ReviewStatus::Stage stage)
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) {
        m_platform.messageBox(text(LibraryText::SelectCases), text(LibraryText::Caption), Platform::Icon::Information,
                              Platform::Buttons::Ok);
        return;
    }
    ReviewStatusChange change;
    change.stage = stage;
    // The note belongs to the follow-up: asked for it, dropped by any other stage.
    QString note = m_rows->caseAt(rows.first()).review.note;
    if (stage == ReviewStatus::Stage::FollowUp
        && !m_platform.askText(text(LibraryText::Caption), text(LibraryText::FollowUpNote), note))
        return;
    change.note = stage == ReviewStatus::Stage::FollowUp ? note.trimmed() : QString();
    changeSelected(change);
}

void CaseLibraryWindow::changeSelected(const ReviewStatusChange &change)
{
    QList<std::pair<QString, QString>> recordings;
    QStringList selected, refused;
    for (int row : selectedRows()) {
        const LibraryCase &c = m_rows->caseAt(row);
        selected << c.path;
        if (c.recordingId.isEmpty())
            refused << QDir::toNativeSeparators(c.path);
        else if (std::none_of(recordings.begin(), recordings.end(), [&c](const auto &r) { return r.first == c.recordingId; }))
            recordings.append({c.recordingId, c.path}); // copies of one recording share its review
    }
    if (!refused.isEmpty())
        m_platform.messageBox(text(LibraryText::NoRecordingId).arg(refused.size()) + QLatin1Char('\n')
                                  + refused.mid(0, 10).join(QLatin1Char('\n')),
                              text(LibraryText::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
    if (recordings.isEmpty() || !m_service.changeReviewStatuses(recordings, change))
        return;
    refresh();
    selectPaths(selected);
}

void CaseLibraryWindow::selectPaths(const QStringList &paths)
{
    QItemSelection selection;
    for (int row = 0; row < m_rows->rowCount(); ++row)
        if (paths.contains(m_rows->caseAt(row).path))
            selection.select(m_rows->index(row, 0), m_rows->index(row, CaseTableModel::ColumnCount - 1));
    m_cases->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

CaseHistoryDialog *CaseLibraryWindow::showHistory()
{
    const QList<int> rows = selectedRows();
    const int row = rows.isEmpty() ? m_cases->currentIndex().row() : rows.first();
    if (row < 0 || row >= m_rows->rowCount()) {
        m_platform.messageBox(text(LibraryText::SelectCases), text(LibraryText::Caption), Platform::Icon::Information,
                              Platform::Buttons::Ok);
        return nullptr;
    }
    const LibraryCase &c = m_rows->caseAt(row);
    if (c.recordingId.isEmpty()) {
        m_platform.messageBox(text(LibraryText::NoRecordingId).arg(1) + QLatin1Char('\n') + QDir::toNativeSeparators(c.path),
                              text(LibraryText::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
        return nullptr;
    }
    const std::optional<std::vector<AuditEntry>> entries = m_service.auditOf(c.recordingId);
    if (!entries)
        return nullptr;
    auto *dialog = new CaseHistoryDialog(m_texts, c.path, *entries, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

void CaseLibraryWindow::addFolder(const QString &folder)
{
    m_service.addFolder(folder);
    refresh();
}

void CaseLibraryWindow::applySettings()
{
    // A password is neither kept in the settings nor shown again: it comes from libpq's own sources.
    const QString location = m_location->text().trimmed();
    if (locationCarriesPassword(location)) {
        m_location->setText(maskedLocationText(location));
        m_platform.messageBox(QStringLiteral("\"%1\": the library URL must not carry a password; put it in "
                                             "PGPASSWORD or ~/.pgpass. Nothing was changed.")
                                  .arg(maskedLocationText(location)),
                              text(LibraryText::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
        return;
    }
    m_service.setLocationText(location);
    m_service.autoIndex = m_autoIndex->isChecked();
    updateRememberBox();
    if (settingsChanged)
        settingsChanged();
    refresh();
}

void CaseLibraryWindow::updateRememberBox()
{
    m_rememberPassword->setEnabled(isServerLocation(m_service.locationText()));
}

void CaseLibraryWindow::rememberPasswordToggled(bool on)
{
    if (on) {
        m_service.rememberPassword = true;
        if (!m_service.askAndRememberPassword()) {
            m_service.rememberPassword = false;
            const QSignalBlocker quiet(m_rememberPassword);
            m_rememberPassword->setChecked(false);
            return;
        }
    } else {
        m_service.forgetPassword();
        m_service.rememberPassword = false;
    }
    if (settingsChanged)
        settingsChanged();
    refresh();
}
