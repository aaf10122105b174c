#include "common/commonroutines.h"
#include "recordingmessageservice.h"

#include <QtTest>

class TestCommonRoutines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void digitsOnly_data();
    void digitsOnly();
    void formatDateText_data();
    void formatDateText();
    void weekdayName_data();
    void weekdayName();
    void intToTextSafe_data();
    void intToTextSafe();
    void textToInt64_data();
    void textToInt64();
    void messagesGoThroughTheService();
};

void TestCommonRoutines::digitsOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("date separators") << "2004/01/05"
                                     << "20040105";
    QTest::newRow("leading minus kept") << "-1,234"
                                        << "-1234";
    QTest::newRow("inner minus dropped") << "12-34"
                                         << "1234";
    QTest::newRow("minus not first") << "a-1"
                                     << "1";
    QTest::newRow("lone minus") << "-"
                                << "-";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("non-ASCII digits dropped") << "１2٣"
                                              << "2";
    QTest::newRow("Hangul dropped") << "2004년 1월"
                                    << "20041";
}

void TestCommonRoutines::digitsOnly()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);

    QCOMPARE(DigitsOnly(text), expected);
}

void TestCommonRoutines::formatDateText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("isDate");

    QTest::newRow("plain date") << "20040105"
                                << "2004-01-05" << true;
    QTest::newRow("leap day") << "20040229"
                              << "2004-02-29" << true;
    QTest::newRow("no leap day in 2005") << "20050229"
                                         << "20050229" << false;
    QTest::newRow("no 30 February") << "20040230"
                                    << "20040230" << false;
    QTest::newRow("1900 is no leap year") << "19000229"
                                          << "19000229" << false;
    QTest::newRow("2000 is a leap year") << "20000229"
                                         << "2000-02-29" << true;
    QTest::newRow("month 13") << "20041301"
                              << "20041301" << false;
    QTest::newRow("day 0") << "20040100"
                           << "20040100" << false;
    QTest::newRow("year 0") << "00000101"
                            << "00000101" << false;
    QTest::newRow("year 1") << "00010101"
                            << "0001-01-01" << true;
    QTest::newRow("year 9999") << "99991231"
                               << "9999-12-31" << true;
    QTest::newRow("already formatted") << "2004-01-05"
                                       << "2004-01-05" << true;
    QTest::newRow("dots") << "2004.01.05"
                          << "2004-01-05" << true;
    QTest::newRow("six digits") << "200415"
                                << "200415" << false;
    QTest::newRow("leading minus") << "-2004010"
                                   << "-2004010" << false;
    // Ten characters, but no date: must not pass for one.
    QTest::newRow("formatted non-date") << "2004-02-30"
                                        << "2004-02-30" << false;
    QTest::newRow("ten letters") << "abcdefghij"
                                 << "abcdefghij" << false;
    QTest::newRow("empty") << ""
                           << "" << false;
}

void TestCommonRoutines::formatDateText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(bool, isDate);

    QCOMPARE(FormatDateText(text), expected);
    QCOMPARE(IsDateText(text), isDate);
}

void TestCommonRoutines::weekdayName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("sunday") << "20040104"
                            << "일요일";
    QTest::newRow("monday") << "20040105"
                            << "월요일";
    QTest::newRow("tuesday") << "20040106"
                             << "화요일";
    QTest::newRow("wednesday") << "20040107"
                               << "수요일";
    QTest::newRow("thursday") << "20040108"
                              << "목요일";
    QTest::newRow("friday") << "20040109"
                            << "금요일";
    QTest::newRow("saturday") << "20040110"
                              << "토요일";
    QTest::newRow("ten characters") << "2004-01-05"
                                    << "";
    QTest::newRow("digits are not eight") << "2004/1/5"
                                          << "";
    QTest::newRow("eight characters, no date") << "20040230"
                                               << "";
    QTest::newRow("eight characters with separators") << "04.01.05"
                                                      << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestCommonRoutines::weekdayName()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);

    QCOMPARE(WeekdayName(text), expected);
}

void TestCommonRoutines::intToTextSafe_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << qint64(0) << "0";
    QTest::newRow("negative") << qint64(-1234) << "-1234";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "9223372036854775807";
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "-9223372036854775808";
}

void TestCommonRoutines::intToTextSafe()
{
    QFETCH(qint64, value);
    QFETCH(QString, expected);

    QCOMPARE(IntToTextSafe(value), expected);
    QCOMPARE(TextToInt64(expected), value);
}

void TestCommonRoutines::textToInt64_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("plain") << "42" << qint64(42);
    QTest::newRow("leading blank") << " 42" << qint64(42);
    QTest::newRow("trailing blank") << "42 " << qint64(0);
    QTest::newRow("three blanks") << "   " << qint64(0);
    QTest::newRow("control characters only") << "\t\r\n" << qint64(0);
    QTest::newRow("empty") << "" << qint64(0);
    QTest::newRow("negative") << "-17" << qint64(-17);
    QTest::newRow("plus sign") << "+17" << qint64(17);
    QTest::newRow("out of range") << "9223372036854775808" << qint64(0);
    QTest::newRow("below range") << "-9223372036854775809" << qint64(0);
    QTest::newRow("thousands separator") << "1,234" << qint64(0);
    QTest::newRow("decimal point") << "1.5" << qint64(0);
    QTest::newRow("inner blank") << "4 2" << qint64(0);
    QTest::newRow("sign only") << "-" << qint64(0);
    QTest::newRow("blank after sign") << "- 4" << qint64(0);
    QTest::newRow("letters") << "12abc" << qint64(0);
    QTest::newRow("hexadecimal") << "0x1F" << qint64(0);
    QTest::newRow("full-width digits") << "４２" << qint64(0);
    QTest::newRow("leading zeros") << "007" << qint64(7);
}

void TestCommonRoutines::textToInt64()
{
    QFETCH(QString, text);
    QFETCH(qint64, expected);

    QCOMPARE(TextToInt64(text), expected);
}

void TestCommonRoutines::messagesGoThroughTheService()
{
    RecordingMessageService service;
    service.answers = {false, true};

    ShowInfoMessage(QStringLiteral("저장되었습니다."));
    ShowErrorMessage(QStringLiteral("오류\r\r에러내용:\rORA-00001"));
    QCOMPARE(AskYesNo(QStringLiteral("삭제하시겠습니까?")), false);
    QCOMPARE(AskYesNo(QStringLiteral("계속 하시겠습니까?")), true);

    QCOMPARE(service.texts(RecordingMessageService::Info), QStringList({"저장되었습니다."}));
    QCOMPARE(service.texts(RecordingMessageService::Error),
             QStringList({"오류\r\r에러내용:\rORA-00001"}));
    QCOMPARE(service.texts(RecordingMessageService::Question),
             QStringList({"삭제하시겠습니까?", "계속 하시겠습니까?"}));
}

QTEST_GUILESS_MAIN(TestCommonRoutines)
#include "tst_commonroutines.moc"
