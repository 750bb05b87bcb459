#include "app/ReportFixture.h"
#include "report/SelectionReportPainter.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

using namespace SelectionReportLayout;

TEST(SelectionReportLayout, PlacesTraceMarkersAndLabelRowsOnTheSurface)
{
    EXPECT_EQ(traceX(0), 4003);      // 3.2 truncated
    EXPECT_EQ(traceX(1), 4006);      // 6.4 truncated
    EXPECT_EQ(traceX(4), 4016);
    EXPECT_EQ(traceX(2498), 11996);
    EXPECT_DOUBLE_EQ(traceY(125), -960); // the grid's middle line
    EXPECT_DOUBLE_EQ(traceY(250), -160); // its top line
    EXPECT_DOUBLE_EQ(traceY(0), -1760);  // no data: the bottom line

    const PrintPiece piece{20000, 30000};
    EXPECT_EQ(markerX(20000, piece), 4000);
    EXPECT_EQ(markerX(30000, piece), 12000);
    EXPECT_EQ(markerX(15000, piece), 0);
    EXPECT_EQ(markerX(35000, piece), 16000);
    EXPECT_EQ(markerX(20001, piece), 4000); // integer arithmetic: 0.8 truncated
    EXPECT_EQ(markerX(14999, piece), std::nullopt);
    EXPECT_EQ(markerX(35001, piece), std::nullopt);
    // 3 s before the start: on the surface, left of the window the page shows.
    EXPECT_LT(*markerX(17000, piece), SurfaceWindowX);

    const int offsets[] = {320, 1440, 480, 1280, 640, 1120, 320, 1440};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(labelOffset(i), offsets[i]) << i;

    EXPECT_EQ(stripOffset(1), 0);
    EXPECT_EQ(stripOffset(4), 8835);
    EXPECT_EQ(pieceIndex(1, 1), 0);
    EXPECT_EQ(pieceIndex(2, 3), 6);
}

TEST(SelectionReportLayout, TimeTextsOfHeaderLabelsAndGaps)
{
    CaseRecord c;
    c.startTimeValid = true;
    c.startTime = CTime(2021, 3, 7, 23, 59, 50);
    EXPECT_EQ(headerStartText(c), "2021.03.07   23:59:50");
    EXPECT_EQ(clockLabel(c, 5), "23:59:55");
    EXPECT_EQ(clockLabel(c, 15), "03/08 00:00:05");
    c.startTimeValid = false;
    c.startTime = CTime();
    EXPECT_EQ(headerStartText(c), "????.??.??   ??:??:??");
    EXPECT_EQ(clockLabel(c, 90000 + 3725), "02:02:05"); // whole days dropped

    const SelectionReportTexts english = SelectionReportTexts::forLanguage(1);
    const SelectionReportTexts italian = SelectionReportTexts::forLanguage(2);
    const std::vector<PrintPiece> pieces{{1000, 11000}, {11000, 21000}, {33500, 43500}, {150000, 160000}};
    EXPECT_EQ(gapText(pieces, 0, english), "< Time Gap : --- sec >");
    EXPECT_EQ(gapText(pieces, 1, english), "< Time Gap : 00 sec >");
    EXPECT_EQ(gapText(pieces, 2, english), "< Time Gap : 12 sec >"); // 12.5 s, truncated
    EXPECT_EQ(gapText(pieces, 3, english), "< Time Gap : 106 sec >");
    EXPECT_EQ(gapText(pieces, 0, italian), "< Intervallo di tempo : --- secondo >");
    EXPECT_EQ(gapText(pieces, 2, italian), "< Intervallo di tempo : 12 secondo >");
}

