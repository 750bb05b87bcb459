#include "app/CRavelinView.h"

#include "archive/CloseAllCases.h"
#include "archive/FolderScan.h"
#include "archive/OpenFlow.h"
#include "archive/SaveCommand.h"

#include <QSettings>

CRavelinView::CRavelinView(LanguagePack &texts, Platform &platform, QObject *parent)
    : QObject(parent), session(texts, platform)
{
    session.saveCase = [this](int slot) { return ::SaveCase(session, slot); };
    session.bindCompanions = [this](int slot) {
        OpenFlow(session).BindCompanions(slot);
        // The windows show the case's new CPR data and sound at once, as after a new selection.
        if (session.tree && session.tree->selectedItem() != NoTreeItem)
            session.OnTreeSelectionChanged(session.tree->selectedItem());
    };
    session.undoAdjustment = [this](int slot) { OpenFlow(session).UndoAdjustment(slot); };
    QSettings settings;
    cprSettings = CprSettingsStore::load(settings);
}

CRavelinView::~CRavelinView() = default;

bool CRavelinView::SaveSelectedCase()
{
    return ::SaveSelectedCase(session);
}

void CRavelinView::OnOpenRequest()
{
    OpenFlow(session).OnOpenRequest();
}

void CRavelinView::OnAdjustRequest(int slot, const QString &typedStart)
{
    OpenFlow(session).AdjustCase(slot, typedStart);
}

bool CRavelinView::OpenArchiveFile(const QString &path)
{
    OpenFlow flow(session);
    flow.OpenAndShowArchiveFile(path);
    return flow.openedSlot() >= 0;
}

void CRavelinView::CloseAllCases()
{
    ::CloseAllCases(session);
}

void CRavelinView::OnPreviousPage()
{
    FolderScan(session).OnPreviousPage();
}

void CRavelinView::OnNextPage()
{
    FolderScan(session).OnNextPage();
}
