// The common code lookup and its routines, on both engines.
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"

#include "codes/ZXH010.h"
#include "db/clientdataset.h"
#include "db/dberror.h"
#include "db/sqlstatement.h"
#include "framework/datagrid.h"
#include "framework/messagetexts.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QStringList codes(const ClientDataSet *data)
{
    QStringList values;
    for (int row = 0; row < data->recordCount(); ++row)
        values << ClientDataSet::displayText(data->value(row, 0));
    return values;
}

// Acts on the lookup once it runs modally (its first search has run by then).
void whenDialogShows(std::function<void(TfrmZXH010 *)> act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<TfrmZXH010 *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        activate(dialog); // shortcuts and the focus follow the active window
        act(dialog);
        if (dialog->isVisible()) // the action did not end it: fail, never hang
            dialog->done(-1);
    });
}

} // namespace

class tst_ZXH010 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { loginAs(QStringLiteral("A0001"), QStringLiteral("김관리")); }
    void codeItems_data() { TestDatabase::addEngineRows(); }
    void codeItems();
    void headSearch_data() { TestDatabase::addEngineRows(); }
    void headSearch();
    void detailList_data() { TestDatabase::addEngineRows(); }
    void detailList();
    void cancelKeepsName_data() { TestDatabase::addEngineRows(); }
    void cancelKeepsName();
};

void tst_ZXH010::codeItems()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    QStringList items{QStringLiteral("stale")};

    QCOMPARE(GetCodeItems(QStringLiteral("J0002"), QStringLiteral("01"), items),
             QStringLiteral("본사"));
    QStringList expected(15, QString());
    expected[0] = QStringLiteral("서울특별시 중구");
    expected[1] = QStringLiteral("02-123-4567");
    QCOMPARE(items, expected);

    // No such row: an empty name and fifteen empty items.
    QCOMPARE(GetCodeItems(QStringLiteral("J0002"), QStringLiteral("99"), items), QString());
    QCOMPARE(items, QStringList(15, QString()));

    // The one-blank code names the head; an empty code finds nothing; codes are not trimmed.
    QCOMPARE(GetCodeName(QStringLiteral("Z1001"), QStringLiteral(" ")),
             QStringLiteral("프로젝트 소속 구분"));
    QCOMPARE(GetCodeName(QStringLiteral("Z1001"), QString()), QString());
    QCOMPARE(GetCodeName(QStringLiteral("Z1001"), QStringLiteral("2")), QStringLiteral("영업구분"));
    QCOMPARE(GetCodeName(QStringLiteral("Z1001"), QStringLiteral("2 ")), QString());

    // A database failure reaches the caller, and the routine still works afterwards.
    SqlStatement(tdb.db(), QStringLiteral("ALTER TABLE ZX010MS RENAME TO ZX010MS_GONE")).exec();
    QVERIFY_THROWS_EXCEPTION(DbError, GetCodeName(QStringLiteral("Z1001"), QStringLiteral("2")));
    SqlStatement(tdb.db(), QStringLiteral("ALTER TABLE ZX010MS_GONE RENAME TO ZX010MS")).exec();
    QCOMPARE(GetCodeName(QStringLiteral("Z1001"), QStringLiteral("1")), QStringLiteral("사업장"));
}

