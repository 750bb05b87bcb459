#pragma once

class LanguagePack;
class QMenu;

// Appends a separator and "Go to time...  Ctrl+G" (command GoToTime) to an ECG context menu.
void addGoToTimeEntry(QMenu &menu, const LanguagePack &texts);
