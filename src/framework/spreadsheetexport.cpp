#include "spreadsheetexport.h"

#include "datagrid.h"
#include "inquirytexts.h"
#include "spreadsheetwriter.h"
#include "waitcursor.h"

#include "common/commonroutines.h"
#include "common/messageservice.h"
#include "db/clientdataset.h"
#include "platform/programfolders.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

SpreadsheetExport::SpreadsheetExport(ClientDataSet *dataSet, DataGrid *grid)
    : m_dataSet(dataSet)
    , m_grid(grid)
{}

void SpreadsheetExport::showStatus(const QString &text) const
{
    if (m_status)
        m_status(text);
}

QString SpreadsheetExport::withSpreadsheetExtension(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QString name = info.fileName();
    const QString directory = fileName.left(fileName.size() - name.size());
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    if (extension.compare(QStringLiteral(".xls"), Qt::CaseInsensitive) == 0)
        return fileName;
    return directory + (dot < 0 ? name : name.left(dot)) + QStringLiteral(".xls");
}

bool SpreadsheetExport::readWithinLimit()
{
    const int limit = SpreadsheetWriter::MaxDataRows;
    if (m_dataSet->recordCount() <= limit && m_dataSet->canFetchMore()) {
        // One statement for the rest, and one row more than the file holds tells
        // a result that is too long without reading all of it.
        const int packet = m_dataSet->packetRecords();
        m_dataSet->setPacketRecords(limit + 1 - m_dataSet->recordCount());
        try {
            m_dataSet->fetchPacket();
        } catch (...) {
            m_dataSet->setPacketRecords(packet);
            throw;
        }
        m_dataSet->setPacketRecords(packet);
    }
    return m_dataSet->recordCount() <= limit && !m_dataSet->canFetchMore();
}

bool SpreadsheetExport::writeTo(QIODevice *device)
{
    struct Column
    {
        int field;
        bool rightAligned;
        bool date;
    };
    QList<Column> columns;
    QStringList titles;
    const QAbstractItemModel *shown = m_grid->model();
    for (int column : m_grid->visibleColumns()) {
        const int field = m_grid->fieldIndexOf(column);
        Qt::Alignment alignment = m_grid->gridColumn(column).alignment;
        if (!alignment && field >= 0)
            alignment = m_dataSet->field(field).alignment();
        const DataField::Type type = field >= 0 ? m_dataSet->field(field).type() : DataField::Text;
        columns.append({field,
                        (alignment & Qt::AlignRight) != 0,
                        type == DataField::Date || type == DataField::DateTime});
        titles.append(shown->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    }

    SpreadsheetWriter writer(device);
    writer.begin(m_title, titles);
    // The values are written where the data set holds them; only dates get a
    // text of their own.
    QList<SpreadsheetCellRef> cells(columns.size());
    QVariantList dates(columns.size());
    const int rows = m_dataSet->recordCount();
    for (int row = 0; row < rows && writer.ok(); ++row) {
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const Column &column = columns.at(i);
            // The plain text of the value: dates as the grid shows them, the rest unformatted.
            const QVariant &value = m_dataSet->valueRef(row, column.field);
            cells[i].value = &value;
            if (column.date && !value.isNull()) {
                dates[i] = ClientDataSet::displayText(value);
                cells[i].value = &dates.at(i);
            }
            cells[i].rightAligned = column.rightAligned;
        }
        writer.addRow(cells);
    }
    writer.finish();
    m_cutTexts = writer.cutTexts();
    return writer.ok();
}

QString SpreadsheetExport::run()
{
    if (!m_dataSet || !m_dataSet->isActive()) {
        showStatus(MessageText::noSearchResult());
        return QString();
    }
    if (!readWithinLimit()) {
        withNormalCursor([] {
            ShowErrorMessage(MessageText::tooManyRows(SpreadsheetWriter::MaxDataRows));
            return 0;
        });
        return QString();
    }

    // The proposed name is the screen's program ID, which keeps the folder of its last export.
    QString fileName = withNormalCursor([this] {
        const QString folder = ProgramFolders::dialogFolder(m_proposedName);
        return MessageService::instance().saveFileName(QString(),
                                                       m_proposedName.isEmpty()
                                                               ? folder
                                                               : folder + QLatin1Char('/')
                                                                         + m_proposedName,
                                                       MessageText::spreadsheetFilter());
    });
    if (fileName.isEmpty()) {
        showStatus(MessageText::noFileName());
        return QString();
    }
    if (!m_proposedName.isEmpty())
        ProgramFolders::rememberDialogFile(m_proposedName, fileName);
    fileName = withSpreadsheetExtension(fileName);
    if (QFileInfo::exists(fileName)
        && !withNormalCursor([] { return AskYesNo(MessageText::overwriteQuestion()); }))
        return QString();

    QFile file(fileName);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && writeTo(&file);
    if (file.isOpen()) {
        written = file.flush() && written;
        file.close();
        written = written && file.error() == QFileDevice::NoError;
    }
    if (!written) {
        withNormalCursor([] {
            ShowErrorMessage(MessageText::cannotSaveSpreadsheet());
            return 0;
        });
        return QString();
    }
    if (m_cutTexts > 0)
        showStatus(MessageText::textsCut(m_cutTexts, SpreadsheetWriter::MaxTextBytes));
    return QFileInfo(fileName).absoluteFilePath();
}
