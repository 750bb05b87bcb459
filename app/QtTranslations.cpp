#include "app/QtTranslations.h"

#include "base/LanguagePack.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QTranslator *installQtTranslations(QCoreApplication &app, const LanguagePack &pack)
{
    if (!pack.isItalian())
        return nullptr;
    // "qt_it" gathers the catalogues of the Qt modules (base, multimedia, ...); it and
    // they live in Qt's translations folder. The translator lives as long as the application.
    auto *translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qt_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    app.installTranslator(translator);
    return translator;
}
