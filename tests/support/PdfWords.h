#pragma once

#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QString>

// The pages of a PDF file as poppler's "pdftotext -bbox" sees them: the page size and
// every word with its box, in points (1/72 inch) from the page's top-left corner.
struct PdfWord
{
    QString text;
    double xMin = 0;
    double yMin = 0;
    double xMax = 0;
    double yMax = 0;
};

struct PdfPage
{
    double width = 0;
    double height = 0;
    QList<PdfWord> words;

    // The first word with this text; an empty word when there is none.
    PdfWord word(const QString &text) const
    {
        for (const PdfWord &w : words)
            if (w.text == text)
                return w;
        return {};
    }
};

// Empty when pdftotext cannot read the file (or is not installed).
inline QList<PdfPage> pdfPages(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression page(QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\">"));
    static const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" "
                                                        "xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QList<PdfPage> pages;
    qsizetype at = 0;
    for (;;) {
        const QRegularExpressionMatch p = page.match(html, at);
        if (!p.hasMatch())
            break;
        const QRegularExpressionMatch next = page.match(html, p.capturedEnd());
        const qsizetype end = next.hasMatch() ? next.capturedStart() : html.size();
        PdfPage out{p.captured(1).toDouble(), p.captured(2).toDouble(), {}};
        for (auto it = word.globalMatch(html.mid(p.capturedEnd(), end - p.capturedEnd())); it.hasNext();) {
            const QRegularExpressionMatch w = it.next();
            out.words.append({w.captured(5), w.captured(1).toDouble(), w.captured(2).toDouble(),
                              w.captured(3).toDouble(), w.captured(4).toDouble()});
        }
        pages.append(out);
        at = end;
    }
    return pages;
}