// Runs a poppler tool; the test is skipped when it is not installed.
QString run(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

class SelectionReportPdfTest : public ReportFixture, public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *tool : {"pdfinfo", "pdftotext", "pdftoppm"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                GTEST_SKIP() << tool << " (poppler-utils) is not installed";
    }

    // The report of the selected case, written to a file of the test.
    QString writePdf(const std::vector<std::pair<int32_t, int32_t>> &segments, uint8_t language = 1)
    {
        for (const auto &[start, end] : segments)
            view.store.AddSegment(view.session.selSlot, start, end);
        report.caseRecord = view.store.caseAt(view.session.selSlot);
        report.pieces = SelectionPrint::buildPrintList(SelectionPrint::sortedSegments(report.caseRecord->segments));
        report.pageCount = SelectionPrint::pageCount(int(report.pieces.size()));
        report.language = language;
        const QString path = dir.file("report.pdf");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(SelectionReportPainter::pdf(report));
        return path;
    }

    int pageCount(const QString &pdf)
    {
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run("pdfinfo", {pdf}));
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    }

    QString text(const QString &pdf) { return run("pdftotext", {pdf, "-"}).simplified(); }

    // Page 1 at 288 dpi (5 twips per pixel): its pixels are (x twips / 5, -y twips / 5).
    QImage page1(const QString &pdf)
    {
        const QString prefix = dir.file("page");
        run("pdftoppm", {"-r", "288", "-f", "1", "-l", "1", "-png", "-singlefile", pdf, prefix});
        return QImage(prefix + ".png").convertToFormat(QImage::Format_Grayscale8);
    }

    // Share of the pixel columns from page x 2100 to 9900 twips that have a dark pixel
    // within 20 twips of page y.
    static double inkAcross(const QImage &page, int yTwips)
    {
        int inked = 0, columns = 0;
        for (int x = 2100 / 5; x < 9900 / 5; ++x, ++columns) {
            bool dark = false;
            for (int y = (-yTwips - 20) / 5; y <= (-yTwips + 20) / 5; ++y)
                dark = dark || qGray(page.pixel(x, y)) < 128;
            inked += dark ? 1 : 0;
        }
        return double(inked) / columns;
    }

    SelectionReport report;
};

TEST_F(SelectionReportPdfTest, FiveSegmentsFarApartGiveTwoPagesWithHeaderGapsAndFooters)
{
    const int slot = addCase();
    caseAt(slot).firstName = "Anna";
    caseAt(slot).lastName = "Rossi";
    setEcg(slot, 0, QByteArray(120 * 250, char(125)));
    const QString pdf = writePdf({{10000, 12000}, {30000, 32000}, {50000, 52000}, {70000, 72000}, {91500, 93000}});

    EXPECT_EQ(pageCount(pdf), 2);
    const QString all = text(pdf);
    for (const char *expected : {"Lumeron AED Selection Report", "2021.03.07 09:05:00", "SN-0042 Anna, Rossi",
                                 "< Time Gap : --- sec >", "< Time Gap : 10 sec >", "< Time Gap : 11 sec >",
                                 "Lead II ECG x1.0", "09:05:10", "09:05:15", "09:05:20", "09:06:31", "page 1 of 2",
                                 "page 2 of 2", "recorded by Lumeron AED Event review software"})
        EXPECT_TRUE(all.contains(QLatin1String(expected))) << expected << "\nin: " << all.toStdString();
    EXPECT_EQ(all.count("< Time Gap : --- sec >"), 1);
    EXPECT_EQ(all.count("Lead II"), 5);
    EXPECT_EQ(all.count("Lumeron AED Selection Report"), 2);
}

TEST_F(SelectionReportPdfTest, ItalianTextsWithLanguageTwo)
{
    const int slot = addCase();
    setEcg(slot, 0, QByteArray(60 * 250, char(125)));
    const QString pdf = writePdf({{0, 15000}}, 2);
    EXPECT_EQ(pageCount(pdf), 1);
    const QString all = text(pdf);
    for (const char *expected :
         {"Rapporto di selezione Lumeron DAE", "< Intervallo di tempo : --- secondo >",
          "< Intervallo di tempo : 00 secondo >", "derivazione II ECG x1.0", "pagina 1 di 1",
          "Registrato da Software analisi eventi Lumeron DAE"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(expected))) << expected << "\nin: " << all.toStdString();
    EXPECT_FALSE(all.contains("Time Gap"));
}

