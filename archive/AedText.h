#pragma once

#include <QString>

class BinaryReader;
class BinaryWriter;

// Text values of the archive. Written always as UTF-16: the bytes FF FE FF, the length in
// UTF-16 units (one byte below 255; FF and a uint16 up to 65533; FF, FFFF and a uint32
// from 65534), then the units, little-endian, without terminator.
namespace AedText {

void write(BinaryWriter &out, const QString &text);

// Reads every form older writers used as well: 8-bit texts in Windows-1252 (lengths of
// 1, 3 or 7 bytes) and lengths of 32 or 64 bits. A length above 2^31 - 1 is
// a BadFormat error; a text longer than what is left of the file an EndOfFile error.
QString read(BinaryReader &in);

} // namespace AedText
