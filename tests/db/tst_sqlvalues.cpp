// Values written into statement texts: every value of every type the statement
// layer takes arrives as itself, in every place a statement puts it, on both
// engines; what cannot arrive as itself is refused with a clear error.
#include "db/clientdataset.h"
#include "db/dberror.h"
#include "db/sqlstatement.h"
#include "testdatabase.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <QRandomGenerator>
#include <QtTest>

namespace {

enum class Kind { Integer, Real, Text, DateTime, Date };

const char *columnOf(Kind kind)
{
    switch (kind) {
    case Kind::Integer:
        return "N";
    case Kind::Real:
        return "R";
    case Kind::Text:
        return "T";
    case Kind::DateTime:
        return "TS";
    case Kind::Date:
        return "D";
    }
    return "";
}

QString randomText(QRandomGenerator &random)
{
    static const QStringList pieces = {QStringLiteral("'"),      QStringLiteral("''"),
                                       QStringLiteral("\\"),     QStringLiteral("--"),
                                       QStringLiteral(";"),      QStringLiteral(":P1"),
                                       QStringLiteral(":P0"),    QStringLiteral("\""),
                                       QStringLiteral("%"),      QStringLiteral("_"),
                                       QStringLiteral("/*"),     QStringLiteral(" "),
                                       QStringLiteral("\t\r\n"), QStringLiteral("가"),
                                       QStringLiteral("힣한글"), QStringLiteral("😀"),
                                       QStringLiteral("a"),      QStringLiteral("Z"),
                                       QStringLiteral("0"),      QStringLiteral("-1"),
                                       QStringLiteral("NULL"),   QStringLiteral("$1"),
                                       QStringLiteral("?")};
    const int length = random.bounded(4) == 0 ? random.bounded(400, 2000) : random.bounded(1, 8);
    QString text;
    while (text.size() < length)
        text += pieces.at(random.bounded(int(pieces.size())));
    return text;
}

double randomReal(QRandomGenerator &random)
{
    switch (random.bounded(6)) {
    case 4:
        // The far ends of the range, where text-to-number conversions round.
        return (random.bounded(2) ? 1 : -1)
               * std::ldexp(1.0 + random.generateDouble(),
                            random.bounded(2) ? random.bounded(-1074, -950)
                                              : random.bounded(950, 1023));
    case 0:
        return double(random.bounded(-1000, 1000)) / 10.0; // 0.1, -2.3 …
    case 1:
        return double(random.bounded(-1000000, 1000000)) / 1000.0;
    case 2:
        return (random.bounded(2) ? 1 : -1)
               * std::ldexp(random.generateDouble(), random.bounded(-60, 60));
    default: {
        // Any finite double, from its bits.
        for (;;) {
            const quint64 bits = random.generate64();
            double d;
            std::memcpy(&d, &bits, sizeof d);
            if (std::isfinite(d))
                return d;
        }
    }
    }
}

QVariant randomValue(QRandomGenerator &random, Kind kind)
{
    if (random.bounded(12) == 0) {
        // NULL of the type.
        switch (kind) {
        case Kind::Integer:
            return QVariant(QMetaType(QMetaType::LongLong));
        case Kind::Real:
            return QVariant(QMetaType(QMetaType::Double));
        case Kind::Text:
            return random.bounded(2) ? QVariant(QString()) : QVariant(QStringLiteral(""));
        case Kind::DateTime:
            return random.bounded(2) ? QVariant(QDateTime())
                                     : QVariant(QMetaType(QMetaType::QDateTime));
        case Kind::Date:
            return random.bounded(2) ? QVariant(QDate()) : QVariant(QMetaType(QMetaType::QDate));
        }
    }
    switch (kind) {
    case Kind::Integer: {
        static const qint64 edges[] = {0,
                                       -1,
                                       1,
                                       -3,
                                       std::numeric_limits<qint64>::min(),
                                       std::numeric_limits<qint64>::max(),
                                       std::numeric_limits<int>::min(),
                                       std::numeric_limits<int>::max()};
        if (random.bounded(3) == 0)
            return edges[random.bounded(int(std::size(edges)))];
        if (random.bounded(2))
            return int(random.bounded(-100000, 100000));
        return qint64(random.generate64());
    }
    case Kind::Real:
        return randomReal(random);
    case Kind::Text:
        return randomText(random);
    case Kind::DateTime: {
        const QDate date(random.bounded(1900, 2100), random.bounded(1, 13), random.bounded(1, 29));
        if (random.bounded(3) == 0)
            return QDateTime(date, QTime(0, 0)); // midnight
        return QDateTime(date,
                         QTime(random.bounded(24),
                               random.bounded(60),
                               random.bounded(60),
                               random.bounded(2) ? random.bounded(1000) : 0));
    }
    case Kind::Date:
        return QDate(random.bounded(1, 10000), random.bounded(1, 13), random.bounded(1, 29));
    }
    return QVariant();
}

bool isNullValue(const QVariant &v)
{
    return v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

// The value read from a column of the kind, in the kind's own type (SQLite
// keeps dates as text).
QVariant asKind(const QVariant &v, Kind kind)
{
    if (isNullValue(v))
        return QVariant();
    switch (kind) {
    case Kind::Integer:
        return v.toLongLong();
    case Kind::Real:
        return v.toDouble();
    case Kind::Text:
        return v.toString();
    case Kind::DateTime:
        if (v.typeId() == QMetaType::QDateTime)
            return v.toDateTime();
        return QDateTime::fromString(v.toString(), Qt::ISODateWithMs);
    case Kind::Date:
        if (v.typeId() == QMetaType::QDate)
            return v.toDate();
        return QDate::fromString(v.toString(), Qt::ISODate);
    }
    return QVariant();
}

QVariant expected(const QVariant &v, Kind kind)
{
    if (isNullValue(v) || (kind == Kind::DateTime && !v.toDateTime().isValid())
        || (kind == Kind::Date && !v.toDate().isValid()))
        return QVariant();
    return asKind(v, kind);
}

QString describe(const QVariant &v)
{
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 17);
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(Qt::ISODateWithMs);
    QString text = v.toString().left(60);
    return QStringLiteral("%1 '%2'").arg(QString::fromLatin1(v.typeName()), text);
}

qint64 count(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    SqlStatement q(db, sql);
    for (int i = 0; i < values.size(); ++i)
        q.bind(QStringLiteral("P%1").arg(i), values.at(i));
    q.open();
    return q.next() ? q.value(0).toLongLong() : -1;
}

} // namespace

