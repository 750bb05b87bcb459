#include "tools/DeviceFolderWriter.h"

#include "base/BinaryWriter.h"

#include <QDir>
#include <QFile>

namespace DeviceFiles {

QString modelCode(Model model)
{
    switch (model) {
    case Model::Q21: return QStringLiteral("Q21");
    case Model::Q25: return QStringLiteral("Q25");
    case Model::Q26: break;
    }
    return QStringLiteral("Q26");
}

QString mifFileName(Model model, const QString &kind)
{
    return modelCode(model) + QLatin1Char(' ') + kind + QStringLiteral(" Data.MIF");
}

QByteArray encodeEcg(const EcgHeader &header, int32_t firstSampleMs, const std::vector<int32_t> &rawSamples)
{
    BinaryWriter w;
    w.u8(header.year);
    w.u8(header.month);
    w.u8(header.day);
    w.u8(header.hour);
    w.u8(header.minute);
    w.u8(header.second);
    w.u16(0);
    w.i32(firstSampleMs);
    for (int32_t v : rawSamples)
        w.i32(v);
    return w.data();
}

QByteArray encodeRecords(const std::vector<TimedValue> &records)
{
    BinaryWriter w;
    for (const auto &r : records) {
        w.i32(r.timeMs);
        w.i32(r.value);
    }
    return w.data();
}

QByteArray encodeTrendBlock(const TrendBlock &block)
{
    BinaryWriter w;
    for (const auto &e : block.events) {
        w.i32(e.code);
        w.i32(e.timeMs);
    }
    for (const auto &p : block.pads) {
        w.u32(p.offMs);
        w.u32(p.onMs);
        w.u32(p.type);
    }
    w.u32(block.powerOffMs);   // 1400
    w.i32(block.mode);         // 1404
    w.u32(0);                  // 1408
    w.i32(block.shockMs);      // 1412
    w.u64(0);                  // 1416
    w.i32(block.impedanceOhm); // 1424
    w.bytes(QByteArray(2664 - 1428, '\0'));
    w.u32(block.energyTenthsJ); // 2664
    return w.data();
}

QByteArray encodeTrend(const std::vector<TrendBlock> &blocks)
{
    QByteArray out;
    out.reserve(qsizetype(blocks.size()) * TrendBlockSize);
    for (const auto &b : blocks)
        out += encodeTrendBlock(b);
    return out;
}

QByteArray encodeAudioRecord(int32_t startMs, const QByteArray &samples)
{
    BinaryWriter w;
    w.i32(startMs);
    w.bytes(samples);
    return w.data();
}

bool DeviceFolder::write(const QString &folder, QString *failedPath) const
{
    const auto writeFile = [failedPath](const QString &path, const QByteArray &bytes) {
        QFile f(path);
        const bool ok = f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() && f.flush();
        if (!ok && failedPath)
            *failedPath = path;
        return ok;
    };
    if (!QDir().mkpath(folder)) {
        if (failedPath)
            *failedPath = folder;
        return false;
    }
    const auto path = [&](const QString &kind) { return folder + QLatin1Char('/') + mifFileName(model, kind); };
    bool ok = writeFile(path(QStringLiteral("CT")), ct)
        && writeFile(path(QStringLiteral("ECG")), encodeEcg(header, ecgFirstSampleMs, ecgRaw))
        && writeFile(path(QStringLiteral("HR")), encodeRecords(heartRate))
        && writeFile(path(QStringLiteral("Trend")), encodeTrend(trend));
    if (ok && hasTemp)
        ok = writeFile(path(QStringLiteral("Temp")), encodeRecords(temperature));
    if (ok && hasCprFeedback)
        ok = writeFile(folder + QStringLiteral("/CPR Feedback.bin"), encodeRecords(cprFeedback));
    if (ok && hasAudio)
        ok = writeFile(folder + QStringLiteral("/Audio Record.bin"), encodeAudioRecord(audioStartMs, audioSamples));
    return ok;
}

} // namespace DeviceFiles
