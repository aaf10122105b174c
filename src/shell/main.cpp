#include <QApplication>
#include <QFont>
#include <QScreen>

#include "Z0Main.h"
#include "ZZC010.h"
#include "ZZD000.h"
#include "common/loginvalues.h"
#include "common/messageservice.h"
#include "fontmapping.h"
#include "framework/widgetmessageservice.h"
#include "loginbox.h"
#include "platform/allocator.h"
#include "platform/programfolders.h"
#include "platform/singleinstance.h"
#include "startup.h"
#include "startupscript.h"

int main(int argc, char *argv[])
{
    // Before anything is allocated: the tenth export as fast as the first.
    Allocator::keepThresholdsFixed();
    // The command line belongs to the launcher: Qt sees only the program name,
    // so that a parameter such as "-reverse" neither disappears nor turns the
    // layout around (Qt's settings come from the environment: QT_QPA_PLATFORM …).
    const QStringList launchParameters = Startup::launchParameters(argc, argv);
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication app(qtArgc, argv);

    // The boxes' caption; not Qt's display name, which every window title would carry.
    MessageService::setApplicationTitle(QStringLiteral("시스템 관리"));
    WidgetMessageService boxes;
    MessageService::setInstance(&boxes);
    Startup::installQtTranslations(&app);

    // One program per user of the desktop. A second start of the same employee
    // raises the first one's main window and ends silently; another employee's
    // is told whose program runs. Either ends before anything of its own exists.
    SingleInstance guard(QStringLiteral("Kesa_Z"));
    guard.setOwner(launchParameters.value(2), launchParameters.value(3));
    if (!guard.acquire())
        return Startup::secondStart(guard, launchParameters.value(2));
    // The folders of earlier versions move to the program's name once, before
    // anything reads them; a folder that cannot move stays in use.
    if (const QString moved = ProgramFolders::prepare(); !moved.isEmpty())
        MessageService::instance().info(moved);
    QCoreApplication::setApplicationVersion(QStringLiteral(KESA_VERSION));
    // The X11 window class other programs look the main window up by.
    QCoreApplication::setApplicationName(QStringLiteral("TfrmZ0Main"));
    FontMapping::install();
    QFont appFont = FontMapping::font(QStringLiteral("굴림"));
    appFont.setPixelSize(12);
    QApplication::setFont(appFont);

    auto *splash = new TfrmZZC010;
    splash->showAndPaint();

    // A server that is slow to answer keeps start-up here: the splash says so.
    TfrmZZD000 dataModule(launchParameters, [splash] { splash->showConnecting(); });
    // A hardened database takes writes of the authority tables only from a
    // proven employee: the launcher's word is not enough.
    if (dataModule.isConnected() && dataModule.isHardened()) {
        splash->hide();
        if (!LoginBox::signIn(dataModule.dbsDB, login().empNo, login().empName)) {
            delete splash;
            return 1;
        }
    }
    TfrmZ0Main mainWindow(dataModule.dbsDB);
    QObject::connect(&guard, &SingleInstance::activationRequested, &mainWindow, [&mainWindow] {
        mainWindow.setWindowState(mainWindow.windowState() & ~Qt::WindowMinimized);
        mainWindow.raise();
        mainWindow.activateWindow();
    });

    splash->hide();
    delete splash;

    if (!mainWindow.showOnStart())
        return 1;
    // Without a window manager "maximised" means nothing: fill the screen ourselves.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        mainWindow.setGeometry(screen->availableGeometry());
    // Asked before the window is shown: its first paint is not missed.
    StartupScript::run(&mainWindow);
    mainWindow.showMaximized();
    return app.exec();
}
