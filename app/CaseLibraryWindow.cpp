#include "app/CaseLibraryWindow.h"

#include "app/LibraryChart.h"
#include "base/CTime.h"
#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "library/CaseLibrary.h"
#include "library/LibraryService.h"
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
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The columns of the case table: heading text and the order it sorts by.
struct CaseColumn
{
    int text;
    LibraryFilter::Sort sort;
};

const std::vector<CaseColumn> &caseColumns()
{
    using S = LibraryFilter::Sort;
    static const std::vector<CaseColumn> columns = {
        {LibraryText::Start, S::StartTime},       {LibraryText::Model, S::Model},
        {LibraryText::Serial, S::Serial},         {LibraryText::Shocks, S::Shocks},
        {-1, S::Ccf},                             {LibraryText::MeanRate, S::MeanRate},
        {LibraryText::MeanDepth, S::MeanDepth},   {LibraryText::LongestPause, S::LongestPause},
        {LibraryText::Duration, S::Duration},     {LibraryText::PatientId, S::PatientId},
        {LibraryText::LastName, S::LastName},     {LibraryText::Path, S::Path}};
    return columns;
}

QString percent(std::optional<double> share)
{
    return share ? QString::number(*share * 100.0, 'f', 1) + QStringLiteral(" %") : QString();
}

QString seconds(std::optional<int64_t> ms)
{
    return ms ? QString::number(double(*ms) / 1000.0, 'f', 1) + QStringLiteral(" s") : QString();
}

QString duration(int64_t ms)
{
    const int64_t s = ms / 1000;
    return QString::asprintf("%02lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                             static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
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
    auto *apply = new QPushButton(text(LibraryText::Apply));
    connect(apply, &QPushButton::clicked, this, &CaseLibraryWindow::applySettings);
    auto *settings = new QHBoxLayout;
    settings->addWidget(new QLabel(text(LibraryText::Location)));
    settings->addWidget(m_location, 1);
    settings->addWidget(apply);

    m_tabs = new QTabWidget;
    m_tabs->addTab(makeCasesPage(), text(LibraryText::Cases));
    m_tabs->addTab(makeSummaryPage(), text(LibraryText::Summary));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addWidget(m_autoIndex);
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
    m_minShocks = new QSpinBox;
    m_minShocks->setRange(0, 999);
    m_ccfBelow = new QLineEdit;
    m_ccfBelow->setPlaceholderText(QStringLiteral("80 %"));
    m_search = new QLineEdit;
    auto *refresh = new QPushButton(text(LibraryText::Refresh));
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
    for (QLineEdit *field : {m_from, m_to, m_serial, m_ccfBelow, m_search}) {
        connect(field, &QLineEdit::returnPressed, this, &CaseLibraryWindow::refresh);
        connect(field, &QLineEdit::textChanged, this, later);
    }
    connect(m_model, &QComboBox::currentIndexChanged, this, later);
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
    filters->addStretch(1);
    filters->addWidget(add);
    labelled(measures, text(LibraryText::MinShocks), m_minShocks);
    labelled(measures, text(LibraryText::CcfBelow), m_ccfBelow);
    labelled(measures, text(LibraryText::Search), m_search, 1);
    measures->addWidget(refresh);

    QStringList headings;
    for (const CaseColumn &c : caseColumns())
        headings << (c.text < 0 ? QStringLiteral("CCF") : text(c.text));
    m_cases = makeTable(headings);
    m_cases->horizontalHeader()->setSortIndicatorShown(true);
    m_cases->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    m_cases->horizontalHeader()->setSectionsClickable(true);
    connect(m_cases->horizontalHeader(), &QHeaderView::sectionClicked, this, &CaseLibraryWindow::sortByColumn);
    connect(m_cases, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openRow(row); });

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(filters);
    layout->addLayout(measures);
    layout->addWidget(m_cases, 1);
    return page;
}

QWidget *CaseLibraryWindow::makeSummaryPage()
{
    auto *page = new QWidget;
    m_grouping = new QComboBox;
    m_grouping->addItems({text(LibraryText::ByMonth), text(LibraryText::ByDevice)});
    connect(m_grouping, &QComboBox::currentIndexChanged, this, &CaseLibraryWindow::refresh);
    m_summary = makeTable({text(LibraryText::Month), text(LibraryText::Cases), text(LibraryText::Shocks),
                           text(LibraryText::MedianCcf), text(LibraryText::CcfAtLeast80),
                           text(LibraryText::PreShockAtMost10s)});
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
    f.sort = m_sort;
    f.descending = m_descending;
    return f;
}

