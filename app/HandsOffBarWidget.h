#pragma once

#include "cpr/HandsOffRows.h"

#include <QWidget>
#include <vector>

// The stacked bar of hands-off time by cause in the CPR quality tab, with its legend under
// it: each cause present with its seconds and share. The legend also tells what the shading
// of the ECG means, which uses the same colours and hatching.
class HandsOffBarWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int BarHeight = 18;  // pixels
    static constexpr int Swatch = 12;     // the legend's square, pixels

    explicit HandsOffBarWidget(QWidget *parent = nullptr);

    void setCauses(std::vector<HandsOffCauseRow> causes);
    const std::vector<HandsOffCauseRow> &causes() const { return m_causes; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<double> entryWidths() const;
    int lineHeight() const;

    std::vector<HandsOffCauseRow> m_causes;
};
