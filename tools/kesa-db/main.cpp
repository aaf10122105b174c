// kesa-db: creates, upgrades and fills the suite's database and shows the menu
// bar an employee gets, for administrators.

#include "db/authority.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/demodata.h"
#include "db/hardening.h"
#include "db/lunarholidays.h"
#include "db/numberledger.h"
#include "db/rightscopy.h"
#include "db/rightslog.h"
#include "db/schema.h"
#include "db/sqlstatement.h"
#include "platform/localip.h"
#include "platform/secretinput.h"
#include "rightsreport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <optional>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// The user the server logged us in as (PGUSER, the service file, the login name).
QString sessionUser(const QSqlDatabase &db)
{
    if (engineOf(db) != DbEngine::PostgreSQL)
        return QString();
    SqlStatement query(db, QStringLiteral("SELECT CURRENT_USER FROM DUAL"));
    query.open();
    return query.next() ? query.value(0).toString() : QString();
}

// A verb that writes, on a hardened database, by a session that is not the
// owner's: the employee of --by proves himself with his password (one line of
// standard input, never the command line) on this connection before anything
// is written. 0 when the write may go on, else the exit status; the message
// is written.
int proveWriter(const QSqlDatabase &db, const QString &by)
{
    if (!Hardening::isHardened(db) || Hardening::isOwnerSession(db))
        return 0;
    if (by.trimmed().isEmpty()) {
        err() << "보안이 설정된 데이터베이스입니다. 소유자 역할로 실행하거나, --by 사원번호를 "
                 "주고 그 사원의 비밀번호를 표준 입력으로 주십시오.\n";
        return 2;
    }
    const std::optional<QString> password = readSecretLine("Password: ");
    // An empty line is not a try: the server is not asked.
    if (!password || password->isEmpty()) {
        err() << "사원 " << by << "의 비밀번호가 표준 입력에 없습니다. 아무것도 쓰지 않았습니다.\n";
        return 1;
    }
    switch (Hardening::verify(db, by, *password)) {
    case Hardening::Verdict::Verified:
        return 0;
    case Hardening::Verdict::Locked:
        err() << "사원 " << by
              << "은(는) 비밀번호를 여러 번 잘못 입력하여 잠겨 있습니다. 잠시 후 다시 "
                 "시도하십시오. 아무것도 쓰지 않았습니다.\n";
        return 1;
    case Hardening::Verdict::Refused:
        break;
    }
    err() << "사원 " << by
          << "의 본인 확인에 실패했습니다 (사원번호 또는 비밀번호가 맞지 않거나 사용하지 않는 "
             "사원). 아무것도 쓰지 않았습니다.\n";
    return 1;
}

// The lunar holidays of a year, one line each: date, name, and the holiday a
// day already holds (such a day is left alone by --write).
int holidays(const QSqlDatabase &db, int year, bool write, const QString &user)
{
    const QHash<QString, QString> stored = LunarHolidays::storedHolidays(db, year);
    QList<LunarHolidays::Holiday> written;
    if (write)
        written = LunarHolidays::write(db, year, user, localIPv4Address());
    for (const LunarHolidays::Holiday &holiday : LunarHolidays::ofYear(year)) {
        const QString date = holiday.date.toString(QStringLiteral("yyyyMMdd"));
        out() << date << '\t' << holiday.name;
        if (stored.contains(date))
            out() << "\t(등록됨: " << stored.value(date) << ')';
        out() << '\n';
    }
    if (write)
        out() << written.size() << "일을 연도별 휴일(Z0013)로 저장했습니다.\n";
    return 0;
}

struct Options
{
    QString user;
    QString password;
    bool write = false;
    QString by;
    QString since;
    QString emp;
    bool allProjects = false;
    QDate from;
    QDate to;
    QString appRole;
    QString owner;
};

bool projectExists(const QSqlDatabase &db, const QString &projectId)
{
    SqlStatement query(db, QStringLiteral("SELECT 1 FROM ZA020MS WHERE PROJECT_ID = :P0"));
    query.bind(QStringLiteral("P0"), projectId);
    query.open();
    return query.next();
}

