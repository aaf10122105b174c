// Per-user programs (ZAI150) and the program-user inquiry (ZAS120), on both
// engines: each save is checked by the menu bars kesa-db prints afterwards.
#include "authoritytest.h"
#include "recordingmessageservice.h"
#include "testdatabase.h"

#include "admin/ZAI150.h"
#include "admin/ZAS120.h"
#include "admin/projectchooser.h"
#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "framework/displaygrid.h"
#include "framework/messagetexts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

namespace {

const QString Ski = QStringLiteral("KESA_S");
const QString System = QStringLiteral("KESA_Z");
const QString Warning = QStringLiteral(
        "이 프로그램은 가급적 실행하지 말고\r[프로젝트 레벨별 프로그램 등록]에서 권한을 "
        "등록하십시오.");
const QString SaveQuestion = QStringLiteral(
        "변경사항이 현재 사용자에게만 적용되는 사항인지 다시 확인하십시오.\r"
        "사용자가 속한 레벨의 다른 사용자에게도 공통적으로 적용되는 사항이면\r"
        "[프로젝트 레벨별 프로그램 등록]에서 등록하십시오.\r\r변경사항을 정말 저장하시겠습니까?");

void exec(const QSqlDatabase &db, const QString &sql)
{
    SqlStatement(db, sql).exec();
}

QStringList overridesOf(const QSqlDatabase &db, const QString &empNo)
{
    return column(db,
                  QStringLiteral("SELECT PROJECT_ID || ':' || PROGRAM_ID || ':' || ADD_YN || ':' "
                                 "|| U_IP FROM ZA150MS WHERE EMP_NO = :P0 "
                                 "ORDER BY PROJECT_ID, PROGRAM_ID"),
                  empNo);
}

// Searches a user and shows one of his projects.
void searchUser(TfrmZAI150 *screen, const QString &empNo, const QString &project)
{
    screen->cedEmpNo->setFocus();
    screen->cedEmpNo->selectAll();
    type(screen->cedEmpNo, empNo);
    press(Qt::Key_Return);
    QVERIFY(!screen->isSearchMode());
    const int row = int(screen->projectIds().indexOf(project));
    screen->rgrGrid->setCurrentIndex(screen->rgrGrid->model()->index(row, 0));
}

void moveRight(TfrmZAI150 *screen, const QStringList &texts)
{
    pickEntries(screen->lstListSrc, texts);
    QTest::mouseClick(screen->sbtListS2D, Qt::LeftButton);
}

void moveLeft(TfrmZAI150 *screen, const QStringList &texts)
{
    pickEntries(screen->lstListDst, texts);
    QTest::mouseClick(screen->sbtListD2S, Qt::LeftButton);
}

const QString ZXS095 = QStringLiteral("[ZXS095] 보카 출력");
const QString ZXB000 = QStringLiteral("[ZXB000] DB 접속 Password 암호화");
const QString ZXS090 = QStringLiteral("[ZXS090] 할인쿠폰 출력");
const QString ZAI010 = QStringLiteral("[ZAI010] 사용자 등록");
const QString SAS010 = QStringLiteral("[SAS010] 발매 현황 조회");

} // namespace

class tst_ZAI150 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { loginAs(QStringLiteral("A0001"), QStringLiteral("김관리")); }
    void removalAndAddition_data() { TestDatabase::addEngineRows(); }
    void removalAndAddition();
    void programUnderTwoMenus_data() { TestDatabase::addEngineRows(); }
    void programUnderTwoMenus();
    void hiddenProgramsKeptAndShortMenuIds_data() { TestDatabase::addEngineRows(); }
    void hiddenProgramsKeptAndShortMenuIds();
    void answeredNo_data() { TestDatabase::addEngineRows(); }
    void answeredNo();
    void usersOfProgram_data() { TestDatabase::addEngineRows(); }
    void usersOfProgram();
};

