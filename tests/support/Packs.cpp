#include "support/Packs.h"

namespace Packs {

LanguagePack builtInEnglish()
{
    LanguagePack pack;
    pack.loadBuiltIn();
    return pack;
}

QString deployedPath()
{
    return QStringLiteral(RAVELIN_SOURCE_DIR "/resources/string.txt");
}

LanguagePack deployed()
{
    LanguagePack pack;
    pack.loadFile(deployedPath());
    return pack;
}

} // namespace Packs
