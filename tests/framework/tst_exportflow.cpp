// The spreadsheet export of an inquiry grid, on both engines: the dialog flow,
// its messages, the limits, and the file checked byte by byte and read back by
// an independent reader.
#include "recordingmessageservice.h"
#include "testdatabase.h"

#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "framework/ZZS020.h"
#include "framework/datagrid.h"
#include "framework/inquirytexts.h"
#include "framework/spreadsheetexport.h"
#include "framework/spreadsheetwriter.h"
#include "platform/cp949.h"
#include "platform/programfolders.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cstring>

namespace {

const QString ExportSql = QStringLiteral(
        "SELECT SEQ, CODE, AMOUNT, NAME, MEMO FROM ZT_EXPORT ORDER BY SEQ");

// An inquiry screen as the derived ones are built: five columns, one search.
class ExportScreen : public TfrmZZS020
{
public:
    explicit ExportScreen(const QSqlDatabase &db, const QString &sql = ExportSql)
        : m_sql(sql)
    {
        setObjectName(QStringLiteral("frmZZT031"));
        setWindowTitle(QStringLiteral("내보내기 시험"));
        setDatabase(db);
        rgrGrid->addColumn(QStringLiteral("SEQ"), QStringLiteral("순번"), 50);
        rgrGrid->addColumn(QStringLiteral("CODE"), QStringLiteral("코드"), 60);
        rgrGrid->addColumn(QStringLiteral("AMOUNT"), QStringLiteral("금액"), 80);
        rgrGrid->addColumn(QStringLiteral("NAME"), QStringLiteral("이름"), 120);
        rgrGrid->addColumn(QStringLiteral("MEMO"), QStringLiteral("비고"), 100);
        ensureCreated();
    }
    void bbtSearchClick() override
    {
        TfrmZZS020::bbtSearchClick();
        OpenQuery(m_sql);
    }
    QStringList opened;

protected:
    void OpenWithDesktop(const QString &path) override { opened.append(path); }

private:
    QString m_sql;
};

// Records what the save dialog was asked to propose.
class DialogRecorder : public RecordingMessageService
{
public:
    QString saveFileName(const QString &caption,
                         const QString &proposedPath,
                         const QString &filter) override
    {
        proposals.append(proposedPath);
        filters.append(filter);
        return RecordingMessageService::saveFileName(caption, proposedPath, filter);
    }
    QStringList proposals;
    QStringList filters;
};

void createTable(const QSqlDatabase &db)
{
    SqlStatement(db,
                 QStringLiteral("CREATE TABLE ZT_EXPORT (SEQ INTEGER NOT NULL PRIMARY KEY, "
                                "CODE VARCHAR(10), AMOUNT NUMERIC, NAME VARCHAR(80000), "
                                "MEMO VARCHAR(20))"))
            .exec();
}

void addRow(const QSqlDatabase &db,
            int seq,
            const QVariant &code,
            const QVariant &amount,
            const QVariant &name,
            const QVariant &memo)
{
    SqlStatement insert(db,
                        QStringLiteral("INSERT INTO ZT_EXPORT (SEQ, CODE, AMOUNT, NAME, MEMO) "
                                       "VALUES (:P0, :P1, :P2, :P3, :P4)"));
    insert.bind(QStringLiteral("P0"), seq);
    insert.bind(QStringLiteral("P1"), code);
    insert.bind(QStringLiteral("P2"), amount);
    insert.bind(QStringLiteral("P3"), name);
    insert.bind(QStringLiteral("P4"), memo);
    insert.exec();
}

void addSampleRows(const QSqlDatabase &db)
{
    createTable(db);
    addRow(db, 1, QStringLiteral("00123"), -42, QStringLiteral("홍길동"), QStringLiteral("x"));
    addRow(db, 2, QStringLiteral("A'B"), 3.5, QVariant(), QVariant());
    addRow(db, 3, QVariant(), QVariant(), QStringLiteral("똠방각하"), QStringLiteral("y"));
}

struct Record
{
    quint16 type;
    QByteArray body;
};

QList<Record> records(const QByteArray &bytes)
{
    QList<Record> result;
    int pos = 0;
    while (pos + 4 <= bytes.size()) {
        const quint16 type = qFromLittleEndian<quint16>(bytes.constData() + pos);
        const quint16 length = qFromLittleEndian<quint16>(bytes.constData() + pos + 2);
        result.append({type, bytes.mid(pos + 4, length)});
        pos += 4 + length;
    }
    return result;
}

quint16 u16(const QByteArray &body, int offset)
{
    return qFromLittleEndian<quint16>(body.constData() + offset);
}

// One record as text: "L r,c:text" for a LABEL, "N r,c:value" for a NUMBER.
QString describe(const Record &record)
{
    switch (record.type) {
    case 0x0809:
        return QStringLiteral("BOF");
    case 0x000A:
        return QStringLiteral("EOF");
    case 0x0204: {
        const QString text = Cp949::toUnicode(record.body.mid(8));
        if (u16(record.body, 6) != record.body.size() - 8 || u16(record.body, 4) != 0)
            return QStringLiteral("bad label");
        return QStringLiteral("L %1,%2:%3")
                .arg(u16(record.body, 0))
                .arg(u16(record.body, 2))
                .arg(text);
    }
    case 0x0203: {
        if (record.body.size() != 14 || u16(record.body, 4) != 0)
            return QStringLiteral("bad number");
        const quint64 bits = qFromLittleEndian<quint64>(record.body.constData() + 6);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return QStringLiteral("N %1,%2:%3")
                .arg(u16(record.body, 0))
                .arg(u16(record.body, 2))
                .arg(value);
    }
    default:
        return QStringLiteral("?%1").arg(record.type);
    }
}

QStringList describeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("cannot read")};
    QStringList out;
    for (const Record &record : records(file.readAll()))
        out.append(describe(record));
    return out;
}

