#pragma once

#include "library/LibraryQaReport.h"

#include <QByteArray>
#include <QRectF>
#include <QStringList>
#include <vector>

class LanguagePack;
class QPageLayout;
class QPagedPaintDevice;
class QPainter;

// Paints the QA report of the case library on the frame of the printed reports (190 x 277 mm
// in tenths of a millimetre, see CprReportLayout): the filters, the summary and the hands-off
// time by cause first, then a page of trend charts by month, then the table by device, the
// recordings that need attention (over as many pages as they take) and the definitions.
class LibraryQaReportPainter
{
public:
    LibraryQaReportPainter(const LibraryQaReport &report, const LanguagePack &texts, bool anonymize);

    int pageCount() const { return int(m_pages.size()); }
    // Page p (from 1) on a painter whose coordinates are the layout's.
    void paintPage(QPainter &painter, int page) const;
    // Pages from..to (from 1; 0 for the first or last) on a paged device; false when it cannot
    // be painted on.
    bool print(QPagedPaintDevice &device, int fromPage = 0, int toPage = 0) const;

    // The pages as a PDF on the given paper (by default A4 without printer margins); the
    // program's PDF printer and ravelin-cli both print through this.
    static QByteArray pdf(const LibraryQaReport &report, const LanguagePack &texts, bool anonymize,
                          const QPageLayout &layout);
    static QByteArray pdf(const LibraryQaReport &report, const LanguagePack &texts, bool anonymize);

    // One thing the flow of a page holds, at its place on the frame.
    struct Block
    {
        enum class Kind { Heading, Text, TableHeader, TableRow, Charts };
        Kind kind = Kind::Text;
        QRectF rect;
        QStringList cells;            // a table's; a text's one string
        std::vector<double> columns;  // the share of the width each cell takes
        bool alert = false;           // drawn in red (a figure off its target)
    };

private:
    void layOut();
    void paintCharts(QPainter &painter) const;

    const LibraryQaReport &m_report;
    const LanguagePack &m_texts;
    bool m_anonymize;
    QString m_title;
    QString m_period;
    std::vector<std::vector<Block>> m_pages;
};
