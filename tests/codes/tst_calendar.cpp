// The calendar screens (ZXI020 "공통 월력 등록", ZXI021 "휴일 등록") through their
// widgets on both engines, the year field, and the lunar holidays against
// published dates and an astronomical computation of their own.
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"

#include "codes/ZXI020.h"
#include "codes/ZXI021.h"
#include "codes/yearfield.h"
#include "db/clientdataset.h"
#include "db/lunarholidays.h"
#include "db/sqlstatement.h"
#include "framework/datagrid.h"
#include "framework/displaygrid.h"
#include "framework/messagetexts.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace {

void addCode(const QSqlDatabase &db, const QString &head, const QString &detail, const QString &name)
{
    SqlStatement insert(db,
                        QStringLiteral("INSERT INTO ZX010MS (HEAD, DETAIL, DETAIL_NAME) "
                                       "VALUES (:P0, :P1, :P2)"));
    insert.bind(QStringLiteral("P0"), head);
    insert.bind(QStringLiteral("P1"), detail);
    insert.bind(QStringLiteral("P2"), name);
    insert.exec();
}

// Every-year holidays, and one-year holidays of 2026 and 2028; 3 October 2028
// carries both kinds (추석 on 개천절).
QHash<QString, QString> addHolidays(const QSqlDatabase &db)
{
    const QList<QPair<QString, QString>> everyYear = {{"0101", "신정"},
                                                      {"0505", "어린이날"},
                                                      {"1003", "개천절"},
                                                      {"1225", "성탄절"}};
    const QList<QPair<QString, QString>> oneYear = {{"20260217", "설날"},
                                                    {"20260505", "임시 휴일"},
                                                    {"20281003", "추석"}};
    QHash<QString, QString> names; // YYYYMMDD (one-year) or MMDD
    for (const auto &[day, name] : everyYear) {
        addCode(db, QStringLiteral("Z0012"), day, name);
        names.insert(day, name);
    }
    for (const auto &[day, name] : oneYear) {
        addCode(db, QStringLiteral("Z0013"), day, name);
        names.insert(day, name);
    }
    return names;
}

QString codeName(const QSqlDatabase &db, const QString &head, const QString &detail)
{
    const QStringList names = column(db,
                                     QStringLiteral(
                                             "SELECT DETAIL_NAME FROM ZX010MS WHERE HEAD = '")
                                             + head + QStringLiteral("' AND DETAIL = :P0"),
                                     detail);
    return names.isEmpty() ? QStringLiteral("<none>") : names.first();
}

int calendarRows(const QSqlDatabase &db, const QString &year)
{
    return column(db,
                  QStringLiteral("SELECT COUNT(*) FROM ZX020MS WHERE CALN_DATE LIKE :P0 || '%'"),
                  year)
            .value(0)
            .toInt();
}

template<typename Screen>
Screen *openScreen(const QSqlDatabase &db, QWidget &page, const QDate &today = QDate(2026, 3, 1))
{
    auto *screen = new Screen(&page);
    screen->setDatabase(db);
    screen->yearField->setClock([today] { return today; });
    screen->ensureCreated();
    page.resize(1008, 670);
    activate(&page);
    return screen;
}

void search(QLineEdit *year, const QString &text)
{
    year->setFocus();
    year->setText(text);
    press(Qt::Key_F3);
}

QString cellName(TfrmZXI021 *screen, const QDate &day)
{
    const QPoint cell = TfrmZXI021::cellOf(day);
    return screen->holidayName(day.month(), cell.x(), cell.y());
}