// The cells as python3-xlrd (Debian's python3-xlrd) reads them, one line per row.
QStringList readBack(const QString &path)
{
    const QString script = QStringLiteral(
            "import sys, xlrd\n"
            "book = xlrd.open_workbook(sys.argv[1], encoding_override='cp949')\n"
            "sheet = book.sheet_by_index(0)\n"
            "for r in range(sheet.nrows):\n"
            "    print('|'.join(repr(sheet.cell_value(r, c)) for c in range(sheet.ncols)))\n");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return {QString::fromUtf8(python.readAllStandardError())};
    return QString::fromUtf8(python.readAllStandardOutput())
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// sameBytesForTheSameData(): the file as written before the export read and
// wrote rows packet by packet.
// The engines differ where their drivers give other types (PostgreSQL's
// NUMERIC arrives as a double, SQLite's untyped NULL column is text).
const char *const PinnedSqlite
        = "090808000000100000000000040215000000000000000d00b3bbbab8b3bbb1e220bdc3c7e804020c00020000"
          "0000000400bcf8b9f804020c000200010000000400c4dab5e504020c000200020000000400b1ddbed704020c"
          "000200030000000400c0ccb8a704020c000200040000000400baf1b0ed04020c000200050000000400bcf6b7"
          "ae04020a000200060000000200c0b204020c000200070000000400bdc3b0a203020e00030000000000000000"
          "000000f03f04020d000300010000000500303031323304020f0003000200000007002d313233342e3504020e"
          "000300030000000600c8abb1e6b5bf0402090003000400000001007803020e00030005000000000000000000"
          "454004020d000300060000000500302e31323504021b000300070000001300323032362d31322d3031203039"
          "3a30353a303003020e00040000000000000000000000004004020b00040001000000030041274203020e0004"
          "00020000000000000080842e410402100004000300000008004b696d20b1e8203f04020c0004000400000004"
          "00baf1b0ed03020e000400050000000000000000001cc004020d00040006000000050031652b323004021b00"
          "0400070000001300313939392d30312d33312032333a35393a353903020e0005000000000000000000000008"
          "4004020800050001000000000003020e00050002000000000000000000000004020800050003000000000004"
          "020800050004000000000003020e000500050000000000000000000000040208000500060000000000040208"
          "00050007000000000003020e00060000000000000000000000104004020800060001000000000003020e0006"
          "0002000000000000000000000004020800060003000000000004020800060004000000000003020e00060005"
          "000000000000000000000004020c0006000600000004002d302e3504021b000600070000001300323032362d"
          "30322d32382030303a30303a303003020e00070000000000000000000000144004020b000700010000000300"
          "2d3132040213000700020000000b0039393939393939392e3939040213000700030000000b008c63b9e6b0a2"
          "c7cf20a2df04020b000700040000000300312e3503020e000700050000000000c0ffffffdf41040209000700"
          "0600000001003304021b000700070000001300323030302d30312d30312031323a30303a30300a000000";
const char *const PinnedPostgres
        = "090808000000100000000000040215000000000000000d00b3bbbab8b3bbb1e220bdc3c7e804020c00020000"
          "0000000400bcf8b9f804020c000200010000000400c4dab5e504020c000200020000000400b1ddbed704020c"
          "000200030000000400c0ccb8a704020c000200040000000400baf1b0ed04020c000200050000000400bcf6b7"
          "ae04020a000200060000000200c0b204020c000200070000000400bdc3b0a203020e00030000000000000000"
          "000000f03f04020d000300010000000500303031323304020f0003000200000007002d313233342e3504020e"
          "000300030000000600c8abb1e6b5bf0402090003000400000001007803020e00030005000000000000000000"
          "454004020d000300060000000500302e31323504021b000300070000001300323032362d31322d3031203039"
          "3a30353a303003020e00040000000000000000000000004004020b00040001000000030041274204020d0004"
          "0002000000050031652b30360402100004000300000008004b696d20b1e8203f04020c000400040000000400"
          "baf1b0ed03020e000400050000000000000000001cc004020d00040006000000050031652b323004021b0004"
          "00070000001300313939392d30312d33312032333a35393a353903020e000500000000000000000000000840"
          "04020800050001000000000003020e0005000200000000000000000000000402080005000300000000000402"
          "0800050004000000000003020e00050005000000000000000000000003020e00050006000000000000000000"
          "000004020800050007000000000003020e000600000000000000000000001040040208000600010000000000"
          "03020e0006000200000000000000000000000402080006000300000000000402080006000400000000000302"
          "0e00060005000000000000000000000004020c0006000600000004002d302e3504021b000600070000001300"
          "323032362d30322d32382030303a30303a303003020e00070000000000000000000000144004020b00070001"
          "00000003002d3132040213000700020000000b0039393939393939392e3939040213000700030000000b008c"
          "63b9e6b0a2c7cf20a2df04020b000700040000000300312e3503020e000700050000000000c0ffffffdf4103"
          "020e00070006000000000000000000084004021b000700070000001300323030302d30312d30312031323a30"
          "303a30300a000000";

} // namespace

