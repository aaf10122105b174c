// The coupon screen through its widgets: the line rules, the byte limits, the
// keys, the serial range, the preview and the layout file. No printer needed.
#include "recordingmessageservice.h"
#include "screentest.h"

#include "platform/cp949.h"
#include "platform/inifile.h"
#include "platform/programfolders.h"
#include "tickets/ZXS090.h"
#include "tickets/couponpreview.h"
#include "tickets/coupontexts.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using Lines = QList<int>;

namespace {

const QString Han = QStringLiteral("한");

Lines checkedVer(const TfrmZXS090 &screen)
{
    Lines result;
    for (int n = 1; n <= TfrmZXS090::LineCount; ++n) {
        if (screen.ver(n)->isChecked())
            result.append(n);
    }
    return result;
}

Lines disabledLines(const TfrmZXS090 &screen)
{
    Lines result;
    for (int n = 1; n <= TfrmZXS090::LineCount; ++n) {
        const bool enabled = screen.prn(n)->isEnabled();
        // The entry and both boxes go together.
        if (screen.ver(n)->isEnabled() != enabled || screen.hor(n)->isEnabled() != enabled)
            return {-n};
        if (!enabled)
            result.append(n);
    }
    return result;
}

/// Rows of the preview holding ink (neither the fill colour nor the frame).
QList<int> inkRows(const QImage &image)
{
    QList<int> rows;
    const QRgb fill = CouponPreview::fillColour().rgb();
    for (int y = 1; y < image.height() - 1; ++y) {
        if (y == CouponPreview::TearLineY)
            continue;
        for (int x = 2; x < image.width() - 2; ++x) {
            if (image.pixel(x, y) != fill) {
                rows.append(y);
                break;
            }
        }
    }
    return rows;
}

} // namespace

class tst_ZXS090 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void frame();
    void doubleHeightGivesUpLinesAtTheEnd_data();
    void doubleHeightGivesUpLinesAtTheEnd();
    void lineLimitsCountCp949Bytes();
    void doubleWidthCutsToTwentyTwoBytes();
    void lineKeysWrapAndSkipDisabledLines();
    void serialRange_data();
    void serialRange();
    void previewDrawsEnabledLinesWithTheirSizes();
    void layoutRoundTrip();
    void openingRunsTheLineRules();
    void openCancelledOrNotALayout();
    void saveAsksBeforeOverwritingAndReportsFailure();
    void printRefusesBadInput_data();
    void printRefusesBadInput();
    void openingSetsTheBoxesBeforeTheTexts();
    void saveWholeOrNothing();

private:
    TfrmZXS090 *m_screen = nullptr;
    RecordingMessageService *m_messages = nullptr;
    QTemporaryDir m_dir;
};

void tst_ZXS090::init()
{
    m_messages = new RecordingMessageService;
    m_screen = new TfrmZXS090;
    activate(m_screen);
}

void tst_ZXS090::cleanup()
{
    delete m_screen;
    m_screen = nullptr;
    delete m_messages;
    m_messages = nullptr;
}

void tst_ZXS090::frame()
{
    QCOMPARE(m_screen->statusPanel(0)->text(), QStringLiteral("ZXS090"));
    QCOMPARE(m_screen->windowTitle(), QStringLiteral("할인쿠폰 출력"));
    for (const char *name : {"Prn1",
                             "Prn21",
                             "Ver1",
                             "Hor21",
                             "edtNoFrom",
                             "edtNoTo",
                             "edtNoCount",
                             "imgPreview",
                             "cbbComPort",
                             "cbbComRate",
                             "bbtPrint",
                             "bbtSave",
                             "bbtOpen",
                             "bbtClose"})
        QVERIFY2(m_screen->findChild<QWidget *>(QLatin1String(name)), name);
    QCOMPARE(m_screen->bbtPrint->property("tag").toInt(), 1048576);
    QCOMPARE(m_screen->bbtSave->property("tag").toInt(), 4096);
    QCOMPARE(m_screen->bbtOpen->property("tag").toInt(), 1);
    QCOMPARE(m_screen->imgPreview->pixmap().size(),
             QSize(CouponPreview::Width, CouponPreview::Height));
    // Rows 29 pixels apart.
    QCOMPARE(m_screen->prn(2)->y() - m_screen->prn(1)->y(), 29);
    QCOMPARE(m_screen->prn(21)->y() - m_screen->prn(1)->y(), 20 * 29);
    QCOMPARE(m_screen->lblCountCurrent->text(), QString());
    QCOMPARE(m_screen->lblCountTotal->text(), QString());
    QCOMPARE(QApplication::focusWidget(), m_screen->prn(1));
}

