// A user screen whose authority read fails never opens half set up.
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"

#include "admin/ZAI010.h"
#include "admin/ZAS010.h"
#include "admin/ZAS011.h"
#include "admin/employeepicker.h"
#include "db/sqlstatement.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

class tst_ScreenCreation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void failedAuthorityRead_data();
    void failedAuthorityRead();
};

void tst_ScreenCreation::failedAuthorityRead_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("program");
    for (const char *program : {"ZAI010", "ZAS010", "ZAS011"}) {
        for (auto *row : TestDatabase::newRows(QString::fromLatin1(program)))
            *row << QString::fromLatin1(program);
    }
}

void tst_ScreenCreation::failedAuthorityRead()
{
    QFETCH(QString, engine);
    QFETCH(QString, program);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    loginAs(QStringLiteral("A0001"), QStringLiteral("김관리")); // an administrator
    // The column the authority test reads is gone: the read fails.
    SqlStatement(tdb.db(), QStringLiteral("ALTER TABLE ZA010MS RENAME COLUMN ADMIN_YN TO ADMIN_X"))
            .exec();
    RecordingMessageService boxes;

    std::unique_ptr<TfrmZZI000> screen;
    if (program == QLatin1String("ZAI010"))
        screen = std::make_unique<TfrmZAI010>();
    else if (program == QLatin1String("ZAS010"))
        screen = std::make_unique<TfrmZAS010>();
    else
        screen = std::make_unique<TfrmZAS011>();
    screen->setDatabase(tdb.db());

    QVERIFY(!screen->ensureCreated());
    QVERIFY(screen->creationFailed());
    QCOMPARE(boxes.texts(RecordingMessageService::Error).size(), 1);
    QVERIFY(!screen->isEnabled());
    // The administrator's fields were never unlocked.
    const auto *picker = screen->findChild<EmployeePicker *>();
    QVERIFY(picker);
    QVERIFY(!picker->isAdmin());
    for (QWidget *widget : picker->widgets().mid(1))
        QVERIFY2(!widget->isEnabledTo(screen.get()), qPrintable(widget->objectName()));
    if (program == QLatin1String("ZAS011"))
        QVERIFY(!screen->findChild<QPushButton *>(QStringLiteral("bbtSearch"))
                         ->isEnabledTo(screen.get()));
}

QTEST_MAIN(tst_ScreenCreation)
#include "tst_screencreation.moc"
