#include "runnumbers.h"

RunNumbers::RunNumbers(const NumberLedger &ledger, qint64 first, qint64 last)
    : m_ledger(ledger)
    , m_first(first)
    , m_last(last)
{}

NumberLedger::Issued RunNumbers::readIssued()
{
    const QList<qint64> numbers = m_ledger.issuedNumbers(m_first, m_last);
    m_issued = QSet<qint64>(numbers.cbegin(), numbers.cend());
    return {numbers.isEmpty() ? 0 : numbers.first(), numbers.size()};
}

bool RunNumbers::claim(qint64 number)
{
    m_pendingReprint = false;
    if (m_ledger.claim(number, false))
        return true;
    if (!m_reprintable.contains(number))
        return false;
    m_pendingReprint = true;
    return m_ledger.claim(number, true);
}

void RunNumbers::sent(qint64 number)
{
    m_pending = number;
    m_lastSent = number;
}

void RunNumbers::notSent(qint64 number)
{
    m_ledger.record(number, NumberLedger::State::Failed);
}

void RunNumbers::confirm()
{
    if (m_pending == 0)
        return;
    const qint64 number = m_pending;
    m_pending = 0;
    m_lastConfirmed = number;
    m_ledger.record(number,
                    m_pendingReprint ? NumberLedger::State::Reprinted
                                     : NumberLedger::State::Confirmed);
}

void RunNumbers::leaveUnconfirmed()
{
    if (m_pending == 0)
        return;
    const qint64 number = m_pending;
    m_pending = 0;
    m_unconfirmed.append(number);
    m_ledger.record(number, NumberLedger::State::Unconfirmed);
}
