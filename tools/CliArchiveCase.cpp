#include "tools/CliArchiveCase.h"

#include "archive/OpenFlow.h"
#include "device/TimeZoneTable.h"
#include "tools/ArchiveCommandArguments.h"
#include "tools/ZoneChoice.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

bool loadCommandTexts(const QString &file, LanguagePack &texts)
{
    if (file.isEmpty())
        texts.loadBuiltIn();
    else if (!texts.loadFile(file))
        return false;
    if (texts.language() == 0)
        texts.setLanguage(1);
    return true;
}

bool startCommand(ArgumentOutcome outcome, const QString &message, const QString &languagePack, const QString &name,
                  const char *synopsis, QTextStream &err, LanguagePack &texts, int &status)
{
    status = 1;
    if (outcome == ArgumentOutcome::Help) {
        QTextStream(stdout) << message;
        status = 0;
        return false;
    }
    if (outcome == ArgumentOutcome::Error) {
        err << name << ": " << message << "\n" << "usage: ravelin-cli " << synopsis << "\n";
        return false;
    }
    if (!loadCommandTexts(languagePack, texts)) {
        err << name << ": cannot read the language pack \"" << QDir::toNativeSeparators(languagePack) << "\"\n";
        return false;
    }
    return true;
}

CliArchiveCase::CliArchiveCase(LanguagePack &texts, QTextStream &err, const QString &commandName)
    : m_platform(err, commandName), m_session(texts, m_platform)
{
    m_session.setTree(&m_tree);
}

int CliArchiveCase::open(const QString &archive, int zoneRow, int32_t deviceModel)
{
    SharedState &state = m_session.state;
    state.localZoneOffset = computerZoneOffset();
    state.timeZoneChoice = uint16_t(zoneRow >= 0               ? zoneRow
                                    : zoneRow == LocalZone ? TimeZoneTable::preselectedRow(state.localZoneOffset)
                                                           : TimeZoneTable::deviceClockRow());
    state.deviceModel = deviceModel;
    // The folder decides the model index, so it is taken whole even for a relative path.
    // A reading command writes nothing: no review file, no sound file beside the archive.
    OpenFlow flow(m_session, OpenWrites::none());
    if (flow.OpenArchiveFile(QFileInfo(archive).absoluteFilePath()) != OpenFlow::Outcome::Opened)
        return -1;
    return flow.openedSlot();
}

int runArchiveCommand(const QStringList &arguments, const char *synopsis, const QString &description,
                      const std::function<void(CliArchiveCase &archiveCase, int slot, QTextStream &out)> &report)
{
    const ArchiveCommandArguments args = ArchiveCommandArguments::parse(arguments, synopsis, description);
    QTextStream err(stderr);
    const QString name = arguments.value(0);
    LanguagePack texts;
    int status = 0;
    if (!startCommand(args.outcome, args.message, args.languagePack, name, synopsis, err, texts, status))
        return status;

    CliArchiveCase archiveCase(texts, err, name);
    const int slot = archiveCase.open(args.archive, args.zoneRow, args.deviceModel);
    if (slot < 0)
        return 1;
    QTextStream out(stdout);
    report(archiveCase, slot, out);
    return 0;
}
