#include "numberledger.h"

#include "dbengine.h"
#include "sqlstatement.h"
#include "transaction.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

namespace {

const QString Columns = QStringLiteral(
        "PROGRAM_ID, LAYOUT_NAME, SEQ_NO, STATE, EMP_NO, U_IP, U_DATE");

NumberLedger::State stateOf(const QString &name)
{
    using State = NumberLedger::State;
    for (State s :
         {State::Sent, State::Confirmed, State::Unconfirmed, State::Failed, State::Reprinted}) {
        if (NumberLedger::stateName(s) == name)
            return s;
    }
    return State::Unconfirmed;
}

QString timeText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return value.toString();
}

} // namespace

NumberLedger::NumberLedger(const QSqlDatabase &db,
                           const QString &programId,
                           const QString &layout,
                           const QString &empNo,
                           const QString &address)
    : m_db(db)
    , m_programId(programId)
    , m_layout(layout)
    , m_empNo(empNo)
    , m_address(address)
{}

QString NumberLedger::layoutName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    // Empty text is stored as null: the unsaved design has a name of its own.
    return name.isEmpty() ? QStringLiteral(" ") : name;
}

QString NumberLedger::stateName(State state)
{
    switch (state) {
    case State::Sent:
        return QStringLiteral("sent");
    case State::Confirmed:
        return QStringLiteral("confirmed");
    case State::Unconfirmed:
        return QStringLiteral("unconfirmed");
    case State::Failed:
        return QStringLiteral("failed");
    case State::Reprinted:
        return QStringLiteral("reprinted");
    }
    return QString();
}

qint64 NumberLedger::highest() const
{
    SqlStatement query(m_db,
                       QStringLiteral("SELECT MAX(SEQ_NO) FROM ZX090LG WHERE PROGRAM_ID = :P0 "
                                      "AND LAYOUT_NAME = :P1 AND STATE <> 'failed'"));
    query.bind(QStringLiteral("P0"), m_programId);
    query.bind(QStringLiteral("P1"), m_layout);
    query.open();
    return query.next() ? query.value(0).toLongLong() : 0;
}

QList<qint64> NumberLedger::issuedNumbers(qint64 first, qint64 last) const
{
    SqlStatement query(m_db,
                       QStringLiteral("SELECT SEQ_NO FROM ZX090LG "
                                      "WHERE PROGRAM_ID = :P0 AND LAYOUT_NAME = :P1 "
                                      "AND SEQ_NO >= :P2 AND SEQ_NO <= :P3 AND STATE <> 'failed' "
                                      "ORDER BY SEQ_NO"));
    query.bind(QStringLiteral("P0"), m_programId);
    query.bind(QStringLiteral("P1"), m_layout);
    query.bind(QStringLiteral("P2"), first);
    query.bind(QStringLiteral("P3"), last);
    query.open();
    QList<qint64> result;
    while (query.next())
        result.append(query.value(0).toLongLong());
    return result;
}

bool NumberLedger::claim(qint64 number, bool reprint)
{
    const auto bindAll = [&](SqlStatement &s, State state) {
        s.bind(QStringLiteral("P0"), m_programId);
        s.bind(QStringLiteral("P1"), m_layout);
        s.bind(QStringLiteral("P2"), number);
        s.bind(QStringLiteral("P3"), stateName(state));
        s.bind(QStringLiteral("P4"), m_empNo);
        s.bind(QStringLiteral("P5"), m_address);
    };
    // The key decides between two desks: the second insert finds the row.
    SqlStatement insert(m_db,
                        QStringLiteral("INSERT INTO ZX090LG (%1) VALUES (:P0, :P1, :P2, :P3, "
                                       ":P4, :P5, SYSDATE) ON CONFLICT (PROGRAM_ID, "
                                       "LAYOUT_NAME, SEQ_NO) DO NOTHING")
                                .arg(Columns));
    bindAll(insert, reprint ? State::Reprinted : State::Sent);
    if (insert.exec() == 1)
        return true;
    SqlStatement update(m_db,
                        QStringLiteral("UPDATE ZX090LG SET STATE = :P3, EMP_NO = :P4, U_IP = :P5, "
                                       "U_DATE = SYSDATE WHERE PROGRAM_ID = :P0 "
                                       "AND LAYOUT_NAME = :P1 AND SEQ_NO = :P2%1")
                                .arg(reprint ? QString() : QStringLiteral(" AND STATE = 'failed'")));
    bindAll(update, reprint ? State::Reprinted : State::Sent);
    return update.exec() == 1;
}

