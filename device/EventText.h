#pragma once

#include <QString>
#include <cstdint>

class LanguagePack;

// Language-pack text number of a device event code (1..32 and 100..116). Codes 101 and
// 103 are worded by the device model: 101 -> 49 unless ModelQ21, 103 -> 35 for ModelQ21.
int EventTextNumber(int code, int32_t deviceModel);
// The text of a device event code in the pack's current language.
QString EventText(int code, int32_t deviceModel, const LanguagePack &texts);