void tst_ZXS090::doubleHeightGivesUpLinesAtTheEnd_data()
{
    QTest::addColumn<Lines>("clicks"); // a box clicked on and off again by its line number
    QTest::addColumn<Lines>("checked");
    QTest::addColumn<Lines>("disabled");

    QTest::newRow("one line") << Lines{5} << Lines{5} << Lines{21};
    QTest::newRow("line 21 undoes itself") << Lines{21} << Lines{} << Lines{};
    QTest::newRow("three lines") << Lines{1, 2, 3} << Lines{1, 2, 3} << Lines{19, 20, 21};
    QTest::newRow("the next line to give up undoes itself")
            << Lines{1, 2, 19} << Lines{1, 2} << Lines{20, 21};
    QTest::newRow("unchecking gives the line back")
            << Lines{1, 2, 3, 2} << Lines{1, 3} << Lines{20, 21};
    QTest::newRow("ten lines") << Lines{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
                               << Lines{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
                               << Lines{12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
    QTest::newRow("eleventh box lands on a given-up line")
            << Lines{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11} << Lines{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
            << Lines{12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
}

void tst_ZXS090::doubleHeightGivesUpLinesAtTheEnd()
{
    QFETCH(Lines, clicks);
    QFETCH(Lines, checked);
    QFETCH(Lines, disabled);

    m_screen->prn(20)->setText(QStringLiteral("kept"));
    for (int n : clicks) {
        if (!m_screen->ver(n)->isEnabled())
            continue; // a disabled box takes no click
        QTest::mouseClick(m_screen->ver(n), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(QApplication::focusWidget(), m_screen->prn(n));
    }
    QCOMPARE(checkedVer(*m_screen), checked);
    QCOMPARE(disabledLines(*m_screen), disabled);
    QCOMPARE(m_screen->prn(20)->text(), QStringLiteral("kept"));
    for (int n : disabled)
        QVERIFY(!m_screen->lines().at(n - 1).enabled);
}

void tst_ZXS090::lineLimitsCountCp949Bytes()
{
    QLineEdit *line = m_screen->prn(1);
    // Typed: 21 Hangul syllables (42 bytes) and one more does not fit beside "ab".
    type(line, QStringLiteral("ab") + QString(22, Han[0]));
    QCOMPARE(line->text(), QStringLiteral("ab") + QString(21, Han[0]));
    type(line, QStringLiteral("c"));
    QCOMPARE(Cp949::byteLength(line->text()), 44);
    type(line, QStringLiteral("d"));
    QCOMPARE(Cp949::byteLength(line->text()), 44);

    // Set by the program: cut at the limit, never half a character.
    m_screen->prn(2)->setText(QStringLiteral("a") + QString(30, Han[0]));
    QCOMPARE(m_screen->prn(2)->text(), QStringLiteral("a") + QString(21, Han[0]));
    m_screen->prn(3)->setText(QString(50, QLatin1Char('x')));
    QCOMPARE(m_screen->prn(3)->text(), QString(44, QLatin1Char('x')));
}

void tst_ZXS090::doubleWidthCutsToTwentyTwoBytes()
{
    QLineEdit *line = m_screen->prn(4);
    line->setText(QStringLiteral("a") + QString(21, Han[0]));
    m_screen->hor(4)->setChecked(true);
    QCOMPARE(line->text(), QStringLiteral("a") + QString(10, Han[0]));
    QCOMPARE(m_screen->lineLimit(4), 22);
    QCOMPARE(QApplication::focusWidget(), line);
    type(line, QStringLiteral("b"));
    QCOMPARE(line->text(), QStringLiteral("a") + QString(10, Han[0]) + QStringLiteral("b"));
    type(line, QStringLiteral("c"));
    QCOMPARE(Cp949::byteLength(line->text()), 22);

    m_screen->hor(4)->setChecked(false);
    QCOMPARE(m_screen->lineLimit(4), 44);
    type(line, QStringLiteral("c"));
    QCOMPARE(Cp949::byteLength(line->text()), 23);
}

void tst_ZXS090::lineKeysWrapAndSkipDisabledLines()
{
    m_screen->ver(1)->setChecked(true); // gives up line 21
    m_screen->prn(1)->setFocus();
    press(Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), m_screen->prn(20));
    press(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), m_screen->prn(1));
    press(Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), m_screen->prn(2));
    press(Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), m_screen->prn(3));

    m_screen->ver(1)->setChecked(false);
    m_screen->prn(21)->setFocus();
    press(Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), m_screen->prn(1));
}

void tst_ZXS090::serialRange_data()
{
    QTest::addColumn<QStringList>("typed"); // field:text, in order
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("count");

    QTest::newRow("first and count") << QStringList{"from:101", "count:3"} << "101"
                                     << "103"
                                     << "3";
    QTest::newRow("first and last") << QStringList{"from:101", "to:110"} << "101"
                                    << "110"
                                    << "10";
    QTest::newRow("first changed after the count") << QStringList{"count:3", "from:101"} << "101"
                                                   << "103"
                                                   << "3";
    QTest::newRow("last below first leaves the count")
            << QStringList{"from:101", "count:3", "to:5"} << "101"
            << "5"
            << "3";
    QTest::newRow("count 0 leaves the last")
            << QStringList{"from:101", "to:110", "count:0"} << "101"
            << "110"
            << "0";
    QTest::newRow("ten digits") << QStringList{"from:9999999990", "count:10"} << "9999999990"
                                << "9999999999"
                                << "10";
    QTest::newRow("a count longer than can be typed is shown whole")
            << QStringList{"from:1", "to:123456"} << "1"
            << "123456"
            << "123456";
    QTest::newRow("typing stops at the digits a field takes")
            << QStringList{"from:123456789012", "count:1234567"} << "1234567890"
            << "1234580234"
            << "12345";
    QTest::newRow("digits only") << QStringList{"from:1a2-3"} << "123"
                                 << ""
                                 << "";
}

void tst_ZXS090::serialRange()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, count);

    for (const QString &entry : typed) {
        const QString field = entry.section(QLatin1Char(':'), 0, 0);
        QLineEdit *edit = field == QLatin1String("from") ? m_screen->edtNoFrom
                          : field == QLatin1String("to") ? m_screen->edtNoTo
                                                         : m_screen->edtNoCount;
        edit->clear();
        type(edit, entry.section(QLatin1Char(':'), 1));
    }
    QCOMPARE(m_screen->edtNoFrom->text(), first);
    QCOMPARE(m_screen->edtNoTo->text(), last);
    QCOMPARE(m_screen->edtNoCount->text(), count);
}

