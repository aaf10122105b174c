// Every statement the screens read in packets has an index that serves its
// order on both engines, so its first packet is read from the index instead of
// sorting the whole result: the engine's plan of the first packet has no sort,
// even with sorting priced out on PostgreSQL (where small tables would
// otherwise be sorted by choice). A statement that says so may sort the few
// rows of each value of its first order key, read from that key's index.
#include "db/dbengine.h"
#include "db/keysetpaging.h"
#include "db/sqlstatement.h"
#include "gridstatements.h"
#include "testdatabase.h"

#include <map>
#include <memory>
#include <QRegularExpression>
#include <QtTest>

class tst_GridOrders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstPacketReadsAnIndex_data()
    {
        TestDatabase::addEngineColumn();
        QTest::addColumn<int>("statement");
        const QList<GridStatements::Statement> statements = GridStatements::all();
        for (int i = 0; i < statements.size(); ++i) {
            for (auto *row : TestDatabase::newRows(statements.at(i).screen))
                *row << i;
        }
    }
    void firstPacketReadsAnIndex()
    {
        QFETCH(QString, engine);
        QFETCH(int, statement);
        TestDatabase *tdb = filled(engine);
        if (!tdb->isOpen()) {
            if (tdb->shouldSkip())
                QSKIP(qPrintable(tdb->errorText()));
            QFAIL(qPrintable(tdb->errorText()));
        }
        const GridStatements::Statement grid = GridStatements::all().at(statement);
        const DbEngine kind = engineOf(tdb->db());
        const KeysetPaging paging(grid.sql, kind);
        QVERIFY(paging.isPageable());

        const bool pg = kind == DbEngine::PostgreSQL;
        const bool incremental = pg && grid.sortsWithinFirstKey;
        const auto incrementalSort = [&](bool on) {
            SqlStatement(tdb->db(),
                         QStringLiteral("SET enable_incremental_sort = %1")
                                 .arg(on ? QLatin1String("on") : QLatin1String("off")))
                    .exec();
        };
        if (incremental)
            incrementalSort(true);
        SqlStatement plan(tdb->db(),
                          (pg ? QStringLiteral("EXPLAIN ") : QStringLiteral("EXPLAIN QUERY PLAN "))
                                  + paging.firstPacket(100));
        for (int i = 0; i < grid.params.size(); ++i)
            plan.bind(QStringLiteral("P%1").arg(i), grid.params.at(i));
        plan.open();
        static const QRegularExpression pgSort(QStringLiteral(R"((^|->)\s*(Incremental )?Sort\b)"));
        static const QRegularExpression pgFullSort(QStringLiteral(R"((^|->)\s*Sort\s+\()"));
        // An incremental sort is whole-result work unless its leading key is
        // the statement's first order key.
        const QString presorted = QStringLiteral("Presorted Key: ")
                                  + paging.firstPacket(0)
                                            .section(QStringLiteral("ORDER BY "), -1)
                                            .section(QLatin1Char(','), 0, 0)
                                            .trimmed()
                                            .toLower();
        QStringList lines;
        bool sorts = false;
        while (plan.next()) {
            const QString line = plan.value(pg ? 0 : 3).toString();
            lines << line;
            if (incremental) {
                sorts = sorts || pgFullSort.match(line).hasMatch()
                        || (line.contains(QLatin1String("Presorted Key:"))
                            && !line.trimmed().startsWith(presorted));
            } else {
                sorts = sorts
                        || (pg ? pgSort.match(line).hasMatch()
                               : line.contains(QLatin1String("TEMP B-TREE FOR"))
                                            && line.contains(QLatin1String("ORDER BY")));
            }
        }
        if (incremental)
            incrementalSort(false);
        QVERIFY2(!sorts, qPrintable(lines.join(QLatin1Char('\n'))));
    }

private:
    // One database per engine, filled once for every statement.
    TestDatabase *filled(const QString &engine)
    {
        auto &tdb = m_databases[engine];
        if (!tdb) {
            tdb = std::make_unique<TestDatabase>(engine,
                                                 TestDatabase::Schema,
                                                 QStringLiteral("grid_") + engine);
            if (tdb->isOpen()) {
                GridStatements::fill(tdb->db(), 1000);
                if (engineOf(tdb->db()) == DbEngine::PostgreSQL) {
                    SqlStatement(tdb->db(), QStringLiteral("SET enable_sort = off")).exec();
                    SqlStatement(tdb->db(), QStringLiteral("SET enable_incremental_sort = off"))
                            .exec();
                }
            }
        }
        return tdb.get();
    }

    std::map<QString, std::unique_ptr<TestDatabase>> m_databases;
};

QTEST_GUILESS_MAIN(tst_GridOrders)
#include "tst_gridorders.moc"
