#include "app/CDetailSub.h"

#include "case/CaseExtent.h"
#include "app/GeneralFormLists.h"
#include "base/AdjustTexts.h"
#include "base/LanguagePack.h"
#include "case/CaseSession.h"
#include "case/NavigationTexts.h"
#include "ecg/CGeneralNote.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// Dialog units of the form's template (Arial): 4 horizontal units are 6 pixels, 8
// vertical units 14 pixels.
constexpr int BaseUnitX = 6;
constexpr int BaseUnitY = 14;

// The page holds every control, including those placed beyond the template's right edge.
constexpr QSize PageSize(700, 640);

struct HeaderPlace
{
    int kind;
    int y;
};
constexpr HeaderPlace HeaderPlaces[] = {{1, 10}, {2, 225}, {3, 350}};
constexpr int HeaderX = 5;
constexpr int HeaderWidth = 610;
constexpr int HeaderHeight = 25;

} // namespace

QRect CDetailSub::dialogRect(int x, int y, int width, int height)
{
    const auto px = [](int du) { return du * BaseUnitX / 4; };
    const auto py = [](int du) { return du * BaseUnitY / 8; };
    const int left = px(x);
    const int top = py(y);
    return QRect(left, top, px(x + width) - left, py(y + height) - top);
}

CDetailSub::CDetailSub(CaseSession &view, QWidget *parent)
    : QScrollArea(parent), m_view(view), m_page(new QWidget)
{
    setFrameShape(QFrame::NoFrame);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    m_page->setFont(font);
    m_page->setFixedSize(PageSize);
    createControls();
    fitToBothLanguages();
    fillLists();
    connectHandlers();
    enableBirthDate(m_birthDateKnown->isChecked());
    setWidget(m_page);
}

