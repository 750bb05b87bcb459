#include "case/CaseTreeFixture.h"
#include "case/EventListText.h"
#include "device/ZoneShift.h"

#include <gtest/gtest.h>

namespace {

using DeviceFiles::EcgHeader;
using TreeImage::EventKind;

const QString CheckResponse = QStringLiteral("Prompt : Check for response. Are you all right?");
// "????-??-??" and "????-??-?? ??:??:??", spelt so that no trigraph appears.
const QString UnknownDate = QString(4, QLatin1Char('?')) + "-??" + "-??";
const QString UnknownStart = UnknownDate + " ??" + ":??" + ":??";

class EventList : public ::testing::Test, public CaseTreeFixture
{
protected:
    static EcgHeader at(uint8_t day, uint8_t hour, uint8_t minute, uint8_t second = 0)
    {
        EcgHeader h;
        h.day = day;
        h.hour = hour;
        h.minute = minute;
        h.second = second;
        return h;
    }
    static EcgHeader invalidHeader()
    {
        EcgHeader h;
        h.month = 13;
        return h;
    }
};

TEST_F(EventList, CasesShareTheirDayAndDeviceNodes)
{
    openCase(folder({}, at(7, 9, 5)), "SN-A");
    openCase(folder({}, at(7, 14, 30)), "SN-A");
    openCase(folder({}, at(7, 10, 0)), "SN-B");
    openCase(folder({}, at(8, 9, 0)), "SN-A");
    openCase(folder({}, invalidHeader()), "SN-A");
    openCase(folder({}, invalidHeader()), "SN-A");

    EXPECT_EQ(tree.lines(), QStringList({
                                "2021-03-07",
                                "  SN-A",
                                "    2021-03-07 09:05:00(UTC+09:00)",
                                "      09:05:00 Power on.",
                                "    2021-03-07 14:30:00(UTC+09:00)",
                                "      14:30:00 Power on.",
                                "  SN-B",
                                "    2021-03-07 10:00:00(UTC+09:00)",
                                "      10:00:00 Power on.",
                                "2021-03-08",
                                "  SN-A",
                                "    2021-03-08 09:00:00(UTC+09:00)",
                                "      09:00:00 Power on.",
                                UnknownDate,
                                "  SN-A",
                                "    " + UnknownStart + "(UTC+09:00)",
                                "      00:00:00 Power on.",
                                "    " + UnknownStart + "(UTC+09:00)",
                                "      00:00:00 Power on.",
                            }));
}

TEST_F(EventList, BuildMarksTheCaseViewedAndExpandsItsBranch)
{
    const int slot = openCase(folder());
    const CaseRecord &c = *view.store.caseAt(slot);

    EXPECT_EQ(c.buildState, CaseListBuilt);
    EXPECT_TRUE(view.store.at(slot).viewed);
    EXPECT_EQ(tree.itemImage(c.dateItem), TreeImage::Date);
    EXPECT_EQ(tree.itemImage(c.deviceItem), TreeImage::Device);
    EXPECT_EQ(tree.itemImage(c.caseItem), TreeImage::CaseViewed);
    EXPECT_TRUE(tree.isExpanded(c.dateItem));
    EXPECT_TRUE(tree.isExpanded(c.deviceItem));
    EXPECT_TRUE(tree.isExpanded(c.caseItem));
    EXPECT_EQ(c.startDate, CTime(2021, 3, 7, 0, 0, 0));
    EXPECT_EQ(c.powerOnTimeText, "2021-03-07 09:05:00");
}

TEST_F(EventList, ZoneSuffixCarriesTheSignedHoursAndMinutesOfTheRow)
{
    struct Row { const char *name; const char *suffix; int shiftMinutes; };
    const Row rows[] = {
        {"Seoul(Korea, South) UTC+09:00", "(UTC+09:00)", 0},
        {"Caracas(Venezuela) UTC-04:30", "(UTC-04:30)", -810},
        {"Kathmandu(Nepal) UTC+05:45", "(UTC+05:45)", -195},
    };
    const CTime start(2021, 3, 7, 9, 5, 0);
    for (const Row &row : rows) {
        const int index = zoneRowNamed(row.name);
        ASSERT_GE(index, 0) << row.name;
        const int slot = openCase(folder(), QString::fromLatin1(row.name), index);
        EXPECT_EQ(tree.itemText(view.store.caseAt(slot)->caseItem), QStringLiteral("2021-03-07 09:05:00") + row.suffix);
        EXPECT_EQ(ShiftStartToZone(start, index) - start, CTimeSpan(int64_t(row.shiftMinutes) * 60)) << row.name;
    }
    EXPECT_EQ(EventListText::zoneSuffix(-270, true), "(UTC-04:30) Adjust Time");
    EXPECT_EQ(EventListText::zoneSuffix(-30, false), "(UTC-00:30)");
    EXPECT_EQ(EventListText::zoneSuffix(0, false), "(UTC+00:00)");
}

TEST_F(EventList, ClockLabelIsTheTimeOfDayOrTheElapsedHoursWithinADay)
{
    const int valid = openCase(folder({{1, 3725000}}, at(7, 23, 59)));
    const int invalid = openCase(folder({{1, 3725000}}, invalidHeader()));
    EXPECT_EQ(eventLines(valid).last(), "01:01:05 " + CheckResponse);
    EXPECT_EQ(eventLines(invalid).last(), "01:02:05 " + CheckResponse);

    const CTime start(2021, 3, 7, 23, 59, 0);
    EXPECT_EQ(EventListText::clockLabel(false, start, CTimeSpan(90000)), "01:00:00 ");
    EXPECT_EQ(EventListText::clockLabel(true, start, CTimeSpan(90000)), "00:59:00 ");
    EXPECT_EQ(EventListText::clockLabel(false, start, CTimeSpan(0)), "00:00:00 ");
}

TEST_F(EventList, AnnotationsJoinBetweenTheDeviceEventsAndKeepTheirPlaceOnEqualTimes)
{
    const int slot = createCase(folder({{1, 5000}}));
    CaseRecord &c = *view.store.caseAt(slot);
    c.timeZoneIndex = seoulRow();
    c.savedAnnotationCount = 2;
    c.annotationChangeCount = 2;
    view.store.pendingAnnotations = {EventItem::make(5000, "A: later", ""), EventItem::make(0, "A: at power on", "body")};
    BuildEventList(view, slot);

    EXPECT_EQ(eventLines(slot), QStringList({"09:05:00 Power on.", "09:05:00 A: at power on",
                                             "09:05:05 " + CheckResponse, "09:05:05 A: later"}));
    EXPECT_EQ(events(slot), QList<Event>({{0, "Power on."}, {5000, CheckResponse}, {5000, "A: later"},
                                          {0, "A: at power on"}}));
    EXPECT_EQ(c.events[3].detail, "body");
    EXPECT_TRUE(view.store.pendingAnnotations.empty());
}

TEST_F(EventList, OnlyTheArchivesCountOfPendingAnnotationsIsAdded)
{
    const int slot = createCase(folder());
    view.store.caseAt(slot)->savedAnnotationCount = 1;
    view.store.pendingAnnotations = {EventItem::make(1000, "A: one", ""), EventItem::make(2000, "A: stray", "")};
    BuildEventList(view, slot);

    EXPECT_EQ(events(slot), QList<Event>({{0, "Power on."}, {1000, "A: one"}}));
    EXPECT_TRUE(view.store.pendingAnnotations.empty());
}

TEST_F(EventList, TypedStartBelongsToItsOwnCase)
{
    // The adjusted start is the case's: a case built later, or before, keeps the device's.
    const int plainBefore = openCase(folder(), "SN-0");
    const int adjusted = createCase(folder({{1, 3000}}));
    view.store.caseAt(adjusted)->serialNumber = "SN-A";
    view.store.caseAt(adjusted)->timeZoneIndex = zoneRowNamed("Caracas(Venezuela) UTC-04:30");
    view.store.at(adjusted).adjustedStart = QStringLiteral("2021-03-04 05:06:07");
    BuildEventList(view, adjusted);
    const int plain = openCase(folder(), "SN-B");

    EXPECT_EQ(tree.itemText(view.store.caseAt(adjusted)->caseItem), "2021-03-04 05:06:07(UTC-04:30) Adjust Time");
    EXPECT_EQ(view.store.caseAt(adjusted)->startTime, CTime(2021, 3, 4, 5, 6, 7));
    EXPECT_EQ(view.store.caseAt(adjusted)->powerOnTimeText, "2021-03-07 09:05:00") << "the device's own start";
    EXPECT_EQ(eventLines(adjusted), QStringList({"05:06:07 Power on.", "05:06:10 " + CheckResponse}));
    EXPECT_EQ(tree.itemText(view.store.caseAt(plain)->caseItem), "2021-03-07 09:05:00(UTC+09:00)");
    EXPECT_EQ(tree.itemText(view.store.caseAt(plainBefore)->caseItem), "2021-03-07 09:05:00(UTC+09:00)");
    EXPECT_FALSE(view.store.at(plain).timeAdjusted());
}

TEST(EventListText, StrictStartAcceptsOnlyRealDatesAndTimesInTheOneForm)
{
    struct Case { const char *text; bool valid; };
    const Case cases[] = {
        {"2021-03-07 09:05:00", true}, {"2024-02-29 23:59:59", true}, {"", false}, {"10:00", false},
        {"2021-3-7 9:5:0", false},     {"2021-02-30 25:61:00", false}, {"2021-02-29 10:00:00", false},
        {"2021-13-01 10:00:00", false}, {"2021-03-07 24:00:00", false}, {"2021-03-07 10:60:00", false},
        {"2021-03-07 10:00:60", false}, {"2021/03/07 10:00:00", false}, {" 2021-03-07 10:00:00", false},
        {"2021-03-07 10:00:00x", false}, {"2021-00-07 10:00:00", false}, {"2021-03-00 10:00:00", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EventListText::parseStrictStart(QString::fromLatin1(c.text)).has_value(), c.valid) << c.text;
    EXPECT_EQ(*EventListText::parseStrictStart("2021-03-07 09:05:01"), CTime(2021, 3, 7, 9, 5, 1));

    // A case starts in the years an archive's start may lie in, and nowhere else.
    const Case years[] = {
        {"1970-01-01 00:00:00", true},  {"2099-12-31 23:59:59", true},  {"1969-12-31 23:59:59", false},
        {"2100-01-01 00:00:00", false}, {"9999-12-31 23:59:59", false}, {"0001-01-01 00:00:00", false},
        {"2021-02-30 10:00:00", false},
    };
    for (const Case &c : years)
        EXPECT_EQ(EventListText::parseStartInYears(QString::fromLatin1(c.text)).has_value(), c.valid) << c.text;
}

TEST(EventListText, TypedStartIsReadFieldByFieldLikeTheCLibrary)
{
    struct Case { const char *text; int value; };
    const Case numbers[] = {{"42", 42}, {"  +7", 7}, {"-3x", -3}, {"x3", 0}, {"", 0}, {"0009", 9}, {"\t12", 12}};
    for (const Case &n : numbers)
        EXPECT_EQ(EventListText::readDecimal(QString::fromLatin1(n.text)), n.value) << n.text;

    EXPECT_EQ(EventListText::parseAdjustedStart("2021-03-04 05:06:07"), CTime(2021, 3, 4, 5, 6, 7));
    // A month past December and a short text follow the C library's normalisation.
    EXPECT_EQ(EventListText::parseAdjustedStart("2021-13-01 00:00:00"), CTime(2022, 1, 1, 0, 0, 0));
    // The seconds are the last two characters, whatever comes before them.
    EXPECT_EQ(EventListText::parseAdjustedStart("2021-03-04 05:06:7"), CTime(2021, 3, 4, 5, 6, 0));
    EXPECT_EQ(EventListText::parseAdjustedStart("2021-03-04"), CTime(2021, 3, 4, 0, 0, 4));
}

TEST(EventListText, ImageFollowsTheTextAndTheModelIndex)
{
    const EventListText::EventKindTexts texts = EventListText::EventKindTexts::from(Packs::builtInEnglish());
    struct Case { const char *text; EventKind kind; };
    const Case cases[] = {
        {"Prompt : Deliver shock now.", EventKind::Shock},
        {"Prompt : Shock delivered.(E: 150.0 J   BI: 70 ohm   # of Shock: 1)", EventKind::Shock},
        {"Power off.", EventKind::PowerOff},
        {"Power on.", EventKind::PowerOn},
        {"Power on. ", EventKind::Other},
        {"A: Power on.", EventKind::Annotation},
        {"A:no blank", EventKind::Other},
        {"Prompt : Press the red flashing button now. Deliver shock now.", EventKind::Other},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EventListText::eventKind(QString::fromLatin1(c.text), texts), c.kind) << c.text;

    EXPECT_EQ(TreeImage::eventImage(EventKind::Other, 0), 4);
    EXPECT_EQ(TreeImage::eventImage(EventKind::Shock, 1), 10);
    EXPECT_EQ(TreeImage::eventImage(EventKind::PowerOn, 2), 18);
}

TEST_F(EventList, EventItemsUseTheImagesOfTheCasesModel)
{
    DeviceFiles::DeviceFolder f = folder({{1, 1000}});
    f.trend[0].powerOffMs = 9000;
    const int slot = createCase(f);
    view.store.caseAt(slot)->timeZoneIndex = seoulRow();
    view.store.at(slot).modelIndex = 1;
    BuildEventList(view, slot);
    std::vector<int> images;
    for (TreeItemId item : tree.children(view.store.caseAt(slot)->caseItem))
        images.push_back(tree.itemImage(item));
    EXPECT_EQ(eventLines(slot).last(), "09:05:09 Power off.");
    EXPECT_EQ(images, (std::vector<int>{13, 9, 11}));
}

} // namespace
