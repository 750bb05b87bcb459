#pragma once

#include "library/LibraryCase.h"

#include <QString>

class CaseStore;
struct CprQualityResult;
struct HandsOffResult;

// The model of an archive as the open takes it ("Q21", "Q25", "Q26"): the one its folder's
// path names, else the code its file name begins with, else the one its import recorded.
QString archiveModel(const QString &path, const QString &recordedModel);

// The facts of the case open in slot (opened without a zone shift, so its start is the
// device's clock), its CPR quality measures and its hands-off time explained at the same
// pause threshold. The file's own facts (path, size, time, hash) and indexedAt are left to
// the caller.
LibraryCase libraryCaseOf(const CaseStore &store, int slot, const CprQualityResult &quality,
                          const HandsOffResult &handsOff);

// The size, modification time and SHA-256 of a file; false when it cannot be read.
bool readFileFacts(const QString &path, LibraryCase &c);
