// kesa-db: creates, upgrades and fills the suite's database and shows the menu
// bar an employee gets, for administrators.

#include "db/authority.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/demodata.h"
#include "db/schema.h"
#include "db/sqlstatement.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

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

int run(const QStringList &args, const QString &user, const QString &password)
{
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
    const QString project = args.value(2);
    const QString empNo = args.value(3);
    for (const Authority::MenuRow &menu : Authority::menus(db, project)) {
        const QList<Authority::ProgramRow> programs = Authority::menuPrograms(db,
                                                                              project,
                                                                              menu.menuId,
                                                                              empNo);
        if (programs.isEmpty())
            continue;
        out() << menu.menuId << '\t' << menu.menuName << '\n';
        for (const Authority::ProgramRow &program : programs)
            out() << '\t' << program.programId << '\t' << program.programName << '\n';
    }
    return 0;
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
            "ALIAS: an SQLite file (.db, .sqlite, sqlite:PATH), a PostgreSQL service name or a\n"
            "postgresql:// URI. User and password default to PGUSER and PGPASSWORD."));
    parser.addHelpOption();
    const QCommandLineOption userOption({QStringLiteral("u"), QStringLiteral("user")},
                                        QStringLiteral("Database user."),
                                        QStringLiteral("user"));
    const QCommandLineOption passwordOption({QStringLiteral("p"), QStringLiteral("password")},
                                            QStringLiteral("Database password."),
                                            QStringLiteral("password"));
    parser.addOption(userOption);
    parser.addOption(passwordOption);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("init, demo or menu"));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    const bool valid = ((command == QLatin1String("init") || command == QLatin1String("demo"))
                        && args.size() == 2)
                       || (command == QLatin1String("menu") && args.size() == 4);
    if (!valid) {
        err() << parser.helpText();
        return 2;
    }
    try {
        return run(args, parser.value(userOption), parser.value(passwordOption));
    } catch (const DbError &error) {
        err() << error.message() << '\n';
        return 1;
    }
}
