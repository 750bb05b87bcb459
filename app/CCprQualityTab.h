#pragma once

#include "report/CprQualityReport.h"

#include <QWidget>
#include <cstdint>
#include <functional>

class CprChartsWidget;
class QLabel;
class QTableWidget;

// The "CPR quality" tab of the shown case: the summary with each measure, its target and
// whether it was met; the per-minute charts of rate, depth and CCF; and the pause list,
// where a click asks for that moment in the enlarged ECG. A case without CPR feedback
// shows one sentence instead.
class CCprQualityTab : public QWidget
{
    Q_OBJECT
public:
    explicit CCprQualityTab(QWidget *parent = nullptr);

    void showReport(CprQualityReport report);
    const CprQualityReport &report() const { return m_report; }

    // A pause was clicked: the case time (ms) of its start.
    std::function<void(int32_t timeMs)> onShowMoment;

    QLabel *noFeedbackLabel() const { return m_noFeedback; }
    QTableWidget *summaryTable() const { return m_summary; }
    QTableWidget *pauseTable() const { return m_pauses; }
    CprChartsWidget *charts() const { return m_charts; }

private:
    void fillSummary();
    void fillPauses();
    void pauseChosen(int row);

    CprQualityReport m_report;
    QLabel *m_noFeedback;
    QLabel *m_settings;
    QLabel *m_pausesTitle;
    QTableWidget *m_summary;
    QTableWidget *m_pauses;
    CprChartsWidget *m_charts;
    QWidget *m_content;
};
