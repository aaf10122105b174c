#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

/// The ledger of numbered tickets and coupons (table ZX090LG): one row for
/// every number of a layout that a printing screen sent, on any workstation.
/// A number is claimed by inserting its row before it is sent, so two desks
/// printing the same layout never both print it; each write is a statement
/// of its own that commits at once. Every function throws DbError.
class NumberLedger
{
public:
    enum class State { Sent, Confirmed, Unconfirmed, Failed, Reprinted };

    struct Row
    {
        QString programId;
        QString layout;
        qint64 number = 0;
        State state = State::Sent;
        QString empNo;
        QString address;
        QString time; ///< "yyyy-MM-dd HH:mm:ss"
    };

    /// Numbers of a range that were issued before (any state but failed):
    /// the first of them and how many.
    struct Issued
    {
        qint64 first = 0;
        qint64 count = 0;
    };

    /// The ledger of one layout of one screen ("ZXS095", "ZXS090"), written
    /// in the name of an employee at a workstation address.
    NumberLedger(const QSqlDatabase &db,
                 const QString &programId,
                 const QString &layout,
                 const QString &empNo,
                 const QString &address);

    /// The name a layout file goes by in the ledger: its file name, the same
    /// on every workstation; a design never saved is " ".
    static QString layoutName(const QString &path);

    QString layout() const { return m_layout; }

    /// The highest number ever sent for the layout; 0 when none.
    qint64 highest() const;
    /// The numbers of first … last already issued, in order.
    QList<qint64> issuedNumbers(qint64 first, qint64 last) const;
    /// Takes a number before it is sent: true when this desk may send it.
    /// A number nobody holds, or one whose sending failed, is taken as sent;
    /// with `reprint` any number is taken, as reprinted. False when another
    /// desk holds it.
    bool claim(qint64 number, bool reprint);
    /// What became of a number this desk claimed.
    void record(qint64 number, State state);

    static QString stateName(State state);
    /// The ledger's rows (every layout when `layout` is empty), by program,
    /// layout and number; the dates bound the day of the row's time.
    static QList<Row> rows(const QSqlDatabase &db,
                           const QString &layout = QString(),
                           const QDate &from = QDate(),
                           const QDate &to = QDate());

    /// Reads the CSV ledger the ticket screen kept on each workstation into
    /// the table, when the table is empty (once: later calls find it filled).
    /// Each number takes its last line's state; a ticket that was sent and
    /// not confirmed is unconfirmed. Returns the rows added.
    static int importCsv(const QSqlDatabase &db, const QString &path);
    /// The fields of one CSV line.
    static QStringList csvFields(const QString &line);

private:
    QSqlDatabase m_db;
    QString m_programId;
    QString m_layout;
    QString m_empNo;
    QString m_address;
};