// The marks of a removal and an addition; moved over and back is no change;
// a saved change rewrites the overrides of that project only.
void tst_ZAI150::removalAndAddition()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    const QString golfBefore = menuText(tdb, QStringLiteral("KESA_G"), QStringLiteral("E1001"));
    const QString adminBefore = menuText(tdb, System, QStringLiteral("A0001"));
    loginAs(QStringLiteral("E1002"), QStringLiteral("박민수"));
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI150>(tdb.db(), page);
    QCOMPARE(screen->windowTitle(), QStringLiteral("사용자별 프로그램 등록"));
    QCOMPARE(boxes.texts(RecordingMessageService::Error), QStringList{Warning});
    QCOMPARE(screen->projectIds(), (QStringList{QStringLiteral("KESA_G"), Ski, System}));
    boxes.clear();
    // Open to someone who is not an administrator.
    QCOMPARE(screen->cedEmpNo->text(), QStringLiteral("E1002"));
    QVERIFY(screen->cedEmpNo->isEnabled() && screen->sbtEmpNo->isEnabled());
    searchUser(screen, QStringLiteral("E1001"), System);
    QCOMPARE(screen->wlbEmpName->text(), QStringLiteral("이영희"));

    const QStringList left = listEntries(screen->lstListSrc);
    const QStringList right = listEntries(screen->lstListDst);
    QCOMPARE(left.size(), 13);
    QVERIFY(left.contains(ZXS095 + QStringLiteral("/0")));
    QVERIFY(left.contains(ZAI010 + QStringLiteral("/1")));
    QCOMPARE(right,
             (QStringList{QStringLiteral("[ZAS011] 사용자별 비밀번호 조회/1"),
                          QStringLiteral("[ZXI010] 공통코드 등록/1"),
                          QStringLiteral("[ZXI011] 공통코드 목록 등록/1"),
                          QStringLiteral("[ZXI020] 공통 월력 등록/1"),
                          QStringLiteral("[ZXI021] 휴일 등록/1"),
                          ZXS090 + QStringLiteral("/1"),
                          ZXB000 + QStringLiteral("/2")}));
    screen->lstListSrc->item(0)->setSelected(true);
    keepPicture(&page, engine, QStringLiteral("ZAI150"));

    // The red one right turns black, the blue one left too; and back again: no change.
    moveRight(screen, {ZXS095});
    moveLeft(screen, {ZXB000});
    QCOMPARE(listEntries(screen->lstListDst).last(), ZXS095 + QStringLiteral("/1"));
    QCOMPARE(listEntries(screen->lstListSrc).last(), ZXB000 + QStringLiteral("/1"));
    moveLeft(screen, {ZXS095});
    moveRight(screen, {ZXB000});
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::nothingChanged());
    QVERIFY(boxes.entries.isEmpty());

    // Saved: the red and blue ones as the level has them, ZAI010 added, ZXS090 removed.
    moveRight(screen, {ZXS095, ZAI010});
    moveLeft(screen, {ZXB000, ZXS090});
    QVERIFY(listEntries(screen->lstListDst).contains(ZAI010 + QStringLiteral("/2")));
    QVERIFY(listEntries(screen->lstListSrc).contains(ZXS090 + QStringLiteral("/0")));
    press(Qt::Key_F2);
    QCOMPARE(boxes.texts(RecordingMessageService::Question), QStringList{SaveQuestion});
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QCOMPARE(overridesOf(tdb.db(), QStringLiteral("E1001")),
             (QStringList{QStringLiteral("KESA_G:GAI020:N:127.0.0.1"),
                          QStringLiteral("KESA_G:GAS020:Y:127.0.0.1"),
                          QStringLiteral("KESA_S:SAS010:Y:127.0.0.1"),
                          QStringLiteral("KESA_Z:ZAI010:Y:10.20.30.40"),
                          QStringLiteral("KESA_Z:ZXS090:N:10.20.30.40")}));
    QCOMPARE(menuText(tdb, System, QStringLiteral("E1001")),
             QStringLiteral(
                     "Z1\t사용자 관리(&U)\n\tZAI010\t사용자 등록\n"
                     "\tZAS011\t사용자별 비밀번호 조회\n"
                     "Z3\t공통 코드(&C)\n\tZXI010\t공통코드 등록\n\tZXI011\t공통코드 목록 등록\n"
                     "\tZXI020\t공통 월력 등록\n\tZXI021\t휴일 등록\n"
                     "Z4\t출력(&P)\n\tZXS095\t보카 출력\n"));
    QCOMPARE(menuText(tdb, QStringLiteral("KESA_G"), QStringLiteral("E1001")), golfBefore);
    QCOMPARE(menuText(tdb, System, QStringLiteral("A0001")), adminBefore);
    // Searched again, in edit mode, with the marks as stored now.
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(screen->rgrGrid->currentRow(), 0);
}

