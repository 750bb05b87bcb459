#include "export/ExportFlow.h"

#include "case/AuditAction.h"

#include "archive/OutputTarget.h"
#include "base/AtomicFileWriter.h"
#include "base/FileError.h"
#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "case/CaseSession.h"
#include "export/ExportText.h"

bool ExportFlow::askOptions(ExportKind kind, ExportOptions &options)
{
    const bool edf = kind == ExportKind::Edf;
    QList<Platform::Option> boxes{{QLatin1String(ExportOptionText::Anonymise), options.anonymize}};
    if (edf)
        boxes.append({QLatin1String(ExportOptionText::WithCompressions), options.withCompressions});
    if (!m_session.platform().askOptions(m_session.texts().GetText(ExportText::ExportMenu), boxes))
        return false;
    options.anonymize = boxes.value(0).checked;
    options.withCompressions = edf && boxes.value(1).checked;
    return true;
}

namespace {

// What the audit trail says of an export: its format and whether it was anonymised.
QString exportAuditDetails(ExportKind kind, bool anonymised)
{
    const char *format = "EDF+";
    switch (kind) {
    case ExportKind::Edf: format = "EDF+"; break;
    case ExportKind::EventsCsv: format = "events CSV"; break;
    case ExportKind::CompressionsCsv: format = "compressions CSV"; break;
    case ExportKind::PausesCsv: format = "pauses CSV"; break;
    case ExportKind::MinutesCsv: format = "per-minute CSV"; break;
    }
    return QLatin1String(format) + (anonymised ? QStringLiteral(", anonymised") : QStringLiteral(", not anonymised"));
}

} // namespace

bool ExportFlow::run(int slot, ExportKind kind, const ExportOptions &offered)
{
    const LanguagePack &texts = m_session.texts();
    Platform &platform = m_session.platform();
    const QString caption = texts.GetText(TextId::Caption);
    if (!m_session.store.isSlotUsed(slot)) {
        platform.showError(texts.GetText(TextId::SelectCase), caption);
        return false;
    }
    const OpenCase &openCase = m_session.store.at(slot);

    if (const int why = CaseExport::problem(openCase, kind); why != 0) {
        platform.messageBox(texts.GetText(why), caption, Platform::Icon::Information, Platform::Buttons::Ok);
        return false;
    }
    ExportOptions options = offered;
    if (!askOptions(kind, options))
        return false;
    const bool bdf = kind == ExportKind::Edf && CaseExport::needsBdf(openCase);
    // The dialog asks before a file is replaced; a file a case is read from is refused,
    // and the dialog comes again.
    QString path;
    for (;;) {
        path = platform.saveFileDialog(texts.GetText(ExportText::ExportMenu), CaseExport::suggestedPath(openCase, kind, bdf, options.anonymize),
                                       CaseExport::fileFilter(kind, bdf), CaseExport::defaultSuffix(kind, bdf));
        if (path.isEmpty())
            return false;
        const QString refusal = OutputTarget::refusal(path, OutputTarget::openCaseInputs(m_session.store));
        if (refusal.isEmpty())
            break;
        platform.showError(refusal, caption);
    }

    platform.beginProgress(texts.GetText(ExportText::Progress));
    const CaseExport::Built built = CaseExport::build(openCase, texts, kind, options,
                                                      [&platform](int position) { platform.setProgress(position * 9 / 10); });
    try {
        AtomicFileWriter::write(path, built.bytes);
    } catch (const FileError &e) {
        platform.endProgress();
        platform.showError(e.message(texts), caption);
        return false;
    }
    platform.setProgress(10000);
    platform.endProgress();
    m_session.audit(slot, AuditAction::Exported, exportAuditDetails(kind, options.anonymize));
    if (onExported)
        onExported(kind, options.anonymize, path);
    return true;
}
