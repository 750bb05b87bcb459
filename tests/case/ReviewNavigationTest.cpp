// Finding one's way through a long case: the moves the keys and the wheel ask for, what
// "Go to time..." accepts, the kinds of events the filter and the jumps pick out.
#include "base/CTime.h"
#include "case/EventFilter.h"
#include "case/GoToTime.h"
#include "case/ReviewMoves.h"

#include <gtest/gtest.h>

namespace {

using K = ReviewMove::Kind;

TEST(ReviewMoves, KeysOnAScreenOfEightSecondsInACaseOfOneHundred)
{
    struct Row {
        int key;
        Qt::KeyboardModifiers modifiers;
        int64_t position;
        ReviewMove move;
        int64_t after;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Row rows[] = {
        {Qt::Key_Right, none, 50, {K::By, 1}, 51},
        {Qt::Key_Left, none, 50, {K::By, -1}, 49},
        {Qt::Key_Right, Qt::ShiftModifier, 50, {K::By, 10}, 60},
        {Qt::Key_Left, Qt::ShiftModifier, 5, {K::By, -10}, 0},     // never before the start
        {Qt::Key_PageDown, none, 95, {K::By, 8}, 100},             // never past the end
        {Qt::Key_PageUp, none, 50, {K::By, -8}, 42},
        {Qt::Key_Home, none, 50, {K::ToStart, 0}, 0},
        {Qt::Key_End, none, 50, {K::ToEnd, 0}, 100},
        {Qt::Key_Right, Qt::ControlModifier, 50, {}, 50},          // Ctrl+arrow is someone else's
        {Qt::Key_Up, none, 50, {}, 50},
        {Qt::Key_A, none, 50, {}, 50},
    };
    for (const Row &r : rows) {
        const ReviewMove m = reviewMoveForKey(r.key, r.modifiers, 8);
        EXPECT_EQ(m, r.move) << "key " << r.key;
        EXPECT_EQ(positionAfterMove(m, r.position, 100), r.after) << "key " << r.key;
    }
}

TEST(ReviewMoves, WheelNotchesAwayGoBackAndFractionsAddUp)
{
    int acc = 0;
    EXPECT_EQ(reviewMoveForWheel(acc, -120, Qt::NoModifier, 30), (ReviewMove{K::By, 30}));
    EXPECT_EQ(reviewMoveForWheel(acc, 240, Qt::NoModifier, 30), (ReviewMove{K::By, -60}));
    EXPECT_EQ(reviewMoveForWheel(acc, 120, Qt::ShiftModifier, 1), (ReviewMove{K::By, -10}));
    // A touchpad's small deltas move once they make a notch, and the rest is kept.
    EXPECT_EQ(reviewMoveForWheel(acc, -50, Qt::NoModifier, 1), ReviewMove{});
    EXPECT_EQ(reviewMoveForWheel(acc, -50, Qt::NoModifier, 1), ReviewMove{});
    EXPECT_EQ(reviewMoveForWheel(acc, -50, Qt::NoModifier, 1), (ReviewMove{K::By, 1}));
    EXPECT_EQ(acc, -30);
    // Turning back cancels what was gathered before it counts.
    EXPECT_EQ(reviewMoveForWheel(acc, 60, Qt::NoModifier, 1), ReviewMove{});
    EXPECT_EQ(acc, 30);
}

TEST(GoToTime, ParsesClockElapsedAndEventNumbers)
{
    using G = GoToRequest::Kind;
    struct Row {
        const char *text;
        GoToRequest expected;
    };
    const Row rows[] = {
        {"09:05:30", {G::ClockTime, 9 * 3600 + 5 * 60 + 30}},
        {" 9:05:30 ", {G::ClockTime, 9 * 3600 + 5 * 60 + 30}},
        {"23:59:59", {G::ClockTime, 86399}},
        {"14:30", {G::ClockTime, 14 * 3600 + 30 * 60}},
        {"+05:30", {G::Elapsed, 330}},
        {"+1:05:30", {G::Elapsed, 3600 + 330}},
        {"+125:00", {G::Elapsed, 7500}},                // minutes beyond an hour as typed
        {"+10:00:00", {G::Elapsed, 36000}},
        {"+45", {G::Elapsed, 45}},
        {"12", {G::EventNumber, 12}},
        // Not one of the forms.
        {"", {}},
        {"   ", {}},
        {"24:00:00", {}},
        {"12:60:00", {}},
        {"12:5:00", {}},
        {"12:05:00:01", {}},
        {"+", {}},
        {"+1:5", {}},
        {"-05:00", {}},
        {"0", {}},
        {"twelve", {}},
        {"12:ab:00", {}},
        {"+１:00", {}}, // full-width digits are not digits here
        {"1e3", {}},
    };
    for (const Row &r : rows)
        EXPECT_EQ(parseGoToRequest(QString::fromUtf8(r.text)), r.expected) << '"' << r.text << '"';
}

TEST(GoToTime, ResolvesOnTheTreeClockAndAcrossMidnight)
{
    using O = GoToTarget::Outcome;
    // Power-on 23:00:00 on the device clock, a case of 10 hours, events at 0, 60 and 7200 s.
    const CTime start = DeviceClockTime(2024, 3, 1, 23, 0, 0);
    const int64_t end = 36000;
    const std::vector<int64_t> events{0, 60, 7200};
    const auto go = [&](const char *text, bool valid = true) {
        return resolveGoToRequest(parseGoToRequest(QString::fromLatin1(text)), valid, valid ? start : CTime(), end,
                                  events);
    };
    EXPECT_EQ(go("23:30:00"), (GoToTarget{O::Found, 1800}));
    EXPECT_EQ(go("01:00:00"), (GoToTarget{O::Found, 7200}));     // the next day
    EXPECT_EQ(go("23:00:00"), (GoToTarget{O::Found, 0}));
    EXPECT_EQ(go("09:00:01"), (GoToTarget{O::OutsideCase, 0}));  // one second after the end
    EXPECT_EQ(go("+1:00:00"), (GoToTarget{O::Found, 3600}));
    EXPECT_EQ(go("+10:00:01"), (GoToTarget{O::OutsideCase, 0}));
    EXPECT_EQ(go("3"), (GoToTarget{O::Found, 7200}));
    EXPECT_EQ(go("4"), (GoToTarget{O::NoSuchEvent, 0}));
    EXPECT_EQ(go("nonsense"), (GoToTarget{O::Invalid, 0}));
    // Without a valid start the tree shows elapsed hours: so does a clock time.
    EXPECT_EQ(go("01:00:00", false), (GoToTarget{O::Found, 3600}));
}

TEST(EventFilter, CategoriesSearchAndJumpStops)
{
    EventCategoryTexts texts;
    texts.add(EventCategory::Shock, QStringLiteral("Prompt : Shock delivered."));
    texts.add(EventCategory::Analysis, QStringLiteral("Prompt : Analyzing heart rhythm. Do not touch the patient."));
    texts.add(EventCategory::CompressionBeep, QStringLiteral("Chest compression Beep. "));
    texts.add(EventCategory::CprPrompt, QStringLiteral("Prompt : Begin CPR."));
    texts.add(EventCategory::PadsAndPower, QStringLiteral("Power on."));
    texts.add(EventCategory::PadsAndPower, QString()); // a text missing from the pack matches nothing
    texts.addJumpStop(EventJumpKind::Shock, QStringLiteral("Prompt : Shock delivered."));

    EXPECT_EQ(texts.categoryOf(QStringLiteral("Prompt : Shock delivered.(150J)")), EventCategory::Shock);
    EXPECT_EQ(texts.categoryOf(QStringLiteral("Chest compression Beep.")), EventCategory::CompressionBeep);
    EXPECT_EQ(texts.categoryOf(QStringLiteral("A: Prompt : Begin CPR.")), EventCategory::Annotation);
    EXPECT_EQ(texts.categoryOf(QStringLiteral("Patient impedance 80")), EventCategory::OtherPrompt);
    EXPECT_TRUE(texts.isJumpStop(EventJumpKind::Shock, QStringLiteral("Prompt : Shock delivered.")));
    EXPECT_FALSE(texts.isJumpStop(EventJumpKind::Analysis, QStringLiteral("Prompt : Shock delivered.")));
    EXPECT_TRUE(texts.isJumpStop(EventJumpKind::Annotation, QStringLiteral("A: note")));

    EventFilter f;
    EXPECT_TRUE(f.showsAll());
    f.shown[size_t(EventCategory::CompressionBeep)] = false;
    EXPECT_FALSE(f.showsAll());
    EXPECT_FALSE(f.matches(EventCategory::CompressionBeep, QStringLiteral("Chest compression Beep.")));
    EXPECT_TRUE(f.matches(EventCategory::CprPrompt, QStringLiteral("Prompt : Begin CPR.")));
    f.setSearch(QStringLiteral("  cpr   BEGIN "));
    EXPECT_EQ(f.words, QStringList({"cpr", "BEGIN"}));
    EXPECT_TRUE(f.matches(EventCategory::CprPrompt, QStringLiteral("Prompt : Begin CPR.")));
    EXPECT_FALSE(f.matches(EventCategory::CprPrompt, QStringLiteral("Prompt : Stop CPR.")));
}

TEST(EventFilter, AdjacentStopsSkipThePositionItself)
{
    const std::vector<int64_t> times{0, 10, 10, 20, 30};
    const std::vector<bool> stops{true, false, true, false, true};
    EXPECT_EQ(adjacentStop(times, stops, 0, true), 2);
    EXPECT_EQ(adjacentStop(times, stops, 10, true), 4);
    EXPECT_EQ(adjacentStop(times, stops, 30, true), -1);
    EXPECT_EQ(adjacentStop(times, stops, 30, false), 2);
    EXPECT_EQ(adjacentStop(times, stops, 10, false), 0);
    EXPECT_EQ(adjacentStop(times, stops, 0, false), -1);
}

} // namespace
