#pragma once

#include "ecg/PauseShading.h"
#include "report/SelectionPrint.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

class QPageLayout;
class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

// The printed texts of the selection report, English or Italian by language number.
struct SelectionReportTexts
{
    QString title;       // header line
    QString pageFormat;  // footer, printf form: page, page count
    QString recordedBy;  // footer's second line
    QString gapUnknown;  // gap line of the report's first strip
    QString gapFormat;   // gap line, printf form: whole seconds
    QString lead;        // lead line of every strip

    static SelectionReportTexts forLanguage(uint8_t language);
};

// Where things go on a page, in twips (1/1440 inch) with y growing upward, so every y
// on the page is negative. The strip itself is drawn in the coordinates of a 16000 x
// 1920 surface whose x 4000..12000 is the piece's 10 seconds (800 units per second);
// the window x 4000..12000, y 0..-1920 of it lands on the page at (2000, -a - 2575).
namespace SelectionReportLayout {

constexpr int StripPitch = 2945;      // page y between one strip and the next
constexpr int SurfaceWindowX = 4000;  // surface x of the piece's start
constexpr int PageStripX = 2000;      // page x of the piece's start
constexpr int PageStripTop = -2575;   // page y of the surface's y 0 for strip 1

// Heights of the four fonts in twips. The point-size fonts take the height they have on
// a 600-dpi printer (points x 600 / 72), so the page looks the same on every printer.
constexpr int HeaderFontTwips = 250;
constexpr int LargeFontTwips = 292;   // 35 points
constexpr int MediumFontTwips = 208;  // 25 points
constexpr int SmallFontTwips = 125;   // 15 points

// The layout reaches page x 11000 and y -14800 from its origin, a 1000-twip margin left and
// above being part of it.
constexpr int LayoutRight = 11000;
constexpr int LayoutBottom = 14800;
constexpr int LayoutMargin = 1000;

// Where the layout goes on a printable area: drawn at `scale`, its origin `left` twips
// right of the area's top-left corner.
struct Placement
{
    double scale = 1;
    double left = 0;
};
// An area (twips) that holds the layout at full size gets it unscaled, centred across
// with equal margins when it is wider than the layout and a right margin like the left
// one. A smaller area (a landscape page, a small paper, wide printer margins) gets the
// layout with that margin on every side scaled down to fit, aspect kept, centred across:
// nothing of the report is cut off.
Placement placement(double widthTwips, double heightTwips);

// a: how far strip k (1..4) lies below strip 1.
constexpr int stripOffset(int strip) { return (strip - 1) * StripPitch; }
// Index into the print list of strip k (1..4) on page p (from 1).
constexpr int pieceIndex(int page, int strip) { return 4 * (page - 1) + (strip - 1); }

// Surface point m (0..2498) of the trace: x = 4000 + 3.2 (m + 1) truncated, and
// y = 6.4 v - 1760, so the zero line 125 lies on the grid's middle line (-960).
int traceX(int m);
double traceY(uint8_t sample);

// Surface x of an event at case time t: (t - (start - 5000)) x 160 / 200, for t inside
// [start - 5000, end + 5000]; nothing outside.
std::optional<int> markerX(int32_t t, const PrintPiece &piece);

// The pause parts over a piece's window, on the surface: from the part's start to its end
// cut to the piece (800 units a second from x 4000), over the grid's height.
std::vector<PausePartShade> pauseShades(const HandsOffResult &handsOff, const PrintPiece &piece);

// y offset (positive, down from the surface top) of the text of the event visited i-th
// (from 0): 320, 1440, 480, 1280, 640, 1120, again.
int labelOffset(int visitIndex);

// The header's start time "2021.03.07   09:05:00"; "????.??.??   ??:??:??" when the
// start time is not valid.
QString headerStartText(const CaseRecord &c);
// Time label of a second of case time: the clock time of start + seconds as "HH:MM:SS",
// "MM/DD HH:MM:SS" on another day of the month than the start; for an invalid start the
// hours within the day, minutes and seconds of the case time itself.
QString clockLabel(const CaseRecord &c, int64_t seconds);
// The gap line of piece i: "---" for the first, else the whole seconds from the end of
// piece i - 1 to the start of piece i.
QString gapText(const std::vector<PrintPiece> &pieces, int i, const SelectionReportTexts &texts);

} // namespace SelectionReportLayout

// Paints the pages of a selection report: header, up to four strips with their gap
// line, lead line, grid, event markers, trace and time labels, and the footer.
class SelectionReportPainter
{
public:
    explicit SelectionReportPainter(const SelectionReport &report);

    // The twips mapping on a device: 1/1440 inch per unit, y upward, the layout placed
    // on the device's paint area (its printable area) by placement().
    static void setTwipsMapping(QPainter &painter, const QPaintDevice &device);

    // Page p (from 1) on a painter in the twips mapping.
    void paintPage(QPainter &painter, int page) const;
    // Pages from..to (from 1; 0 for either end means the first or the last page) on a
    // paged device, one device page each; false when the device cannot be painted on.
    bool print(QPagedPaintDevice &device, int fromPage = 0, int toPage = 0) const;

    // Pages from..to of the report as a PDF on the given paper, orientation and margins;
    // by default the whole report on A4 paper without margins. The program's PDF printer
    // and ravelin-cli both print through this.
    static QByteArray pdf(const SelectionReport &report, const QPageLayout &layout, int fromPage = 0,
                          int toPage = 0);
    static QByteArray pdf(const SelectionReport &report);

private:
    void paintHeader(QPainter &painter) const;
    void paintFooter(QPainter &painter, int page) const;
    void paintStrip(QPainter &painter, int strip, int piece) const;
    void paintSurface(QPainter &painter, int piece) const;

    const SelectionReport &m_report;
    SelectionReportTexts m_texts;
};