// Double-clicks a day and answers the name box (a null name cancels it).
void enterName(TfrmZXI021 *screen,
               RecordingMessageService &boxes,
               const QDate &day,
               const QString &name)
{
    const QPoint cell = TfrmZXI021::cellOf(day);
    DisplayGrid *grid = screen->rgrGrid[day.month() - 1];
    boxes.inputs = name.isNull() ? QStringList() : QStringList(name);
    const QRect rect = grid->visualRect(grid->model()->index(cell.y(), cell.x()));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class tst_Calendar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { loginAs(QStringLiteral("A0001"), QStringLiteral("김관리")); }
    void defaultYear_data();
    void defaultYear();
    void yearRefused_data();
    void yearRefused();
    void generatedYear_data() { TestDatabase::addEngineRows(); }
    void generatedYear();
    void missingHolidays_data() { TestDatabase::addEngineRows(); }
    void missingHolidays();
    void deleteYear_data() { TestDatabase::addEngineRows(); }
    void deleteYear();
    void layout();
    void holidayEdits_data() { TestDatabase::addEngineRows(); }
    void holidayEdits();
    void dayWithBothHolidays_data() { TestDatabase::addEngineRows(); }
    void dayWithBothHolidays();
    void failedSave();
    void lunarPublishedDates_data();
    void lunarPublishedDates();
    void lunarAgainstAstronomy();
    void lunarButton_data() { TestDatabase::addEngineRows(); }
    void lunarButton();
    void holidaysCommand_data() { TestDatabase::addEngineRows(); }
    void holidaysCommand();
};

void tst_Calendar::defaultYear_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("year");
    QTest::newRow("30 September") << QDate(2004, 9, 30) << 2004;
    QTest::newRow("1 October") << QDate(2004, 10, 1) << 2005;
    QTest::newRow("15 October") << QDate(2004, 10, 15) << 2005;
    QTest::newRow("31 December") << QDate(2004, 12, 31) << 2005;
    QTest::newRow("1 January") << QDate(2005, 1, 1) << 2005;
}

void tst_Calendar::defaultYear()
{
    QFETCH(QDate, today);
    QFETCH(int, year);
    QWidget page20, page21;
    auto *calendar = openScreen<TfrmZXI020>(QSqlDatabase(), page20, today);
    auto *holidays = openScreen<TfrmZXI021>(QSqlDatabase(), page21, today);
    QCOMPARE(calendar->cedYear->text(), QString::number(year));
    QCOMPARE(holidays->cedYear->text(), QString::number(year));
}

void tst_Calendar::yearRefused_data()
{
    QTest::addColumn<QString>("year");
    QTest::newRow("empty") << "";
    QTest::newRow("three digits") << "202";
    QTest::newRow("before 1990") << "1989";
    QTest::newRow("after 2100") << "2101";
    QTest::newRow("zero") << "0000";
}