QLabel *CDetailSub::addLabel(const QString &text, const QRect &du)
{
    auto *label = new QLabel(text, m_page);
    label->setGeometry(dialogRect(du.x(), du.y(), du.width(), du.height()));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit *CDetailSub::addEdit(const QRect &du, bool enabled)
{
    auto *edit = new QLineEdit(m_page);
    edit->setGeometry(dialogRect(du.x(), du.y(), du.width(), du.height()));
    edit->setEnabled(enabled);
    return edit;
}

QComboBox *CDetailSub::addList(const QRect &du)
{
    // A drop-down list's template height includes its list; the box itself is an edit high.
    auto *list = new QComboBox(m_page);
    list->setGeometry(dialogRect(du.x(), du.y(), du.width(), 12));
    list->setMaxVisibleItems(std::max(1, du.height() / 12));
    return list;
}

void CDetailSub::createControls()
{
    const LanguagePack &texts = m_view.texts();
    const auto label = [&](int number, QRect du) {
        m_labels.insert(number, addLabel(texts.GetText(number), du));
    };

    for (size_t i = 0; i < m_headers.size(); ++i) {
        auto *bar = new CGeneralNote(HeaderPlaces[i].kind, texts, m_page);
        bar->Resize(HeaderX, HeaderPlaces[i].y, HeaderWidth, HeaderHeight);
        bar->Redraw();
        bar->show();
        m_headers[i] = bar;
    }

    // Case
    label(107, {7, 28, 100, 8});
    m_runNumber = addEdit({108, 27, 114, 12}, false);
    label(108, {224, 28, 47, 8});
    m_startTime = new QDateTimeEdit(m_page);
    m_startTime->setGeometry(dialogRect(273, 26, 129, 13));
    m_startTime->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    m_startTime->setTimeSpec(Qt::UTC); // shows the device clock's fields unchanged
    m_startTime->hide();
    label(109, {14, 42, 93, 8});
    m_dataDuration = addEdit({108, 41, 153, 12}, false);
    // The recording's identity: the same for every copy of the case, whatever its fields.
    addLabel(texts.isItalian() ? QStringLiteral("ID registrazione :") : QStringLiteral("Recording ID :"), {258, 42, 58, 8});
    m_recordingId = addEdit({318, 41, 88, 12});
    m_recordingId->setReadOnly(true);
    label(110, {7, 57, 99, 8});
    m_fileName = addEdit({108, 55, 298, 12}, false);
    label(111, {6, 71, 41, 8});
    // The review of the recording, kept in the case library; it may be changed on a read-only
    // case too, since it is the library's and not the archive's.
    addLabel(texts.isItalian() ? QStringLiteral("Revisione :") : QStringLiteral("Review :"), {150, 71, 50, 8});
    m_reviewStatus = addEdit({202, 69, 150, 12});
    m_reviewStatus->setReadOnly(true);
    m_reviewStatusButton = new QPushButton(texts.isItalian() ? QStringLiteral("Cambia...") : QStringLiteral("Change..."), m_page);
    // The button keeps its right edge and is as wide as its text needs; the field gives way.
    const QRect buttonPlace = dialogRect(354, 68, 52, 13);
    const int buttonWidth = std::max(buttonPlace.width(), m_reviewStatusButton->sizeHint().width());
    m_reviewStatusButton->setGeometry(buttonPlace.right() + 1 - buttonWidth, buttonPlace.y(), buttonWidth,
                                      std::max(buttonPlace.height(), m_reviewStatusButton->sizeHint().height()));
    m_reviewStatus->resize(m_reviewStatusButton->x() - 4 - m_reviewStatus->x(), m_reviewStatus->height());
    m_labels.value(111)->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_comments = new QPlainTextEdit(m_page);
    m_comments->setGeometry(dialogRect(6, 83, 402, 38));
    m_comments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    // Automated external defibrillator
    label(112, {18, 153, 88, 8});
    m_deviceType = addEdit({108, 151, 153, 12}, false);
    label(113, {7, 167, 99, 8});
    m_serialNumber = addEdit({108, 165, 153, 12}, false);
    addLabel(texts.GetText(NavigationText::DeviceId), {360, 156, 38, 8})->hide();
    m_deviceId = addEdit({396, 168, 12, 12});
    m_deviceId->hide();
    label(NavigationText::PowerOnTime, {280, 150, 100, 8});
    m_powerOnTime = addEdit({380, 150, 80, 12});
    label(NavigationText::AdjustedPowerOnTime, {280, 166, 100, 8});
    m_adjustedPowerOnTime = addEdit({380, 166, 80, 12});
    m_adjust = new QPushButton(texts.GetText(NavigationText::AdjustButton), m_page);
    m_adjust->setGeometry(dialogRect(348, 182, 52, 13));
    m_undoAdjust = new QPushButton(texts.GetText(AdjustText::UndoAdjustment), m_page);
    m_undoAdjust->setGeometry(dialogRect(402, 182, 58, 13));
    label(114, {18, 181, 88, 8});
    m_operator = addEdit({108, 179, 153, 12});

    // Patient
    label(115, {25, 225, 82, 8});
    m_patientId = addEdit({108, 223, 153, 12});
    label(116, {60, 239, 47, 8});
    m_lastName = addEdit({108, 237, 153, 12});
    label(117, {65, 253, 41, 8});
    m_firstName = addEdit({108, 251, 153, 12});
    label(118, {92, 267, 14, 8});
    m_middleInitial = addEdit({108, 265, 69, 12});
    label(119, {180, 267, 29, 8});
    m_nameSuffix = addList({213, 265, 48, 177});
    label(120, {74, 281, 32, 8});
    m_sex = addList({108, 279, 153, 165});
    label(121, {82, 296, 24, 8});
    m_race = addList({108, 294, 153, 158});
    label(122, {52, 311, 53, 8});
    m_birthDateKnown = new QCheckBox(m_page);
    m_birthDateKnown->setGeometry(dialogRect(109, 310, 16, 10));
    m_birthDate = new QDateEdit(m_page);
    m_birthDate->setGeometry(dialogRect(125, 309, 136, 13));
    m_birthDate->setCalendarPopup(true);
    m_birthDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_birthDateUnknown = new QCheckBox(texts.GetText(125), m_page);
    m_birthDateUnknown->setGeometry(dialogRect(269, 310, 57, 10));
    label(123, {78, 326, 28, 8});
    m_height = addEdit({108, 324, 101, 12});
    m_heightUnit = addList({213, 324, 48, 69});
    label(124, {77, 340, 30, 8});
    m_weight = addEdit({108, 338, 101, 12});
    m_weightUnit = addList({213, 338, 48, 87});
}

void CDetailSub::fitToBothLanguages()
{
    // The template was drawn for English. A label too short for its text in either
    // language grows away from the control it names (into the free margin), and the Adjust
    // and Undo adjustment buttons grow to the right, the second staying beside the first, so
    // the form looks the same whichever language is shown.
    const LanguagePack &texts = m_view.texts();
    const auto columnsOf = [&texts](int number) {
        return number < texts.textCount() ? texts.columns(number) : QStringList();
    };
    for (auto it = m_labels.cbegin(); it != m_labels.cend(); ++it) {
        QLabel *label = it.value();
        int needed = label->width();
        for (const QString &text : columnsOf(it.key()))
            needed = std::max(needed, label->fontMetrics().horizontalAdvance(text) + 1);
        QRect r = label->geometry();
        if (label->alignment() & Qt::AlignRight)
            r.setLeft(std::max(0, r.right() + 1 - needed));
        else
            r.setWidth(needed);
        label->setGeometry(r);
    }
    const auto fitButton = [&columnsOf](QPushButton *button, int number) {
        int buttonWidth = button->width();
        const QString shown = button->text();
        for (const QString &text : columnsOf(number)) {
            button->setText(text);
            buttonWidth = std::max(buttonWidth, button->sizeHint().width());
        }
        button->setText(shown);
        button->resize(buttonWidth, button->height());
    };
    fitButton(m_adjust, NavigationText::AdjustButton);
    fitButton(m_undoAdjust, AdjustText::UndoAdjustment);
    // Both end where the adjusted time's field ends, so the longer Italian words stay on the page.
    const int gap = m_undoAdjust->x() - (dialogRect(348, 182, 52, 13).right() + 1);
    m_undoAdjust->move(m_adjustedPowerOnTime->geometry().right() + 1 - m_undoAdjust->width(), m_undoAdjust->y());
    m_adjust->move(m_undoAdjust->x() - gap - m_adjust->width(), m_adjust->y());
}

void CDetailSub::fillLists()
{
    const uint8_t language = m_view.texts().language();
    m_nameSuffix->addItems(GeneralFormLists::nameSuffixes());
    m_race->addItems(GeneralFormLists::raceNames(language));
    m_sex->addItems(GeneralFormLists::sexNames(language));
    m_heightUnit->addItems(GeneralFormLists::heightUnits());
    m_weightUnit->addItems(GeneralFormLists::weightUnits());
    m_nameSuffix->setCurrentIndex(0);
    m_race->setCurrentIndex(GeneralFormLists::UnknownRace);
    m_sex->setCurrentIndex(0);
    m_heightUnit->setCurrentIndex(0);
    m_weightUnit->setCurrentIndex(0);
}

QLabel *CDetailSub::labelOf(int textNumber) const
{
    return m_labels.value(textNumber, nullptr);
}

CaseRecord *CDetailSub::editedCase(const char *fieldName)
{
    if (m_filling || m_view.isReadOnly(m_nCase))
        return nullptr;
    CaseRecord *c = m_view.store.caseAt(m_nCase);
    if (c)
        m_view.fieldChanged(m_nCase, QLatin1String(fieldName));
    return c;
}

void CDetailSub::storeText(QString CaseRecord::*field, const QString &text, const char *fieldName)
{
    if (m_filling || m_view.isReadOnly(m_nCase))
        return;
    // The typed adjusted start is only a proposal until "Adjust..." is pressed.
    const bool keptInArchive = field != &CaseRecord::adjustedPowerOnTimeText;
    if (CaseRecord *c = m_view.store.caseAt(m_nCase); c && c->*field != text) {
        c->*field = text;
        if (keptInArchive)
            m_view.fieldChanged(m_nCase, QLatin1String(fieldName));
    }
    showStartTimeText();
}

void CDetailSub::bindText(QLineEdit *edit, QString CaseRecord::*field, const char *fieldName)
{
    connect(edit, &QLineEdit::textEdited, this,
            [this, field, fieldName](const QString &text) { storeText(field, text, fieldName); });
}

void CDetailSub::connectHandlers()
{
    bindText(m_adjustedPowerOnTime, &CaseRecord::adjustedPowerOnTimeText, "adjustedStart");
    bindText(m_operator, &CaseRecord::operatorName, "operatorName");
    bindText(m_patientId, &CaseRecord::patientId, "patientId");
    bindText(m_lastName, &CaseRecord::lastName, "lastName");
    bindText(m_firstName, &CaseRecord::firstName, "firstName");
    bindText(m_middleInitial, &CaseRecord::middleInitial, "middleInitial");
    bindText(m_height, &CaseRecord::heightText, "heightText");
    bindText(m_weight, &CaseRecord::weightText, "weightText");

    connect(m_comments, &QPlainTextEdit::textChanged, this,
            [this] { storeText(&CaseRecord::comments, m_comments->toPlainText(), "comments"); });
    connect(m_powerOnTime, &QLineEdit::textEdited, this, &CDetailSub::OnPowerOnTimeEdited);

    const auto bindIndex = [this](QComboBox *list, int32_t CaseRecord::*field, const char *fieldName) {
        connect(list, &QComboBox::activated, this, [this, list, field, fieldName] {
            CaseRecord *c = m_view.isReadOnly(m_nCase) ? nullptr : m_view.store.caseAt(m_nCase);
            if (c && c->*field != list->currentIndex()) {
                c->*field = list->currentIndex();
                m_view.fieldChanged(m_nCase, QLatin1String(fieldName));
            }
            showStartTimeText();
        });
    };
    bindIndex(m_nameSuffix, &CaseRecord::nameSuffixIndex, "nameSuffixIndex");
    bindIndex(m_sex, &CaseRecord::sexIndex, "sexIndex");
    bindIndex(m_race, &CaseRecord::raceIndex, "raceIndex");
    bindIndex(m_heightUnit, &CaseRecord::heightUnitIndex, "heightUnitIndex");
    bindIndex(m_weightUnit, &CaseRecord::weightUnitIndex, "weightUnitIndex");

    connect(m_birthDate, &QDateEdit::dateChanged, this, [this](const QDate &date) {
        if (m_filling)
            return;
        // The picked day keeps the time of day the birth date had.
        if (CaseRecord *c = editedCase("birthDate")) {
            const CTime old = c->birthDate;
            c->birthDate = CTime(date.year(), date.month(), date.day(), old.GetHour(), old.GetMinute(),
                                 old.GetSecond());
        }
        showStartTimeText();
    });
    connect(m_birthDateKnown, &QCheckBox::clicked, this, &CDetailSub::OnBirthDateKnownClicked);
    connect(m_birthDateUnknown, &QCheckBox::clicked, this, &CDetailSub::OnBirthDateUnknownClicked);
    connect(m_adjust, &QPushButton::clicked, this, &CDetailSub::OnAdjust);
    connect(m_undoAdjust, &QPushButton::clicked, this, &CDetailSub::OnUndoAdjustment);
    connect(m_reviewStatusButton, &QPushButton::clicked, this, [this] {
        if (m_view.changeReviewStatus && m_view.store.caseAt(m_nCase)) {
            m_view.changeReviewStatus(m_nCase);
            showReviewStatus();
        }
    });
}

void CDetailSub::showStartTimeText()
{
    const CaseRecord *c = m_view.store.caseAt(m_nCase);
    const QString text = c ? c->powerOnTimeText : QString();
    if (m_powerOnTime->text() != text)
        m_powerOnTime->setText(text);
}

void CDetailSub::enableBirthDate(bool known)
{
    m_birthDate->setEnabled(known && m_editable);
    m_birthDateUnknown->setEnabled(known && m_editable);
}

void CDetailSub::setEditable(bool editable)
{
    m_editable = editable;
    // Texts stay selectable for copying; lists, boxes and the button are greyed.
    for (QLineEdit *edit : {m_operator, m_adjustedPowerOnTime, m_patientId, m_lastName, m_firstName, m_middleInitial,
                            m_height, m_weight})
        edit->setReadOnly(!editable);
    m_comments->setReadOnly(!editable);
    for (QWidget *control : std::initializer_list<QWidget *>{m_adjust, m_nameSuffix, m_sex, m_race, m_birthDateKnown,
                                                             m_heightUnit, m_weightUnit})
        control->setEnabled(editable);
    // Only an adjusted start can be undone.
    m_undoAdjust->setEnabled(editable && m_view.store.find(m_nCase) && m_view.store.find(m_nCase)->timeAdjusted());
    enableBirthDate(m_birthDateKnown->isChecked());
}

void CDetailSub::showReviewStatus()
{
    const bool known = m_view.reviewStatusLine && m_view.store.caseAt(m_nCase);
    m_reviewStatus->setText(known ? m_view.reviewStatusLine(m_nCase) : QString());
    m_reviewStatusButton->setEnabled(known && m_view.changeReviewStatus);
}

void CDetailSub::Fill(int n)
{
    m_filling = true;
    if (const CaseRecord *c = m_view.store.caseAt(n)) {
        m_editable = !m_view.isReadOnly(n);
        m_startTime->setDateTime(DeviceClockDateTime(c->startTime));
        m_dataDuration->setText(DataDurationText(c));
        m_fileName->setText(m_view.store.at(n).sourcePath);
        m_recordingId->setText(m_view.store.at(n).recordingId);
        m_recordingId->setCursorPosition(0);
        m_recordingId->setToolTip(m_view.store.at(n).recordingId);
        m_nCase = n;
        showReviewStatus();
        if (m_comments->toPlainText() != c->comments)
            m_comments->setPlainText(c->comments);
        m_deviceType->setText(QStringLiteral("AED"));
        m_serialNumber->setText(c->serialNumber);
        m_operator->setText(c->operatorName);
        m_adjustedPowerOnTime->setText(c->adjustedPowerOnTimeText);
        m_patientId->setText(c->patientId);
        m_lastName->setText(c->lastName);
        m_firstName->setText(c->firstName);
        m_middleInitial->setText(c->middleInitial);
        m_birthDate->setDate(DeviceClockDateTime(c->birthDate).date());

        m_birthDateKnown->setChecked(c->birthDateKnown);
        enableBirthDate(c->birthDateKnown);
        if (!c->birthDateKnown)
            m_birthDateUnknown->setChecked(false);
        m_birthDateUnknown->setChecked(c->birthDateUnknown);

        m_height->setText(c->heightText);
        m_weight->setText(c->weightText);
        // An index outside a list leaves it without a selection.
        m_nameSuffix->setCurrentIndex(c->nameSuffixIndex);
        m_sex->setCurrentIndex(c->sexIndex);
        m_race->setCurrentIndex(c->raceIndex);
        m_heightUnit->setCurrentIndex(c->heightUnitIndex);
        m_weightUnit->setCurrentIndex(c->weightUnitIndex);
        setEditable(m_editable);
    }
    m_nCase = n;
    showStartTimeText();
    m_filling = false;
}

void CDetailSub::OnPowerOnTimeEdited()
{
    // Power on time is not the user's to change: it shows the case's own start text.
    showStartTimeText();
}

void CDetailSub::OnBirthDateKnownClicked()
{
    if (m_view.isReadOnly(m_nCase))
        return;
    const bool known = m_birthDateKnown->isChecked();
    enableBirthDate(known);
    CaseRecord *c = editedCase("birthDateKnown");
    if (c)
        c->birthDateKnown = known;
    if (!known) {
        // The cleared Unknown box is what the case keeps too.
        m_birthDateUnknown->setChecked(false);
        if (c)
            c->birthDateUnknown = false;
    }
    m_page->update();
}

void CDetailSub::OnBirthDateUnknownClicked()
{
    if (CaseRecord *c = editedCase("birthDateUnknown"))
        c->birthDateUnknown = m_birthDateUnknown->isChecked();
}

void CDetailSub::OnAdjust()
{
    if (onAdjustRequest && m_view.store.caseAt(m_nCase) && !m_view.isReadOnly(m_nCase))
        onAdjustRequest(m_nCase, m_adjustedPowerOnTime->text());
}

void CDetailSub::OnUndoAdjustment()
{
    if (m_view.undoAdjustment && m_view.store.caseAt(m_nCase) && !m_view.isReadOnly(m_nCase)
        && m_view.store.at(m_nCase).timeAdjusted())
        m_view.undoAdjustment(m_nCase);
}
