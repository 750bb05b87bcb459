#pragma once

#include <cstdint>
#include <functional>

class CC8Class;
class CaseSession;
class CaseStore;
class LanguagePack;
class Platform;

// Making a case from a MIF folder and decoding its file set.
namespace MifCase {

// LoadFiles of a file set, reading Temp when the slot's tempFilePresent is 1 (the flows
// that read into the scratch file set pass slot 0).
int LoadFiles(const CaseStore &store, CC8Class &fileSet, int slot, Platform &platform);

// Makes a case from the MIF folder state.mifFolderPath of state.deviceModel: a new slot,
// its file set loaded, the start time from the ECG header and the serial number typed in
// the Open dialog. The scratch file set's CT, ECG, HR and trend buffers are discarded.
// Returns the slot.
// With alreadyRead (the folder's CT, ECG, HR and Trend files loaded into a file set of
// the same folder and model), the case takes those buffers, shared rather than copied,
// and reads only the Temp file when the slot's tempFilePresent is 1.
int CreateCaseFromMif(CaseSession &session, const CC8Class *alreadyRead = nullptr);

// Decodes the slot's file set into the case (MifDecoder). addAnnotations, when given,
// runs after the trend-block walk and before the ECG samples, which is where the
// event-list build adds the case's pending annotations.
void DecodeCaseData(CaseStore &store, int slot, const LanguagePack &texts, int32_t deviceModel,
                    int32_t modelIndex, const std::function<void()> &addAnnotations = {});

} // namespace MifCase
