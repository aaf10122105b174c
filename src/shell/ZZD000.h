#pragma once

#include <functional>
#include <memory>
#include <QObject>
#include <QSqlDatabase>
#include <QStringList>

class DbError;
class SqlStatement;
class StoredProcedure;

/// The data module: the login values, the launch contract and the one database
/// connection `dbsDB` of the process with the shared statement objects.
/// Created once at start-up (after the application object), freed at the end.
class TfrmZZD000 : public QObject
{
    Q_OBJECT

public:
    /// Runs the creation handler with the launch parameters (the command line
    /// without the program): database alias, database user, employee number,
    /// employee name.
    /// `beforeConnect` runs right before the connection is opened (the splash
    /// says what start-up waits for).
    explicit TfrmZZD000(const QStringList &launchParameters,
                        std::function<void()> beforeConnect = {},
                        QObject *parent = nullptr);
    ~TfrmZZD000() override;

    /// The data module of the process, or nullptr before creation / after destruction.
    static TfrmZZD000 *instance();

    /// True when the launch contract failed and the application was asked to end.
    bool terminateRequested() const { return m_terminateRequested; }
    bool isConnected() const { return dbsDB.isOpen(); }
    /// True when the connected database is hardened: the server takes writes
    /// of the authority tables only from a session whose employee proved
    /// himself (Hardening::verify()).
    bool isHardened() const { return m_hardened; }

    /// The password of ZEDavoro.ini [PROGRAM] PASS in the program directory;
    /// the database user when the value is missing, empty or does not decode.
    QString ReadConnectionPassword() const;
    static QString ReadConnectionPassword(const QString &programDir, const QString &dbUser);
    /// Opens dbsDB (true when open at the end); failures are shown in an error box.
    bool ConnectDatabase();
    void DisconnectDatabase();

    QSqlDatabase dbsDB;
    SqlStatement *qryQuery = nullptr;
    SqlStatement *qryQuery2 = nullptr;
    StoredProcedure *prcProc = nullptr;

private:
    void DataModuleCreate(const QStringList &launchParameters);
    void DataModuleDestroy();
    void createComponents();
    /// The box of a failed connection: too many sessions, or the error's text.
    static void showConnectionError(const DbError &error);

    std::unique_ptr<SqlStatement> m_query;
    std::unique_ptr<SqlStatement> m_query2;
    std::unique_ptr<StoredProcedure> m_proc;
    std::function<void()> m_beforeConnect;
    bool m_terminateRequested = false;
    bool m_hardened = false;
};
