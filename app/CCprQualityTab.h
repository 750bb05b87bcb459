#pragma once

#include "report/CprQualityReport.h"

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

class CprChartsWidget;
class HandsOffBarWidget;
class LanguagePack;
class QLabel;
class QMenu;
class QPoint;
class QScrollArea;
class QTableWidget;

// The "CPR quality" tab of the shown case: the summary with each measure, its target and
// whether it was met; the per-minute charts of rate, depth and CCF; the hands-off time by
// cause, the times before CPR and the steps to each shock; and the pause list with the
// parts of each pause, where a click asks for that moment in the enlarged ECG and the
// context menu sets the cause of a pause. A case without CPR feedback shows one sentence
// instead.
class CCprQualityTab : public QWidget
{
    Q_OBJECT
public:
    explicit CCprQualityTab(const LanguagePack &texts, QWidget *parent = nullptr);

    // readOnly: the case is open read-only, its pauses' causes cannot be set.
    void showReport(CprQualityReport report, bool readOnly = false);
    const CprQualityReport &report() const { return m_report; }

    // A pause was clicked: the case time (ms) of its start.
    std::function<void(int32_t timeMs)> onShowMoment;
    // The reviewer chose a cause for the pause that starts at startMs (a review-file name, ""
    // for the device's reading).
    std::function<void(int32_t startMs, const QString &cause)> onSetPauseCause;
    // Shows a context menu and returns the chosen command (0 when dismissed); tests replace it.
    std::function<int(QMenu &menu, const QPoint &globalPos)> menuExec;

    // The context menu of pause `row`, its entries enabled as they apply; null for no pause.
    std::unique_ptr<QMenu> pauseMenu(int row);
    // Carries out a command of that menu for pause `row`.
    void pauseCommand(int row, int commandId);

    QLabel *noFeedbackLabel() const { return m_noFeedback; }
    QTableWidget *summaryTable() const { return m_summary; }
    QTableWidget *pauseTable() const { return m_pauses; }
    QTableWidget *shockTable() const { return m_shocks; }
    HandsOffBarWidget *handsOffBar() const { return m_bar; }
    QLabel *beforeCprLabel() const { return m_beforeCpr; }
    CprChartsWidget *charts() const { return m_charts; }

private:
    void fillSummary();
    void fillHandsOff();
    void fillShocks();
    void fillPauses();
    void pauseChosen(int row);
    void pauseMenuRequested(const QPoint &pos);

    const LanguagePack &m_texts;
    CprQualityReport m_report;
    bool m_readOnly = false;
    QLabel *m_noFeedback;
    QLabel *m_settings;
    QLabel *m_handsOffTitle;
    QLabel *m_beforeCpr;
    QLabel *m_shocksTitle;
    QLabel *m_pausesTitle;
    QTableWidget *m_summary;
    QTableWidget *m_shocks;
    QTableWidget *m_pauses;
    CprChartsWidget *m_charts;
    HandsOffBarWidget *m_bar;
    QScrollArea *m_scroll;
};
