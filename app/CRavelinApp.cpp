#include "app/CRavelinApp.h"

#include "app/CLanguageSub.h"
#include "app/CMainFrame.h"
#include "base/LanguagePack.h"
#include "base/ProgramNames.h"
#include "app/QtPlatform.h"
#include "app/CRavelinView.h"
#include "device/TimeZoneTable.h"

#include <QApplication>
#include <QFileInfo>

namespace {

// Opens an archive and selects its case, so that the detail view shows it at once.
void openAndShow(CRavelinView &view, const QString &archive)
{
    if (!view.OpenArchiveFile(archive) || !view.session.tree)
        return;
    for (int slot = view.store.slotCount() - 1; slot >= 0; --slot) {
        if (const CaseRecord *c = view.store.caseAt(slot); c && view.store.at(slot).sourcePath == archive) {
            view.session.tree->selectItem(c->caseItem);
            return;
        }
    }
}

} // namespace

namespace CRavelinApp {

const char *const SettingsKey = ProgramNames::Organisation;

int run(int argc, char **argv)
{
    QApplication app(argc, argv);
    ProgramNames::apply();

    LanguagePack texts;
    texts.load(LanguagePack::deployedPath());
    if (texts.language() == 0)
        texts.setLanguage(CLanguageSub::chooseLanguage());

    QtPlatform platform;
    CMainFrame frame(std::move(texts), platform);
    platform.setParent(&frame);
    // Opens without the Open dialog (command line, recent files) show this computer's zone.
    SharedState &state = frame.view().state;
    state.localZoneOffset = TimeZoneTable::localZoneOffset();
    state.timeZoneChoice = uint16_t(TimeZoneTable::preselectedRow(state.localZoneOffset));
    frame.show();
    // An archive named on the command line opens once the window is up.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) {
        const QString archive = QFileInfo(arguments.at(1)).absoluteFilePath();
        QMetaObject::invokeMethod(&frame, [&frame, archive] { openAndShow(frame.view(), archive); }, Qt::QueuedConnection);
    }
    return app.exec();
}

} // namespace CRavelinApp