// Head search: names matched anywhere, head rows only; blanks refused.
void tst_ZXH010::headSearch()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    RecordingMessageService boxes;

    // Opened without a name: an empty grid waits in the search field.
    whenDialogShows([&](TfrmZXH010 *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("공통코드 Help"));
        QCOMPARE(dialog->statusPanel(0)->text(), QStringLiteral("ZXH010"));
        QCOMPARE(dialog->edtDetailName->maxLength(), 30);
        QVERIFY(!dialog->cdsQuery->isActive());
        QCOMPARE(QApplication::focusWidget(), dialog->edtDetailName);
        QVERIFY(boxes.entries.isEmpty());

        // Blanks only: the box names the label, the focus stays, nothing listed.
        type(dialog->edtDetailName, QStringLiteral("  "));
        press(Qt::Key_Return);
        QCOMPARE(boxes.entries.size(), 1);
        QCOMPARE(boxes.entries.constLast().text,
                 QStringLiteral("* 검색 조건을(를) 정확히 입력하십시오."));
        QCOMPARE(QApplication::focusWidget(), dialog->edtDetailName);
        QVERIFY(!dialog->cdsQuery->isActive());

        // "업장" is inside the head name "사업장" (J0002) and inside two code
        // names of Z1001 ("사업장", "영업장"): only the head is listed.
        dialog->edtDetailName->clear();
        type(dialog->edtDetailName, QStringLiteral("업장"));
        press(Qt::Key_F3);
        QCOMPARE(codes(dialog->cdsQuery), QStringList{QStringLiteral("J0002")});
        QCOMPARE(QApplication::focusWidget(), dialog->rgrGrid);

        // Nothing found: the message, the focus where it was.
        dialog->edtDetailName->setFocus();
        dialog->edtDetailName->clear();
        type(dialog->edtDetailName, QStringLiteral("없는목록"));
        press(Qt::Key_Return);
        QCOMPARE(dialog->statusMessage(), MessageText::nothingToShow());
        QCOMPARE(QApplication::focusWidget(), dialog->edtDetailName);
        press(Qt::Key_F10); // no row: OK does nothing
        QVERIFY(dialog->isVisible());
        dialog->done(QDialog::Rejected);
    });
    QString name;
    QString head = QStringLiteral("X");
    QVERIFY(!ShowCodeHeadHelp(name, head));
    QVERIFY(head.isEmpty());

    // Opened with a name: the matches at once; Enter on a row chooses it.
    name = QStringLiteral("휴일");
    whenDialogShows([](TfrmZXH010 *dialog) {
        QCOMPARE(codes(dialog->cdsQuery),
                 (QStringList{QStringLiteral("Z0012"), QStringLiteral("Z0013")}));
        QCOMPARE(QApplication::focusWidget(), dialog->rgrGrid);
        dialog->cdsQuery->last();
        press(Qt::Key_Return);
    });
    QVERIFY(ShowCodeHeadHelp(name, head));
    QCOMPARE(head, QStringLiteral("Z0013"));
    QCOMPARE(name, QStringLiteral("연도별 휴일"));
}

// Detail list: a full head lists its codes at once and cannot be changed; a
// shorter head stays editable and must be completed before a search.
void tst_ZXH010::detailList()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    RecordingMessageService boxes;

    QString name = QStringLiteral("그대로");
    QString code = QStringLiteral("X");
    whenDialogShows([](TfrmZXH010 *dialog) {
        QCOMPARE(codes(dialog->cdsQuery),
                 (QStringList{QStringLiteral("0"),
                              QStringLiteral("1"),
                              QStringLiteral("2"),
                              QStringLiteral("3")}));
        QVERIFY(!dialog->edtDetailName->isEnabled());
        QVERIFY(!dialog->lblDetailName->isEnabled());
        dialog->cdsQuery->next();
        dialog->cdsQuery->next();
        press(Qt::Key_Return);
    });
    QVERIFY(ShowCodeDetailHelp(QStringLiteral("Z1001"), name, code));
    QCOMPARE(code, QStringLiteral("2"));
    QCOMPARE(name, QStringLiteral("영업구분"));

    // Four characters: the first search is refused once (no second box when
    // the dialog becomes active again), the field stays enabled.
    whenDialogShows([&](TfrmZXH010 *dialog) {
        QCOMPARE(boxes.entries.size(), 1);
        QCOMPARE(boxes.entries.constLast().text,
                 QStringLiteral("* 검색 조건을(를) 정확히 입력하십시오."));
        QVERIFY(dialog->edtDetailName->isEnabled());
        QCOMPARE(dialog->edtDetailName->maxLength(), 5);
        QApplication::setActiveWindow(nullptr);
        activate(dialog);
        QCOMPARE(boxes.entries.size(), 1);
        QCOMPARE(QApplication::focusWidget(), dialog->edtDetailName);
        dialog->edtDetailName->end(false);
        type(dialog->edtDetailName, QStringLiteral("3"));
        QCOMPARE(dialog->edtDetailName->text(), QStringLiteral("J0003"));
        press(Qt::Key_Return);
        QCOMPARE(codes(dialog->cdsQuery),
                 (QStringList{QStringLiteral("10"),
                              QStringLiteral("20"),
                              QStringLiteral("30"),
                              QStringLiteral("40")}));
        press(Qt::Key_F10);
    });
    QVERIFY(ShowCodeDetailHelp(QStringLiteral("J000"), name, code));
    QCOMPARE(code, QStringLiteral("10"));
    QCOMPARE(name, QStringLiteral("객실"));
}

void tst_ZXH010::cancelKeepsName()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    QString name = QStringLiteral("그대로");
    QString code = QStringLiteral("X");
    whenDialogShows([](TfrmZXH010 *) { press(Qt::Key_F12); });
    QVERIFY(!ShowCodeDetailHelp(QStringLiteral("Z1001"), name, code));
    QVERIFY(code.isEmpty());
    QCOMPARE(name, QStringLiteral("그대로"));

    whenDialogShows([](TfrmZXH010 *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    QVERIFY(!ShowCodeHeadHelp(name, code));
    QVERIFY(code.isEmpty());
    QCOMPARE(name, QStringLiteral("그대로"));
}

QTEST_MAIN(tst_ZXH010)
#include "tst_ZXH010.moc"
