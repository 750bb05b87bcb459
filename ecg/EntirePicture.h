#pragma once

#include "cpr/HandsOffResult.h"
#include "ecg/EcgGeometry.h"
#include "ecg/PauseShading.h"
#include "ecg/ShownCase.h"

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// What one drawing run of the entire ECG reads.
struct EntireScene
{
    ShownCase shown;                        // no record: grid, grid text, labels and position marker only
    std::array<int32_t, 5> rowStartMs{};    // case ms range of each row; a row ends where the next starts
    std::array<int32_t, 5> rowEndMs{};
    const uint8_t *rows = nullptr;          // 5 x 7500 samples, row after row
    QString gridText;                       // text 166
    std::array<QString, 15> labels;         // start, middle, end of each row
    bool showCprPeriods = true;             // CPR periods and the pauses' causes are shaded
    const HandsOffResult *handsOff = nullptr; // the pauses by cause; null: none shaded
};

// What a drawing run puts on the picture besides the trace's samples: two runs with equal
// plans and samples draw the same pixels.
struct EntirePlan
{
    QSize size;
    QString gridText;
    std::array<QString, 15> labels;
    std::vector<QRect> cprShades;
    std::vector<PausePartShade> pauseShades;
    std::vector<QRect> segmentShades;
    std::vector<std::pair<int, int>> markers; // row and x of each event marker
    int32_t latestEventMs = 0;                // latest event time of the case

    bool operator==(const EntirePlan &) const = default;
};

// Back buffer of the entire ECG and what was last drawn into it: a run that would draw the
// same again (a repaint with nothing changed) leaves the picture as it is.
struct EntireBuffers
{
    QImage picture;
    std::optional<EntirePlan> drawnPlan;
    std::vector<uint8_t> drawnRows;

    void resize(int w, int h);
};

// The 15 labels for a review position: -75, -60, -45 | -45, -30, -15 | ... | +45, +60,
// +75 seconds around the centre.
std::array<QString, 15> entireLabels(const CaseRecord *c, int32_t centreMs);

EntirePlan entirePlan(const EntireScene &scene, QSize size);

// One drawing run into picture (its size is the client size). Returns the latest event
// time met, at least latestEventMs.
int32_t drawEntirePicture(QImage &picture, const EntireScene &scene, int32_t latestEventMs);
// The same run into the buffers, drawing nothing when they show the same already.
int32_t drawEntirePicture(EntireBuffers &buffers, const EntireScene &scene, int32_t latestEventMs);
