#include "ZZD000.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/passwordcipher.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/hardening.h"
#include "db/sqlstatement.h"
#include "db/storedprocedure.h"
#include "platform/inifile.h"
#include "platform/programdir.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace {

TfrmZZD000 *theDataModule = nullptr;

QString connectionName()
{
    return Database::defaultConnectionName();
}

} // namespace

TfrmZZD000::TfrmZZD000(const QStringList &launchParameters,
                       std::function<void()> beforeConnect,
                       QObject *parent)
    : QObject(parent)
    , m_beforeConnect(std::move(beforeConnect))
{
    setObjectName(QStringLiteral("frmZZD000"));
    theDataModule = this;
    DataModuleCreate(launchParameters);
}

TfrmZZD000::~TfrmZZD000()
{
    DataModuleDestroy();
    if (theDataModule == this)
        theDataModule = nullptr;
}

TfrmZZD000 *TfrmZZD000::instance()
{
    return theDataModule;
}

void TfrmZZD000::DataModuleCreate(const QStringList &launchParameters)
{
    LoginValues &values = login();
    values.programDir = withTrailingSeparator(programDirectory());
    values.empNo = launchParameters.value(2);
    values.empName = launchParameters.value(3);

    if (launchParameters.size() != 4) {
        ShowErrorMessage(QStringLiteral("이 프로그램은 단독으로 실행되지 않습니다.\r"
                                        "메인 프로그램(Kesa.exe)으로 실행하십시오."));
        m_terminateRequested = true;
        // The loop is not running yet: the request takes effect once it starts.
        if (QCoreApplication::instance())
            QMetaObject::invokeMethod(QCoreApplication::instance(),
                                      &QCoreApplication::quit,
                                      Qt::QueuedConnection);
        createComponents();
        return;
    }

    values.dbUser = launchParameters.at(1);
    try {
        dbsDB = Database::configure(launchParameters.at(0),
                                    values.dbUser,
                                    ReadConnectionPassword(),
                                    connectionName());
    } catch (const DbError &error) {
        // An alias that names nothing: reported like any other failed connection.
        showConnectionError(error);
        createComponents();
        return;
    }
    createComponents();
    ConnectDatabase();
}

void TfrmZZD000::createComponents()
{
    m_query = std::make_unique<SqlStatement>(dbsDB);
    m_query2 = std::make_unique<SqlStatement>(dbsDB);
    m_proc = std::make_unique<StoredProcedure>(dbsDB);
    qryQuery = m_query.get();
    qryQuery2 = m_query2.get();
    prcProc = m_proc.get();
}

void TfrmZZD000::DataModuleDestroy()
{
    qryQuery = nullptr;
    qryQuery2 = nullptr;
    prcProc = nullptr;
    m_query.reset();
    m_query2.reset();
    m_proc.reset();
    DisconnectDatabase();
    const QString name = dbsDB.connectionName();
    dbsDB = QSqlDatabase();
    if (!name.isEmpty())
        Database::remove(name);
}

QString TfrmZZD000::ReadConnectionPassword() const
{
    return ReadConnectionPassword(login().programDir, login().dbUser);
}

QString TfrmZZD000::ReadConnectionPassword(const QString &programDir, const QString &dbUser)
{
    const IniFile ini(withTrailingSeparator(programDir) + QStringLiteral("ZEDavoro.ini"));
    const QString stored = ini.readString(QStringLiteral("PROGRAM"), QStringLiteral("PASS"));
    if (stored.isEmpty())
        return dbUser;
    // A damaged value cannot be the password; the user name is the fallback.
    return DecryptPassword(stored, PasswordStartKey).value_or(dbUser);
}

bool TfrmZZD000::ConnectDatabase()
{
    if (dbsDB.isOpen())
        return true;
    if (m_beforeConnect)
        m_beforeConnect();
    try {
        Database::open(dbsDB);
        // Every change of rights this program makes is logged as the login
        // employee's; the address comes from the written rows. The same
        // statement tells whether the server wants the employee proven.
        m_hardened = Hardening::declareWriter(dbsDB, login().empNo, QString());
        return true;
    } catch (const DbError &error) {
        // Without the answer nobody may go on: the connection closes.
        DisconnectDatabase();
        showConnectionError(error);
        return false;
    }
}

void TfrmZZD000::showConnectionError(const DbError &error)
{
    // Database::open() alone decides what a refusal for too many sessions is.
    if (Database::isTooManySessions(error))
        ShowErrorMessage(
                QStringLiteral("현재 너무 많은 사용자가 사용 중이므로 연결할 수 없습니다.\r"
                               "잠시 후 다시 시도하십시오."));
    else
        ShowErrorMessage(QStringLiteral("데이터베이스와 연결할 수 없습니다.\r\r에러내용:\r")
                         + error.message());
}

void TfrmZZD000::DisconnectDatabase()
{
    if (dbsDB.isOpen())
        dbsDB.close();
}
