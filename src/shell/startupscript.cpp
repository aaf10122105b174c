#include "startupscript.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTimer>

#include <cstdio>

#include "ZZMain.h"

namespace {

QAction *menuItemOf(TfrmZZMain *window, const QString &programId)
{
    for (QAction *top : window->mmuMenu->actions()) {
        if (!top->menu() || top->menu() == window->mmuMenuWindow)
            continue;
        for (QAction *item : top->menu()->actions()) {
            if (item->data().toString() == programId)
                return item;
        }
    }
    return nullptr;
}

} // namespace

void StartupScript::run(TfrmZZMain *window)
{
    const QString programs = qEnvironmentVariable("KESA_OPEN_PROGRAMS");
    const QString probe = qEnvironmentVariable("KESA_STARTUP_PROBE");
    if (programs.isEmpty() && probe.isEmpty())
        return;
    // Runs from the event loop, once the window is shown.
    QTimer::singleShot(0, window, [window, programs] {
        static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
        // Opened as the menu opens them, through the same rights decision: a
        // program the employee does not hold is refused with its box.
        for (const QString &id : programs.split(separators, Qt::SkipEmptyParts)) {
            const QAction *item = menuItemOf(window, id);
            window->OpenProgram(item ? item->text() : id, id);
        }
    });
    // After the programs opened, or while a box one of them shows on opening
    // waits for the user (its event loop runs this): the picture shows the box.
    QTimer::singleShot(0, window, [window, probe] {
        if (!probe.isEmpty()) {
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            // The way a user ends the program: the close protocol runs, and the
            // last window closed ends the loop. A refused close is a failure.
            if (probe == QLatin1String("quit") && !window->close())
                QCoreApplication::exit(3);
        }
    });
}
