#pragma once

#include "export/EdfContent.h"
#include "export/ExportOptions.h"

#include <QString>
#include <cstdint>
#include <vector>

class LanguagePack;
struct CaseRecord;
struct OpenCase;

namespace CaseEdf {

// The device's ECG samples at full resolution, before they were cut to the display's
// 8 bits: the ECG data of the case's file set after its start time, read where they are
// and kept within +-10 V. None when the case has none.
EdfStoredSamples rawEcgSamples(const OpenCase &openCase);

// Physical value of one raw ECG unit: 1000 / 190 microvolts (50 stored units per mV,
// stored = raw * 0.26315789).
constexpr double MicrovoltsPerRawUnit = 1000.0 / 190.0;

// A compression goes into the EDF+ file when its time is within the ECG: from its first
// sample up to its end (ecgStartMs <= timeMs < ecgEndMs).
bool compressionInsideEcg(const CaseRecord &c, int32_t timeMs);
// The compressions of the CPR feedback outside the ECG, which an export leaves out.
qsizetype compressionsOutsideEcg(const CaseRecord &c);

// The EDF+ content of a case: its raw ECG from the first sample on, starting at the case's
// start as shown (zone shift applied) plus the ECG's start offset, with every event, the
// CPR periods and the marked segments as annotations, and with compressions the ones
// inside the ECG. Empty samples when the case has no ECG.
// Anonymised, it is a file EDF+ calls anonymous: "X X X X" for the patient, "Startdate X X X X"
// for the recording (no date, serial or equipment), the placeholder start 01.01.85 00.00.00
// with the first sample on its whole second, device events with their texts and a reviewer's
// annotations as Anonymity::annotationText(), at the same onsets from the first sample.
EdfContent content(const OpenCase &openCase, const LanguagePack &texts, const ExportOptions &options);

// The EDF+ patient field "code sex birthdate name" ("X" for each unknown part, all four when
// anonymised).
QString patientField(const CaseRecord &c, bool anonymize);
// Text for an EDF+ header subfield: letters without their accents, spaces as underscores,
// any other character outside printable US-ASCII as "_"; "X" when empty.
QString headerSubfield(const QString &text);
// Annotation text of an event: its text, then its body when it has one.
QString eventAnnotationText(const QString &text, const QString &detail);

} // namespace CaseEdf
