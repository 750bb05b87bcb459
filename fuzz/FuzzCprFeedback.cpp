// "CPR Feedback.bin": every whole 8-byte record is read; a cut last record stays unread.
#include "base/BinaryReader.h"
#include "device/CprFeedbackFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    BinaryReader in(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)),
                    QStringLiteral("CPR Feedback.bin"));
    const auto records = CprFeedbackFile::parse(in);
    if (records.size() != size / 8 || size_t(in.remaining()) != size % 8)
        __builtin_trap();
    return 0;
}
