#pragma once

#include "export/CaseEdf.h"

#include <QByteArray>
#include <QString>
#include <functional>

struct OpenCase;
class LanguagePack;

// The files a case can be exported to.
enum class ExportKind { Edf, EventsCsv, CompressionsCsv, PausesCsv, MinutesCsv };

namespace CaseExport {

// The bytes of one export of a case, or the text number of why there is none
// (ExportText::NoEcg, ExportText::NoCprFeedback).
struct Built
{
    QByteArray bytes;
    int problemText = 0;
    bool bdf = false; // an EDF+ export that needed 24 bits
    qsizetype compressionsLeftOut = 0; // with compressions: those outside the ECG, not in the file
};

// Why a case has nothing to export of kind (ExportText::NoEcg, ExportText::NoCprFeedback), or 0.
int problem(const OpenCase &openCase, ExportKind kind);

// progress, when given, follows the layout with 0..10000.
Built build(const OpenCase &openCase, const LanguagePack &texts, ExportKind kind, const ExportOptions &options,
            const std::function<void(int)> &progress = {});

// True when the case's raw ECG does not fit 16 bits, so that its EDF+ export is a BDF+ file.
bool needsBdf(const OpenCase &openCase);

// Where the save dialog starts: beside the case's archive, named after it
// ("rescue.edf", "rescue.bdf", "rescue-events.csv", "rescue-compressions.csv", "rescue-pauses.csv",
// "rescue-minutes.csv"); anonymised, named Anonymity::suggestedBaseName() instead of the archive
// ("anonymised.edf", "anonymised-events.csv", ...).
QString suggestedPath(const OpenCase &openCase, ExportKind kind, bool bdf, bool anonymize = false);
// Filter (Qt form) and suffix of the save dialog.
QString fileFilter(ExportKind kind, bool bdf);
QString defaultSuffix(ExportKind kind, bool bdf);

} // namespace CaseExport