void tst_ZXS090::previewDrawsEnabledLinesWithTheirSizes()
{
    const auto preview = [this] { return m_screen->imgPreview->pixmap().toImage(); };
    const int h = CouponPreview::lineHeight();
    QCOMPARE(preview().pixel(10, 10), CouponPreview::fillColour().rgb());
    QVERIFY(inkRows(preview()).isEmpty());

    // Line 2 with the serial placeholder; the first number shows as typed.
    m_screen->prn(2)->setText(QStringLiteral("No.{일련번호}"));
    const QImage withoutNumber = preview();
    QList<int> rows = inkRows(withoutNumber);
    QVERIFY(!rows.isEmpty());
    QVERIFY(rows.first() >= CouponPreview::FirstLineY + h);
    QVERIFY(rows.last() < CouponPreview::FirstLineY + 2 * h);
    type(m_screen->edtNoFrom, QStringLiteral("101"));
    QVERIFY(preview() != withoutNumber);

    // Double height on line 1 pushes line 2 down by one more line.
    m_screen->ver(1)->setChecked(true);
    rows = inkRows(preview());
    QVERIFY(rows.first() >= CouponPreview::FirstLineY + 2 * h);
    QVERIFY(rows.last() >= CouponPreview::FirstLineY + 2 * h + h / 2);

    // Double width draws the same text twice as wide.
    const auto inkWidth = [](const QImage &image) {
        int right = 0;
        const QRgb fill = CouponPreview::fillColour().rgb();
        for (int y = 1; y < image.height() - 1; ++y)
            for (int x = 2; x < image.width() - 2; ++x)
                if (y != CouponPreview::TearLineY && image.pixel(x, y) != fill)
                    right = std::max(right, x);
        return right;
    };
    m_screen->ver(1)->setChecked(false);
    const int narrow = inkWidth(preview());
    m_screen->hor(2)->setChecked(true);
    const int wide = inkWidth(preview());
    QVERIFY2(wide > narrow * 3 / 2, qPrintable(QStringLiteral("%1 %2").arg(narrow).arg(wide)));

    // A disabled line keeps its text but is not drawn.
    m_screen->prn(2)->clear();
    m_screen->prn(21)->setText(QStringLiteral("LAST"));
    QVERIFY(!inkRows(preview()).isEmpty());
    m_screen->ver(1)->setChecked(true);
    QVERIFY(inkRows(preview()).isEmpty());
    QCOMPARE(m_screen->prn(21)->text(), QStringLiteral("LAST"));
}

