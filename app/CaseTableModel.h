#pragma once

#include "cpr/CprReviewSettings.h"
#include "library/LibraryCase.h"
#include "library/LibraryFilter.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <vector>

class LanguagePack;

// The cases of the library window's table, read a page at a time as the view scrolls to
// them, so that a library of many thousand cases shows its first rows at once and never
// holds more than the reviewer has scrolled through.
class CaseTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // Reads limit cases from offset on in the table's order; false when the library refused
    // (it has said why then).
    using PageSource = std::function<bool(int offset, int limit, std::vector<LibraryCase> &cases)>;

    static constexpr int PageSize = 200;
    // The columns past the measures: the review of the case's recording, then its archive.
    enum Column { Start, Model, Serial, Shocks, Ccf, MeanRate, MeanDepth, LongestPause, Duration, PatientId,
                  LastName, Status, Assignee, Path, ColumnCount };

    explicit CaseTableModel(LanguagePack &texts, QObject *parent = nullptr);

    // Forgets the rows and reads the first page from source (kept for the later pages).
    void reset(PageSource source);
    // The order a header click asks for; none for a column the library does not sort by.
    static std::optional<LibraryFilter::Sort> sortOf(int column);

    const LibraryCase &caseAt(int row) const { return m_cases[std::size_t(row)]; }
    // The zone the start column shows, minutes east of UTC (the device's clock at first).
    void setZoneOffsetMinutes(int32_t minutes) { m_zoneOffsetMinutes = minutes; }

    // The unit of the mean depth column (the CPR review settings'); the column follows at once.
    void setDepthUnit(CprDepthUnit unit);
    CprDepthUnit depthUnit() const { return m_depthUnit; }
    // A depth as the library window shows it: "2.13 in", "5,41 cm" in Italian; "" for none.
    static QString depthText(std::optional<double> inches, CprDepthUnit unit, const LanguagePack &texts);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    QString cellText(const LibraryCase &c, int column) const;

    LanguagePack &m_texts;
    PageSource m_source;
    std::vector<LibraryCase> m_cases;
    bool m_complete = true; // the last page read was short: nothing more to fetch
    int32_t m_zoneOffsetMinutes = DeviceClockOffsetMinutes;
    CprDepthUnit m_depthUnit = CprDepthUnit::Inches;
};
