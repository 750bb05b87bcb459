#include "app/CRavelinApp.h"

#include "app/CLanguageSub.h"
#include "app/CMainFrame.h"
#include "base/LanguagePack.h"
#include "base/ProgramNames.h"
#include "app/QtPlatform.h"
#include "archive/OutputTarget.h"
#include "app/QtTranslations.h"
#include "app/CRavelinView.h"
#include "app/HandedOverFiles.h"
#include "app/LibraryChart.h"
#include "app/PrintSupport.h"
#include "app/SingleInstance.h"
#include "base/ProgramInfo.h"
#include "base/ProgramPlugin.h"
#include "device/TimeZoneTable.h"
#include "sound/AudioOutputFactory.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

namespace {

// Opens an archive; the open selects its case, so that the detail view shows it at once.
void openAndShow(CRavelinView &view, const QString &archive)
{
    view.OpenArchiveFile(archive);
}

bool isOption(const char *argument, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (std::strcmp(argument, name) == 0)
            return true;
    }
    return false;
}

// --check-plugins: loads the plugins the program loads at first use and says where each was
// found, or why it cannot be loaded; 1 when one cannot.
int checkPlugins(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    struct Plugin {
        const char *what;
        QString error;
        QString path;
        bool loaded;
    };
    Plugin plugins[] = {
        {"sound output", {}, {}, false}, {"printing", {}, {}, false}, {"library chart", {}, {}, false}};
    plugins[0].loaded = ProgramPlugin::load<AudioOutputFactory>(QLatin1String(AudioOutputPluginName),
                                                                &plugins[0].error, &plugins[0].path);
    plugins[1].loaded = ProgramPlugin::load<PrintSupport>(QLatin1String(PrintSupportPluginName), &plugins[1].error,
                                                          &plugins[1].path);
    plugins[2].loaded = ProgramPlugin::load<LibraryChart>(QLatin1String(LibraryChartPluginName), &plugins[2].error,
                                                          &plugins[2].path);
    int status = 0;
    for (const Plugin &p : plugins) {
        if (p.loaded) {
            std::printf("%s: %s\n", p.what, qPrintable(p.path));
        } else {
            std::fprintf(stderr, "%s: %s\n", p.what, qPrintable(p.error));
            status = 1;
        }
    }
    return status;
}

} // namespace

namespace CRavelinApp {

const char *const SettingsKey = ProgramNames::Organisation;

int run(int argc, char **argv)
{
    // Answered before any window system is needed.
    if (argc > 1 && isOption(argv[1], {"--version", "-v"})) {
        std::printf("ravelin %s\n", ProgramInfo::Version);
        return 0;
    }
    if (argc > 1 && isOption(argv[1], {"--help", "-h"})) {
        std::printf("usage: ravelin [ARCHIVE.aed]\n\n"
                    "Opens the review window, with ARCHIVE.aed when one is given. While the program runs,\n"
                    "a later start hands its archive to the open window and ends; this needs the user's\n"
                    "private runtime folder ($XDG_RUNTIME_DIR), without which every start opens its own window.\n\n"
                    "  -h, --help       Shows this help.\n"
                    "  -v, --version    Shows the program's version.\n"
                    "  --check-plugins  Loads the sound-output, printing and library-chart plugins and\n"
                    "                   shows where each was found, or why it cannot be loaded.\n");
        return 0;
    }
    if (argc > 1 && isOption(argv[1], {"--check-plugins"}))
        return checkPlugins(argc, argv);

    QApplication app(argc, argv);
    ProgramNames::apply();
    QCoreApplication::setApplicationVersion(QLatin1String(ProgramInfo::Version));

    // An archive named on the command line opens once the window is up, in this window or,
    // when the program already runs, in that one.
    const QStringList arguments = QCoreApplication::arguments();
    QStringList archives;
    if (arguments.size() > 1)
        archives.append(QFileInfo(arguments.at(1)).absoluteFilePath());
    SingleInstance instance(SingleInstance::defaultServerName());
    if (instance.start(archives) == SingleInstance::Role::HandedOver)
        return 0;
    HandedOverFiles handedOver;
    QObject::connect(&instance, &SingleInstance::filesRequested, &handedOver, &HandedOverFiles::take);
    QObject::connect(&instance, &SingleInstance::filesRefused, &handedOver, &HandedOverFiles::refuse);

    LanguagePack texts;
    texts.load(LanguagePack::deployedPath());
    if (texts.language() == 0)
        texts.setLanguage(CLanguageSub::chooseLanguage());
    installQtTranslations(app, texts);

    QtPlatform platform;
    CMainFrame frame(std::move(texts), platform);
    platform.setParent(&frame);
    platform.setTexts(frame.texts());
    platform.setOutputInputs([&frame] { return OutputTarget::openCaseInputs(frame.view().store); });
    // Opens without the Open dialog (command line, recent files) show this computer's zone.
    SharedState &state = frame.view().state;
    state.localZoneOffset = TimeZoneTable::localZoneOffset();
    state.timeZoneChoice = uint16_t(TimeZoneTable::preselectedRow(state.localZoneOffset));
    frame.show();
    // Start-up measurements end the program as soon as its window is up.
    if (qEnvironmentVariableIsSet("RAVELIN_EXIT_WHEN_SHOWN"))
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    // An archive named on the command line opens once the window is up.
    if (!archives.isEmpty()) {
        const QString archive = archives.front();
        QMetaObject::invokeMethod(&frame, [&frame, archive] { openAndShow(frame.view(), archive); }, Qt::QueuedConnection);
    }
    QMetaObject::invokeMethod(
        &handedOver,
        [&handedOver, &frame, &platform] {
            handedOver.attach(frame, platform, frame.texts(), [&frame](const QString &archive) { openAndShow(frame.view(), archive); });
        },
        Qt::QueuedConnection);
    return app.exec();
}

} // namespace CRavelinApp
