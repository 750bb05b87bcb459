#pragma once

#include "case/TreeControl.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// Device models that choose the device's file names. Never stored in a file.
enum DeviceModelCode : int32_t {
    ModelNone = 0,
    ModelQ21 = 21,
    ModelQ25 = 25,
};

// The choices and flags that the Open dialog, the open / import / scan flows, the
// General form and the main frame hand to one another. One instance, owned by
// the CaseSession; members keep the names the rest of the program knows them by.
struct SharedState
{
    // Open dialog outputs
    int32_t openMode = 0;            // 0 nothing, 1 import MIF folder, 2 choose archive
    uint8_t directoryMode = 0;       // 1 while a whole directory tree is imported
    QString mifFolderPath;           // folder of the chosen MIF files
    QString serialNumber;            // AED serial number typed in the Open dialog
    int32_t deviceModel = ModelNone; // ModelQ21, ModelQ25, anything else = Q26 names
    int32_t modelQ26Found = 0;
    uint16_t timeZoneChoice = 0;     // row of the time-zone table
    int32_t localZoneOffset = 0;     // computer's offset from UTC, minutes east

    int32_t modelIndex = 0;          // 0, 1, 2: device model of the last opened archive

    // Folder scan
    int32_t scanPage = 0;
    QStringList scanFiles;           // every file below the chosen root, in scan order
    QStringList scanFolders;         // distinct folders of scanFiles, first-met order, no trailing '/'
    int32_t foldersPerPage = 0;      // scanFolders.size(), at most 1000

    // Some open case has changes that are not saved (CaseSession::markChanged).
    uint8_t unsavedChanges = 0;

    // Case tree: the selected case node and the selected annotation item, else NoTreeItem.
    TreeItemId selectedCaseItem = NoTreeItem;
    TreeItemId selectedAnnotationItem = NoTreeItem;
};
