#pragma once

#include <QByteArray>
#include <cstdint>

// The two-second ring that feeds the audio output, as a pure byte stream.
//
// The ring has four quarters of `quarterBytes` (half a second) each and starts silent.
// The output reads the ring in a loop; each time it finishes a quarter, that quarter is
// refilled with the next bytes of the sound from the read cursor, padded with silence
// (the sample value of the zero line: 0x80 for 8-bit unsigned sound), and when
// the cursor reaches the end of the sound it starts again from the beginning. So the
// sound at the requested offset is heard two seconds after start(), and an offset past
// the end gives one quarter of silence and then the sound from its start.
class SoundStream
{
public:
    // quarterBytes: half a second of sound (bytes per second / 2). silence: the byte of
    // the zero line.
    SoundStream(QByteArray samples, uint32_t quarterBytes, char silence = char(0x80));

    // Positions the read cursor startMs into the sound (16 bytes per millisecond, the
    // rate of the device's recordings) and clears the ring. False when the offset lies
    // beyond what can be held, which leaves the output silent.
    bool start(int64_t startMs);

    // Copies the next count bytes the output plays into out.
    void read(char *out, int64_t count);

    uint32_t readCursor() const { return m_readCursor; }
    uint32_t ringBytes() const { return 4 * m_quarter; }
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
