#pragma once

#include "base/LanguagePack.h"
#include "case/CaseSession.h"
#include "case/MemoryTreeControl.h"
#include "tools/CommandArgumentParser.h"
#include "tools/ConsolePlatform.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class QTextStream;

// The texts of a headless command: the built-in language pack, or the pack in file (its
// first column when its header leaves the language open). False when file cannot be read;
// the texts are then unchanged.
bool loadCommandTexts(const QString &file, LanguagePack &texts);

// The start every command shares once its arguments are checked: writes the help text to
// stdout (status 0) or the argument error and the usage to err (status 1), then loads the
// texts (status 1 when languagePack cannot be read). True when the command goes on.
bool startCommand(ArgumentOutcome outcome, const QString &message, const QString &languagePack, const QString &name,
                  const char *synopsis, QTextStream &err, LanguagePack &texts, int &status);

// The case of one archive as the program shows it after "Load AED File": a session over the
// console platform with its case tree in memory.
class CliArchiveCase
{
public:
    // commandName prefixes every message written to err.
    CliArchiveCase(LanguagePack &texts, QTextStream &err, const QString &commandName);

    // Opens archive with time-zone row zoneRow (DeviceClockZone: the device's own clock;
    // LocalZone: the row the Open dialog preselects for this computer) after an import of deviceModel: the event-list build, the CPR feedback
    // and the sound. Returns the slot, or -1 after the messages went to err.
    int open(const QString &archive, int zoneRow, int32_t deviceModel);

    CaseSession &session() { return m_session; }
    const MemoryTreeControl &tree() const { return m_tree; }

private:
    ConsolePlatform m_platform;
    MemoryTreeControl m_tree; // outlives the session that points to it
    CaseSession m_session;
};

// Runs a command that opens one archive and reports on its case ("events", "info"):
// checks the arguments (ArchiveCommandArguments), loads the texts, opens the case and lets
// report write to stdout. Returns the exit status; errors went to stderr.
int runArchiveCommand(const QStringList &arguments, const char *synopsis, const QString &description,
                      const std::function<void(CliArchiveCase &archiveCase, int slot, QTextStream &out)> &report);
