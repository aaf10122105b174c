#pragma once

#include <functional>
#include <QString>

class ClientDataSet;
class DataGrid;
class QIODevice;

/// Saves what an inquiry grid shows as a spreadsheet file (SpreadsheetWriter):
/// the title, the titles of the visible columns in the order shown, and every
/// row of the data set, with the dialogs and messages of the export.
///
///     SpreadsheetExport exporter(cdsQuery, rgrGrid);
///     exporter.setTitle(windowTitle());
///     exporter.setProposedName(programId());
///     exporter.setStatusMessage([this](const QString &text) { ShowStatusMessage(text); });
///     const QString path = exporter.run();
///
/// Nothing is cut silently: a result with more rows than the file holds is
/// refused before anything is written, and texts cut to the longest a cell
/// holds are counted on the status line.
class SpreadsheetExport
{
public:
    SpreadsheetExport(ClientDataSet *dataSet, DataGrid *grid);

    void setTitle(const QString &title) { m_title = title; }
    /// The file name the save dialog proposes (the program ID).
    void setProposedName(const QString &name) { m_proposedName = name; }
    void setStatusMessage(std::function<void(const QString &)> show) { m_status = std::move(show); }

    /// The whole export: no open result → status message; the row limit (error
    /// box); the save dialog (cancelled → status message); the ".xls" rule; the
    /// overwrite question; the file written (failure → error box). Returns the
    /// full path of the written file, or empty text. The data set's current row
    /// never moves. Database failures while reading the rows are thrown (DbError).
    QString run();

    /// Reads the rows not read yet, at most one more than the file holds; false
    /// when the result has more rows than the file holds. Throws DbError.
    bool readWithinLimit();
    /// Writes the file's content; false when the device failed. Rows must have
    /// been read (readWithinLimit()).
    bool writeTo(QIODevice *device);
    /// Texts cut by the last writeTo().
    int cutTexts() const { return m_cutTexts; }

    /// The ".xls" rule: a name whose extension is not ".xls" (in any case) gets
    /// it instead of its own extension, or appended when it has none.
    static QString withSpreadsheetExtension(const QString &fileName);

private:
    void showStatus(const QString &text) const;

    ClientDataSet *m_dataSet;
    DataGrid *m_grid;
    QString m_title;
    QString m_proposedName;
    std::function<void(const QString &)> m_status;
    int m_cutTexts = 0;
};
