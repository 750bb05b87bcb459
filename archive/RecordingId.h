#pragma once

#include <QString>

class CC8Class;

// The identity of a recording: the SHA-256 (lower-case hex) of the device files an archive holds
// (CT, ECG, HR, Trend, and Temp when it has data), each as its length and its bytes. No save
// changes them, so every copy of a recording has the same ID, whatever its patient fields and
// annotations; any other recording has another. An empty Temp section counts as none (a save
// writes one in front of comments that read like its marker).
QString RecordingId(const CC8Class &files);
