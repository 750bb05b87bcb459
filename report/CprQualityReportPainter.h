#pragma once

#include "report/CprQualityReport.h"

#include <QByteArray>
#include <QRectF>
#include <functional>

class QPageLayout;
class QPagedPaintDevice;
class QPainter;

// Where things go on a page of the CPR quality report, in tenths of a millimetre from the
// top-left corner of a 190 x 277 mm frame (A4 less 10 mm on every side).
namespace CprReportLayout {

constexpr double Width = 1900;
constexpr double Margin = 100;
constexpr double Height = 2770;
constexpr double RowHeight = 40;          // a summary line
constexpr double PauseRowHeight = 36;     // a pause line
constexpr double SummaryTop = 150;
constexpr double ChartsTop = 860;
constexpr double ChartHeight = 430;
constexpr double PausesTop = 1320;        // the pause list's title on the first page
constexpr double DefinitionsTop = 1900;   // the Definitions box, first page only
constexpr double FooterTop = 2720;
constexpr double ContinuedTop = 0;        // the title of the continued list on later pages
constexpr int PauseColumns = 1;           // the list runs down the page: its lines carry the parts
constexpr double LegendRowHeight = 40;    // a line of the hands-off legend
constexpr int LegendColumns = 3;

// Pause lines per column: on the first page between its title and the Definitions box,
// on later pages between their title and the footer.
int pausesPerColumnOnFirstPage();
int pausesPerColumnOnLaterPages();
// The pages of the summary and the pause list: one, and more only when the pauses do not fit
// on the first.
int pageCount(int pauseCount);
// The page of the hands-off time by cause, the times before CPR and the shocks: the last, after
// the pause list.
int handsOffPage(int pauseCount);
// Where legend entry i of the hands-off bar goes, below the bar whose top is barTop.
QRectF legendEntry(double barTop, int index);
// The pauses of page p (from 1): [first, first + count), count 0 when none.
int firstPauseOnPage(int page);
int pausesOnPage(int page, int pauseCount);
// The line of pause i of its page: column and row.
QRectF pauseRow(int page, int indexOnPage);

// How the frame sits on a device page of width x height units: the frame with a margin of
// Margin on every side scaled to fit, aspect kept, centred across and at the top; left and
// top are where the frame's origin lands.
struct Placement
{
    double scale = 1;
    double left = 0;
    double top = 0;
};
Placement placement(double width, double height);

// Paints pages from..to (from 1; 0 for the first or last) of pageCount on a paged device, each
// with paint on a painter whose coordinates are the frame's, placed on the page; false when
// the device cannot be painted on.
bool printPages(QPagedPaintDevice &device, int fromPage, int toPage, int pageCount,
                const std::function<void(QPainter &, int)> &paint);

} // namespace CprReportLayout

// Paints the CPR quality report: the summary, the three charts, the pause list and the
// Definitions box on the first page, further pauses on the pages after it.
class CprQualityReportPainter
{
public:
    explicit CprQualityReportPainter(const CprQualityReport &report);

    int pageCount() const;
    // Page p (from 1) on a painter whose coordinates are the layout's.
    void paintPage(QPainter &painter, int page) const;
    // Pages from..to (from 1; 0 for the first or last) on a paged device; false when it
    // cannot be painted on.
    bool print(QPagedPaintDevice &device, int fromPage = 0, int toPage = 0) const;

    // The pages as a PDF on the given paper.
    // The program's PDF printer and ravelin-cli both print through this; by default the whole
    // report on A4 paper without printer margins (the report brings its own).
    static QByteArray pdf(const CprQualityReport &report, const QPageLayout &layout, int fromPage = 0,
                          int toPage = 0);
    static QByteArray pdf(const CprQualityReport &report);

private:
    void paintHeader(QPainter &painter) const;
    void paintSummary(QPainter &painter) const;
    void paintCharts(QPainter &painter) const;
    void paintPauses(QPainter &painter, int page) const;
    void paintHandsOff(QPainter &painter) const;
    double paintShocks(QPainter &painter, double top) const;
    void paintDefinitions(QPainter &painter) const;
    void paintFooter(QPainter &painter, int page) const;

    const CprQualityReport &m_report;
};