// A program under two menus moves as one and is written once, for a user
// without a level (additions only on the right) and for one whose level has it.
void tst_ZAI150::programUnderTwoMenus()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI150>(tdb.db(), page);
    searchUser(screen, QStringLiteral("E1003"), Ski);
    QVERIFY(screen->lstListDst->count() == 0);
    QCOMPARE(screen->lstListSrc->findItems(SAS010, Qt::MatchExactly).size(), 2);
    screen->lstListSrc->findItems(SAS010, Qt::MatchExactly).last()->setSelected(true);
    QTest::mouseClick(screen->sbtListS2D, Qt::LeftButton);
    QCOMPARE(listEntries(screen->lstListDst),
             (QStringList{SAS010 + QStringLiteral("/2"), SAS010 + QStringLiteral("/2")}));
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QCOMPARE(overridesOf(tdb.db(), QStringLiteral("E1003")),
             QStringList{QStringLiteral("KESA_S:SAS010:Y:10.20.30.40")});
    QCOMPARE(menuText(tdb, Ski, QStringLiteral("E1003")),
             QStringLiteral("S1\t매표(&T)\n\tSAS010\t발매 현황 조회\n"
                            "S2\t렌탈(&R)\n\tSAS010\t발매 현황 조회\n"));

    // E1002's level has it under both menus: one entry picked, the program removed once.
    press(Qt::Key_F8);
    searchUser(screen, QStringLiteral("E1002"), Ski);
    moveLeft(screen, {SAS010});
    QVERIFY(screen->lstListDst->findItems(SAS010, Qt::MatchExactly).isEmpty());
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QCOMPARE(boxes.texts(RecordingMessageService::Error), QStringList{Warning});
    QCOMPARE(overridesOf(tdb.db(), QStringLiteral("E1002")),
             (QStringList{QStringLiteral("KESA_S:SAS010:N:10.20.30.40"),
                          QStringLiteral("KESA_S:SAS020:Y:10.20.30.40")}));
    QCOMPARE(menuText(tdb, Ski, QStringLiteral("E1002")),
             QStringLiteral("S1\t매표(&T)\n\tSAI010\t리프트권 발매\n"
                            "S2\t렌탈(&R)\n\tSAS020\t렌탈 현황 조회\n"));
}

// No to the save question writes nothing; on the close path it keeps the
// screen open with its edits; cancel then drops them.
void tst_ZAI150::answeredNo()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    const QStringList stored = overridesOf(tdb.db(), QStringLiteral("E1001"));
    RecordingMessageService boxes;
    TestHost host;
    QWidget page;
    auto *screen = openScreen<TfrmZAI150>(tdb.db(), page);
    searchUser(screen, QStringLiteral("E1001"), System);
    QTest::mouseClick(screen->sbtListD2SAll, Qt::LeftButton);
    QCOMPARE(screen->lstListDst->count(), 0);

    boxes.answers = {false};
    press(Qt::Key_F2);
    boxes.answers = {true, false};
    QTest::mouseClick(screen->bbtClose, Qt::LeftButton);
    QCOMPARE(boxes.texts(RecordingMessageService::Question),
             (QStringList{SaveQuestion, MessageText::closeQuestion(), SaveQuestion}));
    QCOMPARE(host.closes, 0);
    QCOMPARE(screen->lstListDst->count(), 0);
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(overridesOf(tdb.db(), QStringLiteral("E1001")), stored);
    QVERIFY(boxes.texts(RecordingMessageService::Error).size() == 1); // the opening warning

    boxes.answers = {true};
    press(Qt::Key_F8);
    QVERIFY(screen->isSearchMode());
    QCOMPARE(screen->lstListSrc->count() + screen->lstListDst->count(), 0);
    QTest::mouseClick(screen->bbtClose, Qt::LeftButton);
    QCOMPARE(host.closes, 1);
}

