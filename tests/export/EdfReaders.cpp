#include "EdfReaders.h"

#include <QDateTime>
#include <QDir>
#include <QMap>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>

#ifdef RAVELIN_HAVE_EDFLIB
#include <edflib.h>
#endif

namespace {

QString two(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

bool edflibAvailable()
{
#ifdef RAVELIN_HAVE_EDFLIB
    return true;
#else
    return false;
#endif
}

ReadBack readWithEdflib(const QString &path)
{
    ReadBack r;
#ifdef RAVELIN_HAVE_EDFLIB
    edf_hdr_struct hdr{};
    if (edfopen_file_readonly(QFile::encodeName(path).constData(), &hdr, EDFLIB_READ_ALL_ANNOTATIONS) != 0) {
        r.error = QStringLiteral("EDFlib refused the file: error %1").arg(hdr.filetype);
        return r;
    }
    r.bdf = hdr.filetype == EDFLIB_FILETYPE_BDFPLUS;
    if (hdr.filetype != EDFLIB_FILETYPE_EDFPLUS && hdr.filetype != EDFLIB_FILETYPE_BDFPLUS)
        r.error = QStringLiteral("not EDF+/BDF+: file type %1").arg(hdr.filetype);
    r.start = QStringLiteral("%1-%2-%3 %4:%5:%6")
                  .arg(hdr.startdate_year)
                  .arg(two(hdr.startdate_month), two(hdr.startdate_day), two(hdr.starttime_hour),
                       two(hdr.starttime_minute), two(hdr.starttime_second));
    r.subsecondMs = hdr.starttime_subsecond / 10000;
    const edf_param_struct &p = hdr.signalparam[0];
    r.sampleCount = p.smp_in_file;
    r.samplingRate = double(p.smp_in_datarecord) * 1e7 / double(hdr.datarecord_duration);
    r.physicalDimension = QString::fromLatin1(p.physdimension).trimmed();
    r.physicalStep = (p.phys_max - p.phys_min) / double(p.dig_max - p.dig_min);
    r.physical.resize(size_t(p.smp_in_file));
    edfread_physical_samples(hdr.handle, 0, int(p.smp_in_file), r.physical.data());
    r.patientCode = QString::fromLatin1(hdr.patientcode).trimmed();
    r.sex = QString::fromLatin1(hdr.gender).trimmed();
    r.birthdate = QString::fromLatin1(hdr.birthdate).trimmed();
    r.patientName = QString::fromLatin1(hdr.patient_name).trimmed();
    r.equipment = QString::fromLatin1(hdr.equipment).trimmed();
    for (long long i = 0; i < hdr.annotations_in_file; ++i) {
        edf_annotation_struct a{};
        edf_get_annotation(hdr.handle, int(i), &a);
        // EDFlib counts onsets from the first data record; the file counts them from the
        // header's whole second.
        r.annotations.push_back({(a.onset + hdr.starttime_subsecond) / 10000,
                                 a.duration_l < 0 ? -1 : a.duration_l / 10000, QString::fromUtf8(a.annotation)});
    }
    edfclose_file(hdr.handle);
    r.ok = r.error.isEmpty();
#else
    Q_UNUSED(path);
    r.error = QStringLiteral("EDFlib (libedf-dev) was not found when the tests were built");
#endif
    return r;
}

bool biosigAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("save2gdf")).isEmpty();
}

