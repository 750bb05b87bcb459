#include "archive/AedArchiveWriter.h"
#include "archive/ArchiveFixture.h"
#include "library/ArchiveFacts.h"
#include "library/LibraryIndexer.h"
#include "library/LibraryEngine.h"
#include "library/LibraryRows.h"
#include "support/RawNameFile.h"

#include <QDateTime>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <latch>
#include <memory>
#include <thread>

#include <sys/stat.h>

namespace {

// Archives made the way the import makes them, each in its own folder with the rescue's CPR
// feedback and sound beside it.
class ArchiveMaker : public ArchiveFixture
{
public:
    QString make(const DeviceFiles::DeviceFolder &folder, const QString &name)
    {
        const int slot = createCase(folder);
        const QString path = view.state.mifFolderPath + QLatin1Char('/') + name;
        WriteAedArchive(view.store, slot, path, AedArchiveVariant::Conversion);
        view.store.FreeCase(slot);
        return path;
    }

    // A rescue of 2021-03-07 09:05 with the given shocks (ms, tenths of joules) and two
    // compressions at 4.0 s and 4.5 s.
    static DeviceFiles::DeviceFolder rescue(std::vector<std::pair<int32_t, uint32_t>> shocks)
    {
        DeviceFiles::DeviceFolder f;
        f.model = DeviceFiles::Model::Q25;
        f.ecgRaw = std::vector<int32_t>(2500, 0);
        for (const auto &[ms, energy] : shocks) {
            DeviceFiles::TrendBlock block;
            block.shockMs = ms;
            block.energyTenthsJ = energy;
            block.impedanceOhm = 90;
            f.trend.push_back(block);
        }
        f.cprFeedback = {{4000, 50}, {4500, 55}};
        f.hasCprFeedback = true;
        f.audioSamples = QByteArray(16000, char(0x80));
        f.hasAudio = true;
        return f;
    }
};

std::vector<LibraryCase> listAll(CaseLibrary &library, LibraryFilter filter = {})
{
    std::vector<LibraryCase> cases;
    EXPECT_TRUE(library.list(filter, cases)) << library.errorText().toStdString();
    return cases;
}

QStringList pathsOf(const std::vector<LibraryCase> &cases)
{
    QStringList out;
    for (const LibraryCase &c : cases)
        out << c.path;
    return out;
}

class CaseLibraryTest : public LibraryEngineTest
{
};

TEST_P(CaseLibraryTest, AddingKeepsOneRowPerArchiveAndFollowsItsChanges)
{
    ArchiveMaker maker;
    LanguagePack texts = Packs::builtInEnglish();
    const QString archive = maker.make(ArchiveMaker::rescue({{8000, 1500}}), QStringLiteral("Q25_0905(2021-03-07).aed"));
    const QString other = maker.make(ArchiveMaker::rescue({}), QStringLiteral("plain.aed"));
    auto library = openLibrary();
    ASSERT_TRUE(library->isOpen());
    LibraryIndexer indexer(*library, texts);

    QString why;
    EXPECT_EQ(indexer.add(archive, why), LibraryIndexer::Outcome::Added) << why.toStdString();
    EXPECT_EQ(indexer.add(other, why), LibraryIndexer::Outcome::Added) << why.toStdString();
    EXPECT_EQ(indexer.add(archive, why), LibraryIndexer::Outcome::Unchanged);

    std::vector<LibraryCase> cases = listAll(*library);
    ASSERT_EQ(cases.size(), 2u);
    const LibraryCase &c = cases[0].path == libraryPathOf(archive) ? cases[0] : cases[1];
    EXPECT_EQ(c.model, "Q25");
    EXPECT_EQ(c.serialNumber, "SN-0042");
    EXPECT_TRUE(c.startTimeValid);
    EXPECT_EQ(c.startDay, "2021-03-07");
    EXPECT_EQ(c.startMonth, "2021-03");
    EXPECT_EQ(c.shockCount, 1);
    EXPECT_TRUE(c.hasCprFeedback);
    EXPECT_TRUE(c.hasAudio);
    EXPECT_EQ(c.sizeBytes, QFileInfo(archive).size());
    EXPECT_EQ(c.sha256.size(), 64);
    ASSERT_TRUE(c.ccf.has_value());
    EXPECT_DOUBLE_EQ(*c.ccf, 1.0);
    std::vector<LibraryShock> shocks;
    ASSERT_TRUE(library->shocksOf(c.path, shocks));
    ASSERT_EQ(shocks.size(), 1u);
    EXPECT_DOUBLE_EQ(shocks[0].energyJ.value_or(0), 150.0);
    EXPECT_EQ(shocks[0].preShockPauseMs.value_or(-1), shocks[0].timeMs - 4500);
    EXPECT_FALSE(shocks[0].postShockPauseMs.has_value()) << "no compression came after the shock";
    EXPECT_EQ(c.maxPreShockPauseMs, shocks[0].preShockPauseMs);

    // Another case written over the archive: its row and shocks are replaced, not added to.
    const QString replacement = maker.make(ArchiveMaker::rescue({{8000, 1500}, {20000, 2000}}), QStringLiteral("x.aed"));
    ASSERT_TRUE(QFile::remove(archive));
    ASSERT_TRUE(QFile::copy(replacement, archive));
    EXPECT_EQ(indexer.add(archive, why), LibraryIndexer::Outcome::Updated) << why.toStdString();
    ASSERT_TRUE(library->shocksOf(libraryPathOf(archive), shocks));
    ASSERT_EQ(shocks.size(), 2u);
    EXPECT_DOUBLE_EQ(shocks[1].energyJ.value_or(0), 200.0);
    EXPECT_EQ(listAll(*library).size(), 2u);

    // The same bytes with a new time are looked at again.
    QFile touched(archive);
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    ASSERT_TRUE(touched.setFileTime(QDateTime::currentDateTimeUtc().addSecs(60), QFileDevice::FileModificationTime));
    touched.close();
    EXPECT_EQ(indexer.add(archive, why), LibraryIndexer::Outcome::Updated);

    // A removed archive leaves the library with the next prune, its shocks with it.
    const QString kept = libraryPathOf(archive);
    ASSERT_TRUE(QFile::remove(archive));
    QStringList removed;
    ASSERT_TRUE(pruneLibrary(*library, removed)) << library->errorText().toStdString();
    EXPECT_EQ(removed, QStringList{kept});
    EXPECT_EQ(pathsOf(listAll(*library)), QStringList{libraryPathOf(other)});
    QSqlQuery q(library->database());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT COUNT(*) FROM shocks")) && q.next());
    EXPECT_EQ(q.value(0).toInt(), 0);
}

TEST_P(CaseLibraryTest, AnArchiveThatCannotBeReadIsReportedByNameAndNothingIsStored)
{
    auto library = openLibrary();
    LanguagePack texts = Packs::builtInEnglish();
    LibraryIndexer indexer(*library, texts);
    const QString broken = dir.write(QStringLiteral("broken.aed"), QByteArray("\x05\x00\x00", 3));
    QString why;
    EXPECT_EQ(indexer.add(broken, why), LibraryIndexer::Outcome::Unreadable);
    EXPECT_TRUE(why.contains(QStringLiteral("broken.aed"))) << why.toStdString();
    EXPECT_TRUE(listAll(*library).empty());
}

// A folder's worth of archives added at once, cancelled part way and then added again: what was
// read before the cancel is kept, each archive is counted once, and nothing is written twice.
TEST_P(CaseLibraryTest, AddingManyArchivesKeepsWhatWasDoneBeforeACancel)
{
    ArchiveMaker maker;
    LanguagePack texts = Packs::builtInEnglish();
    const QString first = maker.make(ArchiveMaker::rescue({{8000, 1500}}), QStringLiteral("Q25_0000.aed"));
    constexpr int Archives = 120;
    QStringList archives{first};
    for (int i = 1; i < Archives; ++i) {
        archives << QFileInfo(first).dir().filePath(QStringLiteral("Q25_%1.aed").arg(i, 4, 10, QLatin1Char('0')));
        ASSERT_TRUE(QFile::copy(first, archives.last()));
    }
    auto library = openLibrary();
    LibraryIndexer indexer(*library, texts);

    constexpr int CancelAt = 70;
    const LibraryAddSummary cancelled = indexer.addAll(archives, [](int done, int) { return done < CancelAt; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.added, CancelAt);
    EXPECT_EQ(listAll(*library).size(), std::size_t(CancelAt));

    const QString broken = dir.write(QStringLiteral("broken.aed"), QByteArray("\x05\x00\x00", 3));
    const LibraryAddSummary rest = indexer.addAll(archives + QStringList{broken, archives[3]});
    EXPECT_FALSE(rest.cancelled);
    EXPECT_TRUE(rest.libraryError.isEmpty()) << rest.libraryError.toStdString();
    EXPECT_EQ(rest.added, Archives - CancelAt);
    EXPECT_EQ(rest.unchanged, CancelAt + 1);
    ASSERT_EQ(rest.failed.size(), 1);
    EXPECT_TRUE(rest.failed[0].contains(QStringLiteral("broken.aed")));
    EXPECT_EQ(listAll(*library).size(), std::size_t(Archives));
    QSqlQuery q(library->database());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT COUNT(*) FROM shocks")) && q.next());
    EXPECT_EQ(q.value(0).toInt(), Archives);
}

// A library that refuses a write part way through: the summary names the trouble and counts
// only the archives that are in the library.
TEST_P(CaseLibraryTest, ARefusedWriteIsReportedAndOnlyWrittenArchivesAreCounted)
{
    ArchiveMaker maker;
    LanguagePack texts = Packs::builtInEnglish();
    const QString first = maker.make(ArchiveMaker::rescue({}), QStringLiteral("Q25_0000.aed"));
    const QString second = QFileInfo(first).dir().filePath(QStringLiteral("Q25_0001.aed"));
    ASSERT_TRUE(QFile::copy(first, second));
    auto library = openLibrary();
    // Two archives of the same size cannot both be written.
    QSqlQuery q(library->database());
    ASSERT_TRUE(q.exec(QStringLiteral("CREATE UNIQUE INDEX one_per_size ON cases (size_bytes)")));
    LibraryIndexer indexer(*library, texts);

    const LibraryAddSummary summary = indexer.addAll({first, second});
    EXPECT_FALSE(summary.libraryError.isEmpty());
    EXPECT_EQ(summary.added + summary.updated, int(listAll(*library).size()));
}

// Two reviewers storing the same archives at the same moment, each over a connection of
// its own: one row per archive, each with its shocks once.
TEST_P(CaseLibraryTest, TwoWritersAtOnceGiveOneRowPerArchive)
{
    openLibrary();
    constexpr int Archives = 15;
    std::latch start(2);
    bool ok[2] = {true, true};
    std::string errors[2];
    const auto writer = [&](int who) {
        CaseLibrary library(location);
        if (!library.open()) {
            ok[who] = false;
            errors[who] = library.errorText().toStdString();
            start.count_down();
            return;
        }
        start.arrive_and_wait();
        for (int i = 0; i < Archives && ok[who]; ++i) {
            LibraryCase c = libraryRow(QStringLiteral("/cases/%1.aed").arg(i), QStringLiteral("2021-03-07"),
                                       QStringLiteral("SN%1").arg(who), 0.5, 2);
            ok[who] = library.store(c);
            errors[who] = library.errorText().toStdString();
        }
    };
    std::thread first(writer, 0);
    std::thread second(writer, 1);
    first.join();
    second.join();
    EXPECT_TRUE(ok[0]) << errors[0];
    EXPECT_TRUE(ok[1]) << errors[1];

    auto library = openLibrary();
    EXPECT_EQ(listAll(*library).size(), size_t(Archives));
    QSqlQuery q(library->database());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT COUNT(*) FROM shocks")) && q.next());
    EXPECT_EQ(q.value(0).toInt(), 2 * Archives);
}

TEST_P(CaseLibraryTest, FiltersAndSortingPickTheRightRows)
{
    auto library = openLibrary();
    std::vector<LibraryCase> rows = {
        libraryRow("/a.aed", "2021-03-01", "SN1", 0.85, 1), libraryRow("/b.aed", "2021-03-31", "SN2", 0.79, 3),
        libraryRow("/c.aed", "2021-04-01", "SN1", std::nullopt, 0), libraryRow("/d.aed", "", "SN3", 0.5, 2),
        libraryRow("/e.aed", "2021-02-28", "SN2", 0.8, 0)};
    rows[0].patientId = QStringLiteral("PT-100");
    rows[1].lastName = QStringLiteral("Rossi");
    rows[2].comments = QStringLiteral("found 50% down_time");
    rows[3].model = QStringLiteral("Q21");
    for (const LibraryCase &c : rows)
        ASSERT_TRUE(library->store(c)) << library->errorText().toStdString();

    struct Case {
        const char *name;
        LibraryFilter filter;
        QStringList expected;
    };
    const auto filter = [](auto set) {
        LibraryFilter f;
        set(f);
        return f;
    };
    const std::vector<Case> cases = {
        {"all, by start", {}, {"/d.aed", "/e.aed", "/a.aed", "/b.aed", "/c.aed"}},
        {"March, both ends inclusive",
         filter([](LibraryFilter &f) { f.fromDay = "2021-03-01", f.toDay = "2021-03-31"; }), {"/a.aed", "/b.aed"}},
        {"up to a day leaves out unknown starts", filter([](LibraryFilter &f) { f.toDay = "2021-03-01"; }),
         {"/e.aed", "/a.aed"}},
        {"serial", filter([](LibraryFilter &f) { f.serialNumber = "SN1"; }), {"/a.aed", "/c.aed"}},
        {"model", filter([](LibraryFilter &f) { f.model = "q21"; }), {"/d.aed"}},
        {"minimum shocks", filter([](LibraryFilter &f) { f.minShocks = 2; }), {"/d.aed", "/b.aed"}},
        {"CCF strictly below, none left out", filter([](LibraryFilter &f) { f.ccfBelow = 0.8; }), {"/d.aed", "/b.aed"}},
        {"search patient ID, any case", filter([](LibraryFilter &f) { f.search = "pt-1"; }), {"/a.aed"}},
        {"search name", filter([](LibraryFilter &f) { f.search = "ROSS"; }), {"/b.aed"}},
        {"search takes % and _ literally", filter([](LibraryFilter &f) { f.search = "50% down_"; }), {"/c.aed"}},
        {"wildcards find nothing else", filter([](LibraryFilter &f) { f.search = "_"; }), {"/c.aed"}},
        {"by CCF, none last", filter([](LibraryFilter &f) { f.sort = LibraryFilter::Sort::Ccf; }),
         {"/d.aed", "/b.aed", "/e.aed", "/a.aed", "/c.aed"}},
        {"by CCF descending, none still last",
         filter([](LibraryFilter &f) { f.sort = LibraryFilter::Sort::Ccf, f.descending = true; }),
         {"/a.aed", "/e.aed", "/b.aed", "/d.aed", "/c.aed"}},
        {"by shocks descending, ties by path",
         filter([](LibraryFilter &f) { f.sort = LibraryFilter::Sort::Shocks, f.descending = true; }),
         {"/b.aed", "/d.aed", "/a.aed", "/c.aed", "/e.aed"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(pathsOf(listAll(*library, c.filter)), c.expected) << c.name;
}

// Days and months are those of the zone asked for: the same three starts near midnight fall on
// different days in different zones, in the filters, the list and the summary alike.
TEST_P(CaseLibraryTest, DaysAndMonthsAreThoseOfTheChosenZone)
{
    auto library = openLibrary();
    // Device clock (UTC+09:00): 2021-03-31 23:30, 2021-04-01 08:50 and 2021-04-01 12:00.
    const std::pair<const char *, CTime> starts[] = {{"/late.aed", CTime(2021, 3, 31, 23, 30, 0)},
                                                     {"/early.aed", CTime(2021, 4, 1, 8, 50, 0)},
                                                     {"/noon.aed", CTime(2021, 4, 1, 12, 0, 0)}};
    for (const auto &[path, start] : starts) {
        LibraryCase c = libraryRow(path, start.Format("%Y-%m-%d"), "SN1", 0.8);
        c.startTime = start.GetTime();
        ASSERT_TRUE(library->store(c)) << library->errorText().toStdString();
    }
    ASSERT_TRUE(library->store(libraryRow("/unknown.aed", "", "SN1", 0.8)));

    const struct {
        int32_t zone;
        QStringList days;           // of late, early, noon
        QStringList upToMarch31;    // --to 2021-03-31
        QStringList monthCounts;    // "month:cases", "" for the unknown start first
    } cases[] = {
        {540, {"2021-03-31", "2021-04-01", "2021-04-01"}, {"/late.aed"}, {":1", "2021-03:1", "2021-04:2"}},
        {0, {"2021-03-31", "2021-03-31", "2021-04-01"}, {"/late.aed", "/early.aed"}, {":1", "2021-03:2", "2021-04:1"}},
        {-300, {"2021-03-31", "2021-03-31", "2021-03-31"}, {"/late.aed", "/early.aed", "/noon.aed"}, {":1", "2021-03:3"}},
        {840, {"2021-04-01", "2021-04-01", "2021-04-01"}, {}, {":1", "2021-04:3"}},
    };
    for (const auto &c : cases) {
        LibraryFilter filter;
        filter.zoneOffsetMinutes = c.zone;
        QStringList days;
        for (const LibraryCase &row : listAll(*library, filter))
            if (row.startTimeValid)
                days << row.startDay + QLatin1Char(' ') + row.startMonth;
        QStringList expectedDays;
        for (const QString &day : c.days)
            expectedDays << day + QLatin1Char(' ') + day.left(7);
        EXPECT_EQ(days, expectedDays) << c.zone;

        filter.toDay = QStringLiteral("2021-03-31");
        EXPECT_EQ(pathsOf(listAll(*library, filter)), c.upToMarch31) << c.zone;
        filter.toDay.clear();
        filter.fromDay = QStringLiteral("2021-04-01");
        EXPECT_EQ(listAll(*library, filter).size(), std::size_t(3 - c.upToMarch31.size())) << c.zone;
        filter.fromDay.clear();

        std::vector<LibraryStatsRow> months;
        ASSERT_TRUE(library->stats(LibraryGrouping::Month, filter, months)) << library->errorText().toStdString();
        QStringList counts;
        for (const LibraryStatsRow &m : months)
            counts << m.group + QLatin1Char(':') + QString::number(m.cases);
        EXPECT_EQ(counts, c.monthCounts) << c.zone;
        for (const LibraryStatsRow &m : months) {
            if (!m.group.isEmpty()) {
                EXPECT_NEAR(m.medianCcf.value_or(0), 0.8, 1e-9) << c.zone << " " << m.group.toStdString();
            }
        }
    }
}

// The window reads the list a page at a time: the pages, one after the other, are the list,
// also where the sorted measure ties or is missing.
TEST_P(CaseLibraryTest, PagesJoinIntoTheWholeListWithoutRepeatsOrGaps)
{
    auto library = openLibrary();
    std::vector<LibraryCase> rows;
    for (int i = 0; i < 11; ++i)
        rows.push_back(libraryRow(QStringLiteral("/%1.aed").arg(QChar('k' - i)), "2021-03-01", "SN1",
                                  i % 3 == 0 ? std::nullopt : std::optional<double>(0.5), i % 2));
    ASSERT_TRUE(library->storeAll(rows)) << library->errorText().toStdString();

    const auto sorted = [](LibraryFilter::Sort sort, bool descending) {
        LibraryFilter f;
        f.sort = sort;
        f.descending = descending;
        return f;
    };
    for (const LibraryFilter &filter : {sorted(LibraryFilter::Sort::StartTime, false), sorted(LibraryFilter::Sort::Ccf, true),
                                        sorted(LibraryFilter::Sort::Shocks, false), sorted(LibraryFilter::Sort::Path, true)}) {
        std::vector<LibraryCase> whole, page;
        ASSERT_TRUE(library->list(filter, whole));
        QStringList joined;
        for (int offset = 0;; offset += 4) {
            ASSERT_TRUE(library->listPage(filter, offset, 4, page)) << library->errorText().toStdString();
            joined << pathsOf(page);
            if (page.size() < 4)
                break;
        }
        EXPECT_EQ(joined, pathsOf(whole)) << "sort " << int(filter.sort);
    }
    std::vector<LibraryCase> beyond;
    ASSERT_TRUE(library->listPage({}, 50, 4, beyond));
    EXPECT_TRUE(beyond.empty());
}

// Cases and shocks whose answers are worked out by hand:
//   2021-01: CCF 0.70, 0.90, 0.80 and one without -> median 0.80, 2 of 3 at least 0.80;
//            shocks with pre-shock pauses 5 s, 10 s, 12 s and one unknown -> 2 of 3.
//   2021-02: CCF 0.60, 0.75 -> median 0.675, none at least 0.80; no shocks.
//   unknown start: one case without CCF.
TEST_P(CaseLibraryTest, MonthlyAndDeviceSummariesCountMediansAndShares)
{
    auto library = openLibrary();
    std::vector<LibraryCase> rows = {libraryRow("/1.aed", "2021-01-05", "SN1", 0.70, 2),
                                     libraryRow("/2.aed", "2021-01-20", "SN1", 0.90, 1),
                                     libraryRow("/3.aed", "2021-01-31", "SN2", 0.80, 1),
                                     libraryRow("/4.aed", "2021-01-31", "SN2", std::nullopt, 0),
                                     libraryRow("/5.aed", "2021-02-01", "SN2", 0.60, 0),
                                     libraryRow("/6.aed", "2021-02-14", "SN1", 0.75, 0),
                                     libraryRow("/7.aed", "", "SN3", std::nullopt, 0)};
    rows[0].shocks[0].preShockPauseMs = 5000;
    rows[0].shocks[1].preShockPauseMs = 10000;
    rows[1].shocks[0].preShockPauseMs = 12000;
    // The mean depth of a group is over its cases that have one.
    rows[0].meanDepthIn = 1.9;
    rows[2].meanDepthIn = 2.3;
    rows[4].meanDepthIn = 2.0;
    for (const LibraryCase &c : rows)
        ASSERT_TRUE(library->store(c)) << library->errorText().toStdString();

    std::vector<LibraryStatsRow> months;
    ASSERT_TRUE(library->stats(LibraryGrouping::Month, {}, months)) << library->errorText().toStdString();
    ASSERT_EQ(months.size(), 3u);
    EXPECT_EQ(months[0].group, "");
    EXPECT_EQ(months[0].cases, 1);
    EXPECT_FALSE(months[0].medianCcf.has_value());
    EXPECT_FALSE(months[0].shareCcfAtTarget.has_value());
    EXPECT_EQ(months[1].group, "2021-01");
    EXPECT_EQ(months[1].cases, 4);
    EXPECT_EQ(months[1].shocks, 4);
    EXPECT_DOUBLE_EQ(months[1].medianCcf.value_or(-1), 0.80);
    EXPECT_DOUBLE_EQ(months[1].shareCcfAtTarget.value_or(-1), 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(months[1].shareShocksPreShockPauseAtMost10s.value_or(-1), 2.0 / 3.0);
    EXPECT_EQ(months[2].group, "2021-02");
    EXPECT_EQ(months[2].cases, 2);
    EXPECT_EQ(months[2].shocks, 0);
    EXPECT_DOUBLE_EQ(months[2].medianCcf.value_or(-1), 0.675);
    EXPECT_DOUBLE_EQ(months[2].shareCcfAtTarget.value_or(-1), 0.0);
    EXPECT_FALSE(months[2].shareShocksPreShockPauseAtMost10s.has_value());
    EXPECT_FALSE(months[0].meanDepthIn.has_value());
    EXPECT_NEAR(months[1].meanDepthIn.value_or(-1), 2.1, 1e-12);
    EXPECT_NEAR(months[2].meanDepthIn.value_or(-1), 2.0, 1e-12);

    std::vector<LibraryStatsRow> devices;
    LibraryFilter february;
    february.fromDay = QStringLiteral("2021-02-01");
    ASSERT_TRUE(library->stats(LibraryGrouping::Device, february, devices));
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].group, "SN1");
    EXPECT_DOUBLE_EQ(devices[0].medianCcf.value_or(-1), 0.75);
    EXPECT_EQ(devices[1].group, "SN2");
    EXPECT_DOUBLE_EQ(devices[1].medianCcf.value_or(-1), 0.60);
}

// The event "Shock delivered" of a trend block comes this long after the block's shock time.
constexpr int32_t ShockEventDelayMs = 520;

// A rescue whose shock (block time shockMs) falls in a pause begun at 2 s, after an analysis
// of analysisMs, a charge of 1.5 s and 1 s (plus the event's delay) to the shock; CPR goes on
// 2 s after the block's time, and a pause of 3.5 s no event explains follows.
DeviceFiles::DeviceFolder handsOffRescue(int32_t shockMs, int32_t analysisMs)
{
    DeviceFiles::DeviceFolder f = ArchiveMaker::rescue({{shockMs, 1500}});
    const int32_t ready = shockMs - 1000, result = ready - 1500;
    f.trend[0].events[1] = {6, result - analysisMs};
    f.trend[0].events[2] = {7, result};
    f.trend[0].events[3] = {9, ready};
    f.cprFeedback = {{1000, 50}, {1500, 50}, {2000, 50}, {shockMs + 2000, 50}, {shockMs + 2500, 50},
                     {shockMs + 6000, 50}, {shockMs + 6500, 50}};
    return f;
}

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The summary's medians of the steps to a shock and the share of hands-off time without a
// cause are those of the cases' own hands-off explanation, by month and by device alike.
TEST_P(CaseLibraryTest, SummariesGiveTheMedianStepsToAShockAndTheHandsOffTimeWithoutACause)
{
    ArchiveMaker maker;
    LanguagePack texts = Packs::builtInEnglish();
    auto library = openLibrary();
    LibraryIndexer indexer(*library, texts);
    QStringList archives;
    const std::vector<std::pair<int32_t, int32_t>> rescues = {{9000, 500}, {12000, 2500}, {15000, 900}, {10000, 1200}};
    for (std::size_t i = 0; i < rescues.size(); ++i)
        archives << maker.make(handsOffRescue(rescues[i].first, rescues[i].second),
                               QStringLiteral("Q25_%1.aed").arg(i));
    const LibraryAddSummary added = indexer.addAll(archives);
    ASSERT_EQ(added.added, int(rescues.size())) << added.failed.join('\n').toStdString();

    // The expected figures, from each case's explanation as the indexer reads it.
    std::vector<double> analysis, toShock, preShock;
    int64_t other = 0, total = 0;
    for (const QString &archive : archives) {
        LibraryCase c;
        QString why;
        ASSERT_TRUE(indexer.read(archive, c, why)) << why.toStdString();
        ASSERT_EQ(c.shocks.size(), 1u);
        ASSERT_TRUE(c.handsOffByCauseMs.has_value());
        analysis.push_back(double(c.shocks[0].analysisMs.value_or(-1)));
        toShock.push_back(double(c.shocks[0].toShockMs.value_or(-1)));
        preShock.push_back(double(c.shocks[0].handsOffPreShockPauseMs.value_or(-1)));
        other += (*c.handsOffByCauseMs)[std::size_t(PauseCause::Other)];
        for (int64_t ms : *c.handsOffByCauseMs)
            total += ms;
    }
    EXPECT_DOUBLE_EQ(medianOf(analysis), (900 + 1200) / 2.0) << "the analyses as the rescues were made";
    EXPECT_DOUBLE_EQ(medianOf(toShock), 1000 + ShockEventDelayMs);
    EXPECT_DOUBLE_EQ(medianOf(preShock), (8000 + 10000) / 2.0 + ShockEventDelayMs);
    EXPECT_EQ(other, 4 * 3500);

    for (const LibraryGrouping grouping : {LibraryGrouping::Month, LibraryGrouping::Device}) {
        std::vector<LibraryStatsRow> rows;
        ASSERT_TRUE(library->stats(grouping, {}, rows)) << library->errorText().toStdString();
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_DOUBLE_EQ(rows[0].medianAnalysisMs.value_or(-1), medianOf(analysis));
        EXPECT_DOUBLE_EQ(rows[0].medianToShockMs.value_or(-1), medianOf(toShock));
        EXPECT_DOUBLE_EQ(rows[0].medianPreShockPauseMs.value_or(-1), medianOf(preShock));
        EXPECT_DOUBLE_EQ(rows[0].shareHandsOffOther.value_or(-1), double(other) / double(total));
    }
    // An odd count takes the middle value itself.
    LibraryFilter three;
    three.fromDay = QStringLiteral("2021-03-07");
    std::vector<LibraryStatsRow> rows;
    ASSERT_TRUE(library->remove({libraryPathOf(archives[3])}));
    ASSERT_TRUE(library->stats(LibraryGrouping::Month, three, rows)) << library->errorText().toStdString();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_DOUBLE_EQ(rows[0].medianAnalysisMs.value_or(-1), 900);
    EXPECT_DOUBLE_EQ(rows[0].medianPreShockPauseMs.value_or(-1), 12000 - 2000 + ShockEventDelayMs);
}

// A row indexed before the hands-off time was kept holds none of it after the migration (it is
// not counted as 0), and adding its unchanged archive again reads it anew.
TEST_P(CaseLibraryTest, ARowOfTheFifthVersionHasNoHandsOffTimeUntilItsArchiveIsReadAgain)
{
    ArchiveMaker maker;
    LanguagePack texts = Packs::builtInEnglish();
    const QString archive = libraryPathOf(maker.make(handsOffRescue(9000, 500), QStringLiteral("Q25_old.aed")));
    LibraryCase facts;
    ASSERT_TRUE(readFileFacts(archive, facts));
    {
        auto old = openLibrary(5);
        QSqlQuery q(old->database());
        ASSERT_TRUE(q.prepare(QStringLiteral(
            "INSERT INTO cases (path, size_bytes, modified_ms, sha256, model, serial_number, start_time, "
            "start_time_valid, start_day, start_month, duration_ms, event_count, shock_count, analysis_count, "
            "has_cpr_feedback, has_audio, annotation_count, patient_id, last_name, first_name, comments, indexed_at, "
            "ccf, pre_shock_pauses, recording_id) VALUES (?, ?, ?, ?, 'Q25', 'SN-0042', 1615107900, 1, '2021-03-07', "
            "'2021-03', 20000, 5, 1, 1, 1, 1, 0, '', '', '', '', 1700000000, 0.7, 1, 'rec')")));
        for (const QVariant &v : {QVariant(archive), QVariant(qlonglong(facts.sizeBytes)),
                                  QVariant(qlonglong(facts.modifiedMs)), QVariant(facts.sha256)})
            q.addBindValue(v);
        ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO shocks (case_path, shock_index, time_ms, energy_j, "
                                          "pre_shock_pause_ms, post_shock_pause_ms) VALUES ('%1', 0, 9000, 150, 7000, 2000)")
                               .arg(archive)))
            << q.lastError().text().toStdString();
    }
    auto library = openLibrary();
    ASSERT_EQ(library->schemaVersion(), LibrarySchema::LatestVersion);
    std::vector<LibraryStatsRow> rows;
    ASSERT_TRUE(library->stats(LibraryGrouping::Month, {}, rows)) << library->errorText().toStdString();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].shocks, 1);
    EXPECT_FALSE(rows[0].medianAnalysisMs.has_value());
    EXPECT_FALSE(rows[0].medianPreShockPauseMs.has_value());
    EXPECT_FALSE(rows[0].shareHandsOffOther.has_value()) << "unknown, not 0";
    QSqlQuery q(library->database());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT hands_off_ms FROM cases")) && q.next());
    EXPECT_TRUE(q.value(0).isNull());

