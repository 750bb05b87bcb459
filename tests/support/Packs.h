#pragma once

#include "base/LanguagePack.h"

// Language packs for tests.
namespace Packs {
// The pack built into the program, English chosen.
LanguagePack builtInEnglish();
// The deployed string.txt of the source tree (language still to be chosen).
LanguagePack deployed();
QString deployedPath();
} // namespace Packs