class tst_ExportFlow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writtenFile_data() { TestDatabase::addEngineRows(); }
    void writtenFile();
    void emptyResult_data() { TestDatabase::addEngineRows(); }
    void emptyResult();
    void messagesOfTheDialogFlow_data() { TestDatabase::addEngineRows(); }
    void messagesOfTheDialogFlow();
    void extensionRule_data();
    void extensionRule();
    void overwriteQuestion_data() { TestDatabase::addEngineRows(); }
    void overwriteQuestion();
    void failedWriteKeepsRow_data() { TestDatabase::addEngineRows(); }
    void failedWriteKeepsRow();
    void rowLimit_data();
    void rowLimit();
    void longTextIsCutAndReported_data() { TestDatabase::addEngineRows(); }
    void longTextIsCutAndReported();
    void sameBytesForTheSameData_data() { TestDatabase::addEngineRows(); }
    void sameBytesForTheSameData();
};

void tst_ExportFlow::writtenFile()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addSampleRows(tdb.db());
    QTemporaryDir dir;
    ProgramFolders::setDataFolder(dir.filePath(QStringLiteral("settings")));
    DialogRecorder messages;
    messages.fileNames = {dir.filePath(QStringLiteral("result"))};

    ExportScreen screen(tdb.db());
    screen.bbtSearchClick();
    // The name first, the memo hidden: the file follows the grid as shown.
    screen.rgrGrid->horizontalHeader()->moveSection(3, 0);
    screen.rgrGrid->setColumnVisible(4, false);
    screen.cdsQuery->moveTo(1);

    const QString path = screen.SaveToSpreadsheet();
    QCOMPARE(path, dir.filePath(QStringLiteral("result.xls")));
    QCOMPARE(screen.cdsQuery->currentRow(), 1);
    // Proposed under the program ID, in the documents folder the first time.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(messages.proposals,
             QStringList{(QFileInfo(documents).isDir() ? documents : QDir::homePath())
                         + QStringLiteral("/ZZT031")});
    QCOMPARE(messages.filters, QStringList{QStringLiteral("Excel 파일(*.xls)")});
    QCOMPARE(screen.statusMessage(), QString());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(12), QByteArray::fromHex("090808000000100000000000"));
    file.close();
    QCOMPARE(describeFile(path),
             QStringList({QStringLiteral("BOF"),
                          QStringLiteral("L 0,0:내보내기 시험"),
                          QStringLiteral("L 2,0:이름"),
                          QStringLiteral("L 2,1:순번"),
                          QStringLiteral("L 2,2:코드"),
                          QStringLiteral("L 2,3:금액"),
                          QStringLiteral("L 3,0:홍길동"),
                          QStringLiteral("N 3,1:1"),
                          QStringLiteral("L 3,2:00123"),
                          QStringLiteral("N 3,3:-42"),
                          QStringLiteral("L 4,0:"),
                          QStringLiteral("N 4,1:2"),
                          QStringLiteral("L 4,2:A'B"),
                          QStringLiteral("L 4,3:3.5"),
                          QStringLiteral("L 5,0:똠방각하"),
                          QStringLiteral("N 5,1:3"),
                          QStringLiteral("L 5,2:"),
                          QStringLiteral("N 5,3:0"),
                          QStringLiteral("EOF")}));

    QCOMPARE(readBack(path),
             QStringList({QStringLiteral("'내보내기 시험'|''|''|''"),
                          QStringLiteral("''|''|''|''"),
                          QStringLiteral("'이름'|'순번'|'코드'|'금액'"),
                          QStringLiteral("'홍길동'|1.0|'00123'|-42.0"),
                          QStringLiteral("''|2.0|\"A'B\"|'3.5'"),
                          QStringLiteral("'똠방각하'|3.0|''|0.0")}));

    // The next export of the screen proposes the folder of this one.
    messages.fileNames = {dir.filePath(QStringLiteral("again"))};
    QCOMPARE(screen.SaveToSpreadsheet(), dir.filePath(QStringLiteral("again.xls")));
    QCOMPARE(messages.proposals.last(), dir.filePath(QStringLiteral("ZZT031")));
}

