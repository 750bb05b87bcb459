#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

class LanguagePack;

// The kinds of event a reviewer picks out of a long case: the tree's filter check boxes
// and the "next / previous event of a kind" jumps use them.
enum class EventCategory {
    Shock,           // a shock delivered or asked to be delivered
    Analysis,        // rhythm analysis and its outcome
    CprPrompt,       // CPR instructions and feedback prompts
    CompressionBeep, // the metronome's chest compression beeps
    PadsAndPower,    // pads, power on / off, unit and battery state
    OtherPrompt,     // every other device event
    Annotation,      // the reviewer's annotations ("A: ")
};
constexpr int EventCategoryCount = 7;

// The kinds F3 / Shift+F3 step through.
enum class EventJumpKind { Shock, Analysis, Annotation };

// The pack texts (in the language in force) that put an event into a category; an event
// belongs to the category of the first text it begins with, tested shock first.
class EventCategoryTexts
{
public:
    static EventCategoryTexts from(const LanguagePack &pack);
    // The texts by hand (tests): the events beginning with one of them are of category.
    void add(EventCategory category, const QString &text);
    void addJumpStop(EventJumpKind kind, const QString &text);

    EventCategory categoryOf(const QString &eventText) const;
    // Whether an event is a stop of the "next / previous" jumps of a kind: a shock given
    // (the tree's shock image), the start of an analysis, an annotation. One stop per shock
    // or analysis, where the filter's categories hold every prompt around them.
    bool isJumpStop(EventJumpKind kind, const QString &eventText) const;

private:
    std::vector<std::pair<EventCategory, QString>> m_prefixes;
    std::vector<std::pair<EventJumpKind, QString>> m_jumpPrefixes;
};

// Which events the tree shows: a set of categories (all by default) and search words that
// must all occur in the event's text (case-insensitive, in any order).
struct EventFilter
{
    std::array<bool, EventCategoryCount> shown{true, true, true, true, true, true, true};
    QStringList words;

    // The words of a search field, split at blanks.
    void setSearch(const QString &search);
    bool showsAll() const;
    bool matches(EventCategory category, const QString &eventText) const;
};

// The index into times (elapsed seconds, in time order) of the next event strictly after
// position (forward) or the previous one strictly before it among the stops; -1 when
// there is none.
int adjacentStop(const std::vector<int64_t> &times, const std::vector<bool> &stops, int64_t position, bool forward);
