#include "case/CaseSession.h"

#include "base/FileError.h"
#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "base/UnsavedChangesQuestion.h"
#include "case/AuditAction.h"
#include "case/ReviewFile.h"
#include "case/ReviewLockText.h"

#include <QFileInfo>

CaseSession::CaseSession(LanguagePack &texts, Platform &platform)
    : store(texts, platform), m_texts(texts), m_platform(platform)
{
}

CaseSession::~CaseSession() = default;

QString CaseSession::GetText(int number) const
{
    return m_texts.GetText(number);
}

void CaseSession::markChanged(int slot)
{
    if (CaseRecord *c = store.caseAt(slot); c && !isReadOnly(slot)) {
        c->changed = true;
        state.unsavedChanges = 1;
    }
}

void CaseSession::markSaved(int slot)
{
    if (CaseRecord *c = store.caseAt(slot))
        c->changed = false;
    if (store.caseAt(slot))
        store.at(slot).auditedFields.clear();
    refreshUnsavedFlag();
}

void CaseSession::audit(int slot, const char *action, const QString &details)
{
    if (audited && store.caseAt(slot))
        audited(store.at(slot).recordingId, store.at(slot).sourcePath, QLatin1String(action), details);
}

void CaseSession::fieldChanged(int slot, const QString &fieldName)
{
    if (!store.caseAt(slot) || isReadOnly(slot))
        return;
    markChanged(slot);
    OpenCase &entry = store.at(slot);
    if (!entry.auditedFields.contains(fieldName)) {
        entry.auditedFields.insert(fieldName);
        audit(slot, AuditAction::FieldChanged, fieldName);
    }
}

bool CaseSession::isChanged(int slot) const
{
    const CaseRecord *c = store.caseAt(slot);
    return c && c->hasUnsavedChanges();
}

void CaseSession::refreshUnsavedFlag()
{
    state.unsavedChanges = 0;
    for (int slot : openSlots())
        if (isChanged(slot))
            state.unsavedChanges = 1;
}

std::vector<int> CaseSession::openSlots() const
{
    std::vector<int> result;
    for (int slot = 0; slot < store.slotCount(); ++slot)
        if (store.caseAt(slot))
            result.push_back(slot);
    return result;
}

QString CaseSession::caseName(int slot) const
{
    const OpenCase *entry = store.find(slot);
    if (entry && !entry->sourcePath.isEmpty())
        return QFileInfo(entry->sourcePath).completeBaseName();
    // A case that has no archive yet goes by its label in the tree.
    const CaseRecord *c = store.caseAt(slot);
    return c && tree && c->caseItem != NoTreeItem ? tree->itemText(c->caseItem) : QString();
}

bool CaseSession::confirmClose(const std::vector<int> &closing)
{
    std::vector<int> changed;
    QStringList names;
    for (int slot : closing)
        if (isChanged(slot)) {
            changed.push_back(slot);
            names << caseName(slot);
        }
    if (changed.empty())
        return true;
    // Each case is saved through its own Save dialog; one that is not written keeps every
    // case open, the ones already saved included (they are saved, so nothing is lost).
    return askToProceedWithUnsavedChanges(m_platform, m_texts, names, [&] {
        for (int slot : changed)
            if (!saveCase || !saveCase(slot))
                return false;
        return true;
    });
}

bool CaseSession::setPauseCause(int slot, int32_t startMs, const QString &cause)
{
    if (!store.caseAt(slot) || isReadOnly(slot) || (!cause.isEmpty() && !ReviewFile::reviewerPauseCauses().contains(cause)))
        return false;
    std::map<int32_t, QString> &causes = store.at(slot).pauseCauses;
    const auto it = causes.find(startMs);
    if (cause.isEmpty() ? it == causes.end() : (it != causes.end() && it->second == cause))
        return true;
    if (cause.isEmpty())
        causes.erase(it);
    else
        causes[startMs] = cause;
    reviewMarksChanged(slot);
    if (const OpenCase &entry = store.at(slot); reviewFactsChanged && !entry.sourcePath.isEmpty() && entry.reviewFileWritable)
        reviewFactsChanged(entry.sourcePath);
    return true;
}

void CaseSession::reviewMarksChanged(int slot)
{
    if (!store.caseAt(slot) || isReadOnly(slot))
        return;
    audit(slot, AuditAction::ReviewMarksChanged);
    OpenCase &entry = store.at(slot);
    // A case that no archive holds yet has nowhere to keep them (its save writes them), and one
    // opened only for reading, or whose review file is not the program's, keeps them in memory.
    if (entry.sourcePath.isEmpty() || !entry.reviewFileWritable)
        return;
    try {
        ReviewFile::write(entry.sourcePath, ReviewFile::marksOf(store, slot));
    } catch (const FileError &error) {
        if (!entry.reviewWriteReported) {
            entry.reviewWriteReported = true;
            m_platform.showError(error.message(m_texts), GetText(TextId::Caption));
        }
    }
}

void CaseSession::makeReadOnly(int slot)
{
    if (!store.caseAt(slot))
        return;
    OpenCase &entry = store.at(slot);
    entry.readOnly = true;
    entry.reviewFileWritable = false;
    entry.lock.reset();
    // What was changed cannot be saved any more: no close asks for it.
    markSaved(slot);
}

std::vector<int> CaseSession::RenewReviewLocks()
{
    std::vector<int> lost;
    for (int slot : openSlots()) {
        OpenCase &entry = store.at(slot);
        if (!entry.lock || entry.lock->renew())
            continue;
        makeReadOnly(slot);
        lost.push_back(slot);
        m_platform.messageBox(ReviewLockText::lockLostText(texts(), entry.sourcePath), GetText(TextId::Caption),
                              Platform::Icon::Warning, Platform::Buttons::Ok);
    }
    return lost;
}