void tst_ZXS090::layoutRoundTrip()
{
    QList<CouponLine> lines(TfrmZXS090::LineCount);
    lines[0] = {QStringLiteral("  A  "), false, false, true};
    lines[1] = {QStringLiteral("할인@#쿠폰"), true, true, true};
    lines[2] = {QStringLiteral("@#"), false, true, true};
    lines[5] = {QStringLiteral("No. {일련번호} "), true, false, true};
    m_screen->setLines(lines);
    const QList<CouponLine> shown = m_screen->lines();

    const QString path = m_dir.filePath(QStringLiteral("coupon"));
    m_messages->fileNames = {path};
    m_screen->bbtSave->click();
    QVERIFY2(m_messages->texts(RecordingMessageService::Error).isEmpty(),
             qPrintable(m_messages->allTexts().join(QLatin1Char('|'))));
    const QString file = path + QStringLiteral(".ini");
    const IniFile ini(file);
    QCOMPARE(ini.sectionLines(QStringLiteral("frmZXS090")).mid(0, 6),
             QStringList({QStringLiteral("Prn1=@#  A  @#"),
                          QStringLiteral("Ver1=N"),
                          QStringLiteral("Hor1=N"),
                          QStringLiteral("Prn2=@#할인@#쿠폰@#"),
                          QStringLiteral("Ver2=Y"),
                          QStringLiteral("Hor2=Y")}));
    QCOMPARE(ini.sectionLines(QStringLiteral("frmZXS090")).size(), 63);
    // Written in cp949.
    QFile raw(file);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QVERIFY(raw.readAll().contains(Cp949::fromUnicode(QStringLiteral("할인@#쿠폰"))));

    TfrmZXS090 other;
    activate(&other);
    m_messages->fileNames = {file};
    other.bbtOpen->click();
    QCOMPARE(other.lines(), shown);
    QCOMPARE(QApplication::focusWidget(), other.prn(1));
}

