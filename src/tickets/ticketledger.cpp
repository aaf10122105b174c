#include "ticketledger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

TicketLedger::TicketLedger()
    : m_path(defaultPath())
{}

TicketLedger::TicketLedger(const QString &path)
    : m_path(path)
{}

QString TicketLedger::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
           + QStringLiteral("/ticket-ledger.csv");
}

QString TicketLedger::stateName(State state)
{
    switch (state) {
    case State::Sent:
        return QStringLiteral("sent");
    case State::Confirmed:
        return QStringLiteral("confirmed");
    case State::Failed:
        return QStringLiteral("failed");
    }
    return QString();
}

QString TicketLedger::csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QStringList TicketLedger::csvFields(const QString &line)
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

bool TicketLedger::append(const QString &user,
                          const QString &layoutPath,
                          const QString &port,
                          const QString &number,
                          State state,
                          const QString &statusText,
                          const QDateTime &time) const
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    QString text = statusText;
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    const QStringList fields
            = {time.toString(Qt::ISODate), user, layoutPath, port, number, stateName(state), text};
    QStringList cells;
    for (const QString &f : fields)
        cells.append(csvField(f));
    const QByteArray line = cells.join(QLatin1Char(',')).toUtf8() + '\n';
    // One write and a flush per line: a crash loses at most the line being written.
    const bool ok = file.write(line) == line.size() && file.flush();
    file.close();
    return ok;
}

qint64 TicketLedger::lastConfirmed(const QString &layoutPath) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QString confirmed = stateName(State::Confirmed);
    const QString layout = QFileInfo(layoutPath).absoluteFilePath();
    qint64 last = 0;
    while (!file.atEnd()) {
        const QStringList f = csvFields(QString::fromUtf8(file.readLine()).trimmed());
        if (f.size() < 6 || f.at(5) != confirmed || QFileInfo(f.at(2)).absoluteFilePath() != layout)
            continue;
        bool ok = false;
        const qint64 n = f.at(4).toLongLong(&ok);
        if (ok && n > last)
            last = n;
    }
    return last;
}
