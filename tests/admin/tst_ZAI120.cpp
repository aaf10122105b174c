// Affiliation rights (ZAI120) on both engines: the list each project's team
// role offers, "전체 선택", and what a save rewrites.
#include "authoritytest.h"
#include "recordingmessageservice.h"
#include "testdatabase.h"

#include "admin/ZAI120.h"
#include "db/sqlstatement.h"
#include "framework/displaygrid.h"
#include "framework/messagetexts.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

namespace {

void exec(const QSqlDatabase &db, const QString &sql)
{
    SqlStatement(db, sql).exec();
}

QStringList rightsOf(const QSqlDatabase &db, const QString &empNo)
{
    return column(db,
                  QStringLiteral(
                          "SELECT PROJECT_ID || ':' || SEQ || ':' || COALESCE(SAUP_CODE, "
                          "'-') || ':' || COALESCE(TEAM_CODE, '-') || ':' || "
                          "COALESCE(UPJANG_CODE, '-') || ':' || COALESCE(U_IP, '-') FROM ZA120MS "
                          "WHERE EMP_NO = :P0 ORDER BY PROJECT_ID, SEQ"),
                  empNo);
}

QStringList ticked(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->checkState() == Qt::Checked)
            texts << list->item(row)->text();
    }
    return texts;
}

void tick(QListWidget *list, const QString &text, bool on)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    found.first()->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

// A click on the box itself (the widget may be wider than its box and caption).
void clickBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

void showProject(TfrmZAI120 *screen, const QString &id)
{
    const int row = int(screen->projectIds().indexOf(id));
    screen->rgrGrid->setCurrentIndex(screen->rgrGrid->model()->index(row, 0));
}

// The enabled lists, as 'S', 'T', 'U'.
QString enabledLists(const TfrmZAI120 *screen)
{
    QString lists;
    if (screen->clbListSaup->isEnabled() && screen->chkListSaup->isEnabled())
        lists += QLatin1Char('S');
    if (screen->clbListTeam->isEnabled() && screen->chkListTeam->isEnabled())
        lists += QLatin1Char('T');
    if (screen->clbListUpjang->isEnabled() && screen->chkListUpjang->isEnabled())
        lists += QLatin1Char('U');
    return lists;
}

} // namespace

class tst_ZAI120 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { loginAs(QStringLiteral("E1002"), QStringLiteral("박민수")); }
    void rightsSavedAndReadBack_data() { TestDatabase::addEngineRows(); }
    void rightsSavedAndReadBack();
};

