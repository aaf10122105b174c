#include "dberror.h"

#include <QSqlDriver>
#include <QSqlError>

DbError::DbError(const QString &message, const QString &code)
    : std::runtime_error(message.toStdString())
    , m_message(message)
    , m_code(code)
{}

DbError DbError::fromSqlError(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    // libpq prefixes the severity; the code below says what kind of error it is.
    for (const char *prefix : {"ERROR:", "FATAL:"}) {
        if (text.startsWith(QLatin1String(prefix)))
            text = text.mid(int(qstrlen(prefix))).trimmed();
    }
    const QString code = error.nativeErrorCode();
    // Qt's PostgreSQL driver appends "(code)" even when the server sent none (a
    // lost connection): an empty code says nothing.
    if (code.isEmpty() && text.endsWith(QLatin1String("()")))
        text = text.chopped(2).trimmed();
    // Qt's PostgreSQL driver already appends the code to the text.
    if (code.isEmpty() || text.endsWith(QStringLiteral("(%1)").arg(code)))
        return DbError(text, code);
    return DbError(QStringLiteral("%1 (%2)").arg(text, code), code);
}