    LibraryIndexer indexer(*library, texts);
    QString why;
    EXPECT_EQ(indexer.add(archive, why), LibraryIndexer::Outcome::Updated) << why.toStdString();
    EXPECT_EQ(indexer.add(archive, why), LibraryIndexer::Outcome::Unchanged) << "read once, then current";
    ASSERT_TRUE(library->stats(LibraryGrouping::Month, {}, rows)) << library->errorText().toStdString();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_DOUBLE_EQ(rows[0].medianAnalysisMs.value_or(-1), 500);
    EXPECT_DOUBLE_EQ(rows[0].medianPreShockPauseMs.value_or(-1), 7000 + ShockEventDelayMs);
    EXPECT_DOUBLE_EQ(rows[0].shareHandsOffOther.value_or(-1), 3500.0 / (7000 + 2000 + 3500));
}

// A library of the first version, with a case in it, taken forward by the program.
TEST_P(CaseLibraryTest, ALibraryOfTheFirstVersionIsMigratedWithItsRows)
{
    {
        auto old = openLibrary(1);
        EXPECT_EQ(old->schemaVersion(), 1);
        QSqlQuery q(old->database());
        ASSERT_TRUE(q.exec(QStringLiteral(
            "INSERT INTO cases (path, size_bytes, modified_ms, sha256, model, serial_number, start_time, "
            "start_time_valid, start_day, start_month, duration_ms, event_count, shock_count, analysis_count, "
            "has_cpr_feedback, has_audio, annotation_count, patient_id, last_name, first_name, comments, indexed_at) "
            "VALUES ('/old.aed', 10, 20, 'ab', 'Q21', 'SN9', 1614000000, 1, '2021-02-22', '2021-02', 60000, 12, 1, "
            "2, 0, 0, 0, 'P1', 'Bianchi', 'Anna', '', 1614100000)")))
            << q.lastError().text().toStdString();
    }
    auto library = openLibrary();
    EXPECT_EQ(library->schemaVersion(), LibrarySchema::LatestVersion);
    const std::vector<LibraryCase> cases = listAll(*library);
    ASSERT_EQ(cases.size(), 1u);
    EXPECT_EQ(cases[0].lastName, "Bianchi");
    EXPECT_EQ(cases[0].shockCount, 1);
    EXPECT_FALSE(cases[0].ccf.has_value());
    // The new tables take rows at once.
    EXPECT_TRUE(library->store(libraryRow("/new.aed", "2021-03-01", "SN9", 0.9, 1)));
    EXPECT_EQ(listAll(*library).size(), 2u);
}