// Nothing is searched, generated or deleted with a year outside 1990-2100.
void tst_Calendar::yearRefused()
{
    QFETCH(QString, year);
    KESA_TEST_DATABASE(tdb, QStringLiteral("sqlite"));
    addHolidays(tdb.db());
    RecordingMessageService boxes;
    const QString refusal = QStringLiteral("* 기준년도") + MessageText::enterCorrectly();

    QWidget page20;
    auto *calendar = openScreen<TfrmZXI020>(tdb.db(), page20);
    search(calendar->cedYear, QStringLiteral("2026"));
    QCOMPARE(calendarRows(tdb.db(), "2026"), 365);
    for (Qt::Key key : {Qt::Key_F3, Qt::Key_F9}) {
        calendar->cedYear->setText(year);
        calendar->cedYear->setFocus();
        press(key);
        QCOMPARE(calendar->statusMessage(), refusal);
        QVERIFY(calendar->cedYear->hasFocus());
    }
    QVERIFY(boxes.entries.isEmpty()); // no delete question was asked
    QCOMPARE(calendarRows(tdb.db(), "2026"), 365);
    QCOMPARE(column(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM ZX020MS")).value(0), "365");

    QWidget page21;
    auto *holidays = openScreen<TfrmZXI021>(tdb.db(), page21);
    search(holidays->cedYear, year);
    QCOMPARE(holidays->statusMessage(), refusal);
    QVERIFY(holidays->isSearchMode());
    QCOMPARE(holidays->rgrGrid[0]->cell(0, 4), QString()); // nothing laid out
}

// A generated year, row by row against a computation of the test's own.
void tst_Calendar::generatedYear()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    const QHash<QString, QString> names = addHolidays(tdb.db());
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZXI020>(tdb.db(), page);
    static const QString weekdays[] = {"월", "화", "수", "목", "금", "토", "일"};

    for (int pass = 0; pass < 2; ++pass) { // the second search generates the year again in place
        search(screen->cedYear, QStringLiteral("2026"));
        QVERIFY2(boxes.entries.isEmpty(), qPrintable(boxes.allTexts().join('|')));
        ClientDataSet *rows = screen->cdsQuery;
        rows->last();
        QCOMPARE(rows->recordCount(), 365);
        QCOMPARE(calendarRows(tdb.db(), "2026"), 365);
        QDate day(2026, 1, 1);
        for (int row = 0; row < 365; ++row, day = day.addDays(1)) {
            const QString key = day.toString("yyyyMMdd");
            const QString name = names.value(key, names.value(key.mid(4)));
            const bool holiday = !name.isEmpty() || day.dayOfWeek() == 7;
            QCOMPARE(rows->value(row, "CALN_DATE").toString(), day.toString("yyyy-MM-dd"));
            QCOMPARE(rows->value(row, "YOIL").toString(), weekdays[day.dayOfWeek() - 1] + "요일");
            QCOMPARE(rows->value(row, "HOLIDAY_NAME").toString(), name);
            QCOMPARE(rows->value(row, "SKI_MENU_ITEM2").toString(), holiday ? "2" : "1");
            const GridCellStyle style = screen->rgrGrid->cellStyle(row, 2);
            QCOMPARE(style.text, holiday ? QColor(Qt::red) : QColor(Qt::black));
            QCOMPARE(style.background, holiday ? QColor(Qt::yellow) : QColor(Qt::white));
        }
        // 5 May: the one-year holiday wins over the every-year one.
        QCOMPARE(rows->value(124, "HOLIDAY_NAME").toString(), QStringLiteral("임시 휴일"));
    }
    // Then another year: the list shows the year just searched.
    search(screen->cedYear, QStringLiteral("2028"));
    QCOMPARE(screen->cdsQuery->value(0, "CALN_DATE").toString(), QStringLiteral("2028-01-01"));
}

void tst_Calendar::missingHolidays()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZXI020>(tdb.db(), page);
    search(screen->cedYear, QStringLiteral("2026"));
    QCOMPARE(boxes.texts(RecordingMessageService::Error),
             QStringList(
                     QStringLiteral("기본 휴일이 등록되어 있지 않습니다.\r매년 반복되는 휴일을 "
                                    "[공통코드 등록](코드:Z0012) 또는\r[휴일 등록] 프로그램에서 "
                                    "등록하십시오.")));
    addHolidays(tdb.db());
    search(screen->cedYear, QStringLiteral("2026"));
    QVERIFY(screen->cdsQuery->recordCount() > 0);
    boxes.clear();
    search(screen->cedYear, QStringLiteral("2027")); // every-year ones only
    QCOMPARE(boxes.texts(RecordingMessageService::Error),
             QStringList(QStringLiteral("올해 휴일이 등록되어 있지 않습니다.\r올해만 적용되는 "
                                        "휴일(음력 휴일, 특별 휴일 등)을\r[휴일 등록] 프로그램에서 "
                                        "등록하십시오.")));
    QCOMPARE(calendarRows(tdb.db(), "2027"), 0);
    // The refused search shows no other year under 2027.
    QCOMPARE(screen->cdsQuery->recordCount(), 0);
    QCOMPARE(screen->rgrGrid->model()->rowCount(), 0);
}

