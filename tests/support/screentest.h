#pragma once

#include "framework/screenhost.h"
#include "patience.h"

#include <functional>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

class QWidget;

/// Shows a window and makes it the active one (shortcuts follow real focus).
void activate(QWidget *window);
/// A key (with its modifiers) pressed where the focus is, as the user presses it.
void press(QKeyCombination key);
/// A key pressed on a given widget.
void press(QWidget *target, QKeyCombination key);
/// Typed into a field: Latin as keys, Hangul as text committed by the input method.
void type(QWidget *field, const QString &text);

/// Where Tab goes from a control: the next widget of the focus chain that takes Tab.
QWidget *nextTabStop(QWidget *control);

/// The logged-in employee the screens see.
void loginAs(const QString &empNo, const QString &empName);

/// First column of every row of a statement, as text.
QStringList column(const QSqlDatabase &db, const QString &sql, const QVariant &p0 = QVariant());
/// One value of one user row (null stays null).
QVariant userValue(const QSqlDatabase &db, const QString &empNo, const QString &expression);
/// The plain password a user has.
QString passwordOf(const QSqlDatabase &db, const QString &empNo);

/// The main window as embedded screens see it: counts the close-tab requests
/// and records the open-program requests; installs itself while it lives.
class TestHost : public ScreenHost
{
public:
    TestHost() { setCurrent(this); }
    ~TestHost() override { setCurrent(nullptr); }
    void closeActiveTab() override { ++closes; }
    bool openProgram(const QString &caption, const QString &programId) override
    {
        opened.append({caption, programId});
        return true;
    }

    int closes = 0;
    QList<QPair<QString, QString>> opened;
};

/// Drives a modal window that the code under test is about to open: `act` runs
/// once on the first modal widget that becomes active. A test never hangs on
/// it: should no modal window come within the time limit, or should it still be
/// open when the limit has passed, every modal widget is closed so that the
/// waiting exec() returns, and timedOut() tells the test to fail.
class ModalDriver : public QObject
{
public:
    explicit ModalDriver(std::function<void(QWidget *)> act, int timeoutMs = PatienceMs);
    ~ModalDriver() override;

    /// True once `act` has run.
    bool acted() const { return m_acted; }
    /// True when a modal window had to be closed by force, or never came.
    bool timedOut() const { return m_timedOut; }

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    std::function<void(QWidget *)> m_act;
    int m_poll = 0;
    int m_deadline = 0;
    bool m_acted = false;
    bool m_timedOut = false;
};