ReadBack readWithBiosig(const QString &path)
{
    ReadBack r;
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("save2gdf"));
    if (tool.isEmpty()) {
        r.error = QStringLiteral("save2gdf (biosig-tools) is not installed");
        return r;
    }
    // The ASCII dump: a header of "Key = value # comment" lines, the event table, and the
    // samples in a file of their own. (Its JSON output does not escape quotes in texts.)
    QTemporaryDir dir;
    QProcess ascii;
    ascii.setWorkingDirectory(dir.path());
    ascii.start(tool, {QStringLiteral("-f=ASCII"), path, dir.filePath(QStringLiteral("dump.txt"))});
    ascii.waitForFinished(120000);
    QFile header(dir.filePath(QStringLiteral("dump.txt")));
    QFile samples(dir.filePath(QStringLiteral("dump.a01")));
    if (!header.open(QIODevice::ReadOnly) || !samples.open(QIODevice::ReadOnly)) {
        r.error = QStringLiteral("save2gdf -f=ASCII wrote no dump: %1").arg(QString::fromUtf8(ascii.readAllStandardError()));
        return r;
    }
    const QStringList lines = QString::fromUtf8(header.readAll()).split(QLatin1Char('\n'));
    QMap<QString, QString> values; // first occurrence: the file's header, then the ECG's
    bool events = false;
    double physMax = 0, physMin = 0, digMax = 0, digMin = 0;
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("[EVENT TABLE]"))) {
            events = true;
            continue;
        }
        if (events) {
            const QStringList f = line.split(QLatin1Char('\t'));
            if (f.size() < 5 || !f[0].startsWith(QLatin1String("0x")))
                continue;
            // Positions are seconds from the header's start, kept as samples in 32 bits:
            // a negative onset comes back wrapped around.
            const auto pos = int32_t(uint32_t(std::llround(f[1].toDouble() * r.samplingRate)));
            const double duration = f[2].toDouble();
            r.annotations.push_back({std::llround(pos * 1000.0 / r.samplingRate),
                                     duration > 0 ? std::llround(duration * 1000) : -1,
                                     f.mid(4).join(QLatin1Char('\t'))});
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        QString value = line.mid(eq + 1);
        if (const qsizetype hash = value.indexOf(QLatin1String("\t#")); hash >= 0)
            value.truncate(hash);
        value = value.trimmed();
        if (!values.contains(key))
            values.insert(key, value);
        if (key == QLatin1String("PhysMax")) physMax = value.toDouble();
        if (key == QLatin1String("PhysMin")) physMin = value.toDouble();
        if (key == QLatin1String("DigMax")) digMax = value.toDouble();
        if (key == QLatin1String("DigMin")) digMin = value.toDouble();
        if (key == QLatin1String("SamplingRate") && r.samplingRate == 0)
            r.samplingRate = value.toDouble();
    }
    // "YYYY-MM-DD hh:mm:ss.uuuuuu", to the millisecond.
    const QString start = values.value(QStringLiteral("Recording.Time"));
    QDateTime t = QDateTime::fromString(start.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    t.setTimeSpec(Qt::UTC);
    const qint64 ms = t.toMSecsSinceEpoch() + std::llround(start.mid(19).toDouble() * 1000);
    const QDateTime whole = QDateTime::fromMSecsSinceEpoch(ms - ms % 1000, Qt::UTC);
    r.start = whole.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    r.subsecondMs = ms % 1000;
    QFile file(path);
    r.bdf = file.open(QIODevice::ReadOnly) && file.read(1) == "\xff";
    r.sampleCount = values.value(QStringLiteral("NumberOfSamples")).toLongLong();
    r.physicalDimension = values.value(QStringLiteral("PhysicalUnits"));
    r.physicalStep = (physMax - physMin) / (digMax - digMin);
    r.patientCode = values.value(QStringLiteral("Patient.Id"));
    r.equipment = values.value(QStringLiteral("Manufacturer.Name"));
    for (const QByteArray &line : samples.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            r.physical.push_back(line.toDouble());
    r.ok = true;
    return r;
}

int biosigJsonEventCount(const QString &path, QString &error)
{
    QProcess json;
    json.start(QStandardPaths::findExecutable(QStringLiteral("save2gdf")), {QStringLiteral("-JSON"), path});
    json.waitForFinished(120000);
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(json.readAllStandardOutput(), &parseError);
    if (!doc.isObject()) {
        error = parseError.errorString();
        return -1;
    }
    return int(doc.object().value(QStringLiteral("EVENT")).toArray().size());
}
