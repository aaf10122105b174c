#include "database.h"

#include "dberror.h"
#include "libpq.h"
#include "routines.h"
#include "sqlstatement.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

bool isSqliteAlias(const QString &alias)
{
    return alias.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive)
           || alias.endsWith(QLatin1String(".db"), Qt::CaseInsensitive)
           || alias.endsWith(QLatin1String(".sqlite"), Qt::CaseInsensitive);
}

QString sqlitePathOf(const QString &alias)
{
    if (alias.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive))
        return alias.mid(7);
    if (alias.endsWith(QLatin1String(".db"), Qt::CaseInsensitive)
        || alias.endsWith(QLatin1String(".sqlite"), Qt::CaseInsensitive))
        return alias;
    return QString();
}

bool isUri(const QString &alias)
{
    return alias.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
           || alias.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

// A value for the options Qt hands on to libpq: quoted, and without the ';'
// that Qt turns into a separator.
QString optionValue(const QString &value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    quoted.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

void configurePostgres(QSqlDatabase &db,
                       const QString &alias,
                       const QString &user,
                       const QString &password)
{
    QStringList options;
    QString uriUser;
    QString uriPassword;
    if (isUri(alias)) {
        char *error = nullptr;
        PQconninfoOption *parsed = LibPq::conninfoParse(alias.toUtf8().constData(), &error);
        if (!parsed) {
            const QString text = error ? QString::fromUtf8(error).trimmed() : QString();
            LibPq::freemem(error);
            throw DbError(QStringLiteral("데이터베이스 주소를 해석할 수 없습니다: %1 (%2)")
                                  .arg(alias, text));
        }
        for (PQconninfoOption *o = parsed; o->keyword; ++o) {
            if (!o->val)
                continue;
            const QString key = QString::fromUtf8(o->keyword);
            const QString value = QString::fromUtf8(o->val);
            if (key == QLatin1String("dbname"))
                db.setDatabaseName(value);
            else if (key == QLatin1String("user"))
                uriUser = value;
            else if (key == QLatin1String("password"))
                uriPassword = value;
            else if (value.contains(QLatin1Char(';')))
                throw DbError(QStringLiteral("데이터베이스 주소의 값에 ';'를 쓸 수 없습니다: %1")
                                      .arg(key));
            else
                options << key + QLatin1Char('=') + optionValue(value);
        }
        LibPq::conninfoFree(parsed);
    } else {
        if (alias.contains(QLatin1Char(';')))
            throw DbError(QStringLiteral("데이터베이스 이름이 올바르지 않습니다: %1").arg(alias));
        options << QStringLiteral("service=") + optionValue(alias);
    }
    if (!options.join(QLatin1Char(' ')).contains(QLatin1String("connect_timeout=")))
        options << QStringLiteral("connect_timeout=10");
    db.setUserName(user.isEmpty() ? uriUser : user);
    db.setPassword(password.isEmpty() ? uriPassword : password);
    db.setConnectOptions(options.join(QLatin1Char(';')));
}

// SQLite opens any file lazily: reading the schema tells a database from a text
// file, a directory or an unreadable file before a screen meets it. LIKE keeps
// the case of letters, as on the other engines.
void prepareSqliteSession(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"))) {
        const DbError error = DbError::fromSqlError(query.lastError());
        throw DbError(QStringLiteral("%1: %2").arg(db.databaseName(), error.message()),
                      error.code());
    }
    query.finish();
    if (!query.exec(QStringLiteral("PRAGMA case_sensitive_like = ON")))
        throw DbError::fromSqlError(query.lastError());
}

// The server's own refusal of a session because its slots are used up
// (SQLSTATE 53300). A failed connection carries no SQLSTATE in Qt, so the
// server's message decides, as libpq reports it after "FATAL:".
const QRegularExpression &tooManySessionsPattern()
{
    static const QRegularExpression pattern(
            QStringLiteral("FATAL:\\s+(sorry, too many clients already"
                           "|remaining connection slots are reserved"
                           "|too many connections for (role|database) )"));
    return pattern;
}

void preparePostgresSession(QSqlDatabase &db)
{
    // pg_catalog goes last so that our TO_CHAR (with the Korean AM/PM marker)
    // is found before the built-in one.
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT SET_CONFIG('search_path', "
                                   "CURRENT_SETTING('search_path') || ', pg_catalog', "
                                   "FALSE); SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION "
                                   "LEVEL READ COMMITTED")))
        throw DbError::fromSqlError(query.lastError());
}

} // namespace