void tst_ExportFlow::emptyResult()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    createTable(tdb.db());
    QTemporaryDir dir;
    RecordingMessageService messages;
    messages.fileNames = {dir.filePath(QStringLiteral("empty.xls"))};

    ExportScreen screen(tdb.db());
    screen.bbtSearchClick();
    QCOMPARE(screen.statusMessage(), QStringLiteral("조회할 내용이 없습니다."));
    const QString path = screen.SaveToSpreadsheet();
    QVERIFY(!path.isEmpty());
    QCOMPARE(describeFile(path),
             QStringList({QStringLiteral("BOF"),
                          QStringLiteral("L 0,0:내보내기 시험"),
                          QStringLiteral("L 2,0:순번"),
                          QStringLiteral("L 2,1:코드"),
                          QStringLiteral("L 2,2:금액"),
                          QStringLiteral("L 2,3:이름"),
                          QStringLiteral("L 2,4:비고"),
                          QStringLiteral("EOF")}));
}

void tst_ExportFlow::messagesOfTheDialogFlow()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addSampleRows(tdb.db());
    RecordingMessageService messages;
    ExportScreen screen(tdb.db());

    // Before any search: a status message, no dialog.
    QCOMPARE(screen.SaveToSpreadsheet(), QString());
    QCOMPARE(screen.statusMessage(), QStringLiteral("조회 결과가 없습니다. 조회를 먼저 하십시오."));
    QVERIFY(messages.entries.isEmpty());

    // The dialog cancelled.
    screen.bbtSearchClick();
    QCOMPARE(screen.SaveToSpreadsheet(), QString());
    QCOMPARE(screen.statusMessage(), QStringLiteral("저장할 파일 이름을 지정하지 않았습니다."));
    QCOMPARE(messages.texts(RecordingMessageService::SaveFile).size(), 1);
    QVERIFY(messages.texts(RecordingMessageService::Error).isEmpty());
}

