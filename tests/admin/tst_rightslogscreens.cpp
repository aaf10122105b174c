// The permission change log after the changes the authority screens make:
// the administrator flag (ZAI010), a user's level (ZAI130), a level's
// programs (ZAI140) and a user's overrides (ZAI150), on both engines.
#include "authoritytest.h"
#include "recordingmessageservice.h"
#include "testdatabase.h"

#include "admin/ZAI010.h"
#include "admin/ZAI130.h"
#include "admin/ZAI140.h"
#include "admin/ZAI150.h"
#include "admin/projectchooser.h"
#include "db/rightslog.h"
#include "framework/dbedit.h"
#include "framework/displaygrid.h"
#include "framework/messagetexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

namespace {

// "TABLE ACTION EMP | old | new | writer ip" of the rows logged after `from`.
QStringList logAfter(const QSqlDatabase &db, qsizetype from)
{
    QStringList lines;
    for (const RightsLog::Entry &e : RightsLog::read(db, QString(), QString()).mid(from))
        lines << QStringLiteral("%1 %2 %3 | %4 | %5 | %6 %7")
                         .arg(e.table,
                              e.action,
                              e.empNo,
                              e.oldValue,
                              e.newValue,
                              e.writerEmpNo,
                              e.writerIp);
    return lines;
}

qsizetype logSize(const QSqlDatabase &db)
{
    return RightsLog::read(db, QString(), QString()).size();
}

void retype(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    type(field, text);
}

const QString Ski = QStringLiteral("KESA_S");

} // namespace

class tst_RightsLogScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { loginAs(QStringLiteral("A0001"), QStringLiteral("김관리")); }

    void adminFlag_data() { TestDatabase::addEngineRows(); }
    void adminFlag()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
        const qsizetype before = logSize(tdb.db());
        RecordingMessageService boxes;
        QWidget page;
        auto *screen = openScreen<TfrmZAI010>(tdb.db(), page);
        retype(screen->cedEmpNo, QStringLiteral("E1001"));
        press(Qt::Key_Return);
        QVERIFY(!screen->isSearchMode());
        screen->chkAdminYN->setFocus();
        QTest::keyClick(screen->chkAdminYN, Qt::Key_Space);
        press(Qt::Key_F2);
        QVERIFY(screen->isSearchMode());
        // Only the flag counts: a reset of the password is not a change of rights.
        retype(screen->cedEmpNo, QStringLiteral("E1001"));
        press(Qt::Key_Return);
        QTest::mouseClick(screen->bbtPasswordReset, Qt::LeftButton);
        press(Qt::Key_F2);
        QCOMPARE(logAfter(tdb.db(), before),
                 QStringList{QStringLiteral("ZA010MS U E1001 | EMP_NO='E1001' ADMIN_YN='N' | "
                                            "EMP_NO='E1001' ADMIN_YN='Y' | A0001 10.20.30.40")});
    }

    void userLevel_data() { TestDatabase::addEngineRows(); }
    void userLevel()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
        const qsizetype before = logSize(tdb.db());
        RecordingMessageService boxes;
        QWidget page;
        auto *screen = openScreen<TfrmZAI130>(tdb.db(), page);
        retype(screen->cedEmpNo, QStringLiteral("E1001"));
        press(Qt::Key_Return);
        // Rows: KESA_G 20, KESA_Z 20, KESA_S new at '0'. G becomes 10, Z is removed.
        retype(screen->dedLevel, QStringLiteral("10"));
        press(Qt::Key_Down);
        retype(screen->dedLevel, QStringLiteral(" "));
        press(Qt::Key_F2);
        QCOMPARE(screen->statusMessage(), MessageText::saved());
        QStringList logged = logAfter(tdb.db(), before);
        logged.sort();
        QCOMPARE(logged,
                 (QStringList{QStringLiteral("ZA130MS D E1001 | EMP_NO='E1001' PROJECT_ID='KESA_Z' "
                                             "PROJECT_LEVEL='20' |  |  "),
                              QStringLiteral(
                                      "ZA130MS I E1001 |  | EMP_NO='E1001' PROJECT_ID='KESA_S' "
                                      "PROJECT_LEVEL='0' | A0001 10.20.30.40"),
                              QStringLiteral(
                                      "ZA130MS U E1001 | EMP_NO='E1001' PROJECT_ID='KESA_G' "
                                      "PROJECT_LEVEL='20' | EMP_NO='E1001' PROJECT_ID='KESA_G' "
                                      "PROJECT_LEVEL='10' | A0001 10.20.30.40")}));
    }

    void levelPrograms_data() { TestDatabase::addEngineRows(); }
    void levelPrograms()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
        const qsizetype before = logSize(tdb.db());
        RecordingMessageService boxes;
        QWidget page;
        auto *screen = openScreen<TfrmZAI140>(tdb.db(), page);
        screen->cbbProject->setCurrentIndex(int(screen->projects->projectIds().indexOf(Ski)));
        screen->cbbProject->setFocus();
        press(Qt::Key_Return);
        screen->rgrGrid->setCurrentIndex(screen->rgrGrid->model()->index(1, 0)); // level 20
        pickEntries(screen->lstListSrc, {QStringLiteral("[SAI030] 렌탈 등록")});
        QTest::mouseClick(screen->sbtListS2D, Qt::LeftButton);
        pickEntries(screen->lstListDst, {QStringLiteral("[SAI010] 리프트권 발매")});
        QTest::mouseClick(screen->sbtListD2S, Qt::LeftButton);
        press(Qt::Key_F2);
        QCOMPARE(screen->statusMessage(), MessageText::saved());
        QCOMPARE(logAfter(tdb.db(), before),
                 (QStringList{QStringLiteral("ZA140MS D  | PROJECT_ID='KESA_S' PROJECT_LEVEL='20' "
                                             "PROGRAM_ID='SAI010' |  |  "),
                              QStringLiteral("ZA140MS I  |  | PROJECT_ID='KESA_S' "
                                             "PROJECT_LEVEL='20' PROGRAM_ID='SAI030' | A0001 "
                                             "10.20.30.40")}));
    }

    void overrides_data() { TestDatabase::addEngineRows(); }
    void overrides()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
        const qsizetype before = logSize(tdb.db());
        RecordingMessageService boxes;
        QWidget page;
        auto *screen = openScreen<TfrmZAI150>(tdb.db(), page);
        retype(screen->cedEmpNo, QStringLiteral("E1003"));
        press(Qt::Key_Return);
        QVERIFY(!screen->isSearchMode());
        const int row = int(screen->projectIds().indexOf(Ski));
        screen->rgrGrid->setCurrentIndex(screen->rgrGrid->model()->index(row, 0));
        pickEntries(screen->lstListSrc, {QStringLiteral("[SAI020] 시즌권 등록")});
        QTest::mouseClick(screen->sbtListS2D, Qt::LeftButton);
        boxes.answers = {true};
        press(Qt::Key_F2);
        QCOMPARE(screen->statusMessage(), MessageText::saved());
        QCOMPARE(logAfter(tdb.db(), before),
                 QStringList{QStringLiteral("ZA150MS I E1003 |  | EMP_NO='E1003' "
                                            "PROJECT_ID='KESA_S' PROGRAM_ID='SAI020' ADD_YN='Y' | "
                                            "A0001 10.20.30.40")});
    }
};

QTEST_MAIN(tst_RightsLogScreens)
#include "tst_rightslogscreens.moc"
