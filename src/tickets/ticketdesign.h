#pragma once

#include <QList>
#include <QString>

/// One text item of a ticket design; positions in pixels of the designer's
/// picture (4 a millimetre).
struct TicketLabel
{
    QString name;
    QString text;
    int fontIndex = 0;
    int multiplier = 1;
    int leftPx = 0;
    int topPx = 0;

    friend bool operator==(const TicketLabel &, const TicketLabel &) = default;
};

/// What a print run and the layout file need of a ticket design.
struct TicketDesign
{
    /// 0 … 3 for 0, 90, 180, 270 degrees.
    int direction = 0;
    int widthMm = 155;
    int heightMm = 60;
    int cutType = 0;
    int cutLineMm = 0;
    /// In creation order.
    QList<TicketLabel> labels;
    bool barcodeVisible = false;
    int barcodeLeftPx = 0;
    int barcodeTopPx = 0;
    int barcodeWidthPx = 88;
    int barcodeHeightPx = 28;

    friend bool operator==(const TicketDesign &, const TicketDesign &) = default;

    /// The text that stands for the ticket's number.
    static QString sequenceMark() { return QStringLiteral("{sequence}"); }
    /// A label that holds the mark prints the number, however its case was changed.
    static bool isSequenceMark(const QString &text)
    {
        return text.compare(sequenceMark(), Qt::CaseInsensitive) == 0;
    }
};
