#include "ecg/CprPeriodMarking.h"

#include "case/CaseStore.h"

bool CprPeriodMarking::HitTest(const CaseRecord *c, int32_t t)
{
    if (!c)
        return false;
    bool found = false;
    c->cprPeriods.forEachUsed([&](int i, const CprPeriod &p) {
        if (p.startMs <= t && t <= p.endMs) {
            m_nHitCpr = i;
            found = true;
        }
    });
    return found;
}

CprMenuStates CprPeriodMarking::menuStates(bool hit, bool editable) const
{
    if (!editable)
        return {};
    if (hit)
        return {false, false, true};
    if (m_bCprStartPending)
        return {false, true, false};
    return {true, false, false};
}

void CprPeriodMarking::Start(CaseStore &store, int slot, int32_t t, int32_t provisionalMs)
{
    if (store.isReadOnly(slot))
        return;
    m_bCprStartPending = true;
    const int32_t a = t / 1000 * 1000;
    m_nPendingCpr = store.AddCprPeriod(slot, a, a + provisionalMs, true);
    m_markSlot = -1;
    const CaseRecord *c = store.caseAt(slot);
    if (m_nPendingCpr >= 0 && c && c->cprPeriods.isUsed(m_nPendingCpr)) {
        m_markSlot = slot;
        m_markCase = c;
        m_markPeriod = c->cprPeriods.find(m_nPendingCpr);
        m_markValues = *m_markPeriod;
    }
}

void CprPeriodMarking::End(CaseStore &store, int slot, int32_t t)
{
    m_bCprStartPending = false;
    const int markSlot = m_markSlot;
    m_markSlot = -1;
    const int periodSlot = m_nPendingCpr;
    m_nPendingCpr = 0;

    CaseRecord *c = store.caseAt(slot);
    if (markSlot < 0 || store.isReadOnly(slot) || slot != markSlot || c != m_markCase || !c)
        return;
    CprPeriod *p = c->cprPeriods.find(periodSlot);
    if (!p || p != m_markPeriod || p->startMs != m_markValues.startMs || p->endMs != m_markValues.endMs)
        return;

    const int32_t b = t / 1000 * 1000 + (t % 1000 != 0 ? 1000 : 0);
    if (p->startMs < b) {
        p->endMs = b;
    } else {
        p->endMs = p->startMs;
        p->startMs = b - 1000;
    }
}

void CprPeriodMarking::Delete(CaseStore &store, int slot)
{
    if (CaseRecord *c = store.caseAt(slot); c && !store.isReadOnly(slot))
        c->cprPeriods.remove(m_nHitCpr);
}