void tst_ExportFlow::extensionRule_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "report"
                                  << "report.xls";
    QTest::newRow("other extension") << "report.txt"
                                     << "report.xls";
    QTest::newRow("upper case kept") << "report.XLS"
                                     << "report.XLS";
    QTest::newRow("last extension only") << "report.tar.gz"
                                         << "report.tar.xls";
    QTest::newRow("dot in the directory") << "v1.2/report"
                                          << "v1.2/report.xls";
    QTest::newRow("trailing dot") << "report."
                                  << "report.xls";
}

void tst_ExportFlow::extensionRule()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QCOMPARE(SpreadsheetExport::withSpreadsheetExtension(typed), written);
}

void tst_ExportFlow::overwriteQuestion()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addSampleRows(tdb.db());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.xls"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old content");
    old.close();

    RecordingMessageService messages;
    messages.fileNames = {path, path};
    messages.answers = {false, true};
    ExportScreen screen(tdb.db());
    screen.bbtSearchClick();

    QCOMPARE(screen.SaveToSpreadsheet(), QString());
    QCOMPARE(messages.texts(RecordingMessageService::Question),
             QStringList{QStringLiteral("이미 존재하는 파일입니다.\r새 내용으로 덮어쓸까요?")});
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old content"));
    old.close();
    QCOMPARE(screen.statusMessage(), QString());

    QCOMPARE(screen.SaveToSpreadsheet(), path);
    QCOMPARE(describeFile(path).size(), 1 + 1 + 5 + 15 + 1);
}

void tst_ExportFlow::failedWriteKeepsRow()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addSampleRows(tdb.db());
    QTemporaryDir dir;
    // A directory of that name: the file cannot be created.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken.xls")));
    RecordingMessageService messages;
    messages.fileNames = {dir.filePath(QStringLiteral("taken.xls"))};
    ExportScreen screen(tdb.db());
    screen.bbtSearchClick();
    screen.cdsQuery->moveTo(2);

    QCOMPARE(screen.SaveToSpreadsheet(), QString());
    QCOMPARE(messages.texts(RecordingMessageService::Error),
             QStringList{QStringLiteral("Excel 파일로 저장할 수 없습니다.")});
    QCOMPARE(screen.cdsQuery->currentRow(), 2);
}

void tst_ExportFlow::rowLimit_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<int>("rows");
    for (auto *row : TestDatabase::newRows(QStringLiteral("as many as the file holds")))
        *row << SpreadsheetWriter::MaxDataRows;
    for (auto *row : TestDatabase::newRows(QStringLiteral("one more")))
        *row << SpreadsheetWriter::MaxDataRows + 1;
}

void tst_ExportFlow::rowLimit()
{
    QFETCH(QString, engine);
    QFETCH(int, rows);
    KESA_TEST_DATABASE(tdb, engine);
    const QString sql
            = QStringLiteral("WITH RECURSIVE N(SEQ) AS (SELECT 1 UNION ALL SELECT SEQ + 1 FROM N "
                             "WHERE SEQ < %1) SELECT SEQ, 'T' AS CODE, SEQ * 2 AS AMOUNT, "
                             "'' AS NAME, '' AS MEMO FROM N ORDER BY SEQ")
                      .arg(rows);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.xls"));
    RecordingMessageService messages;
    messages.fileNames = {path};
    ExportScreen screen(tdb.db(), sql);
    screen.bbtSearchClick();
    screen.cdsQuery->moveTo(5);

    const QString written = screen.SaveToSpreadsheet();
    QCOMPARE(screen.cdsQuery->currentRow(), 5);
    if (rows > SpreadsheetWriter::MaxDataRows) {
        // Refused before the dialog: nothing asked, nothing written.
        QCOMPARE(written, QString());
        QCOMPARE(messages.texts(RecordingMessageService::Error),
                 QStringList{MessageText::tooManyRows(SpreadsheetWriter::MaxDataRows)});
        QVERIFY(messages.texts(RecordingMessageService::Error)
                        .constFirst()
                        .contains(QStringLiteral("65533")));
        QVERIFY(messages.texts(RecordingMessageService::SaveFile).isEmpty());
        QVERIFY(!QFile::exists(path));
        return;
    }
    QCOMPARE(written, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<Record> recs = records(file.readAll());
    // BOF, title, five titles, five cells a row, EOF.
    QCOMPARE(recs.size(), 1 + 1 + 5 + 5 * rows + 1);
    const Record &lastNumber = recs.at(recs.size() - 1 - 5 + 2);
    QCOMPARE(describe(lastNumber), QStringLiteral("N 65535,2:%1").arg(2 * rows));
}

void tst_ExportFlow::longTextIsCutAndReported()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    createTable(tdb.db());
    const QString longName(40000, QChar(0xD55C)); // 80,000 bytes in cp949
    addRow(tdb.db(), 1, QStringLiteral("A"), 1, longName, QStringLiteral("x"));
    QTemporaryDir dir;
    RecordingMessageService messages;
    messages.fileNames = {dir.filePath(QStringLiteral("long.xls"))};
    ExportScreen screen(tdb.db());
    screen.bbtSearchClick();

    const QString path = screen.SaveToSpreadsheet();
    QVERIFY(!path.isEmpty());
    QCOMPARE(screen.statusMessage(), MessageText::textsCut(1, SpreadsheetWriter::MaxTextBytes));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<Record> recs = records(file.readAll());
    const Record &name = recs.at(1 + 1 + 5 + 3);
    QCOMPARE(name.body.size() - 8, SpreadsheetWriter::MaxTextBytes - 1);
    QCOMPARE(Cp949::toUnicode(name.body.mid(8)),
             longName.left((SpreadsheetWriter::MaxTextBytes - 1) / 2));
    QCOMPARE(describe(recs.last()), QStringLiteral("EOF"));
}