void tst_ZAI120::rightsSavedAndReadBack()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    const QSqlDatabase db = tdb.db();
    // A team project, a project of an unknown role, and stored codes that are
    // not in the outlet list: one in another column, one of an outlet not in use.
    exec(db,
         QStringLiteral("INSERT INTO ZA020MS (PROJECT_ID, PROJECT_NAME, TEAM_ROLE) "
                        "VALUES ('KESA_T', '콘도 관리', '2')"));
    exec(db,
         QStringLiteral("INSERT INTO ZA020MS (PROJECT_ID, PROJECT_NAME, TEAM_ROLE) "
                        "VALUES ('KESA_U', '기타 관리', '9')"));
    exec(db,
         QStringLiteral("INSERT INTO ZA120MS (EMP_NO, PROJECT_ID, SEQ, SAUP_CODE) "
                        "VALUES ('E1002', 'KESA_S', 3, '01')"));
    exec(db,
         QStringLiteral("INSERT INTO ZA120MS (EMP_NO, PROJECT_ID, SEQ, UPJANG_CODE) "
                        "VALUES ('E1002', 'KESA_S', 4, 'U199')"));
    exec(db,
         QStringLiteral("INSERT INTO ZA120MS (EMP_NO, PROJECT_ID, SEQ, TEAM_CODE) "
                        "VALUES ('E1002', 'KESA_T', 1, '20')"));
    const QStringList otherBefore = rightsOf(db, QStringLiteral("E1001"));
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI120>(db, page);
    QCOMPARE(screen->windowTitle(), QStringLiteral("사용자별 소속 권한 등록"));
    // Projects with a role above '0'; the lists stay off in search mode.
    QCOMPARE(screen->projectIds(),
             (QStringList{QStringLiteral("KESA_G"),
                          QStringLiteral("KESA_S"),
                          QStringLiteral("KESA_T"),
                          QStringLiteral("KESA_U")}));
    QCOMPARE(screen->clbListUpjang->count(), 4); // U199 is not in use
    QCOMPARE(screen->clbListSaup->item(0)->text(), QStringLiteral("[01] 본사"));
    QCOMPARE(enabledLists(screen), QString());
    QVERIFY(screen->cedEmpNo->isEnabled()); // open to everyone
    press(Qt::Key_F3);
    QVERIFY(!screen->isSearchMode());

    // Each project offers the list of its role, ticked as stored.
    QCOMPARE(enabledLists(screen), QStringLiteral("S"));
    QVERIFY(ticked(screen->clbListSaup).isEmpty());
    showProject(screen, QStringLiteral("KESA_S"));
    QCOMPARE(enabledLists(screen), QStringLiteral("U"));
    QCOMPARE(ticked(screen->clbListUpjang),
             (QStringList{QStringLiteral("[U101] 한식당 온돌"),
                          QStringLiteral("[U102] 스카이 라운지")}));
    QVERIFY(ticked(screen->clbListSaup).isEmpty());
    showProject(screen, QStringLiteral("KESA_T"));
    QCOMPARE(enabledLists(screen), QStringLiteral("T"));
    QCOMPARE(ticked(screen->clbListTeam), QStringList{QStringLiteral("[20] 식음")});
    showProject(screen, QStringLiteral("KESA_U"));
    QCOMPARE(enabledLists(screen), QString());

    // Everything in KESA_G; in KESA_S one outlet off, one on (ticked last, written in code order).
    showProject(screen, QStringLiteral("KESA_G"));
    clickBox(screen->chkListSaup);
    QCOMPARE(ticked(screen->clbListSaup).size(), 4);
    showProject(screen, QStringLiteral("KESA_S"));
    QVERIFY(!screen->chkListUpjang->isChecked());
    tick(screen->clbListUpjang, QStringLiteral("[U104] 렌탈샵"), true);
    tick(screen->clbListUpjang, QStringLiteral("[U101] 한식당 온돌"), false);
    tick(screen->clbListUpjang, QStringLiteral("[U103] 스키하우스 편의점"), true);
    keepPicture(&page, engine, QStringLiteral("ZAI120"));
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(rightsOf(db, QStringLiteral("E1002")),
             (QStringList{QStringLiteral("KESA_G:1:01:-:-:10.20.30.40"),
                          QStringLiteral("KESA_G:2:02:-:-:10.20.30.40"),
                          QStringLiteral("KESA_G:3:03:-:-:10.20.30.40"),
                          QStringLiteral("KESA_G:4:04:-:-:10.20.30.40"),
                          QStringLiteral("KESA_S:1:-:-:U102:10.20.30.40"),
                          QStringLiteral("KESA_S:2:-:-:U103:10.20.30.40"),
                          QStringLiteral("KESA_S:3:-:-:U104:10.20.30.40"),
                          QStringLiteral("KESA_T:1:-:20:-:-")}));
    QCOMPARE(rightsOf(db, QStringLiteral("E1001")), otherBefore);
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::nothingChanged());

    // Nothing ticked: the project's rows go.
    clickBox(screen->chkListUpjang);
    clickBox(screen->chkListUpjang);
    QVERIFY(ticked(screen->clbListUpjang).isEmpty());
    press(Qt::Key_F2);
    QCOMPARE(rightsOf(db, QStringLiteral("E1002")).filter(QStringLiteral("KESA_S")), QStringList());

    // Read back by a new search; cancel with a change asks, then everything is off.
    press(Qt::Key_F8);
    press(Qt::Key_F3);
    QCOMPARE(ticked(screen->clbListSaup).size(), 4);
    tick(screen->clbListSaup, QStringLiteral("[01] 본사"), false);
    boxes.answers = {false};
    press(Qt::Key_F8);
    QVERIFY(!screen->isSearchMode());
    press(Qt::Key_F8);
    QCOMPARE(boxes.texts(RecordingMessageService::Question),
             (QStringList{MessageText::cancelQuestion(), MessageText::cancelQuestion()}));
    QVERIFY(screen->isSearchMode());
    QCOMPARE(enabledLists(screen), QString());
    QVERIFY(ticked(screen->clbListSaup).isEmpty());
    QVERIFY(boxes.texts(RecordingMessageService::Error).isEmpty());
}

QTEST_MAIN(tst_ZAI120)
#include "tst_ZAI120.moc"