class tst_SqlValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomValuesArriveAsThemselves_data() { TestDatabase::addEngineRows(); }
    void randomValuesArriveAsThemselves()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        const QSqlDatabase db = tdb.db();
        const bool postgres = engine == QLatin1String("postgresql");
        SqlStatement(db,
                     QStringLiteral("CREATE TABLE KV (ID INTEGER NOT NULL PRIMARY KEY, N BIGINT, "
                                    "R DOUBLE PRECISION, M NUMERIC, T VARCHAR(4000), TS TIMESTAMP, "
                                    "D DATE)"))
                .exec();

        const quint32 seed = qEnvironmentVariableIsSet("KESA_SEED")
                                     ? quint32(qEnvironmentVariableIntValue("KESA_SEED"))
                                     : QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        const Kind kinds[] = {Kind::Integer, Kind::Real, Kind::Text, Kind::DateTime, Kind::Date};
        for (int id = 1; id <= 400; ++id) {
            const Kind kind = kinds[random.bounded(int(std::size(kinds)))];
            const QString column = QString::fromLatin1(columnOf(kind));
            const QVariant value = randomValue(random, kind);
            const QVariant want = expected(value, kind);
            const QString where = QStringLiteral("seed %1, row %2, %3 %4")
                                          .arg(seed)
                                          .arg(id)
                                          .arg(column, describe(value));

            // A neighbour row that an update cut short by a comment would change too.
            SqlStatement neighbour(db, QStringLiteral("INSERT INTO KV (ID, N) VALUES (:P0, 7)"));
            neighbour.bind(QStringLiteral("P0"), -id);
            neighbour.exec();
            {
                SqlStatement q(db,
                               QStringLiteral("INSERT INTO KV (ID, %1) VALUES (:P0, :P1)")
                                       .arg(column));
                q.bind(QStringLiteral("P0"), id);
                q.bind(QStringLiteral("P1"), value);
                QVERIFY2(q.exec() == 1, qPrintable(where));
            }
            // Stored and read back.
            {
                SqlStatement q(db, QStringLiteral("SELECT %1 FROM KV WHERE ID = :P0").arg(column));
                q.bind(QStringLiteral("P0"), id);
                q.open();
                QVERIFY(q.next());
                const QVariant got = asKind(q.value(0), kind);
                QVERIFY2(got == want,
                         qPrintable(where + QStringLiteral(" read back as ") + describe(got)));
            }
            if (!want.isValid())
                continue;
            // "= :P0" and "IN (:P0, :P1)".
            QVERIFY2(count(db,
                           QStringLiteral("SELECT COUNT(*) FROM KV WHERE %1 = :P0 AND ID = :P1")
                                   .arg(column),
                           {value, id})
                             == 1,
                     qPrintable(where));
            QVERIFY2(count(db,
                           QStringLiteral(
                                   "SELECT COUNT(*) FROM KV WHERE ID = :P2 AND %1 IN (:P0, :P1)")
                                   .arg(column),
                           {QVariant(), value, id})
                             == 1,
                     qPrintable(where));
            if (kind == Kind::Integer || kind == Kind::Real) {
                // "- :P0", "-:P0" and a WHERE after them: the update changes one row only.
                SqlStatement into(db, QStringLiteral("UPDATE KV SET M = :P0 WHERE ID = :P1"));
                into.bind(QStringLiteral("P0"), value);
                into.bind(QStringLiteral("P1"), id);
                QVERIFY2(into.exec() == 1, qPrintable(where));
                QVERIFY2(count(db,
                               QStringLiteral("SELECT COUNT(*) FROM KV WHERE M = :P0 AND ID = :P1"),
                               {value, id})
                                 == 1,
                         qPrintable(where + QStringLiteral(" (NUMERIC)")));
                for (const char *place : {"%1 - :P0", "%1 -:P0"}) {
                    SqlStatement update(db,
                                        QStringLiteral("UPDATE KV SET %1 = %2 WHERE ID = :P1")
                                                .arg(column,
                                                     QString::fromLatin1(place).arg(column)));
                    update.bind(QStringLiteral("P0"), value);
                    update.bind(QStringLiteral("P1"), id);
                    QVERIFY2(update.exec() == 1, qPrintable(where + QLatin1String(place)));
                    QVERIFY2(count(db,
                                   QStringLiteral(
                                           "SELECT COUNT(*) FROM KV WHERE %1 = 0 AND ID = :P0")
                                           .arg(column),
                                   {id})
                                     == 1,
                             qPrintable(where + QLatin1String(place)));
                    SqlStatement back(db,
                                      QStringLiteral("UPDATE KV SET %1 = :P0 WHERE ID = :P1")
                                              .arg(column));
                    back.bind(QStringLiteral("P0"), value);
                    back.bind(QStringLiteral("P1"), id);
                    QCOMPARE(back.exec(), 1);
                }
            }
            if (kind == Kind::Real && std::abs(value.toDouble()) < 1e15
                && value.toDouble() == std::trunc(value.toDouble())) {
                // A whole real fits an integer column.
                SqlStatement whole(db, QStringLiteral("UPDATE KV SET N = :P0 WHERE ID = :P1"));
                whole.bind(QStringLiteral("P0"), value);
                whole.bind(QStringLiteral("P1"), id);
                QVERIFY2(whole.exec() == 1, qPrintable(where));
                QVERIFY2(count(db,
                               QStringLiteral("SELECT COUNT(*) FROM KV WHERE N = :P0 AND ID = :P1"),
                               {value.toLongLong(), id})
                                 == 1,
                         qPrintable(where + QStringLiteral(" (whole)")));
            }
            if (kind == Kind::Text) {
                // "LIKE :P0" (PostgreSQL's LIKE takes a backslash as its escape) and "||".
                if (!postgres || !value.toString().contains(QLatin1Char('\\')))
                    QVERIFY2(count(db,
                                   QStringLiteral(
                                           "SELECT COUNT(*) FROM KV WHERE T LIKE :P0 AND ID = :P1"),
                                   {value, id})
                                     == 1,
                             qPrintable(where));
                const QString other = randomText(random);
                SqlStatement q(db, QStringLiteral("SELECT :P0 || :P1 FROM DUAL"));
                q.bind(QStringLiteral("P0"), value);
                q.bind(QStringLiteral("P1"), other);
                q.open();
                QVERIFY(q.next());
                QVERIFY2(q.value(0).toString() == value.toString() + other, qPrintable(where));
            }
        }
        // Nothing but the rows written changed.
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM KV WHERE ID < 0 AND N = 7"), {}),
                 400);
    }

    // The apply of a client data set binds its values: rows written by it read
    // back as written, and its updates and deletes find them again by every
    // original value (doubles, NUMERIC, date-times with milliseconds, text).
    void applyWritesValuesAsThemselves_data() { TestDatabase::addEngineRows(); }
    void applyWritesValuesAsThemselves()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        const QSqlDatabase db = tdb.db();
        SqlStatement(db,
                     QStringLiteral("CREATE TABLE KV (ID INTEGER NOT NULL PRIMARY KEY, N BIGINT, "
                                    "R DOUBLE PRECISION, M NUMERIC, T VARCHAR(4000), TS TIMESTAMP, "
                                    "D DATE)"))
                .exec();
        const quint32 seed = qEnvironmentVariableIsSet("KESA_SEED")
                                     ? quint32(qEnvironmentVariableIntValue("KESA_SEED"))
                                     : QRandomGenerator::global()->generate();
        try {
            applyRoundTrip(db, seed);
        } catch (const DbError &e) {
            QFAIL(qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(e.message())));
        }
    }

