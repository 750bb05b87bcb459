#pragma once

#include <functional>

class LanguagePack;
class Platform;

// Asks "This case has unsaved changes. Save changes before proceeding?" with Yes, No and
// Cancel. Yes runs save and proceeds only when save reports that the file was written;
// No proceeds without saving; Cancel (or closing the box) does not proceed.
bool askToProceedWithUnsavedChanges(Platform &platform, const LanguagePack &texts, const std::function<bool()> &save);
