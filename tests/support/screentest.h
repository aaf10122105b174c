#pragma once

#include "framework/screenhost.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

class QWidget;

/// Shows a window and makes it the active one (shortcuts follow real focus).
void activate(QWidget *window);
/// A key pressed where the focus is, as the user presses it.
void press(Qt::Key key);
/// Typed into a field: Latin as keys, Hangul as text committed by the input method.
void type(QWidget *field, const QString &text);

/// The logged-in employee the screens see.
void loginAs(const QString &empNo, const QString &empName);

/// First column of every row of a statement, as text.
QStringList column(const QSqlDatabase &db, const QString &sql, const QVariant &p0 = QVariant());
/// One value of one user row (null stays null).
QVariant userValue(const QSqlDatabase &db, const QString &empNo, const QString &expression);
/// The plain password a user has.
QString passwordOf(const QSqlDatabase &db, const QString &empNo);

/// The main window as embedded screens see it: counts the close-tab requests.
class TestHost : public ScreenHost
{
public:
    TestHost() { setCurrent(this); }
    ~TestHost() override { setCurrent(nullptr); }
    void closeActiveTab() override { ++closes; }
    bool openProgram(const QString &, const QString &) override { return true; }

    int closes = 0;
};
