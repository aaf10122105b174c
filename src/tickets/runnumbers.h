#pragma once

#include "db/numberledger.h"

#include <QList>
#include <QSet>

/// The numbers of one print run and what the ledger knows of them, shared by
/// the ticket and the coupon screens. A number is claimed just before it is
/// sent and settled by the printer's next ready answer (confirmed) or by the
/// run's end without one (unconfirmed: printed or not, someone checks it by
/// hand). Ledger calls throw DbError; a screen stops its run on one.
class RunNumbers
{
public:
    /// The largest number the screens' number fields hold.
    static constexpr qint64 Largest = 9999999999LL;

    RunNumbers(const NumberLedger &ledger, qint64 first, qint64 last);

    NumberLedger &ledger() { return m_ledger; }
    qint64 first() const { return m_first; }
    qint64 last() const { return m_last; }

    /// Reads the numbers of the range issued before: the screen asks, and
    /// reprints them once the user has said yes. Numbers issued after this
    /// read stop the run when it comes to them.
    NumberLedger::Issued readIssued();
    void allowReprints() { m_reprintable = m_issued; }

    /// Claims the number before it is sent; false when another desk holds it.
    bool claim(qint64 number);
    /// Its bytes went to the printer: unsettled until the next answer.
    void sent(qint64 number);
    /// Nothing of it reached the printer.
    void notSent(qint64 number);
    /// The printer answered ready after the number sent last.
    void confirm();
    /// The run ends without that answer.
    void leaveUnconfirmed();

    bool anySent() const { return m_lastSent > 0; }
    qint64 lastSent() const { return m_lastSent; }
    qint64 lastConfirmed() const { return m_lastConfirmed; }
    /// Numbers sent and never confirmed, for a check by hand.
    QList<qint64> unconfirmed() const { return m_unconfirmed; }
    /// Where the next run starts: after the last number sent.
    qint64 resumeFrom() const { return m_lastSent > 0 ? m_lastSent + 1 : m_first; }

private:
    NumberLedger m_ledger;
    qint64 m_first;
    qint64 m_last;
    QSet<qint64> m_issued;
    QSet<qint64> m_reprintable;
    qint64 m_pending = 0;
    bool m_pendingReprint = false;
    qint64 m_lastSent = 0;
    qint64 m_lastConfirmed = 0;
    QList<qint64> m_unconfirmed;
};