bool userExists(const QSqlDatabase &db, const QString &empNo)
{
    SqlStatement query(db, QStringLiteral("SELECT 1 FROM ZA010MS WHERE EMP_NO = :P0"));
    query.bind(QStringLiteral("P0"), empNo);
    query.open();
    return query.next();
}

// The ledger of numbered tickets and coupons, one number a line, for
// reconciling the numbers with the sales.
int ledger(const QSqlDatabase &db, const QString &layout, const Options &options)
{
    out() << "PROGRAM_ID\tLAYOUT_NAME\tSEQ_NO\tSTATE\tEMP_NO\tU_IP\tU_DATE\n";
    for (const NumberLedger::Row &row : NumberLedger::rows(db, layout, options.from, options.to))
        out() << row.programId << '\t' << row.layout << '\t' << row.number << '\t'
              << NumberLedger::stateName(row.state) << '\t' << row.empNo << '\t' << row.address
              << '\t' << row.time << '\n';
    return 0;
}

int run(const QStringList &args, const Options &options)
{
    const QString &user = options.user;
    const QString &password = options.password;
    const QString command = args.value(0);
    const QString alias = args.value(1);
    const bool create = command == QLatin1String("init") || command == QLatin1String("demo");
    QSqlDatabase db = Database::connect(alias,
                                        user,
                                        password,
                                        Database::defaultConnectionName(),
                                        create);
    if (create) {
        Schema::install(db);
        if (command == QLatin1String("demo")) {
            if (DemoData::hasUsers(db)) {
                err() << "사용자가 이미 등록된 데이터베이스입니다. 데모 자료를 넣지 않습니다.\n";
                return 1;
            }
            DemoData::load(db, user.isEmpty() ? sessionUser(db) : user);
            out() << "데모 자료를 넣었습니다.\n";
        } else {
            out() << "스키마 버전 " << Schema::installedVersion(db) << "\n";
        }
        return 0;
    }
    if (command == QLatin1String("harden")) {
        Hardening::apply(db, {options.owner, options.appRole});
        out() << "보안 설정을 마쳤습니다: 업무용 역할 " << options.appRole << ".\n";
        return 0;
    }
    if (command == QLatin1String("holidays")) {
        if (options.write) {
            if (const int refused = proveWriter(db, options.by))
                return refused;
            RightsLog::setWriter(db, options.by, localIPv4Address());
        }
        return holidays(db, args.value(2).toInt(), options.write, options.by);
    }
    const bool namesProject = command == QLatin1String("explain")
                              || (command == QLatin1String("copy-rights") && !options.allProjects);
    if (namesProject
        && !projectExists(db, args.value(command == QLatin1String("explain") ? 2 : 4))) {
        err() << "등록되지 않은 프로젝트입니다: "
              << args.value(command == QLatin1String("explain") ? 2 : 4) << '\n';
        return 2;
    }
    if (command == QLatin1String("explain")) {
        // An employee missing from ZA010MS may still hold rows that give him a
        // menu bar: the report shows them, and the exit status says he is unknown.
        const int status = RightsReport::explain(db,
                                                 args.value(2),
                                                 args.value(3),
                                                 args.value(4),
                                                 out(),
                                                 err());
        if (!userExists(db, args.value(3))) {
            err() << "등록되지 않은 사용자입니다: " << args.value(3) << '\n';
            return 1;
        }
        return status;
    }
    if (command == QLatin1String("diff-rights"))
        return RightsReport::diff(db, args.value(2), args.value(3), args.value(4), out());
    if (command == QLatin1String("rights-log"))
        return RightsReport::log(db, options.since, options.emp, out());
    if (command == QLatin1String("ledger"))
        return ledger(db, args.value(2), options);
    if (command == QLatin1String("copy-rights")) {
        if (const int refused = proveWriter(db, options.by))
            return refused;
        QString writer = !options.by.isEmpty() ? options.by
                                               : (user.isEmpty() ? sessionUser(db) : user);
        if (writer.isEmpty())
            writer = qEnvironmentVariable("USER");
        RightsLog::setWriter(db, writer.left(8), localIPv4Address());
        const RightsCopy::Counts counts = RightsCopy::copy(db,
                                                           args.value(2),
                                                           args.value(3),
                                                           options.allProjects ? QString()
                                                                               : args.value(4),
                                                           writer.left(8),
                                                           localIPv4Address());
        out() << args.value(2) << " → " << args.value(3) << ": 레벨 " << counts.levels
              << "건, 사용자별 추가/제외 " << counts.overrides << "건을 복사했습니다.\n";
        return 0;
    }
    for (const Authority::MenuPrograms &entry :
         Authority::menuBar(db, args.value(2), args.value(3))) {
        out() << entry.menu.menuId << '\t' << entry.menu.menuName << '\n';
        for (const Authority::ProgramRow &program : entry.programs)
            out() << '\t' << program.programId << '\t' << program.programName << '\n';
    }
    return 0;
}

