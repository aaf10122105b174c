#include "screentest.h"

#include "common/loginvalues.h"
#include "db/sqlstatement.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <QTimerEvent>
#include <QWidget>

void activate(QWidget *window)
{
    window->show();
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void press(QKeyCombination key)
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
}

void press(QWidget *target, QKeyCombination key)
{
    QVERIFY(target);
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
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

QWidget *nextTabStop(QWidget *control)
{
    QWidget *next = control->nextInFocusChain();
    while (next != control && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

void loginAs(const QString &empNo, const QString &empName)
{
    login().empNo = empNo;
    login().empName = empName;
    login().setLocalIP(QStringLiteral("10.20.30.40"));
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

ModalDriver::ModalDriver(std::function<void(QWidget *)> act, int timeoutMs)
    : m_act(std::move(act))
{
    m_poll = startTimer(10);
    m_deadline = startTimer(timeoutMs);
}

ModalDriver::~ModalDriver() = default;

void ModalDriver::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_poll) {
        QWidget *modal = QApplication::activeModalWidget();
        if (m_acted || !modal || !modal->isVisible())
            return;
        killTimer(m_poll);
        m_acted = true;
        m_act(modal);
        return;
    }
    if (event->timerId() != m_deadline)
        return;
    killTimer(m_deadline);
    if (!m_acted)
        killTimer(m_poll);
    // Whatever is still modal now was missed by the test: close it so that exec() returns.
    bool closed = false;
    while (QWidget *modal = QApplication::activeModalWidget()) {
        modal->close();
        if (modal->isVisible())
            modal->hide();
        closed = true;
    }
    m_timedOut = closed || !m_acted;
}
