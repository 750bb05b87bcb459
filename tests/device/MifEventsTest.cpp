#include "case/CaseViewFixture.h"
#include "device/EventText.h"

#include <gtest/gtest.h>

namespace {

using DeviceFiles::DeviceFolder;
using DeviceFiles::TrendBlock;
using Periods = QList<QPair<int32_t, int32_t>>;

const QString IfNeededBeginCpr = QStringLiteral("Prompt : If needed, Begin CPR.");
const QString BeginCpr = QStringLiteral("Prompt : Begin CPR.");
const QString Beep = QStringLiteral("Chest compression Beep.");
const QString TwoBreaths = QStringLiteral("Prompt : Give two breaths.");
const QString StopCpr = QStringLiteral("Prompt : Stop CPR.");
const QString UnitOk = QStringLiteral("Prompt : Unit ok.");
const QString PlugInPads = QStringLiteral("Prompt : Plug in pads. Insert connector firmly.(Pads connector off.)");
const QString AdultPads = QStringLiteral("Prompt : Adult pads.");
const QString PowerOff = QStringLiteral("Power off.");
const QString ButtonPressed = QStringLiteral("Shock Button pressed.");

class MifEvents : public ::testing::Test, public CaseViewFixture
{
protected:
    // Block events from (code, time) pairs, in entry order.
    static TrendBlock block(std::initializer_list<std::pair<int32_t, int32_t>> entries, int32_t mode = 1)
    {
        TrendBlock b;
        b.mode = mode;
        size_t e = 0;
        for (const auto &[code, time] : entries)
            b.events[e++] = {code, time};
        return b;
    }

    int decodeBlocks(const std::vector<TrendBlock> &blocks)
    {
        DeviceFolder f = emptyFolder();
        f.trend = blocks;
        return decodeCase(f);
    }

