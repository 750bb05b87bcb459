#include "archive/CloseAllCases.h"

#include "case/CaseSession.h"

void CloseAllCases(CaseSession &session)
{
    session.ClearCaseTree();
    session.store.FreeAllCases();
    session.store.pendingAnnotations.clear();
    session.state.unsavedChanges = 0;
    // The tree went without reporting; the windows that show the selected case learn here
    // that there is none, so none keeps the slot of a freed case.
    session.suppressSelectionNotify = false;
    session.OnTreeSelectionChanged(NoTreeItem);
}