QTEST_MAIN(tst_ExportFlow)
#include "tst_exportflow.moc"

// The bytes of a small export are pinned: a change of the way rows are read or
// written must leave the file as it was (Hangul, a character cp949 lacks,
// whole and decimal numbers, dates and NULLs of every kind).
void tst_ExportFlow::sameBytesForTheSameData()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    const QSqlDatabase db = tdb.db();
    const bool pg = engine == QLatin1String("postgresql");
    SqlStatement(db,
                 QStringLiteral(
                         "CREATE TABLE ZT_PIN (SEQ INTEGER NOT NULL PRIMARY KEY, "
                         "NAME VARCHAR(30), AMOUNT NUMERIC(12, 2), QTY INTEGER, "
                         "RATE DOUBLE PRECISION, AT_TIME %1, CODE VARCHAR(8), MEMO VARCHAR(20))")
                         .arg(pg ? QStringLiteral("TIMESTAMP(0)") : QStringLiteral("TEXT")))
            .exec();
    const char *const rows[] = {
            "1, '홍길동', -1234.5, 42, 0.125, '2026-12-01 09:05:00', '00123', 'x'",
            "2, 'Kim 김 😀', 1000000, -7, 1e20, '1999-01-31 23:59:59', 'A''B', '비고'",
            "3, NULL, NULL, NULL, NULL, NULL, NULL, NULL",
            "4, '', 0, 0, -0.5, '2026-02-28 00:00:00', '', ''",
            "5, '똠방각하 ㈜', 99999999.99, 2147483647, 3, '2000-01-01 12:00:00', '-12', '1.5'",
    };
    for (const char *values : rows)
        SqlStatement(db,
                     QStringLiteral("INSERT INTO ZT_PIN VALUES (%1)").arg(QString::fromUtf8(values)))
                .exec();

    QTemporaryDir dir;
    RecordingMessageService messages;
    messages.fileNames = {dir.filePath(QStringLiteral("pinned.xls"))};
    ExportScreen screen(db, QStringLiteral("SELECT * FROM ZT_PIN ORDER BY SEQ"));
    screen.rgrGrid->addColumn(QStringLiteral("QTY"), QStringLiteral("수량"), 50);
    screen.rgrGrid->addColumn(QStringLiteral("RATE"), QStringLiteral("율"), 50);
    screen.rgrGrid->addColumn(QStringLiteral("AT_TIME"), QStringLiteral("시각"), 120);
    screen.bbtSearchClick();
    const QString path = screen.SaveToSpreadsheet();
    QVERIFY(!path.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll().toHex();
    QCOMPARE(bytes, QByteArray(pg ? PinnedPostgres : PinnedSqlite));
}