void NumberLedger::record(qint64 number, State state)
{
    SqlStatement update(m_db,
                        QStringLiteral("UPDATE ZX090LG SET STATE = :P3, U_DATE = SYSDATE "
                                       "WHERE PROGRAM_ID = :P0 AND LAYOUT_NAME = :P1 "
                                       "AND SEQ_NO = :P2"));
    update.bind(QStringLiteral("P0"), m_programId);
    update.bind(QStringLiteral("P1"), m_layout);
    update.bind(QStringLiteral("P2"), number);
    update.bind(QStringLiteral("P3"), stateName(state));
    update.exec();
}

QList<NumberLedger::Row> NumberLedger::rows(const QSqlDatabase &db,
                                            const QString &layout,
                                            const QDate &from,
                                            const QDate &to)
{
    SqlStatement query(db,
                       QStringLiteral("SELECT %1 FROM ZX090LG WHERE CAST(:P0 AS VARCHAR(255)) "
                                      "IS NULL OR LAYOUT_NAME = :P0 "
                                      "ORDER BY PROGRAM_ID, LAYOUT_NAME, SEQ_NO")
                               .arg(Columns));
    query.bind(QStringLiteral("P0"), layout);
    query.open();
    const QString first = from.isValid() ? from.toString(Qt::ISODate) : QString();
    const QString last = to.isValid() ? to.toString(Qt::ISODate) : QString();
    QList<Row> result;
    while (query.next()) {
        Row row{query.value(0).toString(),
                query.value(1).toString(),
                query.value(2).toLongLong(),
                stateOf(query.value(3).toString()),
                query.value(4).toString(),
                query.value(5).toString(),
                timeText(query.value(6))};
        const QString day = row.time.left(10);
        if ((!first.isEmpty() && day < first) || (!last.isEmpty() && day > last))
            continue;
        result.append(row);
    }
    return result;
}

QStringList NumberLedger::csvFields(const QString &line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields.append(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field);
    return fields;
}

int NumberLedger::importCsv(const QSqlDatabase &db, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    {
        SqlStatement count(db, QStringLiteral("SELECT COUNT(*) FROM ZX090LG"));
        count.open();
        if (count.next() && count.value(0).toLongLong() > 0)
            return 0;
    }
    // Line: time, employee, layout path, port, number, state, status text.
    struct Last
    {
        QString time;
        QString empNo;
        State state;
    };
    QHash<QPair<QString, qint64>, Last> last;
    QList<QPair<QString, qint64>> order;
    while (!file.atEnd()) {
        const QStringList f = csvFields(QString::fromUtf8(file.readLine()).trimmed());
        bool ok = false;
        const qint64 number = f.value(4).toLongLong(&ok);
        if (f.size() < 6 || !ok || number <= 0)
            continue;
        const QString state = f.at(5);
        // The old ledger's "failed" was a ticket sent and not confirmed.
        const State s = state == QLatin1String("confirmed") ? State::Confirmed : State::Unconfirmed;
        const QPair<QString, qint64> key(layoutName(f.at(2)), number);
        if (!last.contains(key))
            order.append(key);
        const QDateTime time = QDateTime::fromString(f.at(0), Qt::ISODate);
        last.insert(key, {time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), f.at(1).left(8), s});
    }
    const QString time = engineOf(db) == DbEngine::PostgreSQL
                                 ? QStringLiteral("CAST(:P6 AS TIMESTAMP(0))")
                                 : QStringLiteral(":P6");
    int added = 0;
    Transaction tx(db);
    for (const auto &key : std::as_const(order)) {
        const Last &row = last.value(key);
        SqlStatement insert(db,
                            QStringLiteral("INSERT INTO ZX090LG (%1) VALUES (:P0, :P1, :P2, :P3, "
                                           ":P4, :P5, %2) ON CONFLICT (PROGRAM_ID, "
                                           "LAYOUT_NAME, SEQ_NO) DO NOTHING")
                                    .arg(Columns, time));
        insert.bind(QStringLiteral("P0"), QStringLiteral("ZXS095"));
        insert.bind(QStringLiteral("P1"), key.first);
        insert.bind(QStringLiteral("P2"), key.second);
        insert.bind(QStringLiteral("P3"), stateName(row.state));
        insert.bind(QStringLiteral("P4"), row.empNo);
        insert.bind(QStringLiteral("P5"), QString());
        insert.bind(QStringLiteral("P6"), row.time);
        added += insert.exec();
    }
    tx.commit();
    return added;
}
