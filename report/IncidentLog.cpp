#include "report/IncidentLog.h"

#include "base/LanguagePack.h"
#include "case/CaseExtent.h"
#include "report/CprQualityReport.h"
#include "cpr/PauseCauseStyle.h"
#include "report/HandsOffBar.h"
#include "device/ZoneShift.h"

#include <algorithm>

namespace IncidentLog {

namespace {

// The namespace the document's xmlns:user declaration names.
constexpr auto UserNamespace = "urn:veltris-aed:incident-log";

// Line ends become CR LF; a CR LF already in a value stays as it is.
QByteArray withCrLf(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\n') && (i == 0 || text[i - 1] != QLatin1Char('\r')))
            out += QLatin1Char('\r');
        out += text[i];
    }
    return out.toUtf8();
}

QString clockText(CTime t)
{
    return QString::asprintf(" %4d.%02d.%02d   %02d:%02d:%02d", t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(),
                             t.GetMinute(), t.GetSecond());
}

QString nameSuffixLine(int32_t index)
{
    static const char *const Suffixes[] = {"I", "II", "III", "IV", "V", "Jr.", "Sr."};
    const QString suffix = index >= 1 && index <= 7 ? QLatin1String(Suffixes[index - 1]) : QString();
    return QStringLiteral("Gen: ") + suffix + QStringLiteral("<br>\n");
}

QString sexLine(int32_t index)
{
    const char *sex = index == 1 ? "Male" : index == 2 ? "Female" : "";
    return QStringLiteral("Sex: ") + QLatin1String(sex) + QStringLiteral("<br>\n");
}

QString raceLine(int32_t index)
{
    static const char *const Races[] = {"White", "Black", "Asian or Pacific Islander",
                                        "American Indian/Eskimo/Aleut", "Other", "Unknown"};
    const QString race = index >= 1 && index <= 6 ? QLatin1String(Races[index - 1]) : QString();
    return QStringLiteral("Race: ") + race + QStringLiteral("<br>\n");
}

QString birthDateLine(const CaseRecord &c)
{
    if (!c.birthDateKnown || c.birthDateUnknown)
        return QStringLiteral("Date of birth: <br>\n");
    const CTime b = c.birthDate;
    return QStringLiteral("Date of birth: ")
        + QString::asprintf(" %4d.%02d.%02d %02d:%02d:%02d", b.GetYear(), b.GetMonth(), b.GetDay(), b.GetHour(),
                            b.GetMinute(), b.GetSecond())
        + QStringLiteral("<br>\n");
}

QString heightLine(const CaseRecord &c)
{
    if (c.heightText.isEmpty())
        return QStringLiteral("Height: <br>\n");
    const char *unit = c.heightUnitIndex == 0 ? " in<br>\n" : c.heightUnitIndex == 2 ? " m<br>\n" : " cm<br>\n";
    return QStringLiteral("Height: ") + htmlEscaped(c.heightText) + QLatin1String(unit);
}

QString weightLine(const CaseRecord &c)
{
    if (c.weightText.isEmpty())
        return QStringLiteral("Weight: </div><br>\n");
    const char *unit = c.weightUnitIndex == 0 ? " lbs</div><br>\n"
                       : c.weightUnitIndex == 2 ? " g</div><br>\n"
                                                : " kg</div><br>\n";
    return QStringLiteral("Weight: ") + htmlEscaped(c.weightText) + QLatin1String(unit);
}

QString eventRow(const CaseRecord &c, const EventItem &e, bool timeAdjusted)
{
    QString row = QStringLiteral("<tr>\n<td class=\"Timestamp\">") + eventTimeText(c, e);
    row += timeAdjusted ? QStringLiteral("\tAdjust\t </td>\n") : QStringLiteral("</td>\n");
    row += QStringLiteral("<td class=\"Defib\">     ") + htmlEscaped(e.text) + QStringLiteral("<br></td>\n</tr>\n");
    // An annotation's body follows its title in a row of its own.
    if (e.text.startsWith(QLatin1String("A: ")) && !e.detail.isEmpty())
        row += QStringLiteral("<tr>\n<td class=\"Timestamp\"></td>\n<td class=\"Annotation\">")
            + htmlEscapedLines(e.detail) + QStringLiteral("</td>\n</tr>\n");
    return row;
}

const char *const HeaderStyle =
    "body\n{\nfont-size:12pt; font-family:Arial; \n}\n"
    "thead.Header\n{\nborder:0px;\nfont-size:12pt;\nfont-weight:normal;\ndisplay:table-header-group;\n"
    "text-align:left;\npadding:0px;\n}\n"
    "tr.Header\n{\nborder:0px;\nwidth:100%;\npadding:0px;\n}\n"
    "th.Header\n{\nborder:0px;\nfont-weight:bold;\ntext-align:left;\npadding:0px;\n}\n"
    "td.Header\n{\nborder:0px;\nwidth:100%;\ntext-align:left;\npadding:0px;\n}\n"
    "tfoot.Header\n{\ndisplay: none;\n}\n"
    "div.Header\n{\nborder:0px;\nwidth:100%;\nfont-size:18pt;\nfont-weight:bold;\ntext-align:left;\npadding:0px;\n}"
    "tr.Logo\n{\nborder:0px;\nwidth:100%;\npadding:0px;\n}\n"
    "td.Logo\n{\nborder:0px;\nwidth:100%;\ntext-align:left;\nfont-weight:bold;\npadding:4px;\n}\n</style>\n";

const char *const SectionTitle = "<div style=\"font-weight:bold; font-size:14pt;\"><font color=\"blue\">";
const char *const GreenRule = "<hr size=\"7px\" style=\"color:green; background-color:green;\">";

} // namespace