TEST_F(SelectionReportPdfTest, EventsShowOnlyInsideTheirStrip)
{
    const int slot = addCase();
    setEcg(slot, 0, QByteArray(60 * 250, char(125)));
    view.store.AddEvent(slot, 17000, "Three seconds before", "");
    view.store.AddEvent(slot, 22000, "Two seconds in", "");
    view.store.AddEvent(slot, 31000, "After the end", "");
    const QString all = text(writePdf({{20000, 21000}}));
    EXPECT_TRUE(all.contains("Two seconds in")) << all.toStdString();
    EXPECT_FALSE(all.contains("Three seconds before"));
    // Within the surface's 5 s after the piece, but right of the printed window.
    EXPECT_FALSE(all.contains("After the end"));
}

TEST_F(SelectionReportPdfTest, TheTraceIsInkedWhereTheSamplesPutIt)
{
    // ECG at 190 (between two grid lines) for the first 20 s, none after it; strip 1
    // shows 0..10 s, strip 2 shows 40..50 s where there is no ECG.
    const int slot = addCase();
    setEcg(slot, 0, QByteArray(20 * 250, char(190)));
    const QString pdf = writePdf({{0, 2000}, {40000, 42000}});
    const QImage page = page1(pdf);
    ASSERT_FALSE(page.isNull());

    const int traceAt190 = PageStripTop + int(traceY(190)); // -3119
    EXPECT_EQ(inkAcross(page, traceAt190), 1.0); // a flat ECG is one unbroken line
    EXPECT_LT(inkAcross(page, traceAt190 - StripPitch), 0.05);
    // Without ECG the trace lies on the strip's bottom line; the frame line is there too.
    EXPECT_GT(inkAcross(page, -StripPitch + PageStripTop - 1760), 0.95);
    // Between the strip's grid lines, away from the trace, the paper stays light.
    EXPECT_LT(inkAcross(page, PageStripTop - 1200), 0.05);
}

} // namespace

namespace {

// A pause from 2 to 5 s split into a charge and the wait to the shock, and one that ends
// exactly where the strip starts.
HandsOffResult twoPauses()
{
    HandsOffResult r;
    r.pauses.push_back({2000, 3000, {{PauseCause::Charge, 2000, 1000}, {PauseCause::ToShock, 3000, 2000}}, false});
    r.pauses.push_back({-4000, 4000, {{PauseCause::Other, -4000, 4000}}, false});
    return r;
}

TEST(SelectionReportLayout, PauseShadesCoverTheirPartsOfTheStripOverTheGrid)
{
    const std::vector<PausePartShade> shades = pauseShades(twoPauses(), PrintPiece{0, 10000});
    ASSERT_EQ(shades.size(), 2u);
    EXPECT_EQ(shades[0].rect, QRectF(QPointF(5600, -1760), QPointF(6400, -160)));
    EXPECT_EQ(shades[1].rect, QRectF(QPointF(6400, -1760), QPointF(8000, -160)));
    EXPECT_EQ(shades[1].cause, PauseCause::ToShock);
    // A strip from 4 s cuts the wait to the shock at its start; charge lies before it.
    const std::vector<PausePartShade> later = pauseShades(twoPauses(), PrintPiece{4000, 14000});
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0].rect.left(), 4000);
    EXPECT_EQ(later[0].rect.right(), 4800);
}

TEST_F(SelectionReportPdfTest, PrintedStripsKeepThePauseShading)
{
    const int slot = addCase();
    setEcg(slot, 0, QByteArray(20 * 250, char(125)));
    report.handsOff = twoPauses();
    const QImage page = page1(writePdf({{0, 2000}}));
    ASSERT_FALSE(page.isNull());
    // Between grid lines, away from the trace: 3.5 s lies in the wait to the shock, 7.1 s
    // after the pause.
    const int y = -(PageStripTop - 1200) / 5;
    EXPECT_LT(qGray(page.pixel((PageStripX + 2800) / 5, y)), 220);
    EXPECT_GT(qGray(page.pixel((PageStripX + 2800) / 5, y)), 100);
    EXPECT_GT(qGray(page.pixel((PageStripX + 5680) / 5, y)), 245);
}

} // namespace
