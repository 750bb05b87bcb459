#include "export/ExportFlow.h"

#include "archive/OutputTarget.h"
#include "base/AtomicFileWriter.h"
#include "base/FileError.h"
#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "case/CaseSession.h"
#include "export/ExportText.h"

bool ExportFlow::run(int slot, ExportKind kind, const EdfExportOptions &options)
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
    const bool bdf = kind == ExportKind::Edf && CaseExport::needsBdf(openCase);
    // The dialog asks before a file is replaced; a file a case is read from is refused,
    // and the dialog comes again.
    QString path;
    for (;;) {
        path = platform.saveFileDialog(texts.GetText(ExportText::ExportMenu), CaseExport::suggestedPath(openCase, kind, bdf),
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
        platform.showError(e.message(), caption);
        return false;
    }
    platform.setProgress(10000);
    platform.endProgress();
    return true;
}
