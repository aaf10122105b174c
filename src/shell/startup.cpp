#include "startup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "common/messageservice.h"
#include "platform/singleinstance.h"

namespace Startup {

QStringList launchParameters(int argc, const char *const *argv)
{
    QStringList parameters;
    for (int i = 1; i < argc; ++i)
        parameters << QString::fromLocal8Bit(argv[i]);
    return parameters;
}

bool installQtTranslations(QCoreApplication *app)
{
    // The program speaks Korean whatever the user's locale: so do Qt's dialogs.
    auto *translator = new QTranslator(app);
    if (!translator->load(QLocale(QLocale::Korean, QLocale::SouthKorea),
                          QStringLiteral("qt"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QString otherEmployeeRunningText(const QString &empNo, const QString &empName)
{
    QString who = empName.trimmed();
    if (who.isEmpty())
        who = empNo.trimmed();
    else if (!empNo.trimmed().isEmpty())
        who += QLatin1Char('(') + empNo.trimmed() + QLatin1Char(')');
    if (who.isEmpty())
        who = QStringLiteral("다른 사용자");
    return who + QStringLiteral("님의 시스템 관리가 실행 중입니다. 먼저 종료하십시오.");
}

int secondStart(SingleInstance &guard, const QString &empNo)
{
    // A holder that cannot say whom it runs for is treated as another
    // employee's: its window is never handed to this one.
    const SingleInstance::Owner owner = guard.holderOwner();
    if (owner.known && owner.empNo == empNo) {
        guard.notifyHolder();
        return 0;
    }
    MessageService::instance().error(otherEmployeeRunningText(owner.empNo, owner.empName));
    return 1;
}

} // namespace Startup
