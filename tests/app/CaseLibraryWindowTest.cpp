// File > Case library: the window over a library on this computer, run headless.
#include "app/CMainFrame.h"
#include "app/CRavelinView.h"
#include "app/CaseLibraryWindow.h"
#include "app/CaseTableModel.h"
#include "app/LibraryChart.h"
#include "LibraryWindowFixture.h"
#include "base/ProgramPlugin.h"
#include "archive/AedArchiveWriter.h"
#include "device/MifCase.h"
#include "archive/OpenFlow.h"
#include "device/TimeZoneTable.h"
#include "library/CaseLibrary.h"
#include "library/LibraryService.h"
#include "cpr/HandsOffTexts.h"
#include "library/LibraryText.h"
#include "support/FakePlatform.h"
#include "support/Packs.h"
#include "support/TempDir.h"
#include "tools/DeviceFolderWriter.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QDateTime>
#include <QTimeZone>
#include <QLineEdit>
#include <QMenuBar>
#include <QTableWidget>
#include <QValueAxis>
#include <gtest/gtest.h>

namespace {

LibraryCase row(const QString &path, const QString &day, const QString &serial, std::optional<double> ccf)
{
    LibraryCase c;
    c.path = path;
    c.model = QStringLiteral("Q26");
    c.serialNumber = serial;
    c.startTimeValid = true;
    c.startTime = CTime(day.left(4).toInt(), day.mid(5, 2).toInt(), day.mid(8, 2).toInt(), 9, 0, 0).GetTime();
    c.startDay = day;
    c.startMonth = day.left(7);
    c.ccf = ccf;
    return c;
}

class CaseLibraryWindowTest : public LibraryWindowFixture
{
protected:
    void SetUp() override
    {
        LibraryWindowFixture::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        archive = dir.write(QStringLiteral("b.aed"), QByteArray("x"));
        for (const LibraryCase &c : {row(dir.file("a.aed"), "2021-01-10", "SN1", 0.9),
                                     row(archive, "2021-01-20", "SN2", 0.6),
                                     row(dir.file("c.aed"), "2021-02-03", "SN1", std::nullopt)})
            ASSERT_TRUE(service.library()->store(c));
        window.openArchive = [this](const QString &path) { opened << path; };
        window.refresh();
    }

