#pragma once

#include <QDateTime>
#include <QString>

/// The ledger of numbered tickets: one CSV line for every ticket sent and for
/// what became of it (time, user, layout file, port, number, state, status
/// text), appended and flushed line by line so that it survives a crash of
/// the program in the middle of a run.
class TicketLedger
{
public:
    enum class State { Sent, Confirmed, Failed };

    /// The ledger in the user's data folder.
    TicketLedger();
    explicit TicketLedger(const QString &path);

    QString path() const { return m_path; }
    static QString defaultPath();

    /// Appends one line; false when the ledger cannot be written.
    bool append(const QString &user,
                const QString &layoutPath,
                const QString &port,
                const QString &number,
                State state,
                const QString &statusText = QString(),
                const QDateTime &time = QDateTime::currentDateTime()) const;

    /// The highest number the printer confirmed for this layout file; 0 when none.
    qint64 lastConfirmed(const QString &layoutPath) const;

    static QString stateName(State state);
    /// A CSV field, quoted when it holds a comma, a quote or a line break.
    static QString csvField(const QString &text);
    /// The fields of one CSV line.
    static QStringList csvFields(const QString &line);

private:
    QString m_path;
};
