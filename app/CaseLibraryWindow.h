#pragma once

#include "cpr/CprReviewSettings.h"
#include "library/LibraryFilter.h"
#include "library/LibraryStatsRow.h"
#include "library/ReviewStatus.h"

#include <QDialog>
#include <functional>
#include <vector>

class CaseHistoryDialog;
class CaseTableModel;
class LanguagePack;
class LibraryChart;
struct LibraryBars;
class LibraryService;
class Platform;
class QCheckBox;
class QComboBox;
class QLayout;
class QLineEdit;
class QSpinBox;
class QTableView;
class QTableWidget;
class QTabWidget;
class QTimer;
struct LibraryCase;

// File > Case library: the indexed cases in a table (filters above it, sorted by the column
// whose header was clicked, read a page at a time as it scrolls), "Add folder..." to index a
// folder tree, and a summary per month or per device with its chart. A team assigns the
// selected cases, sets their review status and reads a case's history here. Messages and
// questions go through the platform; the library through the service, so a library that
// cannot be used only leaves the window empty.
class CaseLibraryWindow : public QDialog
{
    Q_OBJECT
public:
    CaseLibraryWindow(LanguagePack &texts, Platform &platform, LibraryService &service, QWidget *parent = nullptr);

    // How long the filters wait after the last change before the table follows them, so that
    // typing a value reads the library once, not at every key.
    static constexpr int FilterDelayMs = 250;

    // The unit the depths are shown in, the CPR review settings': the table's column, the
    // summary's and the chart's follow at once.
    void setDepthUnit(CprDepthUnit unit);

    // Opens an archive of the table in the program (a double-click on its row).
    std::function<void(const QString &path)> openArchive;
    // Told when the library's location or the automatic indexing was changed here.
    std::function<void()> settingsChanged;
    // The CCF a case should reach (0..1), the CPR quality settings' one; unset: the default.
    std::function<double()> ccfTarget;

    // Reads the filters, lists the cases and makes the summary again (at once; a change of a
    // filter field does it FilterDelayMs after the last change).
    void refresh();
    // "QA report...": asks for a PDF file and writes the QA report of the cases the filters take
    // there (private, never through a link); says so when it cannot.
    void writeQaReport();
    // Indexes the archives of a folder tree (what "Add folder..." does after its dialog).
    void addFolder(const QString &folder);
    // Opens the archive of a table row.
    void openRow(int row);
    // Sorts by a column of the table (what a header click does; a second click reverses).
    void sortByColumn(int column);

    // The selected rows of the table, top first.
    QList<int> selectedRows() const;
    // "Assign to...": asks a reviewer's name ("" unassigns) and assigns the selected cases.
    void assignSelected();
    // "Set status": the selected cases' review goes to stage; a follow-up asks its note, any
    // other stage drops the note.
    void setStatusOfSelected(ReviewStatus::Stage stage);
    // "History": the audit trail of the selected case's recording, in a window of its own
    // (null when there is nothing to show; a message said why).
    CaseHistoryDialog *showHistory();

    // The filters as the fields say them now.
    LibraryFilter filter() const;
    QTableView *casesTable() const { return m_cases; }
    CaseTableModel *casesModel() const { return m_rows; }
    QLineEdit *locationEdit() const { return m_location; }
    // The reviewer's name, kept in the settings as it is left.
    QLineEdit *reviewerEdit() const { return m_reviewer; }
    QCheckBox *rememberPasswordBox() const { return m_rememberPassword; }
    QComboBox *stageBox() const { return m_stage; }
    QLineEdit *assigneeField() const { return m_assignee; }
    QTableWidget *summaryTable() const { return m_summary; }
    QComboBox *groupingBox() const { return m_grouping; }
    // What the summary's chart shows, in the order of its box.
    enum class ChartSeries { Quality, StepsToShock, HandsOffOther, MeanDepth };
    QComboBox *chartSeriesBox() const { return m_chartSeries; }
    QLineEdit *searchField() const { return m_search; }
    QLineEdit *serialField() const { return m_serial; }
    QLineEdit *ccfBelowField() const { return m_ccfBelow; }
    QTabWidget *tabs() const { return m_tabs; }
    // The bars the chart shows for the summary's rows.
    LibraryBars summaryBars(const std::vector<LibraryStatsRow> &rows, ChartSeries series) const;

private:
    QWidget *makeCasesPage();
    QWidget *makeSummaryPage();
    QLayout *makeReviewButtons();
    // Applies change to the review of the selected cases in one transaction; rows indexed
    // before recordings were kept are left out with one message.
    void changeSelected(const ReviewStatusChange &change);
    void selectPaths(const QStringList &paths);
    void rememberPasswordToggled(bool on);
    void updateRememberBox();
    void fillSummary(const std::vector<LibraryStatsRow> &rows, LibraryGrouping grouping);
    void applySettings();
    QString text(int number) const;

    LanguagePack &m_texts;
    Platform &m_platform;
    LibraryService &m_service;
    LibraryFilter::Sort m_sort = LibraryFilter::Sort::StartTime;
    bool m_descending = false;
    int m_sortColumn = 0;
    QString m_pageError; // why the library refused a page, "" when it did not

    QLineEdit *m_location = nullptr;
    QCheckBox *m_autoIndex = nullptr;
    QLineEdit *m_reviewer = nullptr;
    QCheckBox *m_rememberPassword = nullptr;
    QTabWidget *m_tabs = nullptr;
    QLineEdit *m_from = nullptr;
    QLineEdit *m_to = nullptr;
    QLineEdit *m_serial = nullptr;
    QComboBox *m_model = nullptr;
    QComboBox *m_zone = nullptr; // the zone of the days and times shown
    QSpinBox *m_minShocks = nullptr;
    QLineEdit *m_ccfBelow = nullptr;
    QLineEdit *m_search = nullptr;
    QComboBox *m_stage = nullptr;
    QLineEdit *m_assignee = nullptr;
    QTableView *m_cases = nullptr;
    CaseTableModel *m_rows = nullptr;
    QComboBox *m_grouping = nullptr;
    QComboBox *m_chartSeries = nullptr;
    QTableWidget *m_summary = nullptr;
    QWidget *m_chart = nullptr;              // the chart, or why there is none
    LibraryChart *m_chartPlugin = nullptr;   // null when the chart plugin cannot be loaded
    QTimer *m_filterDelay = nullptr;
    CprDepthUnit m_depthUnit = CprDepthUnit::Inches;
};