void tst_ZXS090::openingRunsTheLineRules()
{
    const QString file = m_dir.filePath(QStringLiteral("rules.ini"));
    IniFile ini(file);
    const QString section = QStringLiteral("frmZXS090");
    QVERIFY(ini.writeString(section,
                            QStringLiteral("Prn1"),
                            QStringLiteral("@#") + QString(20, Han[0]) + QStringLiteral("@#")));
    QVERIFY(ini.writeString(section, QStringLiteral("Hor1"), QStringLiteral("Y")));
    QVERIFY(ini.writeString(section, QStringLiteral("Ver2"), QStringLiteral("Y")));
    QVERIFY(ini.writeString(section,
                            QStringLiteral("Ver3"),
                            QStringLiteral("y"))); // exactly "Y" only
    QVERIFY(ini.writeString(section, QStringLiteral("Ver21"), QStringLiteral("Y")));
    QVERIFY(ini.writeString(section, QStringLiteral("Prn20"), QStringLiteral("no marks")));

    // The dialog opens in the documents folder, and next time where the file was.
    ProgramFolders::setDataFolder(m_dir.filePath(QStringLiteral("fresh-settings")));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    m_screen->prn(7)->setText(QStringLiteral("replaced"));
    m_messages->fileNames = {file};
    m_screen->bbtOpen->click();
    QCOMPARE(m_messages->dialogPaths,
             QStringList{QFileInfo(documents).isDir() ? documents : QDir::homePath()});
    m_screen->bbtOpenClick();
    QCOMPARE(m_messages->dialogPaths.last(), m_dir.path());
    QCOMPARE(m_screen->prn(1)->text(), QString(11, Han[0]));
    QCOMPARE(m_screen->lineLimit(1), 22);
    QCOMPARE(checkedVer(*m_screen), Lines{2});
    QCOMPARE(disabledLines(*m_screen), Lines{21});
    QCOMPARE(m_screen->prn(20)->text(), QStringLiteral("no marks"));
    QCOMPARE(m_screen->prn(7)->text(), QString());
    QCOMPARE(QApplication::focusWidget(), m_screen->prn(1));
}

void tst_ZXS090::openCancelledOrNotALayout()
{
    m_screen->prn(3)->setText(QStringLiteral("mine"));
    m_screen->prn(3)->setFocus();
    m_screen->bbtOpenClick(); // the dialog cancelled
    QCOMPARE(m_screen->prn(3)->text(), QStringLiteral("mine"));
    QCOMPARE(QApplication::focusWidget(), m_screen->prn(1));
    QVERIFY(m_messages->texts(RecordingMessageService::Error).isEmpty());

    // Another program's settings file loses nothing of the screen's lines.
    const QString other = m_dir.filePath(QStringLiteral("other.ini"));
    QVERIFY(IniFile(other).writeString(QStringLiteral("frmZXS095"),
                                       QStringLiteral("Prn1"),
                                       QStringLiteral("x")));
    for (const QString &path : {other, m_dir.filePath(QStringLiteral("missing.ini"))}) {
        m_messages->clear();
        m_messages->fileNames = {path};
        m_screen->bbtOpen->click();
        QCOMPARE(m_messages->texts(RecordingMessageService::Error),
                 QStringList{CouponText::notALayout(path)});
        QCOMPARE(m_screen->prn(3)->text(), QStringLiteral("mine"));
    }
}

void tst_ZXS090::saveAsksBeforeOverwritingAndReportsFailure()
{
    const QString file = m_dir.filePath(QStringLiteral("kept.ini"));
    {
        QFile existing(file);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("[frmZXS090]\r\nPrn1=@#old@#\r\n");
    }
    m_screen->prn(1)->setText(QStringLiteral("new"));
    m_messages->fileNames = {file};
    m_messages->answers = {false};
    QTest::keyClick(m_screen->prn(1), Qt::Key_F2);
    QCOMPARE(m_messages->texts(RecordingMessageService::Question).size(), 1);
    QCOMPARE(IniFile(file).readString(QStringLiteral("frmZXS090"), QStringLiteral("Prn1")),
             QStringLiteral("@#old@#"));

    m_messages->fileNames = {file};
    m_messages->answers = {true};
    QTest::keyClick(m_screen->prn(1), Qt::Key_F2);
    QCOMPARE(IniFile(file).readString(QStringLiteral("frmZXS090"), QStringLiteral("Prn1")),
             QStringLiteral("@#new@#"));

    // A folder that does not exist: the layout is not saved, and the user is told.
    const QString nowhere = m_dir.filePath(QStringLiteral("no/such/dir/coupon.ini"));
    m_messages->clear();
    m_messages->fileNames = {nowhere};
    m_screen->bbtSave->click();
    QCOMPARE(m_messages->texts(RecordingMessageService::Error),
             QStringList{CouponText::cannotWriteLayout(nowhere)});
    QVERIFY(!QFile::exists(nowhere));
}