void CaseLibraryWindow::refresh()
{
    m_filterDelay->stop();
    CaseLibrary *library = m_service.library();
    std::vector<LibraryCase> cases;
    std::vector<LibraryStatsRow> rows;
    const LibraryGrouping grouping = m_grouping->currentIndex() == 1 ? LibraryGrouping::Device : LibraryGrouping::Month;
    if (library && (!library->list(filter(), cases) || !library->stats(grouping, filter(), rows)))
        m_platform.messageBox(library->errorText(), text(LibraryText::Caption), Platform::Icon::Warning,
                              Platform::Buttons::Ok);
    fillCases(cases);
    fillSummary(rows, grouping);
}

void CaseLibraryWindow::fillCases(const std::vector<LibraryCase> &cases)
{
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    m_cases->setRowCount(0);
    m_cases->setRowCount(int(cases.size()));
    for (int row = 0; row < int(cases.size()); ++row) {
        const LibraryCase &c = cases[std::size_t(row)];
        const QStringList values = {
            c.startTimeValid ? CTime(c.startTime).Format("%Y-%m-%d %H:%M:%S") : text(LibraryText::Unknown),
            c.model,
            c.serialNumber,
            QString::number(c.shockCount),
            percent(c.ccf),
            c.meanRatePerMin ? QString::number(*c.meanRatePerMin, 'f', 0) + QStringLiteral(" /min") : QString(),
            c.meanDepthIn ? QString::number(*c.meanDepthIn, 'f', 2) + QStringLiteral(" in") : QString(),
            seconds(c.longestPauseMs),
            duration(c.durationMs),
            c.patientId,
            c.lastName + (c.firstName.isEmpty() ? QString() : QStringLiteral(", ") + c.firstName),
            QDir::toNativeSeparators(c.path)};
        for (int column = 0; column < int(values.size()); ++column) {
            const bool number = column >= 3 && column <= 8;
            QTableWidgetItem *item = cell(values[column], number ? right : Qt::AlignLeft | Qt::AlignVCenter);
            item->setData(Qt::UserRole, c.path);
            m_cases->setItem(row, column, item);
        }
    }
    m_cases->resizeColumnsToContents();
}

void CaseLibraryWindow::fillSummary(const std::vector<LibraryStatsRow> &rows, LibraryGrouping grouping)
{
    m_summary->horizontalHeaderItem(0)->setText(text(grouping == LibraryGrouping::Month ? LibraryText::Month
                                                                                        : LibraryText::Device));
    m_summary->setRowCount(int(rows.size()));
    LibraryBars bars;
    bars.sets = {{text(LibraryText::MedianCcf), {}},
                 {text(LibraryText::CcfAtLeast80), {}},
                 {text(LibraryText::PreShockAtMost10s), {}}};
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    for (int row = 0; row < int(rows.size()); ++row) {
        const LibraryStatsRow &r = rows[std::size_t(row)];
        const QString group = r.group.isEmpty() ? text(LibraryText::Unknown) : r.group;
        m_summary->setItem(row, 0, cell(group));
        m_summary->setItem(row, 1, cell(QString::number(r.cases), right));
        m_summary->setItem(row, 2, cell(QString::number(r.shocks), right));
        m_summary->setItem(row, 3, cell(percent(r.medianCcf), right));
        m_summary->setItem(row, 4, cell(percent(r.shareCcfAtLeast80), right));
        m_summary->setItem(row, 5, cell(percent(r.shareShocksPreShockPauseAtMost10s), right));
        bars.categories << group;
        bars.sets[0].second << r.medianCcf.value_or(0) * 100.0;
        bars.sets[1].second << r.shareCcfAtLeast80.value_or(0) * 100.0;
        bars.sets[2].second << r.shareShocksPreShockPauseAtMost10s.value_or(0) * 100.0;
    }
    m_summary->resizeColumnsToContents();
    if (m_chartPlugin)
        m_chartPlugin->showBars(m_chart, bars);
}

void CaseLibraryWindow::sortByColumn(int column)
{
    if (column < 0 || column >= int(caseColumns().size()))
        return;
    const LibraryFilter::Sort sort = caseColumns()[std::size_t(column)].sort;
    m_descending = sort == m_sort ? !m_descending : false;
    m_sort = sort;
    m_cases->horizontalHeader()->setSortIndicator(column, m_descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    refresh();
}

void CaseLibraryWindow::openRow(int row)
{
    const QTableWidgetItem *item = m_cases->item(row, 0);
    if (!item)
        return;
    const QString path = item->data(Qt::UserRole).toString();
    if (!QFileInfo::exists(path)) {
        m_platform.messageBox(text(LibraryText::ArchiveGone).arg(QDir::toNativeSeparators(path)),
                              text(LibraryText::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
        return;
    }
    if (openArchive)
        openArchive(path);
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
    if (settingsChanged)
        settingsChanged();
    refresh();
}
