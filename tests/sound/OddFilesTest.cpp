// Every reader of an outside file takes only regular files of a sane size: a pipe, a
// device, a folder (or a link to one of them) and a file too large for its kind are
// refused at once, naming the file, before anything is waited for or allocated.
#include "base/LanguagePack.h"
#include "archive/AedArchiveReader.h"
#include "device/AudioRecordFile.h"
#include "device/CprFeedbackFile.h"
#include "base/FileError.h"
#include "sound/WaveFile.h"
#include "case/CaseViewFixture.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

enum class Oddity { Pipe, LinkToDevice, Folder, HugeSparseFile };

const char *nameOf(Oddity oddity)
{
    switch (oddity) {
    case Oddity::Pipe: return "a pipe";
    case Oddity::LinkToDevice: return "a link to /dev/zero";
    case Oddity::Folder: return "a folder";
    case Oddity::HugeSparseFile: return "a 3 GB sparse file";
    }
    return "";
}

// Puts the odd thing at path; false when the system does not allow it here.
bool plant(Oddity oddity, const QString &path)
{
    switch (oddity) {
    case Oddity::Pipe: return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    case Oddity::LinkToDevice: return QFile::link(QStringLiteral("/dev/zero"), path);
    case Oddity::Folder: return QDir().mkpath(path);
    case Oddity::HugeSparseFile: {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.resize(qint64(3) << 30);
    }
    }
    return false;
}

FileError::Kind expectedKind(Oddity oddity)
{
    return oddity == Oddity::HugeSparseFile ? FileError::Kind::TooLarge : FileError::Kind::NotAFile;
}

class OddFiles : public ::testing::Test, public CaseViewFixture
{
public:
    // One reader: the name of the file it reads in a folder, and a run that reports what
    // it made of it (the message of the error thrown or shown; "refused" for the readers
    // that only say no).
    struct Reader
    {
        const char *what;
        QString fileName;
        std::function<QString(OddFiles &, const QString &folder)> run;
    };

    static QString thrown(const std::function<void()> &read)
    {
        try {
            read();
        } catch (const FileError &e) {
            return e.message();
        }
        return QString();
    }

    QString lastMessage() const { return platform.messages.isEmpty() ? QString() : platform.messages.last().text; }
    // The one message a reader that reports on its own showed; empty when it showed none or more.
    QString onlyMessage() const { return platform.messages.size() == 1 ? platform.messages[0].text : QString(); }
};

TEST_F(OddFiles, EveryReaderRefusesPipesDevicesFoldersAndHugeFilesAtOnce)
{
    const QString ecgName = DeviceFiles::mifFileName(DeviceFiles::Model::Q26, "ECG");
    const Reader readers[] = {
        {"archive", "case.aed",
         [](OddFiles &t, const QString &folder) {
             const int slot = t.view.store.AllocateCaseSlot(QString());
             return thrown([&] { ReadAedArchive(t.view.store, folder + "/case.aed", slot, t.view.state.timeZoneChoice); });
         }},
        {"device files", ecgName,
         [](OddFiles &t, const QString &folder) {
             CC8Class files;
             files.SetPaths(folder, ModelNone);
             return files.LoadFiles(false, t.platform) == 1 ? t.lastMessage() : QString();
         }},
        {"CPR feedback", CprFeedbackFile::fileName(),
         [](OddFiles &t, const QString &folder) {
             const int slot = t.view.store.AllocateCaseSlot(QString());
             t.platform.messages.clear();
             LoadCprFeedback(t.view, folder + "/" + CprFeedbackFile::fileName(), slot);
             return t.onlyMessage();
         }},
        {"audio record", AudioRecordFile::binFileName(),
         [](OddFiles &t, const QString &folder) {
             const int slot = t.view.store.AllocateCaseSlot(QString());
             t.platform.messages.clear();
             LoadAudioRecord(t.view, folder + "/" + AudioRecordFile::binFileName(), slot);
             return t.onlyMessage();
         }},
        {"WAV", AudioRecordFile::wavFileName(),
         [](OddFiles &, const QString &folder) {
             WaveSound sound;
             return LoadWave(folder + "/Audio Record.wav", sound) ? QString() : QStringLiteral("refused");
         }},
        {"language pack", "string.txt",
         [](OddFiles &, const QString &folder) {
             LanguagePack pack;
             return pack.loadFile(folder + "/string.txt") ? QString() : QStringLiteral("refused");
         }},
    };
    for (Oddity oddity : {Oddity::Pipe, Oddity::LinkToDevice, Oddity::Folder, Oddity::HugeSparseFile}) {
        for (const Reader &reader : readers) {
            const QString folder = dir.mkdir(QStringLiteral("%1-%2").arg(int(oddity)).arg(reader.what));
            // The other device files are in place, so that the odd one is what stops the load.
            DeviceFiles::DeviceFolder device = emptyFolder();
            device.write(folder);
            const QString path = folder + "/" + reader.fileName;
            QFile::remove(path);
            ASSERT_TRUE(plant(oddity, path)) << nameOf(oddity);

            const QString result = reader.run(*this, folder);

            const std::string where = std::string(reader.what) + " at " + nameOf(oddity);
            ASSERT_FALSE(result.isEmpty()) << where << " was read";
            // The message names the file and what is wrong with it.
            if (result != "refused") {
                EXPECT_TRUE(result.startsWith(FileError(path, expectedKind(oddity)).message()))
                    << where << ": " << result.toStdString();
            }
            QFile::remove(path);
        }
    }
}

} // namespace