void tst_Calendar::deleteYear()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addHolidays(tdb.db());
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZXI020>(tdb.db(), page);
    search(screen->cedYear, QStringLiteral("2028"));
    search(screen->cedYear, QStringLiteral("2026"));
    QCOMPARE(calendarRows(tdb.db(), "2028"), 366);

    screen->cedYear->setText(QStringLiteral("2028"));
    boxes.answers = {false};
    press(Qt::Key_F9);
    QCOMPARE(boxes.texts(RecordingMessageService::Question),
             QStringList(QStringLiteral(
                     "2028년 월력을 정말 삭제하시겠습니까?\r삭제시 골프, 스키 등에서 "
                     "등록한 모든 정보가 지워집니다.")));
    QCOMPARE(calendarRows(tdb.db(), "2028"), 366);
    boxes.answers = {true};
    press(Qt::Key_F9);
    QCOMPARE(calendarRows(tdb.db(), "2028"), 0);
    QCOMPARE(calendarRows(tdb.db(), "2026"), 365);
    // The list is read again with the year it was last listed with.
    QCOMPARE(screen->cdsQuery->value(0, "CALN_DATE").toString(), QStringLiteral("2026-01-01"));

    screen->cedYear->setText(QStringLiteral("2026"));
    press(Qt::Key_F9);
    QVERIFY(screen->cdsQuery->isEmpty());
}

// 1 January 2028 is a Saturday: the columns run on from month to month.
void tst_Calendar::layout()
{
    KESA_TEST_DATABASE(tdb, QStringLiteral("sqlite"));
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZXI021>(tdb.db(), page);
    QCOMPARE(QDate(2028, 1, 1).dayOfWeek(), 6);
    search(screen->cedYear, QStringLiteral("2028"));
    DisplayGrid *january = screen->rgrGrid[0];
    DisplayGrid *february = screen->rgrGrid[1];
    QCOMPARE(january->cell(0, 6), QStringLiteral("1"));
    QCOMPARE(january->cell(1, 0), QStringLiteral("2"));
    QCOMPARE(january->cell(0, 5), QString());
    QCOMPARE(january->cell(5, 1), QStringLiteral("31"));             // Monday of the sixth row
    QCOMPARE(february->cell(0, 2), QStringLiteral("1"));             // the column after 31 January
    QCOMPARE(february->cell(4, 2), QStringLiteral("29"));            // a leap year
    QCOMPARE(screen->rgrGrid[11]->cell(5, 0), QStringLiteral("31")); // a Sunday
    QCOMPARE(january->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("일"));
    QCOMPARE(january->gridColumn(0).textColour, QColor(Qt::red));
    QCOMPARE(january->gridColumn(6).textColour, QColor(Qt::blue));
    QCOMPARE(january->columnGroupCaption(0), QStringLiteral("1월"));
}

void tst_Calendar::holidayEdits()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addHolidays(tdb.db());
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZXI021>(tdb.db(), page);
    search(screen->cedYear, QStringLiteral("2027"));
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(cellName(screen, QDate(2027, 12, 25)), QStringLiteral("성탄절"));
    const GridCellStyle marked = screen->rgrGrid[11]
                                         ->cellStyle(TfrmZXI021::cellOf({2027, 12, 25}).y(),
                                                     TfrmZXI021::cellOf({2027, 12, 25}).x());
    QVERIFY(marked.bold);
    QCOMPARE(marked.background, QColor(0xFF, 0x00, 0x80));
    QCOMPARE(marked.text, QColor(Qt::yellow));

    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::nothingChanged());

    // A name on 3 May, cut to 20 bytes; Christmas emptied; New Year renamed.
    enterName(screen, boxes, QDate(2027, 5, 3), QStringLiteral("근로자의 날 대체 휴무일입니다"));
    QCOMPARE(boxes.texts(RecordingMessageService::Input),
             QStringList(QStringLiteral("휴일명을 입력하십시오.      ")));
    QCOMPARE(cellName(screen, QDate(2027, 5, 3)), QStringLiteral("근로자의 날 대체 휴"));
    enterName(screen, boxes, QDate(2027, 12, 25), QStringLiteral("   "));
    QCOMPARE(cellName(screen, QDate(2027, 12, 25)), QString());
    enterName(screen, boxes, QDate(2027, 1, 1), QString()); // a cancelled box keeps the name
    QCOMPARE(cellName(screen, QDate(2027, 1, 1)), QStringLiteral("신정"));
    const QPoint newYear = TfrmZXI021::cellOf({2027, 1, 1});
    screen->rgrGrid[0]->setFocus();
    screen->rgrGrid[0]->setCurrentIndex(
            screen->rgrGrid[0]->model()->index(newYear.y(), newYear.x()));
    boxes.inputs = {QStringLiteral("새해")};
    press(Qt::Key_Return);
    QCOMPARE(cellName(screen, QDate(2027, 1, 1)), QStringLiteral("새해"));

    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QCOMPARE(codeName(tdb.db(), "Z0013", "20270503"), QStringLiteral("근로자의 날 대체 휴"));
    QCOMPARE(codeName(tdb.db(), "Z0012", "1225"), QStringLiteral("<none>"));
    QCOMPARE(codeName(tdb.db(), "Z0012", "0101"), QStringLiteral("새해"));
    QCOMPARE(cellName(screen, QDate(2027, 5, 3)), QStringLiteral("근로자의 날 대체 휴"));

    // Cancel with changes asks; No keeps them, Yes empties the year.
    enterName(screen, boxes, QDate(2027, 7, 7), QStringLiteral("칠석"));
    boxes.answers = {false};
    screen->bbtCancel->click();
    QCOMPARE(cellName(screen, QDate(2027, 7, 7)), QStringLiteral("칠석"));
    boxes.answers = {true};
    screen->bbtCancel->click();
    QVERIFY(screen->isSearchMode());
    QCOMPARE(screen->rgrGrid[6]->cell(0, 4), QString());
    QCOMPARE(cellName(screen, QDate(2027, 5, 3)), QString());
    QCOMPARE(codeName(tdb.db(), "Z0013", "20270707"), QStringLiteral("<none>"));
}

