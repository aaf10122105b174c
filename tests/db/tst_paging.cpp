// Packets of a client data set are one result: while another connection
// inserts and deletes rows between packets, every row that exists throughout
// the read is read once, in the statement's order.
#include "db/clientdataset.h"
#include "db/dberror.h"
#include "db/keysetpaging.h"
#include "db/sqlstatement.h"
#include "testdatabase.h"

#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

namespace {

void run(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    SqlStatement q(db, sql);
    for (int i = 0; i < values.size(); ++i)
        q.bind(QStringLiteral("P%1").arg(i), values.at(i));
    q.exec();
}

QVariant groupOf(int id)
{
    // Many ties, some NULLs, so that the order needs the whole key.
    return id % 7 == 0 ? QVariant() : QVariant(QStringLiteral("G%1").arg(id % 5));
}

void fill(const QSqlDatabase &db, int rows)
{
    run(db,
        QStringLiteral("CREATE TABLE KP (ID INTEGER NOT NULL PRIMARY KEY, G VARCHAR(10), "
                       "R DOUBLE PRECISION, TS TIMESTAMP)"));
    QStringList values;
    for (int id = 1; id <= rows; ++id) {
        const QVariant g = groupOf(id);
        values << QStringLiteral("(%1, %2, %3, '2024-01-%4 10:00:00.%5')")
                          .arg(id)
                          .arg(g.isNull() ? QStringLiteral("NULL")
                                          : QLatin1Char('\'') + g.toString() + QLatin1Char('\''))
                          .arg(double(id % 9) / 10.0)
                          .arg(1 + id % 28, 2, 10, QLatin1Char('0'))
                          .arg(id % 1000, 3, 10, QLatin1Char('0'));
    }
    run(db, QStringLiteral("INSERT INTO KP (ID, G, R, TS) VALUES ") + values.join(QLatin1Char(',')));
}

QList<int> ids(const ClientDataSet &data)
{
    QList<int> result;
    for (int row = 0; row < data.recordCount(); ++row)
        result << data.value(row, QStringLiteral("ID")).toInt();
    return result;
}

} // namespace

