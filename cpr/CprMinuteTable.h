#pragma once

#include "cpr/CprReviewSettings.h"

#include <QStringList>
#include <vector>

struct CprQualityResult;

// The per-minute table of the CPR quality measures as text: a header row (minute,
// compressions, ccf, meanRatePerMin, then meanDepthIn or meanDepthCm after the unit), then
// one row a minute. Numbers are written as short as they read back exactly; a measure a
// minute has none of is empty.
std::vector<QStringList> cprMinuteTable(const CprQualityResult &result, CprDepthUnit unit = CprDepthUnit::Inches);
