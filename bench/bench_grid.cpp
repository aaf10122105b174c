// The first packet of every statement the screens read in packets, on tables
// of 1,000,000 rows against the same on tables of 1,000 rows, both engines: an
// index that serves the statement's order makes the first packet cost what it
// costs on a small table; a statement that sorts its whole result does not.
// Timed from opening the data set to its first packet read; closing it is left
// out. PostgreSQL runs when $KESA_TEST_PG_SERVICE names a cluster.
#include "gridstatements.h"
#include "interleaved.h"
#include "testdatabase.h"

#include "db/clientdataset.h"
#include "db/dbengine.h"
#include "db/dberror.h"
#include "db/sqlstatement.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>

namespace {

constexpr int LargeRows = 1000000;
constexpr int SmallRows = 1000;

class FirstPacket
{
public:
    FirstPacket(const QSqlDatabase &db, const GridStatements::Statement &statement)
    {
        m_cds.setDatabase(db);
        m_cds.setSql(statement.sql);
        for (int i = 0; i < statement.params.size(); ++i)
            m_cds.setParam(QStringLiteral("P%1").arg(i), statement.params.at(i));
        m_cds.setPacketRecords(100);
    }

    double operator()()
    {
        m_cds.close();
        return Interleaved::timed([this] { m_cds.open(); });
    }

    int rows() const { return m_cds.recordCount(); }

private:
    ClientDataSet m_cds;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    for (const QString &engine : TestDatabase::engines()) {
        auto large = std::make_unique<TestDatabase>(engine,
                                                    TestDatabase::Schema,
                                                    QStringLiteral("bench_large_") + engine);
        auto small = std::make_unique<TestDatabase>(engine,
                                                    TestDatabase::Schema,
                                                    QStringLiteral("bench_small_") + engine);
        if (!large->isOpen() || !small->isOpen()) {
            std::fprintf(stderr,
                         "%s cannot be measured: %s\n",
                         qPrintable(engine),
                         qPrintable(large->errorText() + small->errorText()));
            return 1;
        }
        try {
            std::fprintf(stderr, "%s: filling the tables …\n", qPrintable(engine));
            GridStatements::fill(large->db(), LargeRows);
            GridStatements::fill(small->db(), SmallRows);
            // The fill's pages written out before anything is timed: a
            // checkpoint in the middle would fall on some statements only.
            if (engineOf(large->db()) == DbEngine::PostgreSQL)
                SqlStatement(large->db(), QStringLiteral("CHECKPOINT")).exec();
            for (const GridStatements::Statement &statement : GridStatements::all()) {
                FirstPacket onLarge(large->db(), statement);
                FirstPacket onSmall(small->db(), statement);
                Interleaved::report(
                        QStringLiteral("grid-") + statement.screen,
                        engine,
                        1.2,
                        [&] { return onLarge(); },
                        [&] { return onSmall(); });
                if (onLarge.rows() != onSmall.rows() || onLarge.rows() == 0)
                    std::fprintf(stderr,
                                 "%s %s: first packets of %d and %d rows\n",
                                 qPrintable(engine),
                                 qPrintable(statement.screen),
                                 onLarge.rows(),
                                 onSmall.rows());
            }
        } catch (const DbError &e) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(engine), qPrintable(e.message()));
            return 1;
        }
    }
    return 0;
}
