#pragma once

#include "cpr/CprQualitySettings.h"
#include "cpr/CprReviewSettings.h"

#include <QImage>
#include <QSize>
#include <cstdint>

class LanguagePack;
struct ShownCase;

// The ECG pictures without a window, for headless rendering: the same drawing runs as
// the entire-ECG and enlarged-ECG windows, for a case slot, a centre time and a size.
enum class EcgPictureKind { Entire, EightSecond, SixSecond, Large };

struct EcgRenderOptions
{
    bool showCprPeriods = true;
    bool showEventText = true;
    bool cprPanelCollapsed = false;
    bool playing = false; // draw the centre line as while audio plays
    int32_t pauseThresholdMs = CprQualitySettings().pauseThresholdMs; // the pauses whose causes are shaded
    CprDepthUnit depthUnit = CprDepthUnit::Inches; // of the enlarged ECG's CPR panel
};

// centreMs is the review position in case ms (the middle of row 3 of the entire ECG).
// A slot that holds no case gives the empty grid. Texts, and the decimal point of the
// depth scale, come from the pack given.
QImage renderEcgPicture(const ShownCase &shown, const LanguagePack &texts, EcgPictureKind kind, int32_t centreMs, QSize size,
                        const EcgRenderOptions &options = {});
