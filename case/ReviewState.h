#pragma once

#include "base/CTime.h"

#include <cstdint>

// What the main window publishes about the review: the case selected in the tree and the
// position the ECG windows show. The main frame is one; tests and ravelin-cli use a plain
// instance.
struct ReviewState
{
    int m_nSelCase = -1;         // slot of the selected case; -1 until something is selected
    uint8_t m_bSelChanged = 0;   // the tree selection was published (cleared by the playback)
    CTimeSpan m_tsPosition;      // review position, seconds from the case start
    uint8_t m_bShowEnlarged = 0; // the next refresh of the detail view selects the enlarged ECG
};
