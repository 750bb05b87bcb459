#pragma once

class CRavelinView;

// Frees every open case and leaves the view as it was before the first open: an empty case
// tree, no slots (slotCount 0), nothing selected, and no unsaved changes, since no case is
// left to have them. The last archive, the scan's lists and page, and the Open dialog's
// choices stay.
void CloseAllCases(CRavelinView &view);