    QString archive;
    QStringList opened;
};

TEST_F(CaseLibraryWindowTest, TheTableFollowsTheFiltersAndTheClickedHeaders)
{
    EXPECT_EQ(column(2), (QStringList{"SN1", "SN2", "SN1"}));
    EXPECT_EQ(column(4), (QStringList{"90.0 %", "60.0 %", ""}));

    window.sortByColumn(4); // CCF, lowest first, cases without one last
    EXPECT_EQ(column(4), (QStringList{"60.0 %", "90.0 %", ""}));
    window.sortByColumn(4);
    EXPECT_EQ(column(4), (QStringList{"90.0 %", "60.0 %", ""}));

    window.ccfBelowField()->setText(QStringLiteral("80 %"));
    window.refresh();
    EXPECT_EQ(column(2), QStringList{"SN2"});
    window.ccfBelowField()->setText(QStringLiteral("0.95"));
    window.refresh();
    EXPECT_EQ(rows(), 2);
    EXPECT_TRUE(platform.messages.isEmpty());
}

// Typing into a filter field lists the cases once the typing pauses, not at every key; Enter
// does not wait.
TEST_F(CaseLibraryWindowTest, TheTableFollowsTheFiltersAsTheyAreTyped)
{
    const auto settle = [this](int count) {
        QElapsedTimer clock;
        clock.start();
        while (rows() != count && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return clock.elapsed();
    };
    QElapsedTimer typing;
    typing.start();
    window.serialField()->setText(QStringLiteral("S"));
    window.serialField()->setText(QStringLiteral("SN"));
    window.serialField()->setText(QStringLiteral("SN1"));
    EXPECT_EQ(rows(), 3) << "not at every key";
    settle(2);
    EXPECT_GE(typing.elapsed(), CaseLibraryWindow::FilterDelayMs * 9 / 10);
    EXPECT_EQ(column(2), (QStringList{"SN1", "SN1"}));

    window.ccfBelowField()->setText(QStringLiteral("95"));
    settle(1);
    EXPECT_EQ(column(4), QStringList{"90.0 %"});

    window.searchField()->setText(QStringLiteral("nobody"));
    emit window.searchField()->returnPressed();
    EXPECT_EQ(rows(), 0) << "Enter lists at once";
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(CaseLibraryWindowTest, TheSummaryCountsPerMonthOrDevice)
{
    QTableWidget *summary = window.summaryTable();
    ASSERT_EQ(summary->rowCount(), 2);
    EXPECT_EQ(summary->item(0, 0)->text(), "2021-01");
    EXPECT_EQ(summary->item(0, 1)->text(), "2");
    EXPECT_EQ(summary->item(0, 3)->text(), "75.0 %");
    EXPECT_EQ(summary->item(0, 4)->text(), "50.0 %");
    window.groupingBox()->setCurrentIndex(1);
    ASSERT_EQ(summary->rowCount(), 2);
    EXPECT_EQ(summary->horizontalHeaderItem(0)->text(), texts.GetText(LibraryText::Device));
    EXPECT_EQ(summary->item(0, 0)->text(), "SN1");
    EXPECT_EQ(summary->item(0, 3)->text(), "90.0 %");

    // The chart, from its plugin, shows the same shares as bars per device.
    auto *chart = window.findChild<QChartView *>();
    ASSERT_NE(chart, nullptr);
    auto *bars = qobject_cast<QBarSeries *>(chart->chart()->series().value(0));
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(bars->count(), 3);
    EXPECT_EQ(bars->barSets()[0]->label(), texts.GetText(LibraryText::MedianCcf));
    ASSERT_EQ(bars->barSets()[0]->count(), 2);
    EXPECT_DOUBLE_EQ(bars->barSets()[0]->at(0), 90.0);
}

// The steps to a shock and the hands-off time without a cause: in the summary, and as the
// chart's other series (seconds, then a share).
TEST_F(CaseLibraryWindowTest, TheSummaryShowsTheStepsToAShockAndTheChartCanShowThem)
{
    LibraryCase shocked = row(dir.file("d.aed"), "2021-02-10", "SN1", 0.7);
    shocked.shocks = {{60000, 150.0, 9000, 2000, 4500, 1500, 1200, 9000}};
    shocked.shockCount = 1;
    shocked.handsOffByCauseMs = std::array<int64_t, PauseCauseCount>{};
    (*shocked.handsOffByCauseMs)[std::size_t(PauseCause::ToShock)] = 9000;
    (*shocked.handsOffByCauseMs)[std::size_t(PauseCause::Other)] = 3000;
    ASSERT_TRUE(service.library()->store(shocked));
    window.refresh();
    QTableWidget *summary = window.summaryTable();
    ASSERT_EQ(summary->rowCount(), 2);
    EXPECT_EQ(summary->horizontalHeaderItem(6)->text(), texts.GetText(HandsOffText::MedianAnalysis));
    EXPECT_EQ(summary->item(1, 6)->text(), "4.5");
    EXPECT_EQ(summary->item(1, 7)->text(), "1.2");
    EXPECT_EQ(summary->item(1, 8)->text(), "9.0");
    EXPECT_EQ(summary->item(1, 9)->text(), "25.0 %");
    EXPECT_EQ(summary->item(0, 6)->text(), "") << "a month without such shocks has none";

    const auto series = [this] {
        auto *chart = window.findChild<QChartView *>();
        return chart ? qobject_cast<QBarSeries *>(chart->chart()->series().value(0)) : nullptr;
    };
    window.chartSeriesBox()->setCurrentIndex(int(CaseLibraryWindow::ChartSeries::StepsToShock));
    QBarSeries *steps = series();
    ASSERT_NE(steps, nullptr);
    ASSERT_EQ(steps->count(), 3);
    EXPECT_EQ(steps->barSets()[2]->label(), texts.GetText(HandsOffText::MedianPreShockPause));
    EXPECT_DOUBLE_EQ(steps->barSets()[0]->at(1), 4.5);
    EXPECT_DOUBLE_EQ(steps->barSets()[2]->at(1), 9.0);

    window.chartSeriesBox()->setCurrentIndex(int(CaseLibraryWindow::ChartSeries::HandsOffOther));
    QBarSeries *other = series();
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(other->count(), 1);
    EXPECT_DOUBLE_EQ(other->barSets()[0]->at(1), 25.0);
}

// The mean depth in the reviewer's unit and the language's decimal separator: the table's
// column, the summary's and the chart, whose axis is labelled in round numbers of the unit.
TEST_F(CaseLibraryWindowTest, DepthsFollowTheReviewersUnit)
{
    LibraryCase january = row(dir.file("a.aed"), "2021-01-10", "SN1", 0.9);
    january.meanDepthIn = 2.0;
    LibraryCase february = row(dir.file("d.aed"), "2021-02-10", "SN1", 0.8);
    february.meanDepthIn = 2.4;
    ASSERT_TRUE(service.library()->store(january));
    ASSERT_TRUE(service.library()->store(february));
    window.chartSeriesBox()->setCurrentIndex(int(CaseLibraryWindow::ChartSeries::MeanDepth));
    const int depth = CaseTableModel::MeanDepth;
    const auto chart = [this]() -> std::pair<QBarSet *, QValueAxis *> {
        auto *view = window.findChild<QChartView *>();
        if (!view)
            return {nullptr, nullptr};
        auto *bars = qobject_cast<QBarSeries *>(view->chart()->series().value(0));
        const QList<QAbstractAxis *> axes = view->chart()->axes(Qt::Vertical);
        return {bars && bars->count() == 1 ? bars->barSets()[0] : nullptr,
                axes.isEmpty() ? nullptr : qobject_cast<QValueAxis *>(axes[0])};
    };

    const struct
    {
        CprDepthUnit unit;
        int language; // 1 English, 2 Italian
        QStringList column;
        QString januarySummary;
        double februaryBar;
        double axisTop;
        QString axisLabels;
    } cases[] = {
        {CprDepthUnit::Inches, 1, {"2.00 in", "", "", "2.40 in"}, "2.00 in", 2.4, 3, "%.0f in"},
        {CprDepthUnit::Centimetres, 1, {"5.08 cm", "", "", "6.10 cm"}, "5.08 cm", 6.096, 8, "%.0f cm"},
        {CprDepthUnit::Centimetres, 2, {"5,08 cm", "", "", "6,10 cm"}, "5,08 cm", 6.096, 8, "%.0f cm"},
        {CprDepthUnit::Inches, 2, {"2,00 in", "", "", "2,40 in"}, "2,00 in", 2.4, 3, "%.0f in"},
    };
    for (const auto &c : cases) {
        texts.setLanguage(uint8_t(c.language));
        window.setDepthUnit(c.unit);
        window.refresh();
        EXPECT_EQ(column(depth), c.column) << c.column.join('|').toStdString();
        ASSERT_EQ(window.summaryTable()->rowCount(), 2);
        EXPECT_EQ(window.summaryTable()->item(0, 10)->text(), c.januarySummary);
        const auto [bars, axis] = chart();
        ASSERT_NE(bars, nullptr);
        ASSERT_NE(axis, nullptr);
        EXPECT_NEAR(bars->at(1), c.februaryBar, 1e-9);
        EXPECT_DOUBLE_EQ(axis->max(), c.axisTop);
        EXPECT_EQ(axis->labelFormat(), c.axisLabels);
    }
    EXPECT_TRUE(platform.messages.isEmpty());
}

// Depth axes end on a round number of the unit at or above the deepest bar, each tick one.
TEST(LibraryAxes, DepthAxesEndOnRoundNumbers)
{
    const struct
    {
        double largest;
        CprDepthUnit unit;
        LibraryAxis axis;
    } cases[] = {
        {0.0, CprDepthUnit::Inches, {3, 4, "%.0f in"}},
        {2.4, CprDepthUnit::Inches, {3, 4, "%.0f in"}},
        {3.0, CprDepthUnit::Inches, {3, 4, "%.0f in"}},
        {3.2, CprDepthUnit::Inches, {4, 5, "%.0f in"}},
        {0.0, CprDepthUnit::Centimetres, {8, 5, "%.0f cm"}},
        {6.1, CprDepthUnit::Centimetres, {8, 5, "%.0f cm"}},
        {8.0, CprDepthUnit::Centimetres, {8, 5, "%.0f cm"}},
        {8.1, CprDepthUnit::Centimetres, {10, 6, "%.0f cm"}},
    };
    for (const auto &c : cases) {
        const LibraryAxis axis = LibraryAxes::depth(c.largest, c.unit);
        EXPECT_EQ(axis, c.axis) << c.largest << " gives " << axis.top << ", " << axis.tickCount << " ticks";
    }
}

// Without the chart plugin the window works on and says in the chart's place why there is none.
TEST_F(CaseLibraryWindowTest, WithoutTheChartPluginTheSummaryStaysAndSaysWhy)
{
    const QStringList buildFolders = ProgramPlugin::folders();
    const QString empty = dir.mkdir(QStringLiteral("no-plugins"));
    ProgramPlugin::setFolders({empty});
    CaseLibraryWindow plain(texts, platform, service);
    ProgramPlugin::setFolders(buildFolders);
    plain.refresh();
    EXPECT_EQ(plain.findChild<QChartView *>(), nullptr);
    EXPECT_EQ(plain.summaryTable()->rowCount(), 2);
    bool said = false;
    for (QLabel *label : plain.findChildren<QLabel *>())
        said = said || (label->text().startsWith("The chart cannot be shown: libravelin_library_chart.so")
                        && label->text().contains(empty));
    EXPECT_TRUE(said);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(CaseLibraryWindowTest, ADoubleClickOpensTheArchiveOrSaysItIsGone)
{
    window.openRow(1);
    EXPECT_EQ(opened, QStringList{archive});
    window.openRow(0);
    EXPECT_EQ(opened.size(), 1);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("a.aed")));
}

// The program with a library it cannot use: one message, and archives still open.
// A server URL with a password typed into the window is refused, never kept nor shown again.
// "QA report...": the report of the cases the filters take, at the file the save dialog names.
TEST_F(CaseLibraryWindowTest, TheQaReportOfTheFilteredCasesIsWrittenPrivatelyOrSaysWhyNot)
{
    window.serialField()->setText(QStringLiteral("SN1"));
    window.writeQaReport();
    ASSERT_EQ(platform.saveRequests.size(), 1) << "asked once, and cancelled";
    EXPECT_EQ(platform.saveRequests[0].defaultSuffix, "pdf");
    EXPECT_TRUE(platform.messages.isEmpty());

    const QString pdf = dir.file(QStringLiteral("qa.pdf"));
    platform.savePaths = {pdf};
    window.writeQaReport();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.contains("was written")) << platform.messages[0].text.toStdString();
    EXPECT_EQ(QFile::permissions(pdf) & 0x7777, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        text.waitForFinished(60000);
        const QString pages = QString::fromUtf8(text.readAllStandardOutput());
        EXPECT_TRUE(pages.contains("Serial: SN1")) << pages.toStdString();
        EXPECT_TRUE(pages.contains(QRegularExpression("\\n\\s*Recordings\\s+2\\s"))) << pages.toStdString();
    }

    // A link at the chosen name is not written through.
    const QString kept = dir.write(QStringLiteral("kept.txt"), QByteArray("kept"));
    const QString link = dir.file(QStringLiteral("link.pdf"));
    ASSERT_TRUE(QFile::link(kept, link));
    platform.savePaths = {link};
    window.writeQaReport();
    ASSERT_EQ(platform.messages.size(), 2);
    EXPECT_TRUE(platform.messages[1].text.contains("could not be written")) << platform.messages[1].text.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("kept.txt")), "kept");
}

