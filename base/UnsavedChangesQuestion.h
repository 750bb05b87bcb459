#pragma once

#include <QStringList>
#include <functional>

class LanguagePack;
class Platform;

// Asks "This case has unsaved changes. Save changes before proceeding?" with Yes, No and
// Cancel, after a line "Unsaved changes in: ..." naming the changed cases (their archives'
// base names; no line when none is named). Yes runs save and proceeds only when save
// reports that the file was written; No proceeds without saving; Cancel (or closing the box)
// does not proceed.
bool askToProceedWithUnsavedChanges(Platform &platform, const LanguagePack &texts, const QStringList &changedCases,
                                    const std::function<bool()> &save);

// The question's text: the line naming changedCases, then the question.
QString unsavedChangesQuestionText(const LanguagePack &texts, const QStringList &changedCases);
