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

// Watches every widget's paint events for the first one in a given window.
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget *window, std::function<void()> then)
        : QObject(window)
        , m_window(window)
        , m_then(std::move(then))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->window() == m_window) {
            qApp->removeEventFilter(this);
            // Called once this paint pass is on the screen.
            QTimer::singleShot(0, m_window, m_then);
            deleteLater();
        }
        return false;
    }

private:
    QWidget *m_window;
    std::function<void()> m_then;
};

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
    if (probe.isEmpty())
        return;
    // Queued behind the opening of the programs above, whenever the first
    // paint comes; a box one of them shows on opening runs its own event
    // loop, which calls this too: the picture then shows the box.
    afterFirstPaint(window, [window, probe] {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
        // The way a user ends the program: the close protocol runs, and the
        // last window closed ends the loop. A refused close is a failure.
        if (probe == QLatin1String("quit") && !window->close())
            QCoreApplication::exit(3);
    });
}

void StartupScript::afterFirstPaint(QWidget *window, std::function<void()> then)
{
    new FirstPaint(window, std::move(then));
}
