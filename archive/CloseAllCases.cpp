#include "archive/CloseAllCases.h"

#include "case/CRavelinView.h"

void CloseAllCases(CRavelinView &view)
{
    view.ClearCaseTree();
    view.FreeAllCases();
    view.pendingAnnotations.clear();
    view.state.unsavedChanges = 0;
    // The tree went without reporting; the windows that show the selected case learn here
    // that there is none, so none keeps the slot of a freed case.
    view.suppressSelectionNotify = false;
    view.OnTreeSelectionChanged(NoTreeItem);
}