QString htmlEscaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        case '\'': out += QLatin1String("&#39;"); break;
        default: out += ch; break;
        }
    }
    return out;
}

QString htmlEscapedLines(QStringView text)
{
    QString out;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n'))
            continue;
        out += htmlEscaped(text.mid(lineStart, i - lineStart)) + QLatin1String("<br>\n");
        if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        lineStart = i + 1;
    }
    return out + htmlEscaped(text.mid(lineStart));
}

QString startText(const CaseRecord &c, bool timeAdjusted)
{
    if (!c.startTimeValid)
        return QStringLiteral("   ????.??.??   ??:??:??");
    const CTime t = c.startTime;
    QString text = QString::asprintf("   %4d.%02d.%02d   %02d:%02d:%02d", t.GetYear(), t.GetMonth(), t.GetDay(),
                                     t.GetHour(), t.GetMinute(), t.GetSecond());
    if (timeAdjusted)
        text += QStringLiteral(" Adjust Time");
    return text;
}

QString lengthText(const CaseRecord &c)
{
    const EventItem *latest = LatestEvent(&c);
    const CTimeSpan span = latest ? latest->elapsed : CTimeSpan();
    if (span.GetDays() != 0)
        return QString::asprintf("%2d:%02d:%02d:%02d", int(span.GetDays()), span.GetHours(), span.GetMinutes(),
                                 span.GetSeconds());
    return QString::asprintf("%2d:%02d:%02d", span.GetHours(), span.GetMinutes(), span.GetSeconds());
}

QString eventTimeText(const CaseRecord &c, const EventItem &e)
{
    if (!c.startTimeValid)
        return QString::asprintf("%2d:%02d:%02d", e.elapsed.GetHours(), e.elapsed.GetMinutes(),
                                 e.elapsed.GetSeconds());
    const CTime d = c.startTime + e.elapsed;
    if (d.GetDay() == c.startTime.GetDay())
        return QString::asprintf("%2d:%02d:%02d", d.GetHour(), d.GetMinute(), d.GetSecond());
    return QString::asprintf("%2d/%2d %2d:%02d:%02d", d.GetMonth(), d.GetDay(), d.GetHour(), d.GetMinute(),
                             d.GetSecond());
}

