#include "case/AnnotationForm.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "case/AuditAction.h"
#include "case/CaseSession.h"
#include "case/NavigationTexts.h"

#include <limits>

namespace {
constexpr int TimeOutOfRangeText = 75;
const QString AnnotationPrefix = QStringLiteral("A: ");
} // namespace

AnnotationForm::Labels AnnotationForm::labelsFor(uint8_t language)
{
    if (language == 2)
        return {QStringLiteral("Annotazione caso"), QStringLiteral("Orario"), QStringLiteral("Titolo"),
                QStringLiteral("Annotazione"), QStringLiteral("Annulla")};
    return {QStringLiteral("Annotation Case"), QStringLiteral("Time"), QStringLiteral("Title"),
            QStringLiteral("Annotation"), QStringLiteral("Cancel")};
}

AnnotationForm::AnnotationForm(CaseSession &session, int slot, int mode, int32_t value)
    : m_session(session), m_mode(mode), m_slot(slot)
{
    const CaseRecord *c = session.store.caseAt(slot);
    if (!c)
        return;
    m_caseStart = c->startTime;
    pickedTime = m_caseStart;
    if (mode == Edit) {
        m_eventIndex = value;
        if (const EventItem *e = c->events.find(value)) {
            pickedTime = m_caseStart + e->elapsed;
            title = e->text.mid(AnnotationPrefix.size());
            body = e->detail;
        }
    } else if (mode == AddAtTime) {
        m_givenTimeMs = value;
        pickedTime = m_caseStart + CTimeSpan(value / 1000);
    }
    m_initialTitleLength = int(title.size());
    m_initialBodyLength = int(body.size());
}

AnnotationForm::Labels AnnotationForm::labels() const
{
    return labelsFor(m_session.texts().language());
}

int AnnotationForm::titleLimit() const
{
    return std::max(MaxTitleLength, m_initialTitleLength);
}

QString AnnotationForm::titleRemainingText(int typedLength) const
{
    return m_session.GetText(NavigationText::TitleCharactersLeft).arg(std::max(0, titleLimit() - typedLength));
}

int AnnotationForm::bodyLimit() const
{
    return std::max(MaxBodyLength, m_initialBodyLength);
}

bool AnnotationForm::accept()
{
    CaseRecord *c = m_session.store.caseAt(m_slot);
    if (!c)
        return false;
    const CTimeSpan offset = pickedTime - m_caseStart;
    const int64_t ms = offset.GetTotalSeconds() * 1000;
    // A case time is a 32-bit count of ms: a later time would wrap round to a wrong one.
    if (pickedTime < m_caseStart || ms > std::numeric_limits<int32_t>::max()) {
        m_session.platform().messageBox(m_session.GetText(TimeOutOfRangeText), m_session.GetText(TextId::Caption),
                                     Platform::Icon::Warning, Platform::Buttons::Ok);
        return false;
    }

    const QString text = AnnotationPrefix + title.left(titleLimit());
    const QString detail = body.left(bodyLimit());
    int shownEvent = -1;
    const auto add = [&](int32_t timeMs) {
        shownEvent = m_session.store.AddEvent(m_slot, timeMs, text, detail);
        if (shownEvent < 0)
            return; // the table is full; the user was told
        c->annotationChangeCount += 1;
        m_session.markChanged(m_slot);
        m_session.audit(m_slot, AuditAction::AnnotationAdded, annotationAuditDetails(timeMs));
    };

    switch (m_mode) {
    case AddFromTree:
        add(int32_t(ms));
        break;
    case Edit:
        if (EventItem *e = c->events.find(m_eventIndex)) {
            // An unchanged time keeps the event's ms exactly, sub-second part included.
            const bool edited = offset != e->elapsed || e->text != text || e->detail != detail;
            if (offset != e->elapsed) {
                e->timeMs = int32_t(ms);
                e->elapsed = offset;
            }
            e->text = text;
            e->detail = detail;
            shownEvent = m_eventIndex;
            if (edited) {
                m_session.markChanged(m_slot);
                m_session.audit(m_slot, AuditAction::AnnotationEdited, annotationAuditDetails(e->timeMs));
            }
        }
        break;
    case AddAtTime:
        add(m_givenTimeMs);
        break;
    default:
        return false;
    }
    m_stored = true;
    m_session.OnRebuildEvents(m_slot, shownEvent);
    return true;
}
