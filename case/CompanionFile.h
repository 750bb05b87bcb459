#pragma once

#include <QString>
#include <cstdint>

// A file the device left beside its recording ("CPR Feedback.bin", "Audio Record.bin") as bound
// to one recording: its name in the archive's folder, its size and the SHA-256 of its bytes.
struct CompanionFile
{
    QString name;
    int64_t size = 0;
    QString sha256; // lower-case hex
    bool operator==(const CompanionFile &) const = default;
};