std::vector<int> eventsInTimeOrder(const EventTable &events)
{
    std::vector<int> order;
    order.reserve(size_t(events.usedCount()));
    events.forEachUsed([&](int i, const EventItem &) { order.push_back(i); });
    std::stable_sort(order.begin(), order.end(), [&](int l, int r) { return events[l].timeMs < events[r].timeMs; });
    return order;
}

CprQualityReport cprQuality(const CaseRecord &c, bool hasFeedback,
                            const std::map<int32_t, PauseCause> &reviewerCauses, const CprReviewSettings &settings,
                            const LanguagePack &texts)
{
    LanguagePack english = texts;
    english.setLanguage(1);
    return makeCprQualityReport(c, hasFeedback, reviewerCauses, settings, english);
}

namespace {

QString tableRow(const char *tag, const QStringList &values)
{
    QString row = QStringLiteral("<tr>");
    for (const QString &v : values)
        row += QStringLiteral("<%1>").arg(QLatin1String(tag)) + htmlEscaped(v)
            + QStringLiteral("</%1>").arg(QLatin1String(tag));
    return row + QStringLiteral("</tr>\n");
}

// The stacked bar as one table row of coloured cells, as wide as their shares (in tenths of a
// per cent), the reviewer's causes striped; the legend under it names each cause.
QString handsOffBar(const CprQualityReport &r)
{
    QString html = QStringLiteral("<b>") + htmlEscaped(r.handsOffTitle) + QStringLiteral("</b> &nbsp; ")
        + htmlEscaped(r.handsOffTotal) + QStringLiteral("<br>\n");
    if (!r.byCause.empty()) {
        html += QStringLiteral("<table class=\"HandsOffBar\" style=\"width:100%; border-collapse:collapse; "
                               "border:1px solid black;\"><tr>");
        for (const HandsOffCauseRow &c : r.byCause) {
            const QString stripes = pauseCauseStyle(c.cause, c.setByReviewer).hatched
                ? QStringLiteral(" background-image:repeating-linear-gradient(45deg, transparent 0 4px, "
                                 "rgba(0,0,0,0.45) 4px 5px);")
                : QString();
            html += QStringLiteral("<td title=\"%1\" style=\"width:%2%; height:14px; padding:0; "
                                   "background-color:%3;%4\"></td>")
                        .arg(htmlEscaped(c.name), QString::number(c.share * 100, 'f', 1), HandsOffBar::cssColour(c),
                             stripes);
        }
        html += QStringLiteral("</tr></table>\n<table class=\"HandsOffLegend\">\n");
        for (const HandsOffCauseRow &c : r.byCause)
            html += QStringLiteral("<tr><td style=\"background-color:%1; width:12px;\"></td>")
                        .arg(HandsOffBar::cssColour(c))
                + QStringLiteral("<td>") + htmlEscaped(c.name) + QStringLiteral("</td><td>") + htmlEscaped(c.amount)
                + QStringLiteral("</td></tr>\n");
        html += QStringLiteral("</table>\n");
    }
    html += QStringLiteral("<b>") + htmlEscaped(r.beforeCprTitle) + QStringLiteral("</b><br>\n<table>\n");
    for (const HandsOffTimeRow &t : r.beforeCpr)
        html += tableRow("td", {t.label, t.time});
    return html + QStringLiteral("</table><br>\n");
}

// A pause judged against its limit: "12.0 s (Not met)" in bold red when over it.
QString judged(const QString &value, CprTargetStatus status)
{
    if (status != CprTargetStatus::NotMet)
        return QStringLiteral("<td>") + htmlEscaped(value) + QStringLiteral("</td>");
    return QStringLiteral("<td style=\"color:#c81e1e; font-weight:bold;\">\u2718 ") + htmlEscaped(value)
        + QStringLiteral("</td>");
}

QString definitions(const CprQualityReport &r)
{
    QString html = QStringLiteral("<b>") + htmlEscaped(r.definitionsTitle) + QStringLiteral("</b><br>\n");
    html += QStringLiteral("<div class=\"Measurement\">\n");
    for (const QString &d : r.definitions)
        html += htmlEscaped(d) + QStringLiteral("<br>\n");
    return html + QStringLiteral("</div>\n");
}

QString shockTable(const CprQualityReport &r)
{
    QString html = QStringLiteral("<b>") + htmlEscaped(r.shocksTitle) + QStringLiteral("</b><br>\n");
    if (r.shocks.empty())
        return html + htmlEscaped(r.noShocks) + QStringLiteral("<br><br>\n");
    html += QStringLiteral("<table class=\"Shocks\">\n") + tableRow("th", r.shockHeaders);
    html += QStringLiteral("<tr style=\"font-style:italic;\">");
    for (const QString &v : r.shockTargets.cells())
        html += QStringLiteral("<td>") + htmlEscaped(v) + QStringLiteral("</td>");
    html += QStringLiteral("</tr>\n");
    for (const HandsOffShockRow &s : r.shocks) {
        const QStringList c = s.cells();
        html += QStringLiteral("<tr>");
        for (int i = 0; i < 4; ++i)
            html += QStringLiteral("<td>") + htmlEscaped(c[i]) + QStringLiteral("</td>");
        html += judged(c[4], s.preShock) + judged(c[5], s.postShock) + judged(c[6], s.periShock)
            + QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</table><br>\n");
}

} // namespace

QString cprQualitySection(const CprQualityReport &r)
{
    const auto cells = tableRow;
    QString html = QLatin1String(SectionTitle) + htmlEscaped(r.sectionTitle)
        + QStringLiteral("</font></div>\n<div style=\"margin-left:1em;\" class=\"CprQuality\">\n");
    if (!r.hasFeedback)
        return html + htmlEscaped(r.noFeedback) + QStringLiteral("</div><br>\n");

    html += htmlEscaped(r.settingsLine) + QStringLiteral("<br>\n<table>\n");
    html += cells("th", {r.measureHeader, r.valueHeader, r.targetHeader, r.resultHeader});
    for (const CprSummaryRow &row : r.summary)
        html += cells("td", {row.measure, row.value, row.target, row.result});
    html += QStringLiteral("</table><br>\n") + handsOffBar(r) + shockTable(r);
    html += QStringLiteral("<b>") + htmlEscaped(r.pausesTitle) + QStringLiteral("</b><br>\n");
    if (r.pauses.empty())
        return html + htmlEscaped(r.noPauses) + QStringLiteral("<br><br>\n") + definitions(r)
            + QStringLiteral("</div><br>\n");
    html += QStringLiteral("<table>\n") + cells("th", {r.startHeader, r.lengthHeader, r.kindHeader, r.partsHeader});
    for (const CprPauseRow &p : r.pauses)
        html += cells("td", {p.start, p.length, p.kind, p.parts});
    return html + QStringLiteral("</table><br>\n") + definitions(r) + QStringLiteral("</div><br>\n");
}

QByteArray document(const ReportInput &input)
{
    static const CaseRecord NoCase;
    const CaseRecord &c = input.caseRecord ? *input.caseRecord : NoCase;
    const QString start = startText(c, input.timeAdjusted);
    const auto esc = [](const QString &value) { return htmlEscaped(value); };

    QString html;
    html += QStringLiteral("<html xmlns:msxsl=\"urn:schemas-microsoft-com:xslt\" xmlns:user=\"")
        + QLatin1String(UserNamespace) + QStringLiteral("\">\n");
    html += QStringLiteral("<head>\n");
    html += QStringLiteral("<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n");
    html += QStringLiteral("<style>\n"
                           ".Measurement { font-size:8pt; }\n"
                           "td.Annotation { font-style:italic; vertical-align:top; }\n"
                           "td.Defib { font-weight:bold; vertical-align:top; }\n"
                           "td.CodeLog { vertical-align:top; }\n"
                           "td.EventIcon { width:48px; vertical-align:top; }\n"
                           "img.EventIcon {width:48px; height:32px; }\n"
                           "td.Timestamp { width:10%; vertical-align:top; }\n"
                           "</style>\n");
    html += QStringLiteral("<title>Lumeron AED Incident Log") + start + QStringLiteral("</title>\n");
    html += QStringLiteral("</head>\n<body>\n<table width=\"100%\">\n<thead class=\"Header\">\n<tr class=\"Header\">\n"
                           "<td class=\"Header\">\n<div class=\"Header\">\n");
    html += QLatin1String(GreenRule) + QStringLiteral("\n");
    html += QStringLiteral("<font color=\"blue\">Lumeron AED Incident Log</font>\n</div>") + start
        + QStringLiteral("<br>\n  Patient: ") + esc(c.firstName) + QStringLiteral(",") + esc(c.lastName)
        + QStringLiteral("<br>\n  Run number: <br><style>\n");
    html += QLatin1String(HeaderStyle);
    html += QStringLiteral("  Report Date:") + clockText(ShiftStartToZone(input.reportTime, c.timeZoneIndex))
        + QStringLiteral("<br>  recorded by Lumeron AED Event Review Software<br>") + QLatin1String(GreenRule)
        + QStringLiteral("<br></td>\n</tr>\n</thead>\n");

    html += QStringLiteral("<tbody>\n<tr><td width=\"100%\">\n") + QLatin1String(SectionTitle)
        + QStringLiteral("Patient</font></div>\n<div style=\"margin-left:1em;\">\n");
    html += QStringLiteral("Patient ID/MR Number: ") + esc(c.patientId) + QStringLiteral("<br>\n");
    html += QStringLiteral("Last Name: ") + esc(c.lastName) + QStringLiteral("<br>\n");
    html += QStringLiteral("First Name: ") + esc(c.firstName) + QStringLiteral("<br>\n");
    html += QStringLiteral("MI: ") + esc(c.middleInitial) + QStringLiteral("<br>\n");
    html += nameSuffixLine(c.nameSuffixIndex);
    html += sexLine(c.sexIndex);
    html += raceLine(c.raceIndex);
    html += birthDateLine(c);
    html += heightLine(c);
    html += weightLine(c);

    html += QLatin1String(SectionTitle) + QStringLiteral("Case</font></div>\n<div style=\"margin-left:1em;\">\n");
    html += QStringLiteral("Length: ") + lengthText(c) + QStringLiteral("<br>\n");
    html += QStringLiteral("Run number: <br>\n");
    html += QStringLiteral("Device Type: AED<br>\n");
    html += QStringLiteral("Serial Number: ") + esc(c.serialNumber) + QStringLiteral("<br>\n");
    html += QStringLiteral("Software Version: 1.0.3.8<br>\n");
    html += QStringLiteral("Operator: ") + esc(c.operatorName) + QStringLiteral(" <br>\n");
    html += QStringLiteral("Number of Shocks Delivered: ") + QString::number(input.shockCount)
        + QStringLiteral("</div><br>\n");

    html += QLatin1String(SectionTitle)
        + QStringLiteral("Event Summary</font></div>\n<div style=\"margin-left:1em;\">\n<table>\n");
    for (int i : eventsInTimeOrder(c.events))
        html += eventRow(c, c.events[i], input.timeAdjusted);
    html += QStringLiteral("</table>\n</div><br><br><br>");
    if (input.cprQuality)
        html += cprQualitySection(*input.cprQuality);
    html += QStringLiteral("<h3>Comments</h3>\n");
    html += htmlEscapedLines(c.comments) + QStringLiteral("<br>\n");
    html += QStringLiteral("<div style=\"margin-left:2em;\"></div><br><br>\nPhysician Signature ")
        + QString(32, QLatin1Char('_')) + QStringLiteral("\n");
    html += QStringLiteral("<br><br>\nPrint Name ") + QString(38, QLatin1Char('_'))
        + QStringLiteral("\n<br><br></td></tr>\n</tbody>\n</table>\n</body>\n</html>\n");
    return withCrLf(html);
}

} // namespace IncidentLog
