#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class QIODevice;

/// One data cell of an export: the field's value and whether its column is
/// shown right-aligned (numeric fields are).
struct SpreadsheetCell
{
    QVariant value;
    bool rightAligned = false;
};

/// A data cell whose value the caller keeps (a data set's row): not copied.
struct SpreadsheetCellRef
{
    const QVariant *value = nullptr;
    bool rightAligned = false;
};

/// Writes a worksheet as the short BIFF record stream the suite's inquiry
/// screens export: BOF, the title at row 0, the header row at row 2, data rows
/// from row 3, EOF. Texts are written in cp949.
class SpreadsheetWriter
{
public:
    /// Rows are 16-bit: three rows go to the title, the gap and the header.
    static constexpr int MaxDataRows = 65533;
    /// A LABEL body (8 bytes and the text) must fit in 16 bits.
    static constexpr int MaxTextBytes = 65527;

    explicit SpreadsheetWriter(QIODevice *device);

    /// BOF, title and header row.
    void begin(const QString &title, const QStringList &headers);
    /// The next data row; false (nothing written) once MaxDataRows rows are written.
    bool addRow(const QList<SpreadsheetCell> &cells);
    bool addRow(const QList<SpreadsheetCellRef> &cells);
    /// EOF.
    void finish();

    /// False once a write to the device failed (records reach the device in
    /// blocks; finish() writes the last one).
    bool ok() const { return m_ok; }
    int dataRows() const { return m_dataRows; }
    /// How many texts were cut to MaxTextBytes (at a character boundary).
    int cutTexts() const { return m_cutTexts; }

    /// True when the text is written as a NUMBER: digits only with an optional
    /// leading minus (empty text too) in a right-aligned column.
    static bool isNumberCell(const QString &text, bool rightAligned);
    /// The plain text form of a field value (null gives empty text).
    static QString plainText(const QVariant &value);

private:
    void writeLabel(int row, int column, const QString &text);
    void writeNumber(int row, int column, double value);
    void writeCell(int row, int column, const QVariant &value, bool rightAligned);
    /// The value of a text that passed isNumberCell().
    static double wholeNumber(const QString &digits);
    void put(const QByteArray &bytes);
    /// Room for a record of `bytes` bytes at the end of the block.
    char *grow(qsizetype bytes);
    /// After a record written into grow()'s room: the block goes out when full.
    void endRecord();
    void flush();

    QIODevice *m_device;
    QByteArray m_buffer;
    bool m_ok = true;
    int m_dataRows = 0;
    int m_cutTexts = 0;
};
