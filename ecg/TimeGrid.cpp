#include "ecg/TimeGrid.h"

#include "case/CaseRecord.h"

QString gridTimeLabel(bool startTimeValid, CTime startTime, int64_t secondsFromStart)
{
    if (startTimeValid) {
        const CTime t = startTime + CTimeSpan(secondsFromStart);
        return QString::asprintf("%02d:%02d:%02d", t.GetHour(), t.GetMinute(), t.GetSecond());
    }
    const CTimeSpan span(secondsFromStart < 0 ? -secondsFromStart : secondsFromStart);
    const QString text = QString::asprintf("%02d:%02d:%02d", span.GetHours(), span.GetMinutes(), span.GetSeconds());
    return secondsFromStart < 0 ? QLatin1Char('-') + text : text;
}

QString gridTimeLabel(const CaseRecord *c, int64_t secondsFromStart)
{
    if (!c)
        return gridTimeLabel(false, CTime(), secondsFromStart);
    return gridTimeLabel(c->startTimeValid, c->startTime, secondsFromStart);
}

int firstCellNumber(int32_t centreMs, int32_t cellMs)
{
    const int32_t rest = centreMs % cellMs;
    bool past = false;
    if (cellMs == 200)
        past = int(rest / 12.5) != 0;
    else
        past = rest / 4 != 0;
    return centreMs / cellMs + (past ? 1 : 0);
}

std::vector<VerticalGridLine> verticalGridLines(int32_t centreMs, const EnlargedViewScale &scale, int x0, double p)
{
    std::vector<VerticalGridLine> lines;
    const int k0 = firstCellNumber(centreMs, scale.cellMs);
    const int K = scale.cellsPerSecond;
    const int64_t halfSeconds = scale.halfMs / 1000;
    int labels = 0;
    // The bound keeps a degenerate p (a window narrower than 70 pixels) from looping.
    for (int j = 0; j <= scale.cells + 1; ++j) {
        VerticalGridLine line;
        line.x = x0 + int(j * p);
        line.cellNumber = k0 + j;
        if (line.cellNumber % K != 0) {
            const bool fifth = scale.cellsPerSecond == 25 && line.cellNumber % 5 == 0;
            line.kind = fifth ? VerticalGridLine::Kind::Fifth : VerticalGridLine::Kind::Fine;
        } else {
            line.kind = VerticalGridLine::Kind::Second;
            if (labels < scale.maxLabels) {
                ++labels;
                line.labelled = true;
                line.labelSeconds = line.cellNumber / K - halfSeconds;
            }
        }
        lines.push_back(line);
        if (line.x < x0 || line.x > 2 * x0)
            break;
    }
    return lines;
}

QRectF gridLabelRect(int x, int x0, int H)
{
    return QRectF(x - x0 + 16, H + 35, 48, 20);
}
