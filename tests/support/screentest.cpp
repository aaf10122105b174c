#include "screentest.h"

#include "common/loginvalues.h"
#include "db/sqlstatement.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

void activate(QWidget *window)
{
    window->show();
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void press(Qt::Key key)
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, key);
}

void type(QWidget *field, const QString &text)
{
    field->setFocus();
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(field, QString(c));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(field, &commit);
        }
    }
}

void loginAs(const QString &empNo, const QString &empName)
{
    login().empNo = empNo;
    login().empName = empName;
    login().localIP = QStringLiteral("10.20.30.40");
}

QStringList column(const QSqlDatabase &db, const QString &sql, const QVariant &p0)
{
    SqlStatement query(db, sql);
    if (p0.isValid())
        query.bind(QStringLiteral("P0"), p0);
    query.open();
    QStringList values;
    while (query.next())
        values.append(query.value(0).toString());
    return values;
}

QVariant userValue(const QSqlDatabase &db, const QString &empNo, const QString &expression)
{
    SqlStatement query(db,
                       QStringLiteral("SELECT %1 FROM ZA010MS WHERE EMP_NO = :P0").arg(expression));
    query.bind(QStringLiteral("P0"), empNo);
    query.open();
    return query.next() ? query.value(0) : QVariant();
}

QString passwordOf(const QSqlDatabase &db, const QString &empNo)
{
    return userValue(db, empNo, QStringLiteral("FN_ZA010MS_02(PASSWORD_CODE, 'RoTa')")).toString();
}