// Emptying the every-year holiday of a day that also has a one-year holiday
// deletes only the every-year one; the one-year holiday then shows, and no
// later save touches it.
void tst_Calendar::dayWithBothHolidays()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addHolidays(tdb.db());
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZXI021>(tdb.db(), page);
    search(screen->cedYear, QStringLiteral("2028"));
    const QDate day(2028, 10, 3);
    QCOMPARE(cellName(screen, day), QStringLiteral("개천절"));
    enterName(screen, boxes, day, QString(" "));
    press(Qt::Key_F2);
    QCOMPARE(codeName(tdb.db(), "Z0012", "1003"), QStringLiteral("<none>"));
    QCOMPARE(codeName(tdb.db(), "Z0013", "20281003"), QStringLiteral("추석"));
    QCOMPARE(cellName(screen, day), QStringLiteral("추석"));

    enterName(screen, boxes, QDate(2028, 11, 11), QStringLiteral("행사일"));
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QCOMPARE(codeName(tdb.db(), "Z0013", "20281003"), QStringLiteral("추석"));
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::nothingChanged());
    QCOMPARE(codeName(tdb.db(), "Z0013", "20281003"), QStringLiteral("추석"));
}

// A failed save shows its box once, keeps the edits, and a close that saved
// first stays open.
void tst_Calendar::failedSave()
{
    KESA_TEST_DATABASE(tdb, QStringLiteral("sqlite"));
    addHolidays(tdb.db());
    SqlStatement refuse(tdb.db(),
                        QStringLiteral("CREATE TRIGGER REFUSE_HOLIDAY BEFORE INSERT ON ZX010MS "
                                       "BEGIN SELECT RAISE(ABORT, 'holiday refused'); END"));
    refuse.exec();
    RecordingMessageService boxes;
    TestHost host;
    QWidget page;
    auto *screen = openScreen<TfrmZXI021>(tdb.db(), page);
    search(screen->cedYear, QStringLiteral("2027"));
    enterName(screen, boxes, QDate(2027, 5, 3), QStringLiteral("행사일"));
    boxes.clear();
    press(Qt::Key_F2);
    const QStringList errors = boxes.texts(RecordingMessageService::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith(MessageText::saveFailed())
                     && errors.first().contains(QStringLiteral("holiday refused")),
             qPrintable(errors.first()));
    QVERIFY(screen->isChanged());
    QCOMPARE(cellName(screen, QDate(2027, 5, 3)), QStringLiteral("행사일"));

    boxes.clear();
    boxes.answers = {true}; // save the changes before closing
    screen->bbtClose->click();
    QCOMPARE(boxes.texts(RecordingMessageService::Error).size(), 1);
    QCOMPARE(host.closes, 0);
    QCOMPARE(codeName(tdb.db(), "Z0013", "20270503"), QStringLiteral("<none>"));
}

