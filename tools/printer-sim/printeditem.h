#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

/// One thing a simulated printer put on paper: a text run or a barcode.
struct PrintedField
{
    enum Kind { Text, Barcode };
    Kind kind = Text;
    /// The text as read (cp949 decoded under the Hangul font), or the barcode data.
    QString text;
    /// The bytes as they arrived.
    QByteArray bytes;
    /// Ticket: the position in printer dots as sent (may be negative).
    /// Coupon: row is the line number on the coupon from 1, column 0.
    int row = 0;
    int column = 0;
    /// Ticket: 0 (normal), 1 (90°), 2 (180°), 3 (270°); coupon: always 0.
    int rotation = 0;
    /// Ticket: the font code as sent ("SF1", "F6"); coupon: empty.
    QString font;
    /// Magnification: ticket from "<HWh,w>", coupon from ESC "i" (1 or 2…).
    int heightScale = 1;
    int widthScale = 1;
    /// Barcodes: 'P' or 'L', the bar length in mm, the module width in dots,
    /// and the rotation command seen before it.
    QChar barcodeOrientation;
    int barcodeHeightMm = 0;
    int barcodeModule = 0;
};

/// A printed ticket or coupon.
struct PrintedItem
{
    /// 1 for the first item the simulator printed.
    int number = 0;
    /// Where its picture was saved (one pixel per printer dot).
    QString pngPath;
    QList<PrintedField> fields;
    /// Every byte of the item from its first command to its print command.
    QByteArray bytes;

    /// The data of its barcodes, in order.
    QStringList barcodes() const
    {
        QStringList result;
        for (const PrintedField &f : fields) {
            if (f.kind == PrintedField::Barcode)
                result.append(f.text);
        }
        return result;
    }
    /// The texts of its text fields, in order.
    QStringList lines() const
    {
        QStringList result;
        for (const PrintedField &f : fields) {
            if (f.kind == PrintedField::Text)
                result.append(f.text);
        }
        return result;
    }
};