    // The worked rescue: CPR begun at 100 s (block mode 0), breaths at 130 s, stopped at 160 s.
    static TrendBlock cprBlock() { return block({{12, 100000}, {13, 130000}, {14, 160000}}, 0); }
};

TEST_F(MifEvents, PowerOffBoundsItsBlockAndTheFollowingOnes)
{
    TrendBlock first = block({{1, 59000}, {2, 61000}});
    first.powerOffMs = 60000;
    TrendBlock second = block({{3, 50000}, {4, 61000}, {6, 60000}});
    second.shockMs = 70000;
    second.energyTenthsJ = 1500;
    TrendBlock third = block({{8, 80000}, {9, 95000}});
    third.powerOffMs = 90000;
    TrendBlock outOfRange = block({{11, 100000}});
    outOfRange.powerOffMs = 0x80000000u; // not a power-off time: the bound stays
    const int slot = decodeBlocks({first, second, third, outOfRange});

    EXPECT_EQ(deviceEvents(slot), QList<Event>({
                                      {59000, "Prompt : Check for response. Are you all right?"},
                                      {60000, PowerOff},
                                      {50000, "Prompt : Open the airway."},
                                      {60000, "Prompt : Analyzing heart rhythm. Do not touch the patient."},
                                      {80000, "Prompt : Charging. Do not touch the patient."},
                                      {90000, PowerOff},
                                  }));
    EXPECT_EQ(view.store.at(slot).shockCount, 0);
}

TEST_F(MifEvents, AnalysisResultCarriesHeartRateAndImpedance)
{
    struct Case {
        std::vector<DeviceFiles::TimedValue> heartRate;
        int32_t nextCode;
        int32_t mode;
        QString text;
    };
    const QString noShock = QStringLiteral("Prompt : No shock advised.");
    const QString shock = QStringLiteral("Prompt : Shock advised.");
    const Case cases[] = {
        {{{97000, 72}}, 11, 1, noShock + "(HR :  72 bpm   BI: 85 ohm)"},
        {{{97000, 15}}, 11, 1, noShock + "(HR : --- bpm   BI: 85 ohm)"},
        {{{97000, 72}}, 11, 2, noShock + "(HR : --- bpm   BI: 85 ohm)"},
        {{{97000, 72}}, 8, 1, shock + "(HR :  72 bpm)"},
        {{{97000, 72}}, 0, 2, shock + "(HR : --- bpm)"},
        {{{95000, 20}}, 8, 0, shock + "(HR :  20 bpm)"},         // 5 s back still counts
        {{{94999, 72}}, 8, 1, shock + "(HR : --- bpm)"},         // older than 5 s
        {{{100001, 72}}, 8, 1, shock + "(HR : --- bpm)"},        // after the analysis
        {{{99000, 140}, {96000, 60}}, 8, 1, shock + "(HR :  60 bpm)"}, // last record in the file wins
        {{{99000, 140}}, 8, 1, shock + "(HR : 140 bpm)"},
    };
    for (const auto &c : cases) {
        TrendBlock b = block({{7, 100000}, {c.nextCode, 101000}}, c.mode);
        b.impedanceOhm = 85;
        DeviceFolder f = emptyFolder();
        f.trend = {b};
        f.heartRate = c.heartRate;
        const int slot = decodeCase(f);
        const QList<Event> list = deviceEvents(slot);
        ASSERT_FALSE(list.isEmpty());
        EXPECT_EQ(list.first(), Event(100000, c.text)) << c.text.toStdString();
    }
}

TEST_F(MifEvents, CprPeriodOpenedMovedAndClosed)
{
    const int slot = decodeBlocks({cprBlock()});
    EXPECT_EQ(deviceEvents(slot), QList<Event>({
                                      {100000, IfNeededBeginCpr},
                                      {102000, Beep},
                                      {130000, TwoBreaths},
                                      {160000, StopCpr},
                                  }));
    EXPECT_EQ(cprPeriods(slot), Periods({{100000, 160000}}));
}

TEST_F(MifEvents, CprPeriodRules)
{
    struct Case {
        const char *name;
        std::vector<TrendBlock> blocks;
        QList<Event> events;
        Periods periods;
    };
    TrendBlock poweredOff = block({{12, 100000}});
    poweredOff.powerOffMs = 150000;
    const Case cases[] = {
        {"begin CPR opens 200 ms", {block({{12, 100000}})}, {{100000, BeginCpr}, {101300, Beep}}, {{100000, 100200}}},
        {"code 12 while open is a beep",
         {block({{12, 100000}, {12, 110000}})},
         {{100000, BeginCpr}, {101300, Beep}, {110000, Beep}},
         {{100000, 110000}}},
        {"breaths and stop without a period",
         {block({{13, 5000}, {14, 6000}})},
         {{5000, TwoBreaths}, {6000, StopCpr}},
         {}},
        {"stop closes: later breaths change nothing",
         {block({{12, 100000}, {14, 120000}, {13, 130000}})},
         {{100000, BeginCpr}, {101300, Beep}, {120000, StopCpr}, {130000, TwoBreaths}},
         {{100000, 120000}}},
        {"CPR device and if-needed CPR device open periods",
         {block({{15, 10000}, {26, 20000}, {13, 25000}})},
         {{10000, "Prompt : Place CPR device in center of patient's chest and begin CPR."},
          {20000, "Prompt : If needed, place CPR device in center of patient's chest and begin CPR."},
          {25000, TwoBreaths}},
         {{10000, 10200}, {20000, 25000}}},
        {"power-off closes the open period",
         {poweredOff, block({{13, 140000}})},
         {{100000, BeginCpr}, {101300, Beep}, {150000, PowerOff}, {140000, TwoBreaths}},
         {{100000, 150000}}},
        {"the open period carries into the next block",
         {block({{12, 100000}}), block({{14, 180000}})},
         {{100000, BeginCpr}, {101300, Beep}, {180000, StopCpr}},
         {{100000, 180000}}},
    };
    for (const auto &c : cases) {
        const int slot = decodeBlocks(c.blocks);
        EXPECT_EQ(deviceEvents(slot), c.events) << c.name;
        EXPECT_EQ(cprPeriods(slot), c.periods) << c.name;
    }
}

TEST_F(MifEvents, PadsOffCutsThePeriodAndPadsOnResumesIt)
{
    TrendBlock b = cprBlock();
    b.pads[0] = {120000, 125000, 1};
    const int slot = decodeBlocks({b});
    EXPECT_EQ(deviceEvents(slot), QList<Event>({
                                      {100000, IfNeededBeginCpr},
                                      {102000, Beep},
                                      {130000, TwoBreaths},
                                      {160000, StopCpr},
                                      {119000, UnitOk},
                                      {120000, PlugInPads},
                                      {125000, AdultPads},
                                  }));
    EXPECT_EQ(cprPeriods(slot), Periods({{100000, 120000}, {125000, 160000}}));
}

TEST_F(MifEvents, PadsTextsFollowTypeAndModelIndex)
{
    struct Case { int32_t modelIndex; uint32_t type; QString text; };
    const Case cases[] = {
        {0, 1, AdultPads},
        {1, 2, "Prompt : Pediatric pads."},
        {2, 1, "Prompt : Adult mode."},
        {2, 2, "Prompt : Pediatric mode."},
        {0, 3, QString()},
    };
    for (const auto &c : cases) {
        TrendBlock b;
        b.pads[0] = {3000, 4000, c.type}; // both within 5 s of power-on: no unit check
        view.state.modelIndex = c.modelIndex;
        const int slot = decodeBlocks({b});
        QList<Event> expected = {{3000, PlugInPads}};
        if (!c.text.isEmpty())
            expected.append({4000, c.text});
        EXPECT_EQ(deviceEvents(slot), expected) << c.modelIndex << " " << c.type;
    }
}

TEST_F(MifEvents, UnitOkPrecedesTheFirstPadsChangeOrEarlierPrompt)
{
    struct Case {
        const char *name;
        std::vector<std::pair<int32_t, int32_t>> events;
        std::vector<DeviceFiles::PadsEntry> pads;
        int32_t unitOkMs;
    };
    const Case cases[] = {
        {"pads on only", {}, {{0, 125000, 0}}, 124000},
        {"pads off only", {}, {{90000, 0, 0}}, 89000},
        {"earlier of off and on", {}, {{130000, 125000, 0}}, 124000},
        {"first qualifying entry counts", {}, {{1000, 2000, 0}, {70000, 0, 0}, {10000, 0, 0}}, 69000},
        {"replace pads earlier", {{29, 50000}}, {{70000, 0, 0}}, 49000},
        {"audio recording earlier", {{28, 50000}}, {{70000, 0, 0}}, 48000},
        {"audio recording before replace pads", {{29, 50000}, {28, 45000}}, {{70000, 0, 0}}, 43000},
        {"later prompts do not count", {{29, 80000}}, {{70000, 0, 0}}, 69000},
    };
    for (const auto &c : cases) {
        TrendBlock b;
        for (size_t i = 0; i < c.events.size(); ++i)
            b.events[i] = {c.events[i].first, c.events[i].second};
        for (size_t i = 0; i < c.pads.size(); ++i)
            b.pads[i] = c.pads[i];
        const int slot = decodeBlocks({b});
        QList<int32_t> unitOkTimes;
        for (const auto &e : deviceEvents(slot))
            if (e.second == UnitOk)
                unitOkTimes.append(e.first);
        EXPECT_EQ(unitOkTimes, QList<int32_t>({c.unitOkMs})) << c.name;
    }
}

TEST_F(MifEvents, PadsBeyondThePowerOffAreDropped)
{
    TrendBlock b;
    b.powerOffMs = 100000;
    b.pads[0] = {110000, 120000, 1};
    const int slot = decodeBlocks({b});
    // The unit check still counts the entry; the pads events do not.
    EXPECT_EQ(deviceEvents(slot), QList<Event>({{109000, UnitOk}, {100000, PowerOff}}));
}

TEST_F(MifEvents, ShocksAreCountedAndWorded)
{
    TrendBlock first;
    first.shockMs = 200000;
    first.energyTenthsJ = 1500;
    first.impedanceOhm = 70;
    TrendBlock second = block({{27, 290000}});
    second.shockMs = 300000;
    second.energyTenthsJ = 1505;
    second.impedanceOhm = 64;
    TrendBlock third;
    third.shockMs = 400000;
    third.energyTenthsJ = 2000;
    third.impedanceOhm = 101;
    const int slot = decodeBlocks({first, second, third});

    const QString delivered = QStringLiteral("Prompt : Shock delivered.");
    EXPECT_EQ(deviceEvents(slot),
              QList<Event>({
                  {200000, ButtonPressed},
                  {200520, delivered + "(E: 150.0 J   BI: 70 ohm   # of Shock: 1)"},
                  {290000, "Prompt : Shock will be delivered. Do not touch the patient. 3, 2, 1."},
                  {300520, delivered + "(E: 150.5 J   BI: 64 ohm   # of Shock: 2)"},
                  {400000, ButtonPressed},
                  {400520, delivered + "(E: 200.0 J   BI: 101 ohm   # of Shock: 3)"},
              }));
    EXPECT_EQ(view.store.at(slot).shockCount, 3);
}

// Each event keeps the code of the trend entry it came from; the shock's delivery has a
// code of its own, and what the walk adds by itself has none.
TEST_F(MifEvents, EventsKnowTheCodeTheyWereDecodedFrom)
{
    TrendBlock b = block({{12, 1000}, {33, 3000}, {31, 4000}});
    b.pads[0] = {0, 500, 1};
    b.pads[1] = {4500, 0, 0};
    b.shockMs = 9000;
    b.energyTenthsJ = 1500;
    const int slot = decodeBlocks({b});
    view.store.AddEvent(slot, 5000, QStringLiteral("A: note"), QString());

    QList<QPair<int32_t, int32_t>> codes; // (time, code) in table order
    view.store.caseAt(slot)->events.forEachUsed([&](int, const EventItem &e) { codes.append({e.timeMs, e.code}); });
    EXPECT_EQ(codes, (QList<QPair<int32_t, int32_t>>{{0, EventCode::None},
                                                      {1000, 12},
                                                      {2300, 12}, // the first beep
                                                      {3000, 33},
                                                      {4000, 31},
                                                      {500, EventCode::PadsOn},
                                                      {4500, EventCode::PadsOff},
                                                      {9000, EventCode::None},
                                                      {9520, EventCode::ShockDelivered},
                                                      {5000, EventCode::None}}));
}

TEST_F(MifEvents, EventCodesWithoutTextAreMarked)
{
    const int slot = decodeBlocks({block({{33, 1000},
                                          {0, 1500},
                                          {200, 2000},
                                          {-5, 3000},
                                          {99, 4000},
                                          {117, 5000},
                                          {10, 6000},
                                          {32, 7000},
                                          {100, 8000},
                                          {114, 9000},
                                          {115, 10000},
                                          {116, 11000}})});
    EXPECT_EQ(deviceEvents(slot), QList<Event>({
                                      {1000, "???"},
                                      {2000, "???"},
                                      {3000, "???"},
                                      {4000, "???"},
                                      {5000, "???"},
                                      {6000, "Prompt : Shock button not pressed."},
                                      {7000, "Prompt : Press the flashing button now."},
                                      {8000, "Prompt : Shock canceled(Pads Connector Off)."},
                                      {9000, "Prompt : CPR device failure."},
                                      {10000, "Prompt : Shock canceled(Unaligned Memory Access)"},
                                      {11000, "Prompt : Shock canceled(Hard Fault)"},
                                  }));
}

TEST_F(MifEvents, ImpedanceCancelTextsFollowTheModelAtDecodingTime)
{
    struct Case { int32_t model; QString text101; QString text103; };
    const QString outOfRange = QStringLiteral("Prompt : Shock canceled(Out of Impedance Range).");
    const Case cases[] = {
        {ModelQ21, outOfRange, outOfRange},
        {ModelQ25, "Prompt : Shock canceled(Out of Impedance Range : Out Range).",
         "Prompt : Shock canceled(Out of Impedance Range : In Range)."},
        {ModelNone, "Prompt : Shock canceled(Out of Impedance Range : Out Range).",
         "Prompt : Shock canceled(Out of Impedance Range : In Range)."},
    };
    for (const auto &c : cases) {
        DeviceFolder f = emptyFolder();
        f.model = DeviceFiles::Model::Q21; // the case's own model does not decide
        f.trend = {block({{101, 1000}, {103, 2000}})};
        const int slot = createCase(f);
        view.state.deviceModel = c.model;
        MifCase::DecodeCaseData(view.store, slot, view.texts(), view.state.deviceModel, view.state.modelIndex);
        EXPECT_EQ(deviceEvents(slot), QList<Event>({{1000, c.text101}, {2000, c.text103}})) << c.model;
        EXPECT_EQ(EventText(101, view.state.deviceModel, view.texts()), c.text101);
    }
}

TEST_F(MifEvents, FullCprTableLeavesExistingPeriodsAlone)
{
    TrendBlock b = cprBlock();
    b.pads[0] = {120000, 125000, 1};
    DeviceFolder f = emptyFolder();
    f.trend = {b};
    const int slot = createCase(f);
    for (int i = 0; i < MaxCprPeriods; ++i)
        view.store.AddCprPeriod(slot, 10 * i, 10 * i + 5, false);
    MifCase::DecodeCaseData(view.store, slot, view.texts(), view.state.deviceModel, view.state.modelIndex);

    // The refused period is absent; period 0 is not taken for it.
    EXPECT_EQ(platform.texts(), QStringList({"Can't add any more CPR Periods."}));
    const Periods periods = cprPeriods(slot);
    ASSERT_EQ(periods.size(), MaxCprPeriods);
    EXPECT_EQ(periods[0], qMakePair(0, 5));
    EXPECT_EQ(periods[199], qMakePair(1990, 1995));
    // The events are all there.
    EXPECT_EQ(deviceEvents(slot).size(), 7);
}

} // namespace
