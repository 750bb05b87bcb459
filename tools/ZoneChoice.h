#pragma once

#include <cstdint>

// What a command's --zone chose besides a row of the Open dialog's table: the device's own
// clock (no shift, the default, so that the output is the same on every computer) or the
// row the Open dialog preselects for this computer ("local").
constexpr int DeviceClockZone = -1;
constexpr int LocalZone = -2;

// Makes the process's own clock UTC, after noting the computer's zone for --zone local (in
// the environment, so that a command handed over to the drawing program keeps it). What
// the commands write is in the case's clock; what Qt stamps on its own, such as a PDF's
// creation date, is then in UTC, the same on every computer.
void useUtcForTheProcess();
// The computer's standard-time offset, minutes east of UTC, as it was before
// useUtcForTheProcess (or now, when it was not called).
int32_t computerZoneOffset();
