#include "ecg/EcgPictureRender.h"

#include "base/LanguagePack.h"
#include "ecg/EcgSampleWindow.h"
#include "ecg/EnlargedPicture.h"
#include "ecg/EcgTexts.h"
#include "ecg/EntirePicture.h"
#include "ecg/HandsOffCache.h"

#include <vector>

namespace {

QImage renderEntire(const ShownCase &shown, const LanguagePack &texts, int32_t centreMs, QSize size, const EcgRenderOptions &options)
{
    EntireScene scene;
    scene.shown = shown;
    scene.rowStartMs = entireRowStarts(centreMs);
    for (size_t k = 0; k < 5; ++k)
        scene.rowEndMs[k] = scene.rowStartMs[k] + EntireGeometry::RowMs;
    std::vector<uint8_t> rows(size_t(EntireGeometry::Rows) * EntireGeometry::SamplesPerRow);
    for (size_t k = 0; k < 5; ++k)
        fillSampleWindow(scene.shown.record, scene.rowStartMs[k], rows.data() + k * EntireGeometry::SamplesPerRow,
                         EntireGeometry::SamplesPerRow);
    scene.rows = rows.data();
    scene.gridText = texts.GetText(EcgText::GridEntire);
    scene.showCprPeriods = options.showCprPeriods;
    HandsOffCache handsOff;
    scene.handsOff = handsOff.result(shown, options.pauseThresholdMs);
    scene.labels = entireLabels(scene.shown.record, centreMs);

    QImage picture(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    drawEntirePicture(picture, scene, 0);
    return picture;
}

QImage renderEnlarged(const ShownCase &shown, const LanguagePack &texts, EnlargedView kind, int32_t centreMs, QSize size,
                      const EcgRenderOptions &options)
{
    const EnlargedViewScale scale = enlargedScale(kind);
    EnlargedScene scene;
    scene.shown = shown;
    scene.view = kind;
    scene.centreMs = centreMs;
    std::vector<uint8_t> samples(size_t(scale.sampleCount));
    fillSampleWindow(scene.shown.record, centreMs - scale.halfMs, samples.data(), scale.sampleCount);
    scene.samples = samples.data();
    scene.showCprPeriods = options.showCprPeriods;
    HandsOffCache handsOff;
    scene.handsOff = handsOff.result(shown, options.pauseThresholdMs);
    scene.showEventText = options.showEventText;
    scene.cprPanelCollapsed = options.cprPanelCollapsed;
    scene.depthUnit = options.depthUnit;
    scene.decimalPoint = texts.isItalian() ? QLatin1Char(',') : QLatin1Char('.');
    scene.playing = options.playing;
    scene.gridText = texts.GetText(kind == EnlargedView::Large ? EcgText::GridLarge : EcgText::GridEnlarged);
    scene.title = texts.GetText(EcgText::Title);

    EnlargedBuffers buffers;
    buffers.resize(size.width(), size.height());
    drawEnlargedPicture(buffers, scene);
    return buffers.picture;
}

} // namespace

QImage renderEcgPicture(const ShownCase &shown, const LanguagePack &texts, EcgPictureKind kind, int32_t centreMs, QSize size,
                        const EcgRenderOptions &options)
{
    switch (kind) {
    case EcgPictureKind::Entire:
        return renderEntire(shown, texts, centreMs, size, options);
    case EcgPictureKind::EightSecond:
        return renderEnlarged(shown, texts, EnlargedView::EightSecond, centreMs, size, options);
    case EcgPictureKind::SixSecond:
        return renderEnlarged(shown, texts, EnlargedView::SixSecond, centreMs, size, options);
    case EcgPictureKind::Large:
        return renderEnlarged(shown, texts, EnlargedView::Large, centreMs, size, options);
    }
    return {};
}
