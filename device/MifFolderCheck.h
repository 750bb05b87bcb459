#pragma once

#include "case/CC8Class.h"

#include <QString>
#include <array>
#include <cstdint>

// What a MIF folder holds, file names matched without regard to case. For each kind, in
// the order CT, ECG, HR, Trend, the Q21, then the Q25, then the Q26 file is looked for;
// the first that exists marks the kind found. A Q21 or Q25 file sets deviceModel (so the
// last kind found that way decides the model); a Q26 file sets modelQ26Found and leaves
// deviceModel alone. The Temp file is found only under the name of the model so decided
// (the Q26 name when deviceModel stays ModelNone): another model's Temp file beside it is
// not this case's and is ignored.
struct MifFolderCheck
{
    static constexpr int KindCount = 5;

    int32_t deviceModel = 0;             // ModelNone, ModelQ21 or ModelQ25
    int32_t modelQ26Found = 0;           // 1 when some kind was found only as a Q26 file
    std::array<bool, KindCount> found{}; // indexed by CC8Class::Kind

    bool has(CC8Class::Kind kind) const { return found[size_t(kind)]; }
    int32_t tempFilePresent() const { return has(CC8Class::Kind::Temp) ? 1 : 0; }
};

// An empty folder name finds nothing.
MifFolderCheck checkMifFolder(const QString &folder);

// Language-pack text naming the first of the CT, ECG, HR and Trend files that is missing
// (78-81, 82-85, 86-89, 90-93: Q21, Q25, Q26 or "AED" by what the folder showed);
// 0 when all four are there. The Temp file is optional.
int missingMifFileText(const MifFolderCheck &check);
