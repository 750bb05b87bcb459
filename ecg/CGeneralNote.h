#pragma once

#include <QImage>
#include <QWidget>

class LanguagePack;

// A section header bar of the General tab (kinds 1 "Case", 2 "Automated external
// defibrillator", 3 "Patient"; other kinds draw the bar without a caption). Drawn once
// into a back buffer with the caption of the language in force; paintEvent copies it.
class CGeneralNote : public QWidget
{
    Q_OBJECT
public:
    CGeneralNote(int kind, const LanguagePack &texts, QWidget *parent = nullptr);

    int kind() const { return m_kind; }
    // Moves the bar and makes its back buffer for the new size (below 1 counts as 1).
    void Resize(int x, int y, int width, int height);
    void Redraw();
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int m_kind;
    const LanguagePack &m_texts;
    QImage m_picture;
};
