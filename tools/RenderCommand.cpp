// "ravelin-cli render ARCHIVE ...": the ECG picture a window shows, written as a PNG.
#include "ecg/EcgPictureRender.h"
#include "ecg/ShownCase.h"
#include "tools/CliArchiveCase.h"
#include "tools/CliCommand.h"
#include "tools/CliOutput.h"
#include "tools/RenderArguments.h"

#include <QDir>
#include <QBuffer>
#include <QTextStream>

namespace {

EcgPictureKind pictureKind(RenderArguments::View view)
{
    switch (view) {
    case RenderArguments::View::Entire: return EcgPictureKind::Entire;
    case RenderArguments::View::EightSecond: return EcgPictureKind::EightSecond;
    case RenderArguments::View::SixSecond: return EcgPictureKind::SixSecond;
    case RenderArguments::View::Large: return EcgPictureKind::Large;
    }
    return EcgPictureKind::Entire;
}

QByteArray pngOf(const QImage &picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return picture.save(&buffer, "PNG") ? bytes : QByteArray();
}

int runRender(const QStringList &arguments)
{
    const RenderArguments args = RenderArguments::parse(arguments);
    QTextStream err(stderr);
    const QString name = arguments.value(0);
    LanguagePack texts;
    int status = 0;
    if (!startCommand(args.outcome, args.message, args.languagePack, name, RenderSynopsis, err, texts, status))
        return status;

    if (!outputAllowed(args.output, args.archive, args.overwrite, err, name))
        return 1;

    CliArchiveCase archiveCase(texts, err, name);
    const int slot = archiveCase.open(args.archive, args.zoneRow, 0);
    if (slot < 0)
        return 1;
    const int32_t centreMs = int32_t(args.atSeconds * 1000);
    EcgRenderOptions options;
    options.depthUnit = args.depthUnit;
    const QImage picture = renderEcgPicture(shownCase(archiveCase.session().store, slot), archiveCase.session().texts(),
                                            pictureKind(args.view), centreMs, args.size, options);
    const QByteArray png = pngOf(picture);
    if (png.isEmpty()) {
        err << name << ": the picture could not be drawn for \"" << QDir::toNativeSeparators(args.output) << "\"\n";
        return 1;
    }
    if (!writeOutput(args.output, png, err, name))
        return 1;
    QTextStream(stdout) << QDir::toNativeSeparators(args.output) << "\n";
    return 0;
}

const CliCommandRegistration registration({QStringLiteral("render"), QLatin1String(RenderSynopsis), runRender,
                                           CliCommand::Application::Gui});

} // namespace
