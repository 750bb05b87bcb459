// "CPR Feedback.bin": whole 8-byte records, or a FileError for a partial one.
#include "base/BinaryReader.h"
#include "device/CprFeedbackFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    BinaryReader in(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)),
                    QStringLiteral("CPR Feedback.bin"));
    try {
        const auto records = CprFeedbackFile::parse(in);
        if (size % 8 != 0 || records.size() != size / 8)
            __builtin_trap();
    } catch (const FileError &) {
        if (size % 8 == 0)
            __builtin_trap();
    }
    return 0;
}