// A library of the version before the summary counted pauses per case: its shocks' pauses are
// counted into the case rows, so the summary of the migrated library is what it was.
TEST_P(CaseLibraryTest, ALibraryOfTheThirdVersionKeepsItsSummaryWhenMigrated)
{
    {
        auto old = openLibrary(3);
        EXPECT_EQ(old->schemaVersion(), 3);
        QSqlQuery q(old->database());
        for (const char *sql :
             {"INSERT INTO cases (path, size_bytes, modified_ms, sha256, model, serial_number, start_time, "
              "start_time_valid, start_day, start_month, duration_ms, event_count, shock_count, analysis_count, "
              "has_cpr_feedback, has_audio, annotation_count, patient_id, last_name, first_name, comments, indexed_at, "
              "ccf) VALUES ('/old.aed', 10, 20, 'ab', 'Q21', 'SN9', 1614000000, 1, '2021-02-22', '2021-02', 60000, 12, "
              "3, 2, 1, 0, 0, 'P1', 'Bianchi', 'Anna', '', 1614100000, 0.85)",
              "INSERT INTO shocks (case_path, shock_index, time_ms, energy_j, pre_shock_pause_ms, post_shock_pause_ms) "
              "VALUES ('/old.aed', 0, 60000, 150, 5000, 2000), ('/old.aed', 1, 120000, 200, 12000, 2000), "
              "('/old.aed', 2, 180000, 200, NULL, NULL)"})
            ASSERT_TRUE(q.exec(QLatin1String(sql))) << q.lastError().text().toStdString();
    }
    auto library = openLibrary();
    EXPECT_EQ(library->schemaVersion(), LibrarySchema::LatestVersion);
    LibraryCase added = libraryRow("/new.aed", "2021-02-25", "SN9", 0.65, 1);
    added.shocks[0].preShockPauseMs = 9000;
    ASSERT_TRUE(library->store(added)) << library->errorText().toStdString();

    std::vector<LibraryStatsRow> months;
    ASSERT_TRUE(library->stats(LibraryGrouping::Month, {}, months)) << library->errorText().toStdString();
    ASSERT_EQ(months.size(), 1u);
    EXPECT_EQ(months[0].cases, 2);
    EXPECT_EQ(months[0].shocks, 4);
    EXPECT_DOUBLE_EQ(months[0].medianCcf.value_or(-1), 0.75);
    EXPECT_DOUBLE_EQ(months[0].shareCcfAtTarget.value_or(-1), 0.5);
    // 5 s and 9 s of the 5 s, 12 s and 9 s pauses; the shock without a pause is not counted.
    EXPECT_DOUBLE_EQ(months[0].shareShocksPreShockPauseAtMost10s.value_or(-1), 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(months[0].shareShocksPreShockPauseAtMost20s.value_or(-1), 1.0);
    // The old row's first shock comes from its shocks; its first analysis is not known until
    // its archive is read again.
    EXPECT_DOUBLE_EQ(months[0].medianToFirstShockMs.value_or(-1), 60000);
    EXPECT_FALSE(months[0].medianToFirstAnalysisMs.has_value());
    std::optional<CaseLibrary::Fingerprint> old;
    ASSERT_TRUE(library->fingerprint(QStringLiteral("/old.aed"), old));
    ASSERT_TRUE(old.has_value());
    EXPECT_FALSE(old->current);
}

INSTANTIATE_TEST_SUITE_P(Engines, CaseLibraryTest, testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

// Qt reads file names as UTF-8 and its folder walk leaves out a name that is not: such an archive
// is named, its other bytes written as \xNN, with why it is not indexed, never skipped unnoticed.
TEST(ArchivesUnderTest, AnArchiveWhosePathIsNotUtf8IsNamedWithWhy)
{
    TempDir dir;
    const QString root = libraryPathOf(dir.path());
    std::vector<std::unique_ptr<RawNameFile>> files;
    for (const char *name : {"ok.aed", "caf\xC3\xA9.AED", "caso\xFF.aed", "tr\xE8s/inner.aed", "note\xFF.txt",
                             ".hidden\xFF.aed"}) {
        files.push_back(std::make_unique<RawNameFile>(root, name));
        ASSERT_TRUE(files.back()->made()) << name;
    }
    QStringList undecodable;
    const QStringList found = archivesUnder({dir.path(), root}, nullptr, &undecodable); // each named once
    EXPECT_EQ(found, (QStringList{root + QString::fromUtf8("/caf\xC3\xA9.AED"), root + "/ok.aed"}));
    EXPECT_EQ(undecodable,
              (QStringList{"\"" + root + "/caso\\xFF.aed\": its name is not valid UTF-8, so it cannot be opened",
                           "\"" + root
                               + "/tr\\xE8s/inner.aed\": the name of a folder it is in is not valid UTF-8, so it "
                                 "cannot be opened"}));
}

} // namespace

namespace {

mode_t modeOf(const QString &path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 0777;
}

// The SQLite library holds patient IDs, names and comments: a new one is private from its first
// byte, in a folder of its own that is private too; an existing looser file is tightened, while a
// folder the user keeps other files in keeps its mode.
TEST(CaseLibraryPrivacy, TheSqliteLibraryIsPrivate)
{
    TempDir dir;
    LibraryLocation fresh;
    fresh.sqliteFile = dir.file(QStringLiteral("new/library.sqlite"));
    {
        CaseLibrary library(fresh);
        ASSERT_TRUE(library.open()) << library.errorText().toStdString();
        EXPECT_EQ(library.privacyWarning(), QString());
    }
    EXPECT_EQ(modeOf(fresh.sqliteFile), mode_t(0600));
    EXPECT_EQ(modeOf(dir.file(QStringLiteral("new"))), mode_t(0700));
    for (const char *side : {"-wal", "-shm"}) {
        if (QFileInfo::exists(fresh.sqliteFile + side)) {
            EXPECT_EQ(modeOf(fresh.sqliteFile + side), mode_t(0600)) << side;
        }
    }

    const QString shared = dir.mkdir(QStringLiteral("shared"));
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 0755), 0);
    LibraryLocation loose;
    loose.sqliteFile = shared + QStringLiteral("/library.sqlite");
    {
        CaseLibrary library(loose);
        ASSERT_TRUE(library.open());
    }
    ASSERT_EQ(::chmod(QFile::encodeName(loose.sqliteFile).constData(), 0644), 0);
    CaseLibrary library(loose);
    ASSERT_TRUE(library.open());
    EXPECT_EQ(modeOf(loose.sqliteFile), mode_t(0600));
    EXPECT_EQ(modeOf(shared), mode_t(0755)) << "not the library's own folder";
}

} // namespace
