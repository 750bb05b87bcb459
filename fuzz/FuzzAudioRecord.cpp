// "Audio Record.bin" and the WAV made of it: the header always says how many samples follow.
#include "device/AudioRecordFile.h"
#include "base/BinaryReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    BinaryReader in(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)),
                    QStringLiteral("Audio Record.bin"));
    try {
        const AudioRecordFile::Head head = AudioRecordFile::parse(in);
        const QByteArray header = AudioRecordFile::wavHeader(uint32_t(head.sampleBytes));
        if (header.size() != AudioRecordFile::WavHeaderBytes || head.sampleBytes != qsizetype(size) - 4
            || AudioRecordFile::durationSec(head.sampleBytes) < 0)
            __builtin_trap();
    } catch (const FileError &) {
        if (size >= 4)
            __builtin_trap();
    }
    return 0;
}
