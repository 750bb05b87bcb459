// The whole open of an archive, as "Load AED File" and "ravelin-cli info" run it: the
// archive read with the shift to a time zone, the event-list build into a case tree in
// memory, the CPR feedback and audio record beside it (the WAV made of it), and the info
// JSON. The first byte picks the time-zone row, the second the device model of the last
// import and the folder (its name sets the model index) and which companion files are
// there; two 16-bit lengths cut the CPR feedback and the audio record, and the archive
// takes the rest. Every input must open or be refused without a crash, and an open case
// must be the one the tree and the JSON show.
#include "FuzzSupport.h"

#include "archive/OpenFlow.h"
#include "case/CaseSession.h"
#include "case/MemoryTreeControl.h"
#include "device/TimeZoneTable.h"
#include "tools/CaseInfoJson.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace FuzzSupport;
    InputCutter input(data, size);
    const int zoneRow = input.byte() % (TimeZoneTable::RowCount + 1); // one row past the table
    const uint8_t flags = input.byte();
    const size_t feedbackLength = input.length16();
    const size_t audioLength = input.length16();

    static const char *const folderNames[] = {"Q21", "Q25", "card"};
    const QString folder = QDir(scratchFolder()).filePath(QLatin1String(folderNames[flags % 3]));
    QDir().mkpath(folder);
    const QDir dir(folder);
    const QByteArray feedback = input.take(feedbackLength);
    const QByteArray audio = input.take(audioLength);
    const auto place = [&](const char *name, bool present, const QByteArray &bytes) {
        if (present)
            writeFile(dir.filePath(QLatin1String(name)), bytes);
        else
            QFile::remove(dir.filePath(QLatin1String(name)));
    };
    place("CPR Feedback.bin", flags & 8, feedback);
    place("Audio Record.bin", flags & 16, audio);
    if (flags & 32)
        QFile::remove(dir.filePath(QStringLiteral("Audio Record.wav")));
    const QString archive = dir.filePath(QStringLiteral("case.aed"));
    writeFile(archive, input.rest());

    SilentPlatform platform;
    MemoryTreeControl tree;
    CaseSession view(texts(), platform);
    view.setTree(&tree);
    const int32_t models[] = {ModelQ21, ModelQ25, ModelNone};
    view.state.deviceModel = models[(flags >> 6) % 3];
    view.state.timeZoneChoice = uint16_t(zoneRow);
    OpenFlow flow(view);
    flow.OpenArchiveFile(archive);
    const int slot = flow.openedSlot();
    if (slot < 0) {
        if (tree.itemCount() != 0)
            __builtin_trap(); // a refused archive leaves nothing behind
        return 0;
    }
    const QString json = CaseInfoJson(view.store, slot);
    if (!json.startsWith(QLatin1Char('{')) || tree.lines().size() < 3)
        __builtin_trap();
    return 0;
}
