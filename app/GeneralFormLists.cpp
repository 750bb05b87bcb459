#include "app/GeneralFormLists.h"

namespace GeneralFormLists {

namespace {
constexpr uint8_t Italian = 2;
}

QStringList nameSuffixes()
{
    return {QString(), QStringLiteral("I"), QStringLiteral("II"), QStringLiteral("III"), QStringLiteral("IV"),
            QStringLiteral("V"), QStringLiteral("Jr."), QStringLiteral("Sr.")};
}

QStringList sexNames(uint8_t language)
{
    if (language == Italian)
        return {QString(), QStringLiteral("Maschile"), QStringLiteral("Femminile")};
    return {QString(), QStringLiteral("Male"), QStringLiteral("Female")};
}

QStringList raceNames(uint8_t language)
{
    if (language == Italian)
        return {QString(),
                QStringLiteral("Bianco"),
                QStringLiteral("Nero"),
                QStringLiteral("Asiatico o delle Isole del Pacifico"),
                QStringLiteral("Indiano Americano/Eschimo/Isole Aleutine"),
                QStringLiteral("Altro"),
                QStringLiteral("Sconosciuto")};
    return {QString(),
            QStringLiteral("White"),
            QStringLiteral("Black"),
            QStringLiteral("Asian of Pacific Islander"),
            QStringLiteral("American Indian / Eskimo / Aleut"),
            QStringLiteral("Other"),
            QStringLiteral("Unknown")};
}

QStringList heightUnits()
{
    return {QStringLiteral("in"), QStringLiteral("cm"), QStringLiteral("m")};
}

QStringList weightUnits()
{
    return {QStringLiteral("lbs"), QStringLiteral("kg"), QStringLiteral("g")};
}

} // namespace GeneralFormLists