DbEngine Database::engineOfAlias(const QString &alias)
{
    return isSqliteAlias(alias.trimmed()) ? DbEngine::SQLite : DbEngine::PostgreSQL;
}

QSqlDatabase Database::configure(const QString &alias,
                                 const QString &user,
                                 const QString &password,
                                 const QString &connectionName)
{
    const QString trimmed = alias.trimmed();
    if (trimmed.isEmpty())
        throw DbError(QStringLiteral("데이터베이스 이름이 지정되지 않았습니다."));
    remove(connectionName);
    if (engineOfAlias(trimmed) == DbEngine::SQLite) {
        const QString path = sqlitePathOf(trimmed);
        if (path.isEmpty())
            throw DbError(
                    QStringLiteral("데이터베이스 파일의 경로가 지정되지 않았습니다: %1").arg(alias));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(path);
        // Other processes (kesa-db, a second workstation program) may write at the same time.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        return db;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    try {
        configurePostgres(db, trimmed, user, password);
    } catch (...) {
        db = QSqlDatabase();
        remove(connectionName);
        throw;
    }
    return db;
}

void Database::open(QSqlDatabase &db, bool createFile)
{
    if (!db.isValid())
        throw DbError(QStringLiteral("데이터베이스 드라이버를 찾을 수 없습니다."));
    const DbEngine engine = engineOf(db);
    if (engine == DbEngine::SQLite && !createFile && !QFileInfo::exists(db.databaseName()))
        throw DbError(QStringLiteral("데이터베이스 파일이 없습니다: %1").arg(db.databaseName()),
                      QStringLiteral("14"));
    if (!db.open()) {
        const QSqlError error = db.lastError();
        const QString text = (error.databaseText().isEmpty() ? error.driverText()
                                                             : error.databaseText())
                                     .trimmed();
        if (engine == DbEngine::PostgreSQL && isTooManySessions(text))
            throw DbError(text, tooManySessionsCode());
        const DbError failure = DbError::fromSqlError(error);
        if (engine == DbEngine::SQLite)
            throw DbError(QStringLiteral("%1: %2").arg(db.databaseName(), failure.message()),
                          failure.code());
        throw failure;
    }
    try {
        if (engine == DbEngine::PostgreSQL) {
            preparePostgresSession(db);
        } else if (engine == DbEngine::SQLite) {
            prepareSqliteSession(db);
            Routines::registerSqliteFunctions(db);
        }
    } catch (...) {
        db.close();
        throw;
    }
}

QSqlDatabase Database::connect(const QString &alias,
                               const QString &user,
                               const QString &password,
                               const QString &connectionName,
                               bool createFile)
{
    QSqlDatabase db = configure(alias, user, password, connectionName);
    open(db, createFile);
    return db;
}

void Database::remove(const QString &connectionName)
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

bool Database::isTooManySessions(const QString &errorText)
{
    return tooManySessionsPattern().match(errorText).hasMatch();
}

bool Database::isTooManySessions(const DbError &error)
{
    return error.code() == tooManySessionsCode();
}

QDateTime Database::serverDateTime(const QSqlDatabase &db)
{
    SqlStatement query(db, QStringLiteral("SELECT SYSDATE FROM DUAL"));
    query.open();
    if (!query.next())
        throw DbError(QStringLiteral("서버 시각을 읽을 수 없습니다."));
    const QVariant value = query.value(0);
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    return QDateTime::fromString(value.toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
