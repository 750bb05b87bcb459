#pragma once

#include "ecg/EcgGeometry.h"
#include "ecg/ShownCase.h"

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

// What one drawing run of the entire ECG reads.
struct EntireScene
{
    ShownCase shown;                        // no record: grid, grid text, labels and position marker only
    std::array<int32_t, 5> rowStartMs{};    // case ms range of each row; a row ends where the next starts
    std::array<int32_t, 5> rowEndMs{};
    const uint8_t *rows = nullptr;          // 5 x 7500 samples, row after row
    QString gridText;                       // text 166
    std::array<QString, 15> labels;         // start, middle, end of each row
    bool showCprPeriods = true;
};

// The 15 labels for a review position: -75, -60, -45 | -45, -30, -15 | ... | +45, +60,
// +75 seconds around the centre.
std::array<QString, 15> entireLabels(const CaseRecord *c, int32_t centreMs);

// One drawing run into picture (its size is the client size). Returns the latest event
// time met, at least latestEventMs.
int32_t drawEntirePicture(QImage &picture, const EntireScene &scene, int32_t latestEventMs);