class tst_Paging : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void packetsAreOneResult_data()
    {
        TestDatabase::addEngineColumn();
        QTest::addColumn<QString>("sql");
        const auto add = [](const char *tag, const char *sql) {
            for (auto *r : TestDatabase::newRows(QString::fromLatin1(tag)))
                *r << QString::fromLatin1(sql);
        };
        add("key", "SELECT ID, G FROM KP ORDER BY ID");
        add("descending key", "SELECT ID, G FROM KP WHERE ID > :P0 ORDER BY ID DESC");
        add("nulls and ties", "SELECT G, ID FROM KP ORDER BY G DESC, ID");
        add("nulls last", "SELECT ID, G FROM KP ORDER BY G NULLS LAST, ID DESC");
        add("nulls placed inside the key",
            "SELECT ID, G FROM KP ORDER BY R DESC, G DESC NULLS FIRST, ID");
        add("nulls last of an expression, by alias",
            "SELECT ID, CASE WHEN G <> 'G1' THEN G END H FROM KP ORDER BY H NULLS LAST, ID");
        add("positions", "SELECT G, ID, R FROM KP ORDER BY 1, 2");
        add("alias of an expression",
            "SELECT ID, COALESCE(G, '-') || 'x' K FROM KP ORDER BY K DESC, ID");
        add("qualified, not selected", "SELECT A.ID, A.R FROM KP A ORDER BY A.R, A.TS DESC, A.ID");
        add("a comment at the end", "SELECT ID FROM KP ORDER BY ID -- the key\n");
        add("percent signs in the text",
            "SELECT ID, G FROM KP WHERE COALESCE(G, '%1') <> '%2' "
            "ORDER BY CASE WHEN G LIKE '%1' THEN 0 ELSE 1 END, ID");
    }
    void packetsAreOneResult()
    {
        QFETCH(QString, engine);
        QFETCH(QString, sql);
        KESA_TEST_DATABASE(tdb, engine);
        fill(tdb.db(), 500);
        const QSqlDatabase other = tdb.openAnother(QStringLiteral("other"));

        ClientDataSet data;
        data.setDatabase(tdb.db());
        data.setSql(sql);
        data.setParam(QStringLiteral("P0"), -1);
        data.setPacketRecords(17);
        data.open();
        QVERIFY(data.canFetchMore());

        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        QSet<int> deleted;
        int nextId = 1000;
        while (data.canFetchMore()) {
            // Between packets: rows read and rows not read go, new rows come.
            for (int i = 0; i < 3; ++i) {
                const int id = random.bounded(1, 501);
                run(other, QStringLiteral("DELETE FROM KP WHERE ID = :P0"), {id});
                deleted << id;
            }
            for (int i = 0; i < 3; ++i) {
                const int id = random.bounded(2) ? ++nextId : -random.bounded(1, 100000);
                run(other,
                    QStringLiteral("INSERT INTO KP (ID, G, R) SELECT :P0, :P1, :P2 FROM DUAL "
                                   "WHERE NOT EXISTS (SELECT 1 FROM KP WHERE ID = :P0)"),
                    {id, groupOf(std::abs(id)), double(random.bounded(9)) / 10.0});
            }
            QVERIFY(data.fetchPacket() || !data.canFetchMore());
        }
        const QList<int> read = ids(data);

        // Each row once; every row that stayed, in the order the statement gives now.
        QCOMPARE(QSet<int>(read.cbegin(), read.cend()).size(), read.size());
        ClientDataSet now;
        now.setDatabase(tdb.db());
        now.setSql(sql);
        now.setParam(QStringLiteral("P0"), -1);
        now.setPacketRecords(0);
        now.open();
        const auto survivors = [&](const QList<int> &list) {
            QList<int> kept;
            for (int id : list) {
                if (id >= 1 && id <= 500 && !deleted.contains(id))
                    kept << id;
            }
            return kept;
        };
        QCOMPARE(survivors(read).size(), 500 - deleted.size());
        QVERIFY2(survivors(read) == survivors(ids(now)), qPrintable(QString::number(seed)));
    }

    // Rows an apply writes after the rows read are not read again by the next packets.
    void appliedRowsAreNotReadTwice_data() { TestDatabase::addEngineRows(); }
    void appliedRowsAreNotReadTwice()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        fill(tdb.db(), 50);
        ClientDataSet data;
        data.setDatabase(tdb.db());
        data.setSql(QStringLiteral("SELECT ID, G FROM KP ORDER BY ID"));
        data.setPacketRecords(10);
        data.open();
        data.moveTo(0);
        data.edit();
        data.setValue(QStringLiteral("ID"), 200);
        data.post();
        data.insert();
        data.setValue(QStringLiteral("ID"), 300);
        data.post();
        data.applyUpdates();
        data.fetchAll();
        QList<int> read = ids(data);
        QCOMPARE(QSet<int>(read.cbegin(), read.cend()).size(), read.size());
        QCOMPARE(read.size(), 51);
    }

    // A statement that cannot be keyed is read whole at once, never by OFFSET.
    void unkeyedStatementsAreReadWhole_data()
    {
        TestDatabase::addEngineColumn();
        QTest::addColumn<QString>("sql");
        const auto add = [](const char *tag, const char *sql) {
            for (auto *r : TestDatabase::newRows(QString::fromLatin1(tag)))
                *r << QString::fromLatin1(sql);
        };
        add("no order", "SELECT ID FROM KP");
        add("union",
            "SELECT ID FROM KP WHERE ID < 20 UNION ALL SELECT ID FROM KP WHERE ID >= 20 ORDER BY "
            "1");
        add("distinct", "SELECT DISTINCT ID FROM KP ORDER BY ID");
        add("own limit", "SELECT ID FROM KP ORDER BY ID LIMIT 40");
    }
    void unkeyedStatementsAreReadWhole()
    {
        QFETCH(QString, engine);
        QFETCH(QString, sql);
        KESA_TEST_DATABASE(tdb, engine);
        fill(tdb.db(), 40);
        QVERIFY(!KeysetPaging(sql, DbEngine::SQLite).isPageable());
        ClientDataSet data;
        data.setDatabase(tdb.db());
        data.setSql(sql);
        data.setPacketRecords(10);
        data.open();
        QCOMPARE(data.recordCount(), 40);
        QVERIFY(!data.canFetchMore());
    }
};

QTEST_GUILESS_MAIN(tst_Paging)
#include "tst_paging.moc"
