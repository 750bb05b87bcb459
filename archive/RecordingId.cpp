#include "archive/RecordingId.h"

#include "base/FileSha256.h"
#include "case/CC8Class.h"

#include <QtEndian>
#include <array>

QString RecordingId(const CC8Class &files)
{
    FileSha256::Hasher hash;
    for (const QByteArray *section : {&files.ctData, &files.ecgData, &files.hrData, &files.trendData, &files.tempData}) {
        std::array<char, 8> length{};
        qToLittleEndian<quint64>(quint64(section->size()), length.data());
        hash.add(QByteArrayView(length.data(), qsizetype(length.size())));
        hash.add(*section);
    }
    return hash.hex();
}