void tst_ZXS090::printRefusesBadInput_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("textLine");
    QTest::addColumn<bool>("giveUpLastLine");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    const QString serial = QStringLiteral("일련번호을(를) 정확히 입력하십시오.");
    QTest::newRow("last number 0") << "5"
                                   << "" << 1 << false << serial << "edtNoTo";
    QTest::newRow("last below first") << "5"
                                      << "4" << 1 << false << serial << "edtNoTo";
    QTest::newRow("no text") << ""
                             << "" << 0 << false << CouponText::nothingToPrint() << "Prn1";
    QTest::newRow("text only on a given-up line")
            << ""
            << "" << 21 << true << CouponText::nothingToPrint() << "Prn1";
}

void tst_ZXS090::printRefusesBadInput()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(int, textLine);
    QFETCH(bool, giveUpLastLine);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    if (textLine > 0)
        m_screen->prn(textLine)->setText(QStringLiteral("text"));
    m_screen->ver(1)->setChecked(giveUpLastLine);
    m_screen->edtNoFrom->setText(first);
    m_screen->edtNoTo->setText(last);
    m_screen->prn(2)->setFocus();
    QTest::keyClick(m_screen->prn(2), Qt::Key_F11);
    QCOMPARE(m_messages->texts(RecordingMessageService::Error), QStringList{message});
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(m_screen->lblCountTotal->text(), QString());
}

void tst_ZXS090::openingSetsTheBoxesBeforeTheTexts()
{
    // Line 3 is double width on screen; the file's line 3 is not, and holds 30 bytes.
    const QString file = m_dir.filePath(QStringLiteral("wide.ini"));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[frmZXS090]\r\nPrn3=@#ABCDEFGHIJKLMNOPQRSTUVWXYZ1234@#\r\nHor3=N\r\n"
                "Prn4=@#0123456789012345678901@#\r\nHor4=Y\r\n");
    }
    m_screen->hor(3)->setChecked(true);
    m_messages->fileNames = {file};
    m_screen->bbtOpen->click();
    QCOMPARE(m_screen->prn(3)->text(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ1234"));
    QVERIFY(!m_screen->hor(3)->isChecked());
    QCOMPARE(m_screen->lineLimit(3), TfrmZXS090::LineBytes);
    QCOMPARE(m_screen->prn(4)->text(), QStringLiteral("0123456789012345678901"));
    QCOMPARE(m_screen->lineLimit(4), TfrmZXS090::WideLineBytes);
}

void tst_ZXS090::saveWholeOrNothing()
{
    const QString file = m_dir.filePath(QStringLiteral("whole.ini"));
    m_screen->prn(1)->setText(QStringLiteral("old"));
    m_messages->fileNames = {file};
    m_screen->bbtSave->click();
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    // The disk fills up half-way through the save: the old file stays whole.
    for (int n = 1; n <= TfrmZXS090::LineCount; ++n)
        m_screen->prn(n)->setText(QString(40, QLatin1Char('a' + n % 26)));
    m_messages->clear();
    m_messages->fileNames = {file};
    m_messages->answers = {true};
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = rlim_t(before.size() + 200);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    m_screen->bbtSave->click();
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);
    QCOMPARE(m_messages->texts(RecordingMessageService::Error),
             QStringList{CouponText::cannotWriteLayout(file)});
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
    f.close();
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("whole.ini*")}, QDir::Files),
             QStringList{QStringLiteral("whole.ini")});

    // A character cp949 lacks: refused before anything is written, naming the line.
    m_screen->prn(1)->setText(QStringLiteral("old"));
    m_screen->prn(5)->setText(QStringLiteral("😀"));
    m_messages->clear();
    m_messages->fileNames = {file};
    m_screen->bbtSave->click();
    QCOMPARE(m_messages->texts(RecordingMessageService::Error),
             QStringList{CouponText::cannotEncode(5)});
    QVERIFY(m_messages->texts(RecordingMessageService::SaveFile).isEmpty());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

QTEST_MAIN(tst_ZXS090)
#include "tst_ZXS090.moc"
