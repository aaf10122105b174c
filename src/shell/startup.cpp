#include "startup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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

} // namespace Startup
