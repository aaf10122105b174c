#pragma once

#include "printersim.h"

#include <QSize>

/// The ticket printer: 8 dots a millimetre, its command language in "<…>"
/// commands, one status byte back for "<S1>".
///
/// Commands: "<S1>" status; "<CB>" starts a ticket (fields not yet printed
/// are dropped); "<NR>" "<RR>" "<RU>" "<RL>" turn the following fields by 0°,
/// 90°, 180°, 270° clockwise about their anchor; "<RCr,c>" anchors the next
/// field at row r, column c (dots, negative allowed); "<SF1>" (Hangul, cp949:
/// 24 × 24 dots a character, 12 × 24 a byte) and "<F1>"…"<F13>" except F5
/// (cells as the font list names them, F1 5 × 7 … F13 20 × 42, single bytes);
/// "<HWh,w>" magnifies the cell; "<oPn>" / "<oLn>" set a barcode along the
/// row (bars upright) or across it (bars lying) with bars n mm long; "<Xn>"
/// the module width in dots; "<BI>" then "^data^" a Code 128 barcode whose
/// top-left corner, in its turned frame, is the anchor; "<p>" prints.
/// Other bytes are the text of the current field. Unknown commands are logged.
///
/// Status: 11 ready; faults jam 18, paper out 10, off line 13, cutter 1D,
/// data error 15, cover open 03, head 08, buffer 19, serious FC.
///
/// The picture is the paper (155 × 60 mm unless set) at one pixel a dot,
/// grown where fields stray outside it (logged as OUTSIDE).
class TicketSim : public PrinterSim
{
    Q_OBJECT

public:
    explicit TicketSim(QObject *parent = nullptr);

    /// Paper size in millimetres: across the head × along the feed.
    void setPaperSize(const QSize &mm) { m_paperMm = mm; }
    QSize paperSize() const { return m_paperMm; }

    static QByteArray statusFor(Fault fault);
    /// The cell of one byte of a font code in dots; an invalid size for an unknown code.
    static QSize fontCell(const QString &code);

protected:
    void consume(const QByteArray &bytes) override;
    QByteArray statusBytes(Fault fault) const override { return statusFor(fault); }
    QString itemWord() const override { return QStringLiteral("ticket"); }
    void resetParser() override;

private:
    void runCommand(const QByteArray &text);
    void addText(char byte);
    void closeField();
    void startTicket();
    void print();

    QSize m_paperMm{155, 60};
    QByteArray m_pending;
    QByteArray m_itemBytes;
    QList<PrintedField> m_fields;
    bool m_inField = false;
    bool m_barcodeArmed = false;
    int m_rotation = 0;
    int m_row = 0;
    int m_column = 0;
    QString m_font = QStringLiteral("SF1");
    int m_heightScale = 1;
    int m_widthScale = 1;
    QChar m_orientation = QLatin1Char('P');
    int m_barHeightMm = 10;
    int m_module = 2;
};
