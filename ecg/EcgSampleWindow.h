#pragma once

#include <QByteArray>
#include <cstdint>

struct CaseRecord;

// Cuts the samples of a time window out of a case's ECG. out[i] is the sample for case
// time lo + 4i; 0 marks a place the ECG does not cover (stored samples are 1..250).
// The ECG covers ecgStartMs (inclusive) to ecgEndMs (exclusive). Offsets are divided by
// 4 truncating toward zero, so an ECG that starts between two window samples lands on
// the earlier one. Only out[0 .. count) is written; samples the stored ECG does not have
// (ecgEndMs beyond its bytes) stay 0.
void fillSampleWindow(const QByteArray &ecg, int32_t ecgStartMs, int32_t ecgEndMs, int32_t lo, uint8_t *out,
                      int count);
// The same from a case; a null case gives an all-zero window.
void fillSampleWindow(const CaseRecord *c, int32_t lo, uint8_t *out, int count);
