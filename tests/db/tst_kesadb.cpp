#include "testdatabase.h"

#include <QProcess>
#include <QtTest>

struct Result
{
    int exitCode;
    QString out;
    QString err;
};

static Result kesaDb(const QStringList &args)
{
    QProcess p;
    p.start(qEnvironmentVariable("KESA_BIN_DIR") + QStringLiteral("/kesa-db"), args);
    if (!p.waitForFinished(120000))
        return {-1, QString(), QStringLiteral("kesa-db did not finish")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

class tst_KesaDb : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initDemoMenu_data() { TestDatabase::addEngineRows(); }
    void initDemoMenu()
    {
        QFETCH(QString, engine);
        QString alias;
        {
            // An empty database of the engine; the tool creates everything.
            KESA_TEST_DATABASE(tdb, engine, TestDatabase::Empty, QStringLiteral("fixture"));
            alias = tdb.alias();
            Result r = kesaDb({QStringLiteral("init"), alias});
            QVERIFY2(r.exitCode == 0, qPrintable(r.err));
            r = kesaDb({QStringLiteral("init"), alias});
            QVERIFY2(r.exitCode == 0, qPrintable(r.err));
            r = kesaDb({QStringLiteral("demo"), alias});
            QVERIFY2(r.exitCode == 0, qPrintable(r.err));
            r = kesaDb({QStringLiteral("demo"), alias});
            QCOMPARE(r.exitCode, 1);
            QVERIFY(r.err.contains(QStringLiteral("사용자가 이미 등록된")));

            r = kesaDb({QStringLiteral("menu"),
                        alias,
                        QStringLiteral("KESA_G"),
                        QStringLiteral("E1001")});
            QVERIFY2(r.exitCode == 0, qPrintable(r.err));
            QCOMPARE(r.out,
                     QStringLiteral(
                             "G1\t예약 관리(&R)\n\tGAI010\t예약 등록\n\tGAS010\t예약 현황 조회\n"
                             "G2\t정산(&S)\n\tGAS020\t일일 정산 조회\n"));
            r = kesaDb({QStringLiteral("menu"),
                        alias,
                        QStringLiteral("KESA_G"),
                        QStringLiteral("NOBODY")});
            QCOMPARE(r.exitCode, 0);
            QCOMPARE(r.out, QString());
        }
    }

    void errors()
    {
        Result r = kesaDb({QStringLiteral("menu"),
                           QStringLiteral("/nowhere/kesa.db"),
                           QStringLiteral("KESA_Z"),
                           QStringLiteral("A0001")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains(QStringLiteral("/nowhere/kesa.db")));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("plain.db"));
        r = kesaDb({QStringLiteral("init"), file});
        QCOMPARE(r.exitCode, 0);
        // The tables are there but the project is not: nothing to print.
        r = kesaDb(
                {QStringLiteral("menu"), file, QStringLiteral("KESA_Z"), QStringLiteral("A0001")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QString());
        QCOMPARE(kesaDb({QStringLiteral("menu"), file}).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(tst_KesaDb)
#include "tst_kesadb.moc"