// Dates of the national calendar authority (설날, 부처님 오신 날, 추석).
void tst_Calendar::lunarPublishedDates_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QStringList>("days");
    const auto row = [](int year, const char *seollal, const char *buddha, const char *chuseok) {
        QTest::addRow("%d", year) << year << QStringList{seollal, buddha, chuseok};
    };
    // 1997: the new moon of February came at 00:06 Korean time (23:06 in
    // China): 설날 is a day after the Chinese New Year.
    row(1997, "19970208", "19970514", "19970916");
    row(2000, "20000205", "20000511", "20000912");
    row(2004, "20040122", "20040526", "20040928");
    row(2010, "20100214", "20100521", "20100922");
    row(2015, "20150219", "20150525", "20150927");
    row(2017, "20170128", "20170503", "20171004");
    row(2020, "20200125", "20200430", "20201001");
    row(2023, "20230122", "20230527", "20230929");
    row(2024, "20240210", "20240515", "20240917");
    row(2025, "20250129", "20250505", "20251006");
    row(2026, "20260217", "20260524", "20260925");
    row(2027, "20270207", "20270513", "20270915");
    row(2028, "20280127", "20280502", "20281003");
    row(2029, "20290213", "20290520", "20290922");
    row(2030, "20300203", "20300509", "20300912");
    // 2033/34: a leap eleventh month; counting two new moons from the solstice gives 20 January.
    row(2034, "20340219", "20340525", "20340927");
}

void tst_Calendar::lunarPublishedDates()
{
    QFETCH(int, year);
    QFETCH(QStringList, days);
    QStringList names, dates;
    for (const LunarHolidays::Holiday &holiday : LunarHolidays::ofYear(year)) {
        names << holiday.name;
        dates << holiday.date.toString("yyyyMMdd");
    }
    QCOMPARE(names,
             QStringList({"설날 연휴",
                          "설날",
                          "설날 연휴",
                          "부처님 오신 날",
                          "추석 연휴",
                          "추석",
                          "추석 연휴"}));
    const QDate seollal = QDate::fromString(days.at(0), "yyyyMMdd");
    const QDate chuseok = QDate::fromString(days.at(2), "yyyyMMdd");
    QCOMPARE(dates,
             QStringList({seollal.addDays(-1).toString("yyyyMMdd"),
                          days.at(0),
                          seollal.addDays(1).toString("yyyyMMdd"),
                          days.at(1),
                          chuseok.addDays(-1).toString("yyyyMMdd"),
                          days.at(2),
                          chuseok.addDays(1).toString("yyyyMMdd")}));
}

// 2000-2050 against new moons and solar terms from python3-ephem in Korean time.
void tst_Calendar::lunarAgainstAstronomy()
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {qEnvironmentVariable("KESA_SOURCE_DIR")
                          + QStringLiteral("/tests/codes/koreanlunar.py"),
                  QStringLiteral("2000"),
                  QStringLiteral("2050")});
    QVERIFY(python.waitForFinished(120000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    const QStringList lines = QString::fromUtf8(python.readAllStandardOutput())
                                      .split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 51);
    for (const QString &line : lines) {
        const QStringList fields = line.split(' ');
        QStringList ours{fields.at(0)};
        for (const LunarHolidays::Holiday &holiday : LunarHolidays::ofYear(fields.at(0).toInt())) {
            if (!holiday.name.endsWith(QStringLiteral("연휴")))
                ours << holiday.date.toString("yyyyMMdd");
        }
        QCOMPARE(ours, fields);
    }
}

