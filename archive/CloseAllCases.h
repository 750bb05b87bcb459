#pragma once

class CaseSession;

// Frees every open case and leaves the session as it was before the first open: an empty case
// tree, no slots (slotCount 0), nothing selected, and no unsaved changes, since no case is
// left to have them. The last archive, the scan's lists and page, and the Open dialog's
// choices stay.
void CloseAllCases(CaseSession &session);
