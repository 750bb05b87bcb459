#include "library/ArchiveFacts.h"

#include "archive/AedArchive.h"
#include "archive/OpenFlow.h"
#include "case/CaseExtent.h"
#include "case/CaseStore.h"
#include "cpr/CprQuality.h"
#include "cpr/CprQualityInput.h"
#include "cpr/HandsOffResult.h"
#include "base/FileSha256.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <memory>

namespace {

// The energy written into the shock's event text "(E: 150.0 J ...".
std::optional<double> shockEnergy(const QString &text)
{
    static const QRegularExpression energy(QStringLiteral("E:\\s*([0-9]+(?:\\.[0-9]+)?)\\s*J"));
    const QRegularExpressionMatch m = energy.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toDouble();
}

template <typename T>
std::optional<T> largest(std::optional<T> a, std::optional<T> b)
{
    if (!a)
        return b;
    if (!b)
        return a;
    return std::max(*a, *b);
}

// The measures list the same shocks as the events, in time order: each of figures is handed
// to apply with the shock of its time.
template <typename Figures, typename Apply>
void matchShocks(std::vector<LibraryShock> &shocks, const std::vector<Figures> &figures, Apply apply)
{
    std::size_t next = 0;
    for (const Figures &f : figures) {
        while (next < shocks.size() && shocks[next].timeMs < f.timeMs)
            ++next;
        if (next < shocks.size() && shocks[next].timeMs == f.timeMs)
            apply(shocks[next++], f);
    }
}

} // namespace

QString archiveModel(const QString &path, const QString &recordedModel)
{
    static const char *const byIndex[] = {"Q21", "Q25", "Q26"};
    return QLatin1String(byIndex[ModelIndexOfArchive(path, recordedModel)]);
}

LibraryCase libraryCaseOf(const CaseStore &store, int slot, const CprQualityResult &quality,
                          const HandsOffResult &handsOff)
{
    LibraryCase c;
    const CaseRecord &r = *store.caseAt(slot);
    const OpenCase &entry = *store.find(slot);
    c.model = archiveModel(entry.sourcePath, entry.recordedModel);
    c.recordingId = entry.recordingId;
    c.serialNumber = r.serialNumber;
    c.startTimeValid = r.startTimeValid;
    if (r.startTimeValid) {
        c.startTime = r.startTime.GetTime();
        c.startDay = r.startTime.Format("%Y-%m-%d");
        c.startMonth = r.startTime.Format("%Y-%m");
    }
    c.durationMs = std::max<int64_t>(LatestEventTimeMs(&r), r.ecgEndMs);
    c.hasCprFeedback = entry.hasCprFeedback;
    c.hasAudio = entry.hasAudio;
    c.patientId = r.patientId;
    c.lastName = r.lastName;
    c.firstName = r.firstName;
    c.comments = r.comments;

    const CprQualityInput input = cprQualityInput(r);
    c.analysisCount = int(input.analysesMs.size());
    if (!input.analysesMs.empty())
        c.firstAnalysisMs = *std::min_element(input.analysesMs.begin(), input.analysesMs.end());
    r.events.forEachUsed([&](int, const EventItem &e) {
        if (e.text.startsWith(AedArchive::annotationPrefix())) {
            ++c.annotationCount;
            return;
        }
        ++c.eventCount;
        if (e.code == EventCode::ShockDelivered)
            c.shocks.push_back({e.timeMs, shockEnergy(e.text), {}, {}, {}, {}, {}, {}});
    });
    std::stable_sort(c.shocks.begin(), c.shocks.end(),
                     [](const LibraryShock &a, const LibraryShock &b) { return a.timeMs < b.timeMs; });
    c.shockCount = int(c.shocks.size());

    if (entry.hasCprFeedback && quality.compressionCount > 0) {
        c.ccf = quality.ccf;
        if (!input.compressions.empty())
            c.firstCompressionMs = std::min_element(input.compressions.begin(), input.compressions.end(),
                                                    [](const CprFeedbackRecord &a, const CprFeedbackRecord &b) {
                                                        return a.timeMs < b.timeMs;
                                                    })->timeMs;
        c.meanRatePerMin = quality.meanRatePerMin;
        c.rateInTarget = quality.rateInTarget;
        c.meanDepthIn = quality.meanDepthIn;
        c.depthInTarget = quality.depthInTarget;
        c.longestPauseMs = quality.longestPauseMs;
        matchShocks(c.shocks, quality.shocks, [&c](LibraryShock &shock, const CprShockPauses &pauses) {
            shock.preShockPauseMs = pauses.preShockPauseMs;
            shock.postShockPauseMs = pauses.postShockPauseMs;
            c.maxPreShockPauseMs = largest(c.maxPreShockPauseMs, pauses.preShockPauseMs);
            c.maxPostShockPauseMs = largest(c.maxPostShockPauseMs, pauses.postShockPauseMs);
        });
        c.handsOffByCauseMs = handsOff.byCauseMs;
        matchShocks(c.shocks, handsOff.shocks, [](LibraryShock &shock, const HandsOffShock &steps) {
            shock.analysisMs = steps.analysisMs;
            shock.chargeMs = steps.chargeMs;
            shock.toShockMs = steps.toShockMs;
            shock.handsOffPreShockPauseMs = steps.preShockPauseMs;
        });
    }
    return c;
}

bool readFileFacts(const QString &path, LibraryCase &c)
{
    // Hashing is most of what indexing adds to reading an archive.
    const std::optional<QString> sha256 = FileSha256::of(path);
    if (!sha256)
        return false;
    const QFileInfo info(path);
    c.sizeBytes = info.size();
    c.modifiedMs = info.lastModified().toMSecsSinceEpoch();
    c.sha256 = *sha256;
    return true;
}
