#pragma once

#include <QDialog>

class AnnotationForm;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

// The annotation dialog: the time, a title of at most 20 characters and a body of at most
// 255. The widgets only show and collect; AnnotationForm decides and stores. Modal, so no
// tree menu can open while it is up.
class CAnnotation : public QDialog
{
    Q_OBJECT
public:
    CAnnotation(AnnotationForm &form, QWidget *parent = nullptr);

    QDateTimeEdit *timePicker() const { return m_picker; }
    QLineEdit *titleEdit() const { return m_title; }
    QLabel *titleRemaining() const { return m_titleRemaining; }
    QPlainTextEdit *bodyEdit() const { return m_body; }

    void accept() override;

private:
    void limitBody();

    AnnotationForm &m_form;
    QDateTimeEdit *m_picker;
    QLineEdit *m_title;
    QLabel *m_titleRemaining;
    QPlainTextEdit *m_body;
};