// Four digits, 1990 to 2100: the years the calendar screens take.
bool isYear(const QString &text)
{
    static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
    return fourDigits.match(text).hasMatch() && text.toInt() >= 1990 && text.toInt() <= 2100;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kesa-db"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
            "The suite's database for administrators.\n"
            "  init ALIAS                      create or upgrade the schema and routines\n"
            "  demo ALIAS                      init, then load the demo data (empty databases "
            "only)\n"
            "  menu ALIAS PROJECT_ID EMP_NO    print the menu bar of an employee\n"
            "  holidays ALIAS YEAR [--write --by EMP_NO]\n"
            "                                  print the lunar holidays of a year (1990-2100);\n"
            "                                  --write stores the free days as one-year holidays,\n"
            "                                  written by the employee EMP_NO\n"
            "  explain ALIAS PROJECT_ID EMP_NO [PROGRAM_ID]\n"
            "                                  why each program is or is not on the menu bar\n"
            "  copy-rights ALIAS FROM_EMP TO_EMP PROJECT_ID|--all-projects [--by EMP_NO]\n"
            "                                  give TO_EMP the levels and overrides of FROM_EMP\n"
            "  diff-rights ALIAS EMP1 EMP2 [PROJECT_ID]\n"
            "                                  programs one has on the menu bar and the other not\n"
            "  rights-log ALIAS [--since YYYY-MM-DD] [--emp EMP_NO]\n"
            "                                  the log of every change of rights\n"
            "  harden ALIAS --app-role ROLE [--owner ROLE]\n"
            "                                  PostgreSQL: the owner role (default: the user\n"
            "                                  running this) owns the schema; the workstations'\n"
            "                                  role ROLE only reads and writes rows, and the "
            "server\n"
            "                                  checks the rights of every change of authority\n"
            "  ledger ALIAS [LAYOUT] [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
            "                                  the numbers ticket and coupon runs issued, "
            "tab-separated\n"
            "ALIAS: an SQLite file (.db, .sqlite, sqlite:PATH), a PostgreSQL service name or a\n"
            "postgresql:// URI. User and password default to PGUSER and PGPASSWORD.\n"
            "On a hardened database copy-rights and holidays --write run as the owner role,\n"
            "or with --by EMP_NO and that employee's password as one line of standard input."));
    parser.addHelpOption();
    const QCommandLineOption userOption({QStringLiteral("u"), QStringLiteral("user")},
                                        QStringLiteral("Database user."),
                                        QStringLiteral("user"));
    const QCommandLineOption passwordOption({QStringLiteral("p"), QStringLiteral("password")},
                                            QStringLiteral("Database password."),
                                            QStringLiteral("password"));
    parser.addOption(userOption);
    parser.addOption(passwordOption);
    const QCommandLineOption writeOption(QStringLiteral("write"),
                                         QStringLiteral("holidays: store them (Z0013)."));
    parser.addOption(writeOption);
    const QCommandLineOption byOption(QStringLiteral("by"),
                                      QStringLiteral("copy-rights, holidays --write: the writer's "
                                                     "employee number (copy-rights: default the "
                                                     "database user). On a hardened database, "
                                                     "unless run as its owner, his password is "
                                                     "read from standard input."),
                                      QStringLiteral("emp"));
    const QCommandLineOption allProjectsOption(QStringLiteral("all-projects"),
                                               QStringLiteral("copy-rights: in every project."));
    parser.addOption(allProjectsOption);
    const QCommandLineOption sinceOption(QStringLiteral("since"),
                                         QStringLiteral("rights-log: from this day on."),
                                         QStringLiteral("date"));
    const QCommandLineOption empOption(QStringLiteral("emp"),
                                       QStringLiteral("rights-log: changes of this employee."),
                                       QStringLiteral("emp"));
    const QCommandLineOption fromOption(QStringLiteral("from"),
                                        QStringLiteral("ledger: from this day on."),
                                        QStringLiteral("date"));
    const QCommandLineOption toOption(QStringLiteral("to"),
                                      QStringLiteral("ledger: up to this day."),
                                      QStringLiteral("date"));
    const QCommandLineOption appRoleOption(QStringLiteral("app-role"),
                                           QStringLiteral("harden: the workstations' shared "
                                                          "database role."),
                                           QStringLiteral("role"));
    const QCommandLineOption ownerOption(QStringLiteral("owner"),
                                         QStringLiteral("harden: the role that owns the schema."),
                                         QStringLiteral("role"));
    parser.addOptions(
            {byOption, sinceOption, empOption, fromOption, toOption, appRoleOption, ownerOption});
    parser.addPositionalArgument(
            QStringLiteral("command"),
            QStringLiteral("init, demo, menu, harden, holidays, explain, copy-rights, "
                           "diff-rights, rights-log or ledger"));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    const bool valid
            = ((command == QLatin1String("init") || command == QLatin1String("demo"))
               && args.size() == 2)
              || (command == QLatin1String("menu") && args.size() == 4)
              || (command == QLatin1String("harden") && args.size() == 2
                  && !parser.value(appRoleOption).trimmed().isEmpty())
              || (command == QLatin1String("holidays") && args.size() == 3 && isYear(args.value(2)))
              || ((command == QLatin1String("explain") || command == QLatin1String("diff-rights"))
                  && (args.size() == 4 || args.size() == 5))
              // One project by name, or all of them asked for by name: an empty
              // project (an unset shell variable) must not mean "every project".
              || (command == QLatin1String("copy-rights")
                  && (parser.isSet(allProjectsOption) ? args.size() == 4 : args.size() == 5))
              || (command == QLatin1String("rights-log") && args.size() == 2
                  && (!parser.isSet(sinceOption)
                      || QDate::fromString(parser.value(sinceOption), Qt::ISODate).isValid()))
              || (command == QLatin1String("ledger") && (args.size() == 2 || args.size() == 3)
                  && (!parser.isSet(fromOption)
                      || QDate::fromString(parser.value(fromOption), Qt::ISODate).isValid())
                  && (!parser.isSet(toOption)
                      || QDate::fromString(parser.value(toOption), Qt::ISODate).isValid()));
    if (!valid) {
        err() << parser.helpText();
        return 2;
    }
    // Names that cannot be a project, an employee or a writer.
    const auto refuse = [](const QString &message) {
        err() << message << '\n';
        return 2;
    };
    if ((command == QLatin1String("explain") || command == QLatin1String("diff-rights")
         || command == QLatin1String("copy-rights"))
        && std::any_of(args.cbegin() + 2, args.cend(), [](const QString &a) {
               return a.trimmed().isEmpty();
           }))
        return refuse(QStringLiteral("프로젝트와 사원번호는 비워 둘 수 없습니다."));
    if (command == QLatin1String("holidays") && parser.isSet(writeOption)) {
        const QString by = parser.value(byOption);
        if (by.trimmed().isEmpty() || by.size() > 8)
            return refuse(QStringLiteral("--write에는 쓰는 사람의 사원번호(--by, 8자 이내)가 "
                                         "필요합니다."));
    }
    try {
        return run(args,
                   {parser.value(userOption),
                    parser.value(passwordOption),
                    parser.isSet(writeOption),
                    parser.value(byOption),
                    parser.value(sinceOption),
                    parser.value(empOption),
                    parser.isSet(allProjectsOption),
                    QDate::fromString(parser.value(fromOption), Qt::ISODate),
                    QDate::fromString(parser.value(toOption), Qt::ISODate),
                    parser.value(appRoleOption),
                    parser.value(ownerOption)});
    } catch (const DbError &error) {
        err() << error.message() << '\n';
        return 1;
    }
}
