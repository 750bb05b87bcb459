#pragma once

#include <QStringList>
#include <cstdint>

// The built-in entries of the General form's drop-down lists, in index order. The case
// stores indices, which mean the same in both languages.
namespace GeneralFormLists {

QStringList nameSuffixes();
// language: 2 for the Italian names, anything else for the English ones.
QStringList sexNames(uint8_t language);
QStringList raceNames(uint8_t language);
QStringList heightUnits();
QStringList weightUnits();

// Index of the "Unknown" race, the list's initial selection.
constexpr int UnknownRace = 6;

} // namespace GeneralFormLists
