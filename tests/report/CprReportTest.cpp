// The CPR quality report: the charts' geometry and shading, the page layout, the PDF as
// pdftotext reads it, and the incident log's CPR section.
#include "case/CaseRecord.h"
#include "cpr/CprTexts.h"
#include "cpr/PauseCauseStyle.h"
#include "report/CprChart.h"
#include "report/HandsOffBar.h"
#include "report/CprQualityReportPainter.h"
#include "report/IncidentLog.h"
#include "support/Packs.h"
#include "support/TempDir.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include "device/TimeZoneTable.h"

#include <gtest/gtest.h>

namespace {

// Runs of `perRun` compressions 550 ms apart (109 /min) at depth 55 (2.2 in), the runs
// 4000 ms apart: `runs - 1` pauses of 4000 ms.
CaseRecord caseWithRuns(int runs, int perRun)
{
    CaseRecord c;
    c.startTimeValid = true;
    c.startTime = CTime(2021, 3, 7, 9, 5, 0);
    c.serialNumber = QStringLiteral("SN-0042");
    int32_t t = 30000;
    for (int r = 0; r < runs; ++r) {
        for (int k = 0; k < perRun; ++k) {
            c.cprFeedback.push_back({t, 55});
            if (k + 1 < perRun)
                t += 550;
        }
        t += 4000;
    }
    c.cprFeedbackCount = int32_t(c.cprFeedback.size());
    return c;
}

// caseWithRuns(4, 20) with a shock in its first pause [40450, 44450): analysing at 40950,
// the advice at 41950, ready at 42950, the shock at 43450.
CaseRecord caseWithAShock()
{
    CaseRecord c = caseWithRuns(4, 20);
    c.events.add(EventItem::make(40950, QStringLiteral("Analysing"), QString(), 6));
    c.events.add(EventItem::make(41950, QStringLiteral("Shock advised"), QString(), 7));
    c.events.add(EventItem::make(42950, QStringLiteral("Press the button"), QString(), 9));
    c.events.add(EventItem::make(43450, QStringLiteral("Shock delivered"), QString(), EventCode::ShockDelivered));
    return c;
}

// The reviewer read the third pause [69350, 73350) as airway management.
const std::map<int32_t, PauseCause> AirwayInThirdPause = {{69350, PauseCause::Airway}};
const QString ShockLine = QStringLiteral("0:43 1.0 s 1.0 s 0.5 s 3.0 s 1.0 s 4.0 s");
const QString FirstPauseParts = QStringLiteral(
    "until analysis 0.5 s \u00b7 analysis 1.0 s \u00b7 charge 1.0 s \u00b7 to shock 0.5 s \u00b7 after shock 1.0 s");

TEST(HandsOffBar, StretchesFollowTheSharesAndTheLegendWraps)
{
    std::vector<HandsOffCauseRow> rows(3);
    rows[0].ms = 1000;
    rows[1].ms = 0;
    rows[2].ms = 3000;
    const std::vector<HandsOffBar::Segment> s = HandsOffBar::segments(rows, 100, 400);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_DOUBLE_EQ(s[0].left, 100);
    EXPECT_DOUBLE_EQ(s[0].right, 200);
    EXPECT_DOUBLE_EQ(s[1].left, 200);
    EXPECT_DOUBLE_EQ(s[1].right, 200);
    EXPECT_DOUBLE_EQ(s[2].right, 500);
    EXPECT_TRUE(HandsOffBar::segments({HandsOffCauseRow()}, 0, 400).empty()) << "no time, no stretch";

    struct Case
    {
        std::vector<double> widths;
        std::vector<int> lines;
        std::vector<double> lefts;
    };
    const std::vector<Case> cases = {
        {{100, 100, 100}, {0, 0, 1}, {0, 110, 0}},  // the third would end at 320 > 300
        {{100, 90}, {0, 0}, {0, 110}},              // ends exactly at 300
        {{500, 50}, {0, 1}, {0, 0}},                // too wide for a line: one of its own
    };
    for (const Case &c : cases) {
        const std::vector<HandsOffBar::LegendPlace> places = HandsOffBar::legendPlaces(c.widths, 300, 10);
        ASSERT_EQ(places.size(), c.widths.size());
        for (size_t i = 0; i < places.size(); ++i) {
            EXPECT_EQ(places[i].line, c.lines[i]) << i;
            EXPECT_DOUBLE_EQ(places[i].left, c.lefts[i]) << i;
        }
    }
}

TEST(HandsOffBar, TheReviewersCauseIsHatchedOverItsColour)
{
    std::vector<HandsOffCauseRow> rows(2);
    rows[0] = {PauseCause::Breaths, false, 1000, 0.5, QString(), QString()};
    rows[1] = {PauseCause::Breaths, true, 1000, 0.5, QString(), QString()};
    QImage image(200, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        HandsOffBar::paint(painter, QRectF(0, 0, 200, 20), rows);
    }
    const QColor breaths = QColor::fromRgb(pauseCauseStyle(PauseCause::Breaths).rgb);
    int plain = 0, darker = 0;
    for (int x = 5; x < 95; ++x)
        plain += image.pixelColor(x, 10) == breaths ? 1 : 0;
    for (int x = 105; x < 195; ++x)
        darker += image.pixelColor(x, 10) != breaths ? 1 : 0;
    EXPECT_EQ(plain, 90) << "the device's reading is flat";
    EXPECT_GT(darker, 5) << "the reviewer's is hatched";
}

TEST(CprChart, ValuesBarsAndBandSitOnTheAxis)
{
    const QRectF plot(100, 50, 300, 160); // bottom at y 210
    EXPECT_DOUBLE_EQ(CprChart::valueY(plot, 0, 160), 210);
    EXPECT_DOUBLE_EQ(CprChart::valueY(plot, 80, 160), 130);
    EXPECT_DOUBLE_EQ(CprChart::valueY(plot, 400, 160), 50) << "clamped to the top";

    // Slots of 100 px: the bar keeps a fifth of the slot free on each side.
    EXPECT_EQ(CprChart::barRect(plot, 1, 3, 120, 160), QRectF(220, 90, 60, 120));

    CprChartSeries s;
    s.bandLow = 100;
    s.bandHigh = 120;
    s.axisMax = 160;
    EXPECT_EQ(CprChart::bandRect(plot, s), QRectF(100, 90, 300, 20));

    EXPECT_EQ(CprChart::labelStep(8, 10), 1);
    EXPECT_EQ(CprChart::labelStep(11, 10), 2);
    EXPECT_EQ(CprChart::labelStep(45, 10), 5);
    EXPECT_EQ(CprChart::labelStep(600, 10), 60);
}

TEST(CprChart, SeriesFollowTheSettingsAndLeaveEmptyMinutesWithoutABar)
{
    CprQualityResult r;
    r.perMinute = {{3, 50, 0.9, 110.0, 2.0}, {4, 0, std::nullopt, std::nullopt, std::nullopt}};
    CprReviewSettings settings;
    settings.depthUnit = CprDepthUnit::Centimetres;
    settings.quality.ccfTarget = 0.6;

    const CprChartSeries depth = CprChart::depthSeries(r, settings, QStringLiteral("Depth"));
    EXPECT_EQ(depth.minutes, (std::vector<int64_t>{3, 4}));
    ASSERT_TRUE(depth.values[0].has_value());
    EXPECT_DOUBLE_EQ(*depth.values[0], 5.08);
    EXPECT_FALSE(depth.values[1].has_value());
    EXPECT_DOUBLE_EQ(depth.bandLow, 5.08);
    EXPECT_NEAR(depth.bandHigh, 6.096, 1e-12);
    EXPECT_DOUBLE_EQ(depth.axisMax, 8) << "3 in (7.62 cm) up to a whole centimetre";

    const CprChartSeries ccf = CprChart::ccfSeries(r, settings, QStringLiteral("CCF"));
    EXPECT_DOUBLE_EQ(*ccf.values[0], 90);
    EXPECT_DOUBLE_EQ(ccf.bandLow, 60);
    EXPECT_DOUBLE_EQ(ccf.bandHigh, 100);

    r.perMinute[0].meanRatePerMin = 190;
    EXPECT_DOUBLE_EQ(CprChart::rateSeries(r, settings, QString()).axisMax, 190) << "the axis reaches the highest bar";
}

TEST(CprChart, TheTargetBandIsShadedBehindTheBars)
{
    CprChartSeries s;
    s.title = QStringLiteral("Rate");
    s.minutes = {0, 1, 2, 3};
    s.values = {110.0, std::nullopt, 140.0, 60.0};
    s.bandLow = 100;
    s.bandHigh = 120;
    s.axisMax = 160;
    QImage image(400, 240, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QRectF chart(0, 0, 400, 240);
    {
        QPainter painter(&image);
        CprChart::paint(painter, chart, s, 11);
    }
    const QRectF plot = CprChart::plotArea(chart, 11);
    const auto probe = [&](int slot, double value) {
        const double x = plot.left() + plot.width() / 4 * (slot + 0.5);
        return image.pixelColor(int(x), int(CprChart::valueY(plot, value, s.axisMax)));
    };
    const QColor band = probe(1, 110);     // the empty minute shows the band
    EXPECT_LT(band.red(), 240);
    EXPECT_GT(band.green(), band.red()) << "green shading";
    EXPECT_EQ(probe(1, 140), QColor(Qt::white)) << "nothing above the band";
    EXPECT_EQ(probe(0, 105), CprChart::inBandColour()) << "a bar inside the band";
    EXPECT_EQ(probe(2, 130), CprChart::outOfBandColour()) << "a bar above it";
    EXPECT_EQ(probe(3, 30), CprChart::outOfBandColour()) << "a bar below it";
}

TEST(CprReportLayout, PausesThatDoNotFitContinueOnMorePages)
{
    const int first = CprReportLayout::PauseColumns * CprReportLayout::pausesPerColumnOnFirstPage();
    const int later = CprReportLayout::PauseColumns * CprReportLayout::pausesPerColumnOnLaterPages();
    ASSERT_GE(first, 12) << "a short rescue's pauses stay on the first page";
    ASSERT_GT(later, first);
    EXPECT_EQ(CprReportLayout::pageCount(0), 1);
    EXPECT_EQ(CprReportLayout::pageCount(first), 1);
    EXPECT_EQ(CprReportLayout::pageCount(first + 1), 2);
    EXPECT_EQ(CprReportLayout::pageCount(first + later), 2);
    EXPECT_EQ(CprReportLayout::pageCount(first + later + 1), 3);
    EXPECT_EQ(CprReportLayout::firstPauseOnPage(2), first);
    EXPECT_EQ(CprReportLayout::pausesOnPage(2, first + 5), 5);
    EXPECT_EQ(CprReportLayout::pausesOnPage(1, 3), 3);

    // One line per pause across the page, for its parts; no line reaches the Definitions box.
    const int perColumn = CprReportLayout::pausesPerColumnOnFirstPage();
    EXPECT_DOUBLE_EQ(CprReportLayout::pauseRow(1, 0).width(), CprReportLayout::Width);
    EXPECT_DOUBLE_EQ(CprReportLayout::pauseRow(1, 1).top(), CprReportLayout::pauseRow(1, 0).bottom());
    EXPECT_LE(CprReportLayout::pauseRow(1, perColumn - 1).bottom(), CprReportLayout::DefinitionsTop);
    EXPECT_LE(CprReportLayout::pauseRow(2, CprReportLayout::pausesPerColumnOnLaterPages() - 1).bottom(),
              CprReportLayout::FooterTop);
}

class CprReportPdf : public ::testing::Test
{
protected:
    LanguagePack texts = Packs::builtInEnglish();
    TempDir dir;

    // The text of each page in the order it was drawn ("pdftotext -raw"), blanks collapsed;
    // empty when pdftotext is not there.
    QStringList pages(const CprQualityReport &report)
    {
        const QString path = dir.file(QStringLiteral("cpr.pdf"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(CprQualityReportPainter::pdf(report));
        f.close();
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")});
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return {};
        QStringList out = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
        if (!out.isEmpty() && out.back().trimmed().isEmpty())
            out.removeLast();
        for (QString &page : out)
            page = page.simplified();
        return out;
    }
};

TEST_F(CprReportPdf, OnePageHoldsSummaryChartsPausesAndDefinitions)
{
    CaseRecord c = caseWithRuns(4, 20);
    c.timeZoneIndex = TimeZoneTable::deviceClockRow();
    const CprQualityReport report = makeCprQualityReport(c, true, {}, CprReviewSettings(), texts);
    const QStringList p = pages(report);
    if (p.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (scripts/setup --test installs poppler-utils)";
    ASSERT_EQ(p.size(), 2) << "the hands-off time follows on a page of its own";
    const QString text = p[0];
    EXPECT_TRUE(text.contains("CPR quality report"));
    EXPECT_TRUE(text.contains("2021-03-07 09:05:00(UTC+09:00) SN-0042")) << "the start as the window shows it";
    EXPECT_TRUE(text.contains("Pause threshold P = 2000 ms"));
    // 76 in-run gaps of 550 ms and 3 pauses of 4000 ms: CCF 41800 / 53800.
    EXPECT_TRUE(text.contains("Compression fraction (CCF) 77.7 %")) << qPrintable(text);
    EXPECT_TRUE(text.contains("Not met"));
    EXPECT_TRUE(text.contains("Mean rate 109 /min 100"));
    EXPECT_TRUE(text.contains("Mean depth 2.20 in 2.0"));
    EXPECT_TRUE(text.contains("Rate per minute"));
    EXPECT_TRUE(text.contains("CCF per minute"));
    EXPECT_TRUE(text.contains("Start Length Kind Parts"));
    EXPECT_TRUE(text.contains("0:40 4.0 s other")) << "the first pause starts after 19 gaps of 550 ms";
    EXPECT_TRUE(text.contains("Definitions"));
    EXPECT_TRUE(text.contains("Analysed span")) << "the definitions are written out";
    EXPECT_TRUE(text.contains("Page 1 of 2"));
}

TEST_F(CprReportPdf, TheHandsOffPageCarriesTheBarTheShocksAndTheReviewersCause)
{
    const CprQualityReport report =
        makeCprQualityReport(caseWithAShock(), true, AirwayInThirdPause, CprReviewSettings(), texts);
    const QStringList p = pages(report);
    if (p.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_EQ(p.size(), 2);
    EXPECT_TRUE(p[0].contains("0:40 4.0 s peri-shock " + FirstPauseParts)) << qPrintable(p[0]);
    EXPECT_TRUE(p[0].contains("1:09 4.0 s other airway (set by the reviewer) 4.0 s")) << qPrintable(p[0]);
    EXPECT_TRUE(p[0].contains("Hands-off time = the sum of the pauses")) << "the hands-off definitions";

    const QString handsOff = p[1];
    EXPECT_TRUE(handsOff.contains("Hands-off time by cause Hands-off time: 12.0 s")) << qPrintable(handsOff);
    EXPECT_TRUE(handsOff.contains("airway (set by the reviewer) 4.0 s \u00b7 33.3 %"));
    EXPECT_TRUE(handsOff.contains("Before CPR First pads on \u2014"));
    EXPECT_TRUE(handsOff.contains("First compression 0:30"));
    EXPECT_TRUE(handsOff.contains(
        "Shocks Shock Analysis Charge To shock Pre-shock pause Post-shock pause Peri-shock pause"));
    EXPECT_TRUE(handsOff.contains(QStringLiteral("Target \u2264 10 s \u2264 10 s \u2264 20 s")));
    EXPECT_TRUE(handsOff.contains(ShockLine)) << qPrintable(handsOff);
    EXPECT_TRUE(handsOff.contains("Page 2 of 2"));
}

TEST_F(CprReportPdf, ALongPauseListContinuesOnASecondPage)
{
    const int fit = CprReportLayout::PauseColumns * CprReportLayout::pausesPerColumnOnFirstPage();
    const CaseRecord c = caseWithRuns(fit + 6, 3); // fit + 5 pauses
    const CprQualityReport report = makeCprQualityReport(c, true, {}, CprReviewSettings(), texts);
    ASSERT_EQ(report.pauses.size(), size_t(fit + 5));
    const QStringList p = pages(report);
    if (p.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_EQ(p.size(), 3);
    const QString first = p[0];
    const QString second = p[1];
    EXPECT_TRUE(first.contains("Definitions"));
    EXPECT_TRUE(first.contains(report.pauses[size_t(fit - 1)].start + " 4.0 s"));
    EXPECT_FALSE(first.contains(report.pauses[size_t(fit)].start + " 4.0 s"));
    EXPECT_TRUE(second.contains("Pauses (continued)"));
    EXPECT_TRUE(second.contains(report.pauses[size_t(fit)].start + " 4.0 s"));
    EXPECT_TRUE(second.contains(report.pauses.back().start + " 4.0 s"));
    EXPECT_TRUE(second.contains("Page 2 of 3"));
}

TEST_F(CprReportPdf, AnAnonymisedReportNamesNeitherTheStartNorTheDevice)
{
    const CaseRecord c = caseWithRuns(4, 20);
    const CprQualityReport report = makeCprQualityReport(c, true, {}, CprReviewSettings(), texts, true);
    EXPECT_EQ(report.caseLine, QString());
    const QStringList p = pages(report);
    if (p.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_EQ(p.size(), 2);
    for (const QString &page : p)
        for (const char *leak : {"2021", "09:05", "SN-0042", "0042"})
            EXPECT_FALSE(page.contains(leak)) << leak << "\nin: " << page.toStdString();
    EXPECT_TRUE(p[0].contains("0:40 4.0 s other")) << "times from power-on stay";
    EXPECT_TRUE(p[0].contains("Compression fraction (CCF) 77.7 %"));
}

// Every depth, its target and the unit word follow the reviewer's unit, in the printed
// report and in the incident log; the targets keep their exact values (2.0 in is 5.08 cm).
TEST_F(CprReportPdf, DepthsFollowTheUnitInThePdfAndTheLog)
{
    const CaseRecord c = caseWithRuns(4, 20); // every compression 2.2 in (5.588 cm)
    const struct
    {
        CprDepthUnit unit;
        QString row;   // the summary's line as the log writes it
        QString text;  // the same line as the PDF reads
        QString other; // the mean in the other unit, found nowhere
    } cases[] = {
        {CprDepthUnit::Inches,
         QStringLiteral("<tr><td>Mean depth</td><td>2.20 in</td><td>2.0\u20132.4 in</td><td>Met</td></tr>"),
         QStringLiteral("Mean depth 2.20 in 2.0\u20132.4 in"), QStringLiteral("5.59")},
        {CprDepthUnit::Centimetres,
         QStringLiteral("<tr><td>Mean depth</td><td>5.59 cm</td><td>5.08\u20136.10 cm</td><td>Met</td></tr>"),
         QStringLiteral("Mean depth 5.59 cm 5.08\u20136.10 cm"), QStringLiteral("2.20 in")},
    };
    for (const auto &u : cases) {
        CprReviewSettings settings;
        settings.depthUnit = u.unit;
        const QString log = IncidentLog::cprQualitySection(IncidentLog::cprQuality(c, true, {}, settings, texts));
        EXPECT_TRUE(log.contains(u.row)) << qPrintable(log);
        EXPECT_FALSE(log.contains(u.other)) << qPrintable(log);

        const QStringList p = pages(makeCprQualityReport(c, true, {}, settings, texts));
        if (p.isEmpty())
            GTEST_SKIP() << "pdftotext is not installed";
        EXPECT_TRUE(p[0].contains(u.text)) << qPrintable(p[0]);
        EXPECT_FALSE(p[0].contains(u.other)) << qPrintable(p[0]);
        const QString chart = u.unit == CprDepthUnit::Inches ? QStringLiteral("Depth per minute (in)")
                                                             : QStringLiteral("Depth per minute (cm)");
        EXPECT_TRUE(p[0].contains(chart)) << qPrintable(p[0]);
    }
}

TEST_F(CprReportPdf, ACaseWithoutFeedbackPrintsOneSentence)
{
    const CprQualityReport report = makeCprQualityReport(CaseRecord(), false, {}, CprReviewSettings(), texts);
    const QStringList p = pages(report);
    if (p.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_EQ(p.size(), 1);
    const QString text = p[0];
    EXPECT_TRUE(text.contains("This case has no CPR feedback"));
    EXPECT_FALSE(text.contains("Definitions"));
}

TEST(CprIncidentLog, TheSectionCarriesSummaryAndPausesEscaped)
{
    LanguagePack texts = Packs::builtInEnglish();
    texts.setLanguage(2);
    CaseRecord c = caseWithRuns(3, 10);
    c.serialNumber = QStringLiteral("<b>SN</b>");
    const CprQualityReport cpr = IncidentLog::cprQuality(c, true, {}, CprReviewSettings(), texts);
    IncidentLog::ReportInput input;
    input.caseRecord = &c;
    input.cprQuality = &cpr;
    const QString html = QString::fromUtf8(IncidentLog::document(input));

    EXPECT_TRUE(html.contains("<font color=\"blue\">CPR quality</font>")) << "English, as the rest of the log";
    EXPECT_TRUE(html.contains("<tr><th>Measure</th><th>Value</th><th>Target</th><th>Result</th></tr>"));
    EXPECT_TRUE(html.contains("<tr><td>Mean rate</td><td>109 /min</td><td>100\u2013120 /min</td><td>Met</td></tr>"));
    EXPECT_TRUE(html.contains("<tr><td>Longest pause</td><td>4.0 s</td><td></td><td></td></tr>"));
    EXPECT_TRUE(html.contains("<tr><td>0:34</td><td>4.0 s</td><td>other</td><td>other 4.0 s</td></tr>"));
    EXPECT_LT(html.indexOf("Event Summary"), html.indexOf("CPR quality"));
    EXPECT_LT(html.indexOf("CPR quality"), html.indexOf("<h3>Comments</h3>"));
    EXPECT_FALSE(html.contains("<b>SN</b>"));

    // Texts from a pack are values like any other: escaped.
    CprQualityReport odd = cpr;
    odd.summary[0].measure = QStringLiteral("<script>x</script>");
    odd.pauses[0].kind = QStringLiteral("a&b");
    const QString section = IncidentLog::cprQualitySection(odd);
    EXPECT_TRUE(section.contains("&lt;script&gt;x&lt;/script&gt;"));
    EXPECT_TRUE(section.contains("a&amp;b"));
    EXPECT_FALSE(section.contains("<script>"));
}

TEST(CprIncidentLog, TheSectionCarriesTheShocksTheBarAndTheReviewersCause)
{
    const CaseRecord c = caseWithAShock();
    const CprQualityReport cpr =
        IncidentLog::cprQuality(c, true, AirwayInThirdPause, CprReviewSettings(), Packs::builtInEnglish());
    const QString html = IncidentLog::cprQualitySection(cpr);
    EXPECT_TRUE(html.contains("<tr><th>Shock</th><th>Analysis</th><th>Charge</th><th>To shock</th><th>Pre-shock pause"
                              "</th><th>Post-shock pause</th><th>Peri-shock pause</th></tr>"));
    EXPECT_TRUE(html.contains(QStringLiteral("<td>Target</td><td></td><td></td><td></td><td>\u2264 10 s</td>")));
    EXPECT_TRUE(html.contains("<tr><td>0:43</td><td>1.0 s</td><td>1.0 s</td><td>0.5 s</td><td>3.0 s</td>"
                              "<td>1.0 s</td><td>4.0 s</td></tr>"));
    EXPECT_TRUE(html.contains("<tr><td>0:40</td><td>4.0 s</td><td>peri-shock</td><td>" + FirstPauseParts
                              + "</td></tr>"));
    EXPECT_TRUE(html.contains("<tr><td>1:09</td><td>4.0 s</td><td>other</td><td>airway (set by the reviewer) 4.0 s"
                              "</td></tr>"));
    // The bar: a cell per cause as wide as its share, the reviewer's striped.
    EXPECT_TRUE(html.contains("title=\"airway (set by the reviewer)\" style=\"width:33.3%;"));
    EXPECT_TRUE(html.contains(QStringLiteral("<td>airway (set by the reviewer)</td><td>4.0 s \u00b7 33.3 %</td>")));
    EXPECT_TRUE(html.contains("Hands-off time = the sum of the pauses"));

    CprReviewSettings strict;
    strict.quality.preShockPauseMaxMs = 2000;
    strict.quality.postShockPauseMaxMs = 1000;
    const QString over = IncidentLog::cprQualitySection(
        IncidentLog::cprQuality(c, true, {}, strict, Packs::builtInEnglish()));
    EXPECT_TRUE(over.contains(QStringLiteral("font-weight:bold;\">\u2718 3.0 s</td>"))) << "over its limit";
    EXPECT_TRUE(over.contains(QStringLiteral("font-weight:bold;\">\u2718 4.0 s</td>"))) << "over the sum of both";
}

TEST(CprIncidentLog, ACaseWithoutFeedbackSaysSo)
{
    const CaseRecord c;
    const CprQualityReport cpr = IncidentLog::cprQuality(c, false, {}, CprReviewSettings(), Packs::builtInEnglish());
    const QString section = IncidentLog::cprQualitySection(cpr);
    EXPECT_TRUE(section.contains("This case has no CPR feedback (&quot;CPR Feedback.bin&quot;)"));
    EXPECT_FALSE(section.contains("<table>"));
}

} // namespace