private:
    static void applyRoundTrip(const QSqlDatabase &db, quint32 seed)
    {
        QRandomGenerator random(seed);
        const QString sql = QStringLiteral("SELECT ID, N, R, M, T, TS, D FROM KV ORDER BY ID");
        const Kind kinds[]
                = {Kind::Integer, Kind::Real, Kind::Real, Kind::Text, Kind::DateTime, Kind::Date};
        const char *names[] = {"N", "R", "M", "T", "TS", "D"};
        QList<QVariantList> rows;
        ClientDataSet data;
        data.setDatabase(db);
        data.setSql(sql);
        data.open();
        for (int id = 1; id <= 60; ++id) {
            QVariantList row;
            data.append();
            data.setValue(QStringLiteral("ID"), id);
            for (int c = 0; c < 6; ++c) {
                row << randomValue(random, kinds[c]);
                // A number typed as text would be converted; set the value itself.
                if (!isNullValue(row.last()))
                    data.setValue(QString::fromLatin1(names[c]), row.last());
            }
            data.post();
            rows << row;
        }
        data.applyUpdates();

        const auto check = [&] {
            SqlStatement q(db, sql);
            q.open();
            for (const QVariantList &row : std::as_const(rows)) {
                QVERIFY(q.next());
                for (int c = 0; c < 6; ++c) {
                    const QVariant got = asKind(q.value(c + 1), kinds[c]);
                    QVERIFY2(got == expected(row.at(c), kinds[c]),
                             qPrintable(QStringLiteral("seed %1, row %2, %3: %4 read back as %5")
                                                .arg(seed)
                                                .arg(q.value(0).toInt())
                                                .arg(QString::fromLatin1(names[c]),
                                                     describe(row.at(c)),
                                                     describe(got))));
                }
            }
        };
        check();
        if (QTest::currentTestFailed())
            return;

        data.open();
        for (int row = 0; row < data.recordCount(); ++row) {
            data.moveTo(row);
            data.edit();
            data.setValue(QStringLiteral("T"), QStringLiteral("'; --%1").arg(row));
            data.post();
            rows[row][3] = QStringLiteral("'; --%1").arg(row);
        }
        data.applyUpdates(); // every row found by its original values
        check();
        data.open();
        while (!data.isEmpty())
            data.deleteRecord();
        data.applyUpdates();
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM KV"), {}), 0);
    }

