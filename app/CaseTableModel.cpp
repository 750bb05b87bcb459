#include "app/CaseTableModel.h"

#include "base/CTime.h"
#include "base/LanguagePack.h"
#include "cpr/CprSummary.h"
#include "library/LibraryText.h"

#include <QDir>

namespace {

struct ColumnInfo
{
    int text; // language-pack text of the heading; -1: "CCF"
    std::optional<LibraryFilter::Sort> sort;
};

const ColumnInfo &columnInfo(int column)
{
    using S = LibraryFilter::Sort;
    static const ColumnInfo columns[CaseTableModel::ColumnCount] = {
        {LibraryText::Start, S::StartTime},      {LibraryText::Model, S::Model},
        {LibraryText::Serial, S::Serial},        {LibraryText::Shocks, S::Shocks},
        {-1, S::Ccf},                            {LibraryText::MeanRate, S::MeanRate},
        {LibraryText::MeanDepth, S::MeanDepth},  {LibraryText::LongestPause, S::LongestPause},
        {LibraryText::Duration, S::Duration},    {LibraryText::PatientId, S::PatientId},
        {LibraryText::LastName, S::LastName},    {LibraryText::Status, S::ReviewStage},
        {LibraryText::Assignee, S::Assignee},   {LibraryText::Path, S::Path}};
    return columns[column];
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

} // namespace

CaseTableModel::CaseTableModel(LanguagePack &texts, QObject *parent) : QAbstractTableModel(parent), m_texts(texts) {}

void CaseTableModel::reset(PageSource source)
{
    beginResetModel();
    m_source = std::move(source);
    m_cases.clear();
    m_complete = false;
    std::vector<LibraryCase> page;
    if (m_source && m_source(0, PageSize, page)) {
        m_cases = std::move(page);
        m_complete = int(m_cases.size()) < PageSize;
    } else {
        m_complete = true;
    }
    endResetModel();
}

std::optional<LibraryFilter::Sort> CaseTableModel::sortOf(int column)
{
    if (column < 0 || column >= ColumnCount)
        return std::nullopt;
    return columnInfo(column).sort;
}

int CaseTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_cases.size());
}

int CaseTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

bool CaseTableModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_complete;
}

void CaseTableModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    std::vector<LibraryCase> page;
    if (!m_source(int(m_cases.size()), PageSize, page)) {
        m_complete = true;
        return;
    }
    m_complete = int(page.size()) < PageSize;
    if (page.empty())
        return;
    beginInsertRows(QModelIndex(), int(m_cases.size()), int(m_cases.size() + page.size()) - 1);
    m_cases.insert(m_cases.end(), std::make_move_iterator(page.begin()), std::make_move_iterator(page.end()));
    endInsertRows();
}

void CaseTableModel::setDepthUnit(CprDepthUnit unit)
{
    if (unit == m_depthUnit)
        return;
    m_depthUnit = unit;
    if (!m_cases.empty())
        emit dataChanged(index(0, MeanDepth), index(int(m_cases.size()) - 1, MeanDepth), {Qt::DisplayRole});
}

QString CaseTableModel::depthText(std::optional<double> inches, CprDepthUnit unit, const LanguagePack &texts)
{
    if (!inches)
        return QString();
    QString text = CprSummary::depth(inches, unit);
    if (texts.isItalian())
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QString CaseTableModel::cellText(const LibraryCase &c, int column) const
{
    switch (column) {
    case Start:
        return c.startTimeValid ? libraryClockTime(c.startTime, m_zoneOffsetMinutes).Format("%Y-%m-%d %H:%M:%S")
                                : m_texts.GetText(LibraryText::Unknown);
    case Model: return c.model;
    case Serial: return c.serialNumber;
    case Shocks: return QString::number(c.shockCount);
    case Ccf: return percent(c.ccf);
    case MeanRate:
        return c.meanRatePerMin ? QString::number(*c.meanRatePerMin, 'f', 0) + QStringLiteral(" /min") : QString();
    case MeanDepth: return depthText(c.meanDepthIn, m_depthUnit, m_texts);
    case LongestPause: return seconds(c.longestPauseMs);
    case Duration: return duration(c.durationMs);
    case PatientId: return c.patientId;
    case LastName: return c.lastName + (c.firstName.isEmpty() ? QString() : QStringLiteral(", ") + c.firstName);
    case Status: return m_texts.GetText(LibraryText::stageText(c.review.stage));
    case Assignee: return c.review.assignee;
    case Path: return QDir::toNativeSeparators(c.path);
    default: return QString();
    }
}

QVariant CaseTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_cases.size()) || index.column() >= ColumnCount)
        return QVariant();
    const LibraryCase &c = m_cases[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return m_texts.localNumbers(cellText(c, index.column()));
    case Qt::ToolTipRole:
        // The follow-up's note where the stage is shown.
        return index.column() == Status && !c.review.note.isEmpty() ? QVariant(c.review.note) : QVariant();
    case Qt::TextAlignmentRole: {
        const bool number = index.column() >= Shocks && index.column() <= Duration;
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::UserRole:
        return c.path;
    default:
        return QVariant();
    }
}

QVariant CaseTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    const int text = columnInfo(section).text;
    return text < 0 ? QStringLiteral("CCF") : m_texts.GetText(text);
}
