// The CPR quality report: the charts' geometry and shading, the page layout, the PDF as
// pdftotext reads it, and the incident log's CPR section.
#include "case/CaseRecord.h"
#include "cpr/CprTexts.h"
#include "report/CprChart.h"
#include "report/CprQualityReportPainter.h"
#include "report/IncidentLog.h"
#include "support/Packs.h"
#include "support/TempDir.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
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
    EXPECT_NEAR(depth.axisMax, 7.62, 1e-12) << "3 in";

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
    ASSERT_GT(first, 20);
    ASSERT_GT(later, first);
    EXPECT_EQ(CprReportLayout::pageCount(0), 1);
    EXPECT_EQ(CprReportLayout::pageCount(first), 1);
    EXPECT_EQ(CprReportLayout::pageCount(first + 1), 2);
    EXPECT_EQ(CprReportLayout::pageCount(first + later), 2);
    EXPECT_EQ(CprReportLayout::pageCount(first + later + 1), 3);
    EXPECT_EQ(CprReportLayout::firstPauseOnPage(2), first);
    EXPECT_EQ(CprReportLayout::pausesOnPage(2, first + 5), 5);
    EXPECT_EQ(CprReportLayout::pausesOnPage(1, 3), 3);

    // The first column fills before the second; no line reaches the Definitions box.
    const int perColumn = CprReportLayout::pausesPerColumnOnFirstPage();
    EXPECT_DOUBLE_EQ(CprReportLayout::pauseRow(1, perColumn).top(), CprReportLayout::pauseRow(1, 0).top());
    EXPECT_GT(CprReportLayout::pauseRow(1, perColumn).left(), CprReportLayout::pauseRow(1, 0).right());
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
    const CaseRecord c = caseWithRuns(4, 20);
    const CprQualityReport report = makeCprQualityReport(c, true, CprReviewSettings(), texts);
    const QStringList p = pages(report);
    if (p.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (scripts/setup --test installs poppler-utils)";
    ASSERT_EQ(p.size(), 1);
    const QString text = p[0];
    EXPECT_TRUE(text.contains("CPR quality report"));
    EXPECT_TRUE(text.contains("2021.03.07 09:05:00 SN-0042"));
    EXPECT_TRUE(text.contains("Pause threshold P = 2000 ms"));
    // 76 in-run gaps of 550 ms and 3 pauses of 4000 ms: CCF 41800 / 53800.
    EXPECT_TRUE(text.contains("Compression fraction (CCF) 77.7 %")) << qPrintable(text);
    EXPECT_TRUE(text.contains("Not met"));
    EXPECT_TRUE(text.contains("Mean rate 109 /min 100"));
    EXPECT_TRUE(text.contains("Mean depth 2.20 in 2.0"));
    EXPECT_TRUE(text.contains("Rate per minute"));
    EXPECT_TRUE(text.contains("CCF per minute"));
    EXPECT_TRUE(text.contains("Start Length Kind"));
    EXPECT_TRUE(text.contains("0:40 4.0 s other")) << "the first pause starts after 19 gaps of 550 ms";
    EXPECT_TRUE(text.contains("Definitions"));
    EXPECT_TRUE(text.contains("Analysed span")) << "the definitions are written out";
    EXPECT_TRUE(text.contains("Page 1 of 1"));
}

TEST_F(CprReportPdf, ALongPauseListContinuesOnASecondPage)
{
    const int fit = CprReportLayout::PauseColumns * CprReportLayout::pausesPerColumnOnFirstPage();
    const CaseRecord c = caseWithRuns(fit + 6, 3); // fit + 5 pauses
    const CprQualityReport report = makeCprQualityReport(c, true, CprReviewSettings(), texts);
    ASSERT_EQ(report.pauses.size(), size_t(fit + 5));
    const QStringList p = pages(report);
    if (p.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_EQ(p.size(), 2);
    const QString first = p[0];
    const QString second = p[1];
    EXPECT_TRUE(first.contains("Definitions"));
    EXPECT_TRUE(first.contains(report.pauses[size_t(fit - 1)].start + " 4.0 s"));
    EXPECT_FALSE(first.contains(report.pauses[size_t(fit)].start + " 4.0 s"));
    EXPECT_TRUE(second.contains("Pauses (continued)"));
    EXPECT_TRUE(second.contains(report.pauses[size_t(fit)].start + " 4.0 s"));
    EXPECT_TRUE(second.contains(report.pauses.back().start + " 4.0 s"));
    EXPECT_TRUE(second.contains("Page 2 of 2"));
}

TEST_F(CprReportPdf, AnAnonymisedReportNamesNeitherTheStartNorTheDevice)
{
    const CaseRecord c = caseWithRuns(4, 20);
    const CprQualityReport report = makeCprQualityReport(c, true, CprReviewSettings(), texts, true);
    EXPECT_EQ(report.caseLine, QString());
    const QStringList p = pages(report);
    if (p.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_EQ(p.size(), 1);
    for (const char *leak : {"2021", "09:05", "SN-0042", "0042"})
        EXPECT_FALSE(p[0].contains(leak)) << leak << "\nin: " << p[0].toStdString();
    EXPECT_TRUE(p[0].contains("0:40 4.0 s other")) << "times from power-on stay";
    EXPECT_TRUE(p[0].contains("Compression fraction (CCF) 77.7 %"));
}

TEST_F(CprReportPdf, ACaseWithoutFeedbackPrintsOneSentence)
{
    const CprQualityReport report = makeCprQualityReport(CaseRecord(), false, CprReviewSettings(), texts);
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
    const CprQualityReport cpr = IncidentLog::cprQuality(c, true, CprReviewSettings(), texts);
    IncidentLog::ReportInput input;
    input.caseRecord = &c;
    input.cprQuality = &cpr;
    const QString html = QString::fromUtf8(IncidentLog::document(input));

    EXPECT_TRUE(html.contains("<font color=\"blue\">CPR quality</font>")) << "English, as the rest of the log";
    EXPECT_TRUE(html.contains("<tr><th>Measure</th><th>Value</th><th>Target</th><th>Result</th></tr>"));
    EXPECT_TRUE(html.contains("<tr><td>Mean rate</td><td>109 /min</td><td>100\u2013120 /min</td><td>Met</td></tr>"));
    EXPECT_TRUE(html.contains("<tr><td>Longest pause</td><td>4.0 s</td><td></td><td></td></tr>"));
    EXPECT_TRUE(html.contains("<tr><td>0:34</td><td>4.0 s</td><td>other</td></tr>"));
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

TEST(CprIncidentLog, ACaseWithoutFeedbackSaysSo)
{
    const CaseRecord c;
    const CprQualityReport cpr = IncidentLog::cprQuality(c, false, CprReviewSettings(), Packs::builtInEnglish());
    const QString section = IncidentLog::cprQualitySection(cpr);
    EXPECT_TRUE(section.contains("This case has no CPR feedback (&quot;CPR Feedback.bin&quot;)"));
    EXPECT_FALSE(section.contains("<table>"));
}

} // namespace