private Q_SLOTS:
    // What cannot arrive as itself is refused, with a message that says why.
    void unwritableValuesAreRefused_data()
    {
        TestDatabase::addEngineColumn();
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("message");
        const auto add = [](const char *tag, const QVariant &value, const char *message) {
            for (auto *r : TestDatabase::newRows(QString::fromLatin1(tag)))
                *r << value << QString::fromUtf8(message);
        };
        add("nul", QVariant(QStringLiteral("a") + QChar(0) + QStringLiteral("b")), "NUL");
        add("lone high surrogate", QVariant(QStringLiteral("N") + QChar(0xD83D)), "서로게이트");
        add("lone low surrogate", QVariant(QChar(0xDE00) + QStringLiteral("'")), "서로게이트");
        add("nan", QVariant(std::nan("")), "유한하지");
        add("infinity", QVariant(-std::numeric_limits<double>::infinity()), "유한하지");
        add("huge unsigned", QVariant(std::numeric_limits<quint64>::max()), "범위");
        add("year 10000", QVariant(QDate(10000, 1, 1)), "범위");
    }
    void unwritableValuesAreRefused()
    {
        QFETCH(QString, engine);
        QFETCH(QVariant, value);
        QFETCH(QString, message);
        KESA_TEST_DATABASE(tdb, engine);
        SqlStatement(tdb.db(), QStringLiteral("CREATE TABLE KV (ID INTEGER, T VARCHAR(10))")).exec();
        SqlStatement(tdb.db(), QStringLiteral("INSERT INTO KV (ID, T) VALUES (1, 'N')")).exec();
        // The statement of the fault: a value other than the one given must never be written.
        SqlStatement q(tdb.db(), QStringLiteral("UPDATE KV SET T = :P0 WHERE ID = 1 "));
        q.bind(QStringLiteral("P0"), value);
        try {
            q.exec();
            QFAIL("the value was written");
        } catch (const DbError &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
        SqlStatement check(tdb.db(), QStringLiteral("SELECT T FROM KV"));
        check.open();
        QVERIFY(check.next());
        QCOMPARE(check.value(0).toString(), QStringLiteral("N"));

        // A statement text that is not valid UTF-16 is refused the same way.
        SqlStatement broken(tdb.db(),
                            QStringLiteral("UPDATE KV SET T = '") + QChar(0xD800)
                                    + QStringLiteral("' WHERE ID = 1"));
        QVERIFY_THROWS_EXCEPTION(DbError, broken.exec());
    }
};

QTEST_GUILESS_MAIN(tst_SqlValues)
#include "tst_sqlvalues.moc"
