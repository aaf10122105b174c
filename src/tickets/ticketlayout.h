#pragma once

#include <optional>
#include <QList>
#include <QString>

struct TicketDesign;
struct TicketLabel;

/// The ticket layout file: an INI file with sections Config, Barcode and
/// Label, every number in whole millimetres (labels keep the font-list index,
/// not the printer's font code).
namespace TicketLayout {

/// A label as the file holds it.
struct LabelEntry
{
    QString key;
    int topMm = 0;
    int leftMm = 0;
    int fontIndex = 0;
    int multiplier = 0;
    QString text;
};

/// What the file holds, defaults filled in.
struct Contents
{
    int direction = 0;
    int widthMm = 155;
    int heightMm = 60;
    int cutType = 0;
    int cutLineMm = 0;
    bool barcode = false;
    int barcodeMultiplier = 2;
    int barcodeHeightMm = 10;
    int barcodeLeftMm = 2;
    int barcodeTopMm = 2;
    /// In file order.
    QList<LabelEntry> labels;
};

/// "<RCtop,left><Ffont><HWm,m>text", top and left in millimetres.
QString labelValue(const TicketLabel &label);
/// Cuts a Label value into its fields; numbers that are missing or not
/// numbers are 0.
LabelEntry parseLabelValue(const QString &key, const QString &value);

/// Writes Config and Barcode, and the Label section anew; other sections and
/// keys of the file stay. The file is replaced whole or not at all. False
/// when it cannot be written or a label holds a character cp949 lacks.
bool save(const QString &path, const TicketDesign &design);
/// save() without the copy: writes into the file itself.
bool write(const QString &path, const TicketDesign &design);
/// The name of the first label that holds a character cp949 lacks; empty when none.
QString unencodableLabel(const TicketDesign &design);
/// True when the file has a section of a ticket layout.
bool isLayout(const QString &path);
/// Nothing when the file cannot be read or holds no ticket layout. A
/// direction outside 0 … 3 reads as 0.
std::optional<Contents> load(const QString &path);

} // namespace TicketLayout
