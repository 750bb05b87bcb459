#include "case/EventFilter.h"

#include "base/LanguagePack.h"

#include <algorithm>

namespace {

// Pack text numbers of the device events by category. Shocks come first so that
// "Shock delivered" is never taken for anything else.
struct CategoryTexts
{
    EventCategory category;
    std::vector<int> numbers;
};

const std::vector<CategoryTexts> &packCategories()
{
    static const std::vector<CategoryTexts> table = {
        {EventCategory::Shock, {9, 10, 27, 32, 62, 94}},
        {EventCategory::Analysis, {6, 7, 8, 31, 58}},
        {EventCategory::CompressionBeep, {60}},
        {EventCategory::CprPrompt, {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 33, 48}},
        {EventCategory::PadsAndPower, {5, 29, 30, 50, 51, 52, 53, 54, 55, 56, 57, 61}},
    };
    return table;
}

} // namespace

EventCategoryTexts EventCategoryTexts::from(const LanguagePack &pack)
{
    EventCategoryTexts out;
    for (const CategoryTexts &c : packCategories())
        for (int n : c.numbers)
            out.add(c.category, pack.GetText(n));
    // A shock given, as the tree's image tells it ("Deliver shock now", "Shock delivered"),
    // and an analysis begun.
    for (int n : {62, 10})
        out.addJumpStop(EventJumpKind::Shock, pack.GetText(n));
    for (int n : {6, 31})
        out.addJumpStop(EventJumpKind::Analysis, pack.GetText(n));
    return out;
}

void EventCategoryTexts::add(EventCategory category, const QString &text)
{
    // Texts may end in blanks in the pack; an empty text would match everything.
    const QString t = text.trimmed();
    if (!t.isEmpty())
        m_prefixes.emplace_back(category, t);
}

void EventCategoryTexts::addJumpStop(EventJumpKind kind, const QString &text)
{
    const QString t = text.trimmed();
    if (!t.isEmpty())
        m_jumpPrefixes.emplace_back(kind, t);
}

bool EventCategoryTexts::isJumpStop(EventJumpKind kind, const QString &eventText) const
{
    if (kind == EventJumpKind::Annotation)
        return eventText.startsWith(QLatin1String("A: "));
    for (const auto &[k, prefix] : m_jumpPrefixes)
        if (k == kind && eventText.startsWith(prefix))
            return true;
    return false;
}

EventCategory EventCategoryTexts::categoryOf(const QString &eventText) const
{
    if (eventText.startsWith(QLatin1String("A: ")))
        return EventCategory::Annotation;
    for (const auto &[category, prefix] : m_prefixes)
        if (eventText.startsWith(prefix))
            return category;
    return EventCategory::OtherPrompt;
}

void EventFilter::setSearch(const QString &search)
{
    words = search.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool EventFilter::showsAll() const
{
    for (bool s : shown)
        if (!s)
            return false;
    return words.isEmpty();
}

bool EventFilter::matches(EventCategory category, const QString &eventText) const
{
    if (!shown[size_t(category)])
        return false;
    for (const QString &w : words)
        if (!eventText.contains(w, Qt::CaseInsensitive))
            return false;
    return true;
}

int adjacentStop(const std::vector<int64_t> &times, const std::vector<bool> &stops, int64_t position, bool forward)
{
    const int n = int(std::min(times.size(), stops.size()));
    if (forward) {
        for (int i = 0; i < n; ++i)
            if (stops[size_t(i)] && times[size_t(i)] > position)
                return i;
    } else {
        for (int i = n - 1; i >= 0; --i)
            if (stops[size_t(i)] && times[size_t(i)] < position)
                return i;
    }
    return -1;
}
