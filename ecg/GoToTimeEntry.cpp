#include "ecg/GoToTimeEntry.h"

#include "base/CommandIds.h"
#include "base/LanguagePack.h"
#include "case/NavigationTexts.h"

#include <QAction>
#include <QMenu>

void addGoToTimeEntry(QMenu &menu, const LanguagePack &texts)
{
    menu.addSeparator();
    QAction *goTo = menu.addAction(texts.GetText(NavigationText::GoToMenu) + QLatin1String("\tCtrl+G"));
    goTo->setData(CommandId::GoToTime);
}