// The button fills the lunar holidays as unsaved edits; a day holding a
// holiday keeps it; F2 stores them.
void tst_Calendar::lunarButton()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addHolidays(tdb.db());
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZXI021>(tdb.db(), page);
    QVERIFY(!screen->bbtLunar->isEnabled()); // search mode
    search(screen->cedYear, QStringLiteral("2028"));
    screen->bbtLunar->click();
    QCOMPARE(screen->statusMessage(),
             QStringLiteral("음력 휴일 6일을 채웠습니다. 확인하고 저장(F2)하십시오."));
    QVERIFY(screen->isChanged());
    QCOMPARE(cellName(screen, QDate(2028, 1, 27)), QStringLiteral("설날"));
    QCOMPARE(cellName(screen, QDate(2028, 10, 3)), QStringLiteral("개천절"));
    QCOMPARE(codeName(tdb.db(), "Z0013", "20280127"), QStringLiteral("<none>"));
    press(Qt::Key_F2);
    QCOMPARE(column(tdb.db(),
                    QStringLiteral("SELECT DETAIL || ' ' || DETAIL_NAME FROM ZX010MS WHERE HEAD = "
                                   "'Z0013' AND DETAIL LIKE '2028%' ORDER BY DETAIL")),
             QStringList({"20280126 설날 연휴",
                          "20280127 설날",
                          "20280128 설날 연휴",
                          "20280502 부처님 오신 날",
                          "20281002 추석 연휴",
                          "20281003 추석",
                          "20281004 추석 연휴"}));
    QCOMPARE(codeName(tdb.db(), "Z0012", "1003"), QStringLiteral("개천절"));
    screen->bbtLunar->click();
    QCOMPARE(screen->statusMessage(), QStringLiteral("채울 음력 휴일이 없습니다."));
    QVERIFY(!screen->isChanged());
}

void tst_Calendar::holidaysCommand()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addHolidays(tdb.db());
    const auto run = [&](const QStringList &args) {
        QProcess tool;
        tool.start(qEnvironmentVariable("KESA_BIN_DIR") + QStringLiteral("/kesa-db"), args);
        tool.waitForFinished(60000);
        return std::make_pair(tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()));
    };
    const auto [printed, listing] = run({"holidays", tdb.alias(), "2028"});
    QCOMPARE(printed, 0);
    QVERIFY2(listing.contains("20281003\t추석\t(등록됨: 추석)\n"), qPrintable(listing));
    QVERIFY(listing.contains("20280127\t설날\n"));
    QCOMPARE(codeName(tdb.db(), "Z0013", "20280127"), QStringLiteral("<none>"));

    // Writing names its writer: without one (or one too long for U_EMP_NO) nothing is written.
    QCOMPARE(run({"holidays", tdb.alias(), "2028", "--write"}).first, 2);
    QCOMPARE(run({"holidays", tdb.alias(), "2028", "--write", "--by", "A00000001"}).first, 2);
    QCOMPARE(codeName(tdb.db(), "Z0013", "20280127"), QStringLiteral("<none>"));
    const auto [written, report] = run(
            {"holidays", tdb.alias(), "2028", "--write", "--by", "A0009"});
    QCOMPARE(written, 0);
    QVERIFY2(report.contains("6일을"), qPrintable(report));
    QCOMPARE(codeName(tdb.db(), "Z0013", "20280127"), QStringLiteral("설날"));
    QCOMPARE(codeName(tdb.db(), "Z0013", "20281003"), QStringLiteral("추석"));
    SqlStatement writer(tdb.db(),
                        QStringLiteral("SELECT DISTINCT U_EMP_NO FROM ZX010MS WHERE HEAD = "
                                       "'Z0013' AND DETAIL IN ('20280126', '20280127', '20280128', "
                                       "'20280502', '20281002', '20281004')"));
    writer.open();
    QVERIFY(writer.next());
    QCOMPARE(writer.value(0).toString(), QStringLiteral("A0009"));
    QVERIFY(!writer.next());

    QCOMPARE(run({"holidays", tdb.alias(), "1989"}).first, 2);
    QCOMPARE(run({"holidays", tdb.alias(), "20x8"}).first, 2);
}

QTEST_MAIN(tst_Calendar)
#include "tst_calendar.moc"
