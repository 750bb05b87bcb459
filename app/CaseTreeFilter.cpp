#include "app/CaseTreeFilter.h"

#include "app/CADETree.h"
#include "base/LanguagePack.h"
#include "case/NavigationTexts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// Check boxes in two columns, in the order a reviewer reads a rescue.
constexpr std::pair<EventCategory, int> BoxTexts[] = {
    {EventCategory::Shock, NavigationText::KindShocks},
    {EventCategory::Analysis, NavigationText::KindAnalyses},
    {EventCategory::CprPrompt, NavigationText::KindCprPrompts},
    {EventCategory::CompressionBeep, NavigationText::KindCompressionBeeps},
    {EventCategory::PadsAndPower, NavigationText::KindPadsAndPower},
    {EventCategory::OtherPrompt, NavigationText::KindOtherEvents},
    {EventCategory::Annotation, NavigationText::KindAnnotations},
};

// The event's own text in a tree label: what follows the clock time "HH:MM:SS ".
QString eventTextOfLabel(const QString &label)
{
    const qsizetype blank = label.indexOf(QLatin1Char(' '));
    return blank < 0 ? label : label.mid(blank + 1);
}

} // namespace

CaseTreeFilter::CaseTreeFilter(const LanguagePack &texts, CADETree &tree, QWidget *parent)
    : QWidget(parent), m_texts(texts), m_tree(tree), m_categories(EventCategoryTexts::from(texts)),
      m_search(new QLineEdit(this)), m_count(new QLabel(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    m_search->setPlaceholderText(texts.GetText(NavigationText::SearchPlaceholder));
    m_search->setClearButtonEnabled(true);
    layout->addWidget(m_search);

    auto *grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(0);
    int n = 0;
    for (const auto &[category, text] : BoxTexts) {
        auto *box = new QCheckBox(texts.GetText(text), this);
        box->setChecked(true);
        m_boxes[size_t(category)] = box;
        grid->addWidget(box, n / 2, n % 2);
        connect(box, &QCheckBox::toggled, this, &CaseTreeFilter::apply);
        ++n;
    }
    grid->addWidget(m_count, n / 2, n % 2);
    layout->addLayout(grid);
    connect(m_search, &QLineEdit::textChanged, this, &CaseTreeFilter::apply);
    m_tree.onEventItemsChanged = [this] { showCount(); };
    apply();
}

void CaseTreeFilter::showCount()
{
    const CADETree::EventCounts counts = m_tree.eventCounts();
    m_count->setText(m_texts.GetText(NavigationText::ShownCount).arg(counts.shown).arg(counts.total));
}

void CaseTreeFilter::apply()
{
    for (size_t i = 0; i < m_boxes.size(); ++i)
        m_filter.shown[i] = m_boxes[i]->isChecked();
    m_filter.setSearch(m_search->text());
    if (m_filter.showsAll()) {
        m_tree.setEventFilter(nullptr);
    } else {
        m_tree.setEventFilter([this](const QString &label) {
            const QString text = eventTextOfLabel(label);
            return m_filter.matches(m_categories.categoryOf(text), text);
        });
    }
    showCount();
}

void CaseTreeFilter::clear()
{
    m_search->clear();
    for (QCheckBox *box : m_boxes)
        box->setChecked(true);
    apply();
}