// A user once per way he holds a program: his level ('레벨', a removal does
// not take it away) and his addition ('사용자'); users not in use are left out.
void tst_ZAI150::usersOfProgram()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    exec(tdb.db(),
         QStringLiteral("INSERT INTO ZA150MS (EMP_NO, PROJECT_ID, PROGRAM_ID, ADD_YN) "
                        "VALUES ('E1002', 'KESA_S', 'SAS010', 'Y')"));
    exec(tdb.db(),
         QStringLiteral("INSERT INTO ZA150MS (EMP_NO, PROJECT_ID, PROGRAM_ID, ADD_YN) "
                        "VALUES ('A0001', 'KESA_S', 'SAS010', 'N')"));
    exec(tdb.db(), QStringLiteral("UPDATE ZA010MS SET USE_YN = 'N' WHERE EMP_NO = 'E1001'"));
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAS120>(tdb.db(), page);
    QCOMPARE(screen->windowTitle(), QStringLiteral("프로그램별 사용자 권한 조회"));
    for (QPushButton *button : {screen->bbtPrint, screen->bbtPreview, screen->bbtExcel})
        QVERIFY(!button->isVisible());
    screen->cbbProject->setCurrentIndex(int(screen->projects->projectIds().indexOf(Ski)));
    screen->cbbProject->setFocus();
    press(Qt::Key_Return);

    // Every program, displayed or not, by menu (named without its access key);
    // a repeated menu name shows blank.
    DisplayGrid *programs = screen->rgrGridProgram;
    QCOMPARE(programs->rowCount(), 6);
    QStringList shown;
    for (int row = 0; row < programs->rowCount(); ++row)
        shown << programs->model()->index(row, 0).data().toString() + QLatin1Char(':')
                         + programs->cell(row, 1);
    QCOMPARE(shown,
             (QStringList{QStringLiteral("매표:SAI010"),
                          QStringLiteral(":SAI020"),
                          QStringLiteral(":SAS010"),
                          QStringLiteral("렌탈:SAI030"),
                          QStringLiteral(":SAS020"),
                          QStringLiteral(":SAS010")}));
    // The first program's users at once.
    QCOMPARE(screen->cdsQuery->recordCount(), 2); // A0001 and E1002 through their levels

    programs->setCurrentIndex(programs->model()->index(2, 0));
    QStringList users;
    for (int row = 0; row < screen->cdsQuery->recordCount(); ++row)
        users << screen->cdsQuery->value(row, QStringLiteral("EMP_NO")).toString()
                         + QLatin1Char(':')
                         + screen->cdsQuery->value(row, QStringLiteral("EMP_NAME")).toString()
                         + QLatin1Char(':')
                         + screen->cdsQuery->value(row, QStringLiteral("LVL")).toString();
    QCOMPARE(users,
             (QStringList{QStringLiteral("A0001:김관리:레벨"),
                          QStringLiteral("E1002:박민수:레벨"),
                          QStringLiteral("E1002:박민수:사용자")}));
    keepPicture(&page, engine, QStringLiteral("ZAS120"));

    // A program nobody holds.
    exec(tdb.db(), QStringLiteral("DELETE FROM ZA140MS WHERE PROGRAM_ID = 'SAI030'"));
    programs->setCurrentIndex(programs->model()->index(3, 0));
    QCOMPARE(screen->cdsQuery->recordCount(), 0);
    QCOMPARE(screen->statusMessage(), MessageText::nothingToShow());

    // Another project empties the programs and the users.
    screen->cbbProject->setCurrentIndex(0);
    QCOMPARE(programs->rowCount(), 0);
    QVERIFY(!screen->cdsQuery->isActive());
    QVERIFY(boxes.entries.isEmpty());
}

// A save leaves the overrides of programs it did not list (display order 0)
// as stored and writes no removal for a hidden level program; a program filed
// under a menu ID of one character (other modules write such) is written by
// its own ID.
void tst_ZAI150::hiddenProgramsKeptAndShortMenuIds()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    const QSqlDatabase db = tdb.db();
    exec(db,
         QStringLiteral("UPDATE ZA050MS SET DISPLAY_SEQ = 0 WHERE PROJECT_ID = 'KESA_Z' AND "
                        "PROGRAM_ID IN ('ZXB000', 'ZXI021')"));
    exec(db,
         QStringLiteral("INSERT INTO ZA040MS (PROJECT_ID, MENU_ID, MENU_NAME, DISPLAY_SEQ) "
                        "VALUES ('KESA_Z', 'Z', '외부', 9)"));
    exec(db,
         QStringLiteral("INSERT INTO ZA050MS (PROJECT_ID, MENU_ID, PROGRAM_ID, PROGRAM_NAME, "
                        "DISPLAY_SEQ) VALUES ('KESA_Z', 'Z', 'ZZT001', '외부 프로그램', 1)"));
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI150>(tdb.db(), page);
    searchUser(screen, QStringLiteral("E1001"), System);
    QVERIFY(!listEntries(screen->lstListDst).contains(ZXB000 + QStringLiteral("/2")));
    moveRight(screen, {QStringLiteral("[ZZT001] 외부 프로그램")});
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QCOMPARE(overridesOf(db, QStringLiteral("E1001")),
             (QStringList{QStringLiteral("KESA_G:GAI020:N:127.0.0.1"),
                          QStringLiteral("KESA_G:GAS020:Y:127.0.0.1"),
                          QStringLiteral("KESA_S:SAS010:Y:127.0.0.1"),
                          QStringLiteral("KESA_Z:ZXB000:Y:127.0.0.1"),
                          QStringLiteral("KESA_Z:ZXS095:N:10.20.30.40"),
                          QStringLiteral("KESA_Z:ZZT001:Y:10.20.30.40")}));
    // Shown again, the hidden programs are the user's as before.
    exec(db, QStringLiteral("UPDATE ZA050MS SET DISPLAY_SEQ = 50 WHERE DISPLAY_SEQ = 0"));
    const QString bar = menuText(tdb, System, QStringLiteral("E1001"));
    QVERIFY2(bar.contains(QStringLiteral("\tZXB000\t"))
                     && bar.contains(QStringLiteral("\tZXI021\t"))
                     && bar.contains(QStringLiteral("\tZZT001\t")),
             qPrintable(bar));
}

QTEST_MAIN(tst_ZAI150)
#include "tst_ZAI150.moc"
