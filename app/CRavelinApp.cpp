#include "app/CRavelinApp.h"

#include "app/CLanguageSub.h"
#include "app/CMainFrame.h"
#include "app/LanguagePack.h"
#include "app/QtPlatform.h"

#include <QApplication>

namespace CRavelinApp {

const char *const SettingsKey = "로컬 응용 프로그램 마법사에서 생성된 응용 프로그램";

int run(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromUtf8(SettingsKey));
    QCoreApplication::setApplicationName(QStringLiteral("Ravelin"));

    LanguagePack texts;
    texts.load(LanguagePack::deployedPath());
    if (texts.language() == 0)
        texts.setLanguage(CLanguageSub::chooseLanguage());

    QtPlatform platform;
    CMainFrame frame(std::move(texts), platform);
    platform.setParent(&frame);
    frame.show();
    return app.exec();
}

} // namespace CRavelinApp
