#pragma once

#include "case/EventFilter.h"

#include <QWidget>
#include <array>

class CADETree;
class LanguagePack;
class QCheckBox;
class QLabel;
class QLineEdit;

// The filter above the case tree: a search field and one check box per kind of event
// (all shown by default). The tree keeps its date, device and case nodes and hides the
// event items the filter leaves out, events of cases opened later included; the selection
// stays where it was, and clearing the filter shows every item again.
class CaseTreeFilter : public QWidget
{
    Q_OBJECT
public:
    CaseTreeFilter(const LanguagePack &texts, CADETree &tree, QWidget *parent = nullptr);

    QLineEdit *searchField() const { return m_search; }
    QCheckBox *checkBox(EventCategory category) const { return m_boxes[size_t(category)]; }
    QLabel *countLabel() const { return m_count; }
    const EventFilter &filter() const { return m_filter; }

    // Reads the check boxes and the search field and filters the tree again.
    void apply();
    // Shows every event again and leaves the selection where it is.
    void clear();

private:
    void showCount();

    const LanguagePack &m_texts;
    CADETree &m_tree;
    EventCategoryTexts m_categories;
    EventFilter m_filter;
    QLineEdit *m_search;
    std::array<QCheckBox *, EventCategoryCount> m_boxes{};
    QLabel *m_count;
};
