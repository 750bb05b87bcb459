#include "export/CaseExport.h"

#include "case/OpenCase.h"
#include "cpr/CprQuality.h"
#include "export/Anonymity.h"
#include "export/CaseCsv.h"
#include "export/EdfWriter.h"
#include "export/ExportText.h"

#include <QDir>
#include <QFileInfo>

namespace CaseExport {

int problem(const OpenCase &openCase, ExportKind kind)
{
    switch (kind) {
    case ExportKind::Edf:
        return CaseEdf::rawEcgSamples(openCase).count == 0 ? ExportText::NoEcg : 0;
    case ExportKind::EventsCsv:
        return 0;
    case ExportKind::CompressionsCsv:
    case ExportKind::PausesCsv:
    case ExportKind::MinutesCsv:
        return openCase.hasCprFeedback ? 0 : ExportText::NoCprFeedback;
    }
    return 0;
}

Built build(const OpenCase &openCase, const LanguagePack &texts, ExportKind kind, const ExportOptions &options,
            const std::function<void(int)> &progress)
{
    Built b;
    const CaseRecord &c = *openCase.record;
    switch (kind) {
    case ExportKind::Edf: {
        const EdfContent content = CaseEdf::content(openCase, texts, options);
        if (EdfWriter::sampleCount(content) == 0) {
            b.problemText = ExportText::NoEcg;
            return b;
        }
        b.bytes = EdfWriter::write(content, progress);
        b.bdf = EdfWriter::formatOf(b.bytes) == EdfWriter::Format::Bdf;
        if (options.withCompressions)
            b.compressionsLeftOut = CaseEdf::compressionsOutsideEcg(c);
        return b;
    }
    case ExportKind::EventsCsv:
        b.bytes = CaseCsv::events(c, options.anonymize);
        return b;
    case ExportKind::CompressionsCsv:
        if ((b.problemText = problem(openCase, kind)) == 0)
            b.bytes = CaseCsv::compressions(c);
        return b;
    case ExportKind::PausesCsv:
    case ExportKind::MinutesCsv: {
        if ((b.problemText = problem(openCase, kind)) != 0)
            return b;
        const CprQualityResult measures = measureCprQuality(cprQualityInput(c), CprQualitySettings());
        b.bytes = kind == ExportKind::PausesCsv ? CaseCsv::pauses(measures) : CaseCsv::minutes(measures);
        return b;
    }
    }
    return b;
}

bool needsBdf(const OpenCase &openCase)
{
    EdfContent content;
    content.stored = CaseEdf::rawEcgSamples(openCase);
    return EdfWriter::formatFor(content) == EdfWriter::Format::Bdf;
}

QString suggestedPath(const OpenCase &openCase, ExportKind kind, bool bdf, bool anonymize)
{
    const QFileInfo source(openCase.sourcePath);
    QString name = anonymize ? Anonymity::suggestedBaseName() : source.completeBaseName();
    if (name.isEmpty())
        name = QStringLiteral("case");
    switch (kind) {
    case ExportKind::Edf:
        name += bdf ? QStringLiteral(".bdf") : QStringLiteral(".edf");
        break;
    case ExportKind::EventsCsv:
        name += QStringLiteral("-events.csv");
        break;
    case ExportKind::CompressionsCsv:
        name += QStringLiteral("-compressions.csv");
        break;
    case ExportKind::PausesCsv:
        name += QStringLiteral("-pauses.csv");
        break;
    case ExportKind::MinutesCsv:
        name += QStringLiteral("-minutes.csv");
        break;
    }
    return source.absoluteDir().filePath(name);
}

QString fileFilter(ExportKind kind, bool bdf)
{
    if (kind == ExportKind::Edf)
        return bdf ? QStringLiteral("BDF+ (*.bdf);;All Files (*.*)") : QStringLiteral("EDF+ (*.edf);;All Files (*.*)");
    return QStringLiteral("CSV (*.csv);;All Files (*.*)");
}

QString defaultSuffix(ExportKind kind, bool bdf)
{
    if (kind == ExportKind::Edf)
        return bdf ? QStringLiteral("bdf") : QStringLiteral("edf");
    return QStringLiteral("csv");
}

} // namespace CaseExport
