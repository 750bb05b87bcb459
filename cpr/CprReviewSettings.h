#pragma once

#include "cpr/CprQualitySettings.h"

class QSettings;

// How the review shows compression depths; the targets stay in inches either way.
enum class CprDepthUnit { Inches, Centimetres };

// What File > "CPR quality settings..." sets: the pause threshold and the targets the
// measures are judged by, and the unit depths are shown in.
struct CprReviewSettings
{
    CprQualitySettings quality;
    CprDepthUnit depthUnit = CprDepthUnit::Inches;

    bool operator==(const CprReviewSettings &) const = default;
};

// The ranges a setting may take, shared by the dialog and the reading of stored values.
namespace CprSettingLimits {
constexpr int MinRatePerMin = 1;
constexpr int MaxRatePerMin = 300;
constexpr double MaxDepthIn = 10.0;           // depths are positive and at most this
constexpr int MinShockPauseSeconds = 1;
constexpr int MaxShockPauseSeconds = 60;
} // namespace CprSettingLimits

// Whether every value lies in its range and every band has its lower bound first.
bool cprSettingsValid(const CprQualitySettings &s);

// The settings kept in the group "CPR Quality" of the per-user settings. A stored set
// that is incomplete or out of range reads as the defaults, as a whole, so that targets
// from different sets are never mixed.
namespace CprSettingsStore {
CprReviewSettings load(QSettings &settings);
void save(QSettings &settings, const CprReviewSettings &values);
} // namespace CprSettingsStore
