#include "archive/AedText.h"

#include "base/BinaryReader.h"
#include "base/BinaryWriter.h"

#include <QStringDecoder>
#include <QtEndian>
#include <limits>

namespace AedText {

namespace {
constexpr uint8_t LongLength = 0xFF;
constexpr uint16_t WideMarker = 0xFFFE;
constexpr uint16_t LongerLength = 0xFFFF;
constexpr uint32_t LongestLength = 0xFFFFFFFF;
constexpr uint64_t MaxLength = uint64_t(std::numeric_limits<int32_t>::max());

// The 16-bit part of a length and what may follow it, once the first byte was FF.
uint64_t readLengthAfterWord(BinaryReader &in, uint16_t word)
{
    if (word < LongerLength)
        return word;
    const uint32_t dword = in.u32();
    if (dword < LongestLength)
        return dword;
    return in.u64();
}

QString readWide(BinaryReader &in, uint64_t units)
{
    const QByteArray bytes = in.bytes(units * 2);
    QString text(qsizetype(units), Qt::Uninitialized);
    qFromLittleEndian<char16_t>(bytes.constData(), qsizetype(units), text.data());
    return text;
}
} // namespace

void write(BinaryWriter &out, const QString &text)
{
    const auto units = uint64_t(text.size());
    out.u8(LongLength);
    out.u16(WideMarker);
    if (units < LongLength) {
        out.u8(uint8_t(units));
    } else if (units < WideMarker) {
        out.u8(LongLength);
        out.u16(uint16_t(units));
    } else {
        out.u8(LongLength);
        out.u16(LongerLength);
        out.u32(uint32_t(units));
    }
    QByteArray bytes(qsizetype(units * 2), Qt::Uninitialized);
    qToLittleEndian<char16_t>(text.utf16(), qsizetype(units), bytes.data());
    out.bytes(bytes);
}

QString read(BinaryReader &in)
{
    bool wide = false;
    uint64_t length = in.u8();
    if (length == LongLength) {
        uint16_t word = in.u16();
        if (word == WideMarker) {
            wide = true;
            length = in.u8();
            if (length == LongLength)
                word = in.u16();
        }
        if (length == LongLength)
            length = readLengthAfterWord(in, word);
    }
    if (length > MaxLength)
        in.fail(FileError::Kind::BadFormat);
    if (wide)
        return readWide(in, length);
    // The older tools wrote 8-bit texts in the Western Windows code page, not in the
    // reading computer's locale.
    QStringDecoder windows1252("Windows-1252");
    return windows1252.decode(in.bytes(length));
}

} // namespace AedText
