#pragma once

#include <QByteArray>
#include <cstdint>

// The ring that feeds the audio output, as a pure byte stream.
//
// The ring has four quarters of `quarterBytes` (half a second) each. start() fills all
// four with the sound from the requested offset, so the first byte the output reads is the
// sound at that offset. The output reads the ring in a loop; each time it finishes a
// quarter, that quarter is refilled with the next bytes of the sound from the read cursor.
// Where the sound has no more bytes the ring holds silence (the sample value of the zero
// line: 0x80 for 8-bit unsigned sound): past its end the sound never starts again, and an
// offset beyond the end gives silence from the start.
class SoundStream
{
public:
    // quarterBytes: half a second of sound (bytes per second / 2). silence: the byte of
    // the zero line.
    SoundStream(QByteArray samples, uint32_t quarterBytes, char silence = char(0x80));

    // Positions the stream startMs into the sound (16 bytes per millisecond, the rate of
    // the device's recordings) and fills the ring from there. False for a negative offset,
    // which leaves the ring silent.
    bool start(int64_t startMs);

    // Copies the next count bytes the output plays into out.
    void read(char *out, int64_t count);

    // Byte of the sound the next refill takes; the sound's size once it is used up.
    uint32_t readCursor() const { return m_readCursor; }
    uint32_t ringBytes() const { return 4 * m_quarter; }
    // Bytes handed to the output since start().
    int64_t bytesPlayed() const { return m_played; }

private:
    void refillQuarter(int quarter);

    QByteArray m_samples;
    QByteArray m_ring;
    uint32_t m_quarter;
    char m_silence;
    uint32_t m_readCursor = 0;
    uint32_t m_playPos = 0; // byte of the ring the output reads next
    int64_t m_played = 0;
};
