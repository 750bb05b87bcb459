// WAV files as the playback reads them: a whole "fmt " and "data" chunk, or a refusal.
#include "sound/WaveFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    WaveSound sound;
    if (ParseWave(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), sound)
        && size_t(sound.samples.size()) + 12 + 8 + 16 + 8 > size)
        __builtin_trap();
    return 0;
}