TEST_F(CaseLibraryWindowTest, APasswordInTheLocationIsRefusedAndMasked)
{
    const QString before = service.locationText();
    QLineEdit *location = window.locationEdit();
    ASSERT_NE(location, nullptr);
    bool saved = false;
    window.settingsChanged = [&saved] { saved = true; };
    platform.messages.clear();
    location->setText(QStringLiteral("postgresql://qa:secret@db/cases"));
    for (QPushButton *button : window.findChildren<QPushButton *>())
        if (button->text() == texts.GetText(LibraryText::Apply))
            button->click();
    EXPECT_FALSE(saved);
    EXPECT_EQ(service.locationText(), before);
    EXPECT_EQ(location->text(), QStringLiteral("postgresql://qa:***@db/cases"));
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_FALSE(platform.messages[0].text.contains(QStringLiteral("secret")));
}

TEST(CaseLibraryInFrame, AnUnusableLibraryDoesNotStopTheProgram)
{
    TempDir dir;
    const QString notes = dir.write(QStringLiteral("notes.sqlite"), QByteArray("plain text, not a library\n"));
    FakePlatform platform;
    CMainFrame frame(Packs::builtInEnglish(), platform);
    frame.caseLibrary().setLocationText(notes);
    frame.caseLibrary().autoIndex = true;

    DeviceFiles::DeviceFolder folder;
    folder.trend = {DeviceFiles::TrendBlock{}};
    folder.write(dir.file(QStringLiteral("device")));
    frame.view().state.mifFolderPath = dir.file(QStringLiteral("device"));
    const int slot = MifCase::CreateCaseFromMif(frame.view().session);
    WriteAedArchive(frame.view().store, slot, dir.file(QStringLiteral("one.aed")), AedArchiveVariant::Conversion);
    frame.view().store.FreeCase(slot);
    WriteAedArchive(frame.view().store, MifCase::CreateCaseFromMif(frame.view().session), dir.file(QStringLiteral("two.aed")),
                    AedArchiveVariant::Conversion);

    EXPECT_TRUE(frame.view().OpenArchiveFile(dir.file(QStringLiteral("one.aed"))));
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.view().OpenArchiveFile(dir.file(QStringLiteral("two.aed"))));
    QCoreApplication::processEvents();
    int libraryMessages = 0;
    for (const FakePlatform::Message &m : platform.messages)
        libraryMessages += m.text.contains(QStringLiteral("notes.sqlite")) ? 1 : 0;
    EXPECT_EQ(libraryMessages, 1);
    EXPECT_EQ(dir.read(QStringLiteral("notes.sqlite")), QByteArray("plain text, not a library\n"));

    CaseLibraryWindow *window = frame.OnCaseLibrary();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->casesModel()->rowCount(), 0);
    window->close();
}

