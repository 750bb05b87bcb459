#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class LanguagePack;
class Platform;
struct SharedState;

// The decisions of the Open dialog, without widgets: the form's fields, what each of its
// buttons does to the shared state, and the checks of a MIF folder. The widget dialog
// (COpenMifQ21) and the scripted forms of the tests drive it the same way.
//
// Constructing it is the dialog's start: openMode, mifFolderPath and the serial number are
// cleared, localZoneOffset is read from the computer and the matching time-zone row is
// preselected. The shared state's timeZoneChoice changes only when a button closes the
// dialog, so a cancelled dialog leaves the zone of the cases already open alone.
class OpenDialogLogic
{
public:
    // What closed the dialog; the caller runs the flow that follows.
    enum class Action { None, LoadMif, LoadAed, OpenDirectory };

    static constexpr int MaxFoldersPerPage = 1000;
    // Qt filter of the "..." file dialog.
    static const QString MifFilter;

    OpenDialogLogic(SharedState &state, Platform &platform, const LanguagePack &texts);

    QString text(int number) const;

    // Time-zone row shown in the combo, 0..178.
    int zoneRow() const { return m_zoneRow; }
    void setZoneRow(int row);
    QString serialText() const { return m_serialText; }
    void setSerialText(const QString &text) { m_serialText = text; }
    // The path edit shows the chosen MIF folder.
    QString mifPathText() const;

    // "...": asks for a file; its folder becomes mifFolderPath and directoryMode 0.
    // Returns true when a file was chosen.
    bool browseMifFile();
    // "Load MIF File": checks the folder and the serial number; reports the first failure
    // and returns false (the dialog stays open), or sets openMode 1 and returns true.
    bool loadMifFile();
    // "Load AED File": openMode 2, directoryMode 0; always closes the dialog.
    bool loadAedFile();
    // "Open Directory": asks for a folder; when one is chosen, makes the scan's file and
    // folder lists and page size, directoryMode 1, and returns true (openMode stays 0; the
    // caller then starts the folder scan).
    bool openDirectory();

    Action action() const { return m_action; }
    // 1 when "Load MIF File" found a Temp file: the tempFilePresent value of the case the
    // import makes next.
    int32_t tempFilePresent() const { return m_tempFilePresent; }

private:
    SharedState &m_state;
    Platform &m_platform;
    const LanguagePack &m_texts;
    int m_zoneRow = 0;
    QString m_serialText;
    Action m_action = Action::None;
    int32_t m_tempFilePresent = 0;
};
