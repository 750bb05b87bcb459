#pragma once

#include "archive/AedArchiveWriter.h"
#include "archive/CloseAllCases.h"
#include "archive/FolderScan.h"
#include "archive/OpenFlow.h"
#include "archive/SaveCommand.h"
#include "archive/SessionCommands.h"
#include "case/CaseTreeFixture.h"
#include "device/OpenDialogLogic.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

// A session with an in-memory case tree and a scripted platform, with device folders to
// import and helpers that press the Open dialog's buttons.
class OpenFlowFixture : public ::testing::Test, public CaseTreeFixture
{
protected:
    // A case closed with unsaved changes is saved the way the window saves it.
    OpenFlowFixture() { view.saveCase = [this](int slot) { return SaveCase(view, slot); }; }

    static constexpr const char *Serial = "SN-7";

    // A small rescue of a model, started 2021-03-07 09:05:00, with a Temp file, CPR
    // feedback and one second of sound.
    static DeviceFiles::DeviceFolder rescue(DeviceFiles::Model model = DeviceFiles::Model::Q25)
    {
        DeviceFiles::DeviceFolder f;
        f.model = model;
        f.ecgRaw = std::vector<int32_t>(500, 0);
        f.heartRate = {{1000, 72}, {2000, 74}};
        f.temperature = {{1500, 36}};
        DeviceFiles::TrendBlock block;
        block.events[0] = {101, 3000};
        f.trend = {block};
        f.hasTemp = true;
        f.cprFeedback = {{4000, 50}, {4500, 55}};
        f.hasCprFeedback = true;
        f.audioSamples = QByteArray(16000, char(0x80));
        f.hasAudio = true;
        return f;
    }

    QString writeFolder(const QString &name, const DeviceFiles::DeviceFolder &f = rescue())
    {
        const QString folder = dir.file(name);
        f.write(folder);
        return folder;
    }

    static QString mifPath(const QString &folder, DeviceFiles::Model model, const char *kind)
    {
        return folder + "/" + DeviceFiles::mifFileName(model, QString::fromLatin1(kind));
    }

    // The MIF files of a folder that are still there.
    static QStringList mifFilesIn(const QString &folder)
    {
        return QDir(folder).entryList({"*.MIF"}, QDir::Files, QDir::Name);
    }

    // The Open dialog answered with "..." (a file of folder), the serial number and "Load
    // MIF File"; returns whether the dialog closed.
    void scriptLoadMif(const QString &folder)
    {
        platform.openPaths.push_back(folder + "/" + QDir(folder).entryList(QDir::Files, QDir::Name).value(0));
        platform.openDialogScript = [](OpenDialogLogic &logic) {
            logic.setSerialText(QString::fromLatin1(Serial));
            logic.browseMifFile();
            return logic.loadMifFile();
        };
    }

    // The Open dialog answered with "Load AED File", and the file dialog with path.
    void scriptLoadAed(const QString &path)
    {
        platform.openDialogScript = [](OpenDialogLogic &logic) { return logic.loadAedFile(); };
        platform.openPaths.push_back(path);
    }

    // The Open dialog answered with "Open Directory" on root.
    void scriptOpenDirectory(const QString &root)
    {
        platform.folderPaths.push_back(root);
        platform.openDialogScript = [](OpenDialogLogic &logic) {
            logic.setSerialText(QString::fromLatin1(Serial));
            return logic.openDirectory();
        };
    }

    // Writes a converted archive of a device folder at path (the folder is made beside it
    // in a scratch place and dropped again).
    QString makeArchive(const QString &path, const DeviceFiles::DeviceFolder &f = rescue())
    {
        const int slot = createCase(f);
        WriteAedArchive(view.store, slot, path, AedArchiveVariant::Conversion);
        view.store.FreeCase(slot);
        return path;
    }

    // The used slots' source paths, in slot order.
    QStringList openSources() const
    {
        QStringList out;
        for (int slot = 0; slot < view.store.slotCount(); ++slot)
            if (view.store.isSlotUsed(slot))
                out << view.store.find(slot)->sourcePath;
        return out;
    }

    int openCaseCount() const { return int(openSources().size()); }

    // Case nodes in the tree (the third level).
    int caseNodeCount() const
    {
        int n = 0;
        for (TreeItemId date : tree.children(NoTreeItem))
            for (TreeItemId device : tree.children(date))
                n += tree.childCount(device);
        return n;
    }

    QString importMessage() const
    {
        return view.GetText(168) + "\n" + view.GetText(169) + "\n\n" + view.GetText(170);
    }
};