// A case opened in one zone and adjusted there: the tree, the library's row and the window show
// the same moment, each on its zone's clock.
TEST(CaseLibraryInFrame, AnAdjustedStartIsTheSameMomentInTheTreeAndTheLibrary)
{
    TempDir dir;
    FakePlatform platform;
    CMainFrame frame(Packs::builtInEnglish(), platform);
    frame.caseLibrary().setLocationText(dir.file(QStringLiteral("library.sqlite")));
    frame.caseLibrary().autoIndex = true;
    DeviceFiles::DeviceFolder folder;
    folder.trend = {DeviceFiles::TrendBlock{}};
    folder.write(dir.file(QStringLiteral("device")));
    frame.view().state.mifFolderPath = dir.file(QStringLiteral("device"));
    const QString archive = dir.file(QStringLiteral("one.aed"));
    WriteAedArchive(frame.view().store, MifCase::CreateCaseFromMif(frame.view().session), archive,
                    AedArchiveVariant::Conversion);
    frame.view().store.FreeCase(0);

    const int utcRow = int(TimeZoneTable::timeZoneOffsets().indexOf(0));
    frame.view().state.timeZoneChoice = uint16_t(utcRow);
    ASSERT_TRUE(frame.view().OpenArchiveFile(archive));
    QCoreApplication::processEvents();
    const int slot = frame.view().session.selSlot;
    ASSERT_GE(slot, 0);
    ASSERT_TRUE(frame.view().store.caseAt(slot)->startTimeValid);
    EXPECT_EQ(OpenFlow(frame.view().session).AdjustCase(slot, QStringLiteral("2021-03-07 23:50:00")),
              OpenFlow::Outcome::Opened);
    QCoreApplication::processEvents();

    const CaseRecord *c = frame.view().store.caseAt(frame.view().session.selSlot);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(frame.view().session.tree->itemText(c->caseItem).startsWith("2021-03-07 23:50:00"));
    EXPECT_EQ(frame.view().session.tree->itemText(c->dateItem), "2021-03-07");

    CaseLibrary *library = frame.caseLibrary().library();
    ASSERT_NE(library, nullptr);
    const int64_t instant = QDateTime(QDate(2021, 3, 7), QTime(23, 50), QTimeZone::utc()).toSecsSinceEpoch();
    for (const auto &[zone, day] : {std::pair{0, "2021-03-07"}, std::pair{540, "2021-03-08"}}) {
        LibraryFilter filter;
        filter.zoneOffsetMinutes = zone;
        std::vector<LibraryCase> rows;
        ASSERT_TRUE(library->list(filter, rows)) << library->errorText().toStdString();
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].startTime, instant) << "the moment typed, read back from the library";
        EXPECT_EQ(rows[0].startDay, QLatin1String(day)) << zone;
    }

    CaseLibraryWindow *window = frame.OnCaseLibrary();
    ASSERT_NE(window, nullptr);
    auto *zone = window->findChild<QComboBox *>(QStringLiteral("libraryZone"));
    ASSERT_NE(zone, nullptr);
    zone->setCurrentIndex(utcRow);
    emit zone->activated(utcRow);
    ASSERT_EQ(window->casesModel()->rowCount(), 1);
    EXPECT_EQ(window->casesModel()->index(0, CaseTableModel::Start).data().toString(), "2021-03-07 23:50:00");
    EXPECT_EQ(frame.caseLibrary().zoneRow, utcRow) << "kept as the library's setting";
    window->close();
}

TEST(CaseLibraryInFrame, TheFileMenuOffersTheLibrary)
{
    FakePlatform platform;
    LanguagePack texts = Packs::builtInEnglish();
    CMainFrame frame(texts, platform);
    QStringList items;
    for (QAction *menu : frame.menuBar()->actions())
        if (menu->menu())
            for (QAction *a : menu->menu()->actions())
                items << a->text();
    EXPECT_TRUE(items.contains(texts.GetText(LibraryText::MenuItem)));
}

} // namespace
