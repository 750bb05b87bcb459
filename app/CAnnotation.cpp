#include "app/CAnnotation.h"

#include "case/AnnotationForm.h"

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVBoxLayout>

CAnnotation::CAnnotation(AnnotationForm &form, QWidget *parent)
    : QDialog(parent), m_form(form), m_picker(new QDateTimeEdit(this)), m_title(new QLineEdit(this)),
      m_titleRemaining(new QLabel(this)), m_body(new QPlainTextEdit(this))
{
    const AnnotationForm::Labels labels = form.labels();
    setWindowTitle(labels.caption);

    m_picker->setDisplayFormat(AnnotationForm::timeFormat());
    m_picker->setTimeSpec(Qt::UTC); // shows the device clock's fields unchanged
    m_picker->setDateTime(DeviceClockDateTime(form.pickedTime));
    m_picker->setEnabled(form.timeEditable());
    m_title->setMaxLength(form.titleLimit());
    m_title->setText(form.title);
    // The title cannot grow past its limit: say how much room is left rather than cut silently.
    const auto showRemaining = [this] { m_titleRemaining->setText(m_form.titleRemainingText(int(m_title->text().size()))); };
    showRemaining();
    connect(m_title, &QLineEdit::textChanged, this, showRemaining);
    m_body->setPlainText(form.body);
    m_body->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_body->setTabChangesFocus(true);
    connect(m_body, &QPlainTextEdit::textChanged, this, &CAnnotation::limitBody);

    auto *fields = new QFormLayout;
    fields->addRow(labels.time, m_picker);
    fields->addRow(labels.title, m_title);
    fields->addRow(QString(), m_titleRemaining);
    fields->addRow(labels.annotation, m_body);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(labels.cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAnnotation::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAnnotation::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    resize(380, 300);

    if (form.timeEditable())
        m_picker->setFocus();
    else
        m_title->setFocus();
}

void CAnnotation::limitBody()
{
    const QString text = m_body->toPlainText();
    if (text.size() <= m_form.bodyLimit())
        return;
    const QSignalBlocker blocker(m_body);
    m_body->setPlainText(text.left(m_form.bodyLimit()));
    m_body->moveCursor(QTextCursor::End);
}

void CAnnotation::accept()
{
    m_form.pickedTime = DeviceClockTime(m_picker->dateTime());
    m_form.title = m_title->text();
    m_form.body = m_body->toPlainText();
    if (!m_form.accept()) {
        m_picker->setFocus();
        return;
    }
    QDialog::accept();
}
