#pragma once

#include <functional>

#include <QHash>
#include <QRect>
#include <QScrollArea>
#include <array>

class CGeneralNote;
class CaseSession;
struct CaseRecord;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The General tab: the case, device and patient fields of one case under three header
// bars. Filling it shows a case; the user's changes go straight into that case and mark it
// changed. Power on time always shows the shown case's own start text, whatever is typed
// into it; "Adjust..." reads the shown case again with the typed adjusted start, "Undo
// adjustment" with the device's start.
class CDetailSub : public QScrollArea
{
    Q_OBJECT
public:
    static constexpr int ControlId = 20000;

    explicit CDetailSub(CaseSession &view, QWidget *parent = nullptr);

    // "Adjust...": the shown slot and the typed adjusted start.
    std::function<void(int, const QString &)> onAdjustRequest;

    // Shows case slot n; a slot without a case leaves the fields as they are. The fields of a
    // case open read-only are shown but cannot be changed, and "Adjust..." and "Undo adjustment"
    // are greyed.
    void Fill(int n);
    // The slot last filled, -1 before the first fill.
    int shownCase() const { return m_nCase; }

    // Form coordinates of a rectangle given in dialog units of the form's template.
    static QRect dialogRect(int x, int y, int width, int height);

    // The controls, for the window's user and for tests.
    QLineEdit *runNumber() const { return m_runNumber; }
    QDateTimeEdit *startTime() const { return m_startTime; }
    QLineEdit *dataDuration() const { return m_dataDuration; }
    QLineEdit *fileName() const { return m_fileName; }
    QLineEdit *recordingId() const { return m_recordingId; }
    // The review status of the case's recording, as the case library keeps it, and its button.
    QLineEdit *reviewStatus() const { return m_reviewStatus; }
    QPushButton *reviewStatusButton() const { return m_reviewStatusButton; }
    QPlainTextEdit *comments() const { return m_comments; }
    QLineEdit *deviceType() const { return m_deviceType; }
    QLineEdit *serialNumber() const { return m_serialNumber; }
    QLineEdit *deviceId() const { return m_deviceId; }
    QLineEdit *powerOnTime() const { return m_powerOnTime; }
    QLineEdit *adjustedPowerOnTime() const { return m_adjustedPowerOnTime; }
    QPushButton *adjustButton() const { return m_adjust; }
    // "Undo adjustment": enabled while the shown case has an adjusted start and can be changed.
    QPushButton *undoAdjustButton() const { return m_undoAdjust; }
    QLineEdit *operatorName() const { return m_operator; }
    QLineEdit *patientId() const { return m_patientId; }
    QLineEdit *lastName() const { return m_lastName; }
    QLineEdit *firstName() const { return m_firstName; }
    QLineEdit *middleInitial() const { return m_middleInitial; }
    QComboBox *nameSuffix() const { return m_nameSuffix; }
    QComboBox *sex() const { return m_sex; }
    QComboBox *race() const { return m_race; }
    QCheckBox *birthDateKnown() const { return m_birthDateKnown; }
    QDateEdit *birthDate() const { return m_birthDate; }
    QCheckBox *birthDateUnknown() const { return m_birthDateUnknown; }
    QLineEdit *heightText() const { return m_height; }
    QComboBox *heightUnit() const { return m_heightUnit; }
    QLineEdit *weightText() const { return m_weight; }
    QComboBox *weightUnit() const { return m_weightUnit; }
    const std::array<CGeneralNote *, 3> &headerBars() const { return m_headers; }
    // The label of a control by its text number (107..124); null for other numbers.
    QLabel *labelOf(int textNumber) const;

    // Change handlers, as the controls run them.
    void OnPowerOnTimeEdited();
    void OnBirthDateKnownClicked();
    void OnBirthDateUnknownClicked();
    void OnAdjust();
    void OnUndoAdjustment();
    void showReviewStatus();

private:
    void createControls();
    // Sizes the labels and the two adjust buttons for the longer of the pack's two languages.
    void fitToBothLanguages();
    void connectHandlers();
    void fillLists();
    QLabel *addLabel(const QString &text, const QRect &du);
    QLineEdit *addEdit(const QRect &du, bool enabled = true);
    QComboBox *addList(const QRect &du);
    // A change of text goes straight into a text field of the shown case.
    // fieldName: how the audit trail names the field (as "ravelin-cli info" does).
    void storeText(QString CaseRecord::*field, const QString &text, const char *fieldName);
    void bindText(QLineEdit *edit, QString CaseRecord::*field, const char *fieldName);
    void showStartTimeText();
    // The shown case, after a change the user made to it: marked changed.
    CaseRecord *editedCase(const char *fieldName);
    void enableBirthDate(bool known);
    // Whether the user may change the fields (the shown case is not read-only).
    void setEditable(bool editable);
    bool m_editable = true;

    CaseSession &m_view;
    QWidget *m_page;
    int m_nCase = -1;
    bool m_filling = false; // a fill writes the controls: no change handler runs

    QLineEdit *m_runNumber = nullptr;
    QDateTimeEdit *m_startTime = nullptr;
    QLineEdit *m_dataDuration = nullptr;
    QLineEdit *m_fileName = nullptr;
    QLineEdit *m_recordingId = nullptr; // read-only, selectable
    QLineEdit *m_reviewStatus = nullptr; // read-only
    QPushButton *m_reviewStatusButton = nullptr;
    QPlainTextEdit *m_comments = nullptr;
    QLineEdit *m_deviceType = nullptr;
    QLineEdit *m_serialNumber = nullptr;
    QLineEdit *m_deviceId = nullptr;
    QLineEdit *m_powerOnTime = nullptr;
    QLineEdit *m_adjustedPowerOnTime = nullptr;
    QPushButton *m_adjust = nullptr;
    QPushButton *m_undoAdjust = nullptr;
    QLineEdit *m_operator = nullptr;
    QLineEdit *m_patientId = nullptr;
    QLineEdit *m_lastName = nullptr;
    QLineEdit *m_firstName = nullptr;
    QLineEdit *m_middleInitial = nullptr;
    QComboBox *m_nameSuffix = nullptr;
    QComboBox *m_sex = nullptr;
    QComboBox *m_race = nullptr;
    QCheckBox *m_birthDateKnown = nullptr;
    QDateEdit *m_birthDate = nullptr;
    QCheckBox *m_birthDateUnknown = nullptr;
    QLineEdit *m_height = nullptr;
    QComboBox *m_heightUnit = nullptr;
    QLineEdit *m_weight = nullptr;
    QComboBox *m_weightUnit = nullptr;
    std::array<CGeneralNote *, 3> m_headers{};
    QHash<int, QLabel *> m_labels; // by text number
};
