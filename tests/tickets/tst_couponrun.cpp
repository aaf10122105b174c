// Coupon runs of ZXS090 against the coupon printer simulator on a
// pseudo-terminal: the bytes sent, the coupons printed, every status the
// printer can answer, split and stale answers, silence, a lost line, and a
// run stopped by a fault or by the operator.
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"

#include "couponsim.h"
#include "patience.h"

#include "platform/cp949.h"
#include "platform/seriallink.h"
#include "tickets/ZXS090.h"
#include "tickets/couponcommands.h"
#include "tickets/couponprinter.h"
#include "tickets/coupontexts.h"
#include "tickets/portchoosers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Fault = PrinterSim::Fault;

namespace {

const QByteArray StatusRequest("\x1b\x06\x01", 3);

/// A status answer as the printer sends it: header 0F, then the bytes.
QByteArray status(char s3, char s4 = 0, char s5 = 0, char s6 = 0)
{
    return QByteArray("\x0f\x00", 2) + s3 + s4 + s5 + s6 + '\0';
}

/// The lines of a coupon that hold text (every enabled line prints, empty ones
/// as a blank line, and a coupon starts with the feed after the one before).
QStringList printed(const PrintedItem &coupon)
{
    QStringList lines = coupon.lines();
    lines.removeAll(QString());
    return lines;
}

/// The first row of a printed picture with a dark pixel, -1 for a blank one.
int firstInkedRow(const QImage &picture)
{
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y) {
        const uchar *row = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x) {
            if (row[x] < 128)
                return y;
        }
    }
    return -1;
}

} // namespace

class tst_CouponRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void numberedRange();
    void unnumberedCoupon();
    void printerSettings();
    void doubleSizeMarks();
    void fullCoupon();
    void faultBeforeTheRun_data();
    void faultBeforeTheRun();
    void answersInPieces_data();
    void answersInPieces();
    void silentBeforeACoupon();
    void paperOutAfterCouponTwo();
    void escStopsBetweenCoupons();
    void closeRefusedDuringARun();
    void lostLine();
    void portThatWillNotOpen();
    void defaultTimeOuts();
    void resumeAfterPaperOut();
    void escEndsASilentWait();
    void closeRefusedTextGoesWithTheRun();

private:
    /// Clicks the print button; the run is over when the click returns.
    void print();
    /// Silent from now on: the wait for an answer is the behaviour, shortened
    /// from eight seconds to a fraction of one.
    void silentPrinter();
    QStringList errors() const { return m_messages->texts(RecordingMessageService::Error); }

    QTemporaryDir m_dir;
    std::unique_ptr<TestDatabase> m_db;
    CouponSim *m_sim = nullptr;
    QPointer<TfrmZXS090> m_screen;
    RecordingMessageService *m_messages = nullptr;
};

void tst_CouponRun::init()
{
    // The port choice stays in the test's folder; no device of this machine is offered.
    PortChoosers::setSettingsFolder(m_dir.filePath(QStringLiteral("settings")));
    PortChoosers::setDeviceFolder(m_dir.filePath(QStringLiteral("no-devices")));
    m_db = std::make_unique<TestDatabase>(QStringLiteral("sqlite"));
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    m_messages = new RecordingMessageService;
    m_sim = new CouponSim;
    QVERIFY2(m_sim->start(m_dir.path()), qPrintable(m_sim->errorString()));
    m_screen = new TfrmZXS090;
    activate(m_screen);
    m_screen->cbbComPort->setEditText(m_sim->portPath());
    // A printer that answers is waited for as long as a busy machine needs;
    // the tests of a silent one shorten the wait (silentPrinter()).
    m_screen->printer()->setStatusTimeoutMs(PatienceMs);
    m_screen->printer()->setAfterSendMs(100);
}

void tst_CouponRun::cleanup()
{
    delete m_screen.data();
    delete m_sim;
    m_sim = nullptr;
    delete m_messages;
    m_messages = nullptr;
    m_db.reset();
}

void tst_CouponRun::print()
{
    QTest::mouseClick(m_screen->bbtPrint, Qt::LeftButton);
    QVERIFY(!m_screen->isRunning());
    QVERIFY(!m_screen->comComPort->isOpen());
}

void tst_CouponRun::silentPrinter()
{
    m_sim->setSilent(-1);
    m_screen->printer()->setStatusTimeoutMs(400);
}

void tst_CouponRun::numberedRange()
{
    m_screen->prn(1)->setText(QStringLiteral("봄맞이 할인쿠폰"));
    m_screen->prn(2)->setText(QStringLiteral("No. {일련번호}"));
    m_screen->edtNoFrom->setText(QStringLiteral("101"));
    m_screen->edtNoTo->setText(QStringLiteral("103"));
    QStringList counter;
    connect(m_sim, &PrinterSim::itemPrinted, this, [&] {
        counter.append(m_screen->lblCountCurrent->text() + m_screen->lblCountSlash->text()
                       + m_screen->lblCountTotal->text());
    });
    print();

    QCOMPARE(m_messages->allTexts(), QStringList{CouponText::completed()});
    QCOMPARE(m_messages->entries.first().kind, RecordingMessageService::Plain);
    QCOMPARE(counter, QStringList({"1/3", "2/3", "3/3"}));
    QCOMPARE(m_screen->lblCountCurrent->text(), QString());
    QCOMPARE(m_screen->lblCountSlash->text(), QString());
    QCOMPARE(m_screen->lblCountTotal->text(), QString());

    const QList<PrintedItem> coupons = m_sim->items();
    QCOMPARE(coupons.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(printed(coupons[i]),
                 QStringList({QStringLiteral("봄맞이 할인쿠폰"),
                              QStringLiteral("No. %1").arg(101 + i)}));
        // Every coupon of a run starts at the same height: none begins with a
        // feed left by the cut before it.
        QCOMPARE(coupons[i].lines().size(), 21);
        QVERIFY(!coupons[i].bytes.startsWith('\n'));
        const QImage png(coupons[i].pngPath);
        QVERIFY(!png.isNull());
        QCOMPARE(png.width(), 640);
        QCOMPARE(png.height(), QImage(coupons[0].pngPath).height());
        QCOMPARE(firstInkedRow(png), firstInkedRow(QImage(coupons[0].pngPath)));
    }

    // One check before the run, then each coupon between a check before and after.
    QByteArray expected = StatusRequest;
    for (int serial = 101; serial <= 103; ++serial) {
        expected += StatusRequest;
        expected += CouponCommands::couponWrites(
                            CouponCommands::couponText(m_screen->lines(), serial))
                            .join();
        expected += StatusRequest;
    }
    QCOMPARE(m_sim->received(), expected);
}

void tst_CouponRun::unnumberedCoupon()
{
    m_screen->prn(1)->setText(QStringLiteral("No. {일련번호}"));
    QString total;
    connect(m_sim, &PrinterSim::itemPrinted, this, [&] {
        total = m_screen->lblCountCurrent->text() + m_screen->lblCountSlash->text()
                + m_screen->lblCountTotal->text();
    });
    print();
    QCOMPARE(total, QStringLiteral("1/1"));
    QCOMPARE(m_sim->items().size(), 1);
    QCOMPARE(printed(m_sim->items().first()), QStringList{QStringLiteral("No. 0")});
}

void tst_CouponRun::printerSettings()
{
    m_screen->prn(1)->setText(QStringLiteral("A"));
    m_screen->cbbComRate->setCurrentText(QStringLiteral("19200"));
    print();
    QCOMPARE(m_sim->items().size(), 1);
    const LineSettings seen = m_sim->lineSettings();
    QCOMPARE(seen.rate, 19200);
    QCOMPARE(seen.text(), QStringLiteral("19200 8N1 flow=none"));
}

void tst_CouponRun::doubleSizeMarks()
{
    m_screen->prn(1)->setText(QStringLiteral("BOTH"));
    m_screen->ver(1)->setChecked(true);
    m_screen->hor(1)->setChecked(true);
    m_screen->prn(2)->setText(QStringLiteral("TALL"));
    m_screen->ver(2)->setChecked(true);
    m_screen->prn(3)->setText(QStringLiteral("넓게"));
    m_screen->hor(3)->setChecked(true);
    m_screen->prn(4)->setText(QStringLiteral("normal"));
    print();

    QCOMPARE(m_sim->items().size(), 1);
    const QList<PrintedField> fields = m_sim->items().first().fields;
    QCOMPARE(fields.size(), 19); // two double-height lines give up lines 20 and 21
    const QList<QPair<int, int>> scales = {{2, 2}, {2, 1}, {1, 2}, {1, 1}};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(fields[i].heightScale, scales[i].first);
        QCOMPARE(fields[i].widthScale, scales[i].second);
    }
    QCOMPARE(fields[2].text, QStringLiteral("넓게"));
    QVERIFY(m_sim->received().contains(
            QByteArray("\x1b@\x1bi11BOTH\x1bi00\n\x1bi10TALL\x1bi00\n")));
}

void tst_CouponRun::fullCoupon()
{
    // 21 lines, each the most a line holds: 22 lines on the wire, the last the closing command.
    for (int n = 1; n <= TfrmZXS090::LineCount; ++n)
        m_screen->prn(n)->setText(QString(22, QChar(0xAC00 + n)));
    print();
    QVERIFY2(errors().isEmpty(), qPrintable(errors().join('|')));
    QCOMPARE(m_sim->items().size(), 1);
    const QStringList lines = m_sim->items().first().lines();
    QCOMPARE(lines.size(), 21);
    QCOMPARE(lines.last(), QString(22, QChar(0xAC00 + 21)));
    QVERIFY(m_sim->received().contains(QByteArray("\n\x1b"
                                                  "d3")));
}

void tst_CouponRun::faultBeforeTheRun_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("message");

    // The status table in its order; every fault comes with the off-line bit.
    QTest::newRow("cover") << CouponSim::statusFor(Fault::CoverOpen) << CouponText::coverOpen();
    QTest::newRow("cutter") << CouponSim::statusFor(Fault::Cutter) << CouponText::cutter();
    QTest::newRow("serious") << CouponSim::statusFor(Fault::Serious) << CouponText::seriousFault();
    QTest::newRow("head") << CouponSim::statusFor(Fault::Head) << CouponText::headTemperature();
    QTest::newRow("buffer") << CouponSim::statusFor(Fault::Buffer) << CouponText::bufferFull();
    QTest::newRow("paper") << CouponSim::statusFor(Fault::PaperOut) << CouponText::paperOut();
    QTest::newRow("off line") << CouponSim::statusFor(Fault::Offline) << CouponText::offLine();
    QTest::newRow("cover and paper: the first row wins")
            << status(0x28, 0, 0, 0x08) << CouponText::coverOpen();
    QTest::newRow("silent") << QByteArray() << CouponText::noAnswer();
}

void tst_CouponRun::faultBeforeTheRun()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, message);

    m_screen->prn(1)->setText(QStringLiteral("A"));
    m_screen->edtNoFrom->setText(QStringLiteral("1"));
    m_screen->edtNoTo->setText(QStringLiteral("3"));
    if (answer.isEmpty())
        silentPrinter();
    else
        m_sim->setRawStatus(answer);
    print();
    // One check before the run: one box, nothing sent after it, no counter.
    QCOMPARE(errors(), QStringList{message});
    QCOMPARE(m_sim->received(), StatusRequest);
    QCOMPARE(m_sim->items().size(), 0);
    QCOMPARE(m_screen->lblCountTotal->text(), QString());
}

void tst_CouponRun::answersInPieces_data()
{
    QTest::addColumn<QString>("injection"); // a command of the simulator
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("message"); // empty: the coupon prints

    QTest::newRow("split 3,4") << "split 3,4 20" << Fault::None << QString();
    QTest::newRow("byte by byte") << "split 1,1,1,1,1,1 15" << Fault::None << QString();
    QTest::newRow("split, paper out")
            << "split 2,5 30" << Fault::PaperOut << CouponText::paperOut();
    QTest::newRow("paced line") << "pace on" << Fault::None << QString();
    QTest::newRow("stale byte before paper out")
            << "stale 00" << Fault::PaperOut << CouponText::paperOut();
    QTest::newRow("stale ready status before paper out")
            << "stale 0f 00 00 00 00 00 00" << Fault::PaperOut << CouponText::paperOut();
    QTest::newRow("stale paper out before ready")
            << "stale 0f 00 08 00 00 08 00" << Fault::None << QString();
    QTest::newRow("long answer, paper out")
            << "status 23 86 08 00 00 08 00 00 00" << Fault::None << CouponText::paperOut();
    QTest::newRow("long answer, ready")
            << "status 23 86 00 00 00 00 00 00 00" << Fault::None << QString();
    QTest::newRow("late answer within the wait") << "delay 150" << Fault::None << QString();
}

void tst_CouponRun::answersInPieces()
{
    QFETCH(QString, injection);
    QFETCH(Fault, fault);
    QFETCH(QString, message);

    m_screen->prn(1)->setText(QStringLiteral("A"));
    // A status left over from before the run waits in the line: never taken as the answer.
    m_sim->sendUnsolicited(message.isEmpty() ? status(0x08, 0, 0, 0x08) : status(0x00));
    m_sim->setFault(fault);
    QCOMPARE(m_sim->command(injection), QStringLiteral("OK"));
    // A whole status ahead of the answer 20 ms later: the line must stay quiet
    // longer than a loaded machine can delay the second piece.
    if (injection.startsWith(QLatin1String("stale 0f")))
        m_screen->printer()->setQuietMs(1500);
    print();
    if (message.isEmpty()) {
        QVERIFY2(errors().isEmpty(), qPrintable(errors().join('|')));
        QCOMPARE(m_sim->items().size(), 1);
    } else {
        QCOMPARE(errors(), QStringList{message});
        QCOMPARE(m_sim->items().size(), 0);
    }
}

void tst_CouponRun::silentBeforeACoupon()
{
    // Ready for the check before the run, then silent: three checks, then the run stops.
    m_screen->prn(1)->setText(QStringLiteral("A"));
    m_screen->edtNoFrom->setText(QStringLiteral("7"));
    m_screen->edtNoTo->setText(QStringLiteral("8"));
    connect(m_sim, &PrinterSim::eventLogged, this, [this](const QString &line) {
        if (line.startsWith(QLatin1String("STATUS?")) && m_sim->statusRequests() == 1)
            silentPrinter();
    });
    print();
    QCOMPARE(errors(),
             QStringList({CouponText::noAnswer(),
                          CouponText::noAnswer(),
                          CouponText::noAnswer(),
                          CouponText::cannotPrint()}));
    QCOMPARE(m_sim->statusRequests(), 4);
    QCOMPARE(m_sim->items().size(), 0);
    // Stopped at the first coupon: the counter stays, no number was confirmed,
    // and 7 was never sent.
    QCOMPARE(m_screen->lblCountCurrent->text(), QStringLiteral("1"));
    QCOMPARE(m_screen->lblCountTotal->text(), QStringLiteral("2"));
    QCOMPARE(m_screen->statusMessage(),
             CouponText::stopped(QString(), QString(), QStringLiteral("7")));
    QVERIFY(!m_screen->statusMessage().contains(QStringLiteral("확인하지 못했습니다")));
    QCOMPARE(m_screen->edtNoFrom->text(), QStringLiteral("7"));
}

void tst_CouponRun::paperOutAfterCouponTwo()
{
    m_screen->prn(1)->setText(QStringLiteral("No. {일련번호}"));
    m_screen->edtNoFrom->setText(QStringLiteral("101"));
    m_screen->edtNoTo->setText(QStringLiteral("103"));
    m_sim->setFaultAfter(Fault::PaperOut, 2);
    m_messages->modalMs = 50; // boxes keep the loop running, as modal ones do
    print();

    // Coupon 102 printed, but its check after says paper out: one box, and the
    // counter keeps where the run stopped.
    QCOMPARE(errors(), QStringList{CouponText::paperOut()});
    QCOMPARE(m_sim->items().size(), 2);
    QCOMPARE(printed(m_sim->items().at(1)), QStringList{QStringLiteral("No. 102")});
    QCOMPARE(m_screen->lblCountCurrent->text(), QStringLiteral("2"));
    QCOMPARE(m_screen->lblCountTotal->text(), QStringLiteral("3"));
    QCOMPARE(m_screen->statusMessage(),
             CouponText::stopped(QStringLiteral("101"), QStringLiteral("102")));
}

void tst_CouponRun::escStopsBetweenCoupons()
{
    m_screen->prn(1)->setText(QStringLiteral("No. {일련번호}"));
    m_screen->edtNoFrom->setText(QStringLiteral("1"));
    m_screen->edtNoTo->setText(QStringLiteral("99"));
    connect(m_sim, &PrinterSim::itemPrinted, this, [this](const PrintedItem &item) {
        QVERIFY(m_screen->isRunning());
        QVERIFY(!m_screen->prn(1)->isEnabled());
        if (item.number == 2)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    // The answer on its way when Esc is pressed counts however slow the machine.
    m_screen->printer()->setCancelGraceMs(PatienceMs);
    m_screen->prn(3)->setFocus();
    QTest::keyClick(m_screen->prn(3), Qt::Key_F11);
    QVERIFY(!m_screen->isRunning());
    QVERIFY(!m_screen->comComPort->isOpen());
    QVERIFY2(errors().isEmpty(), qPrintable(errors().join('|')));
    QCOMPARE(m_sim->items().size(), 2);
    QCOMPARE(QApplication::focusWidget(), m_screen->prn(3)); // where the operator was
    QCOMPARE(m_screen->lblCountCurrent->text(), QStringLiteral("2"));
    QCOMPARE(m_screen->lblCountTotal->text(), QStringLiteral("99"));
    QCOMPARE(m_screen->statusMessage(), CouponText::stopped(QStringLiteral("2"), QString()));
    QVERIFY(m_screen->prn(1)->isEnabled());
}

void tst_CouponRun::closeRefusedDuringARun()
{
    m_screen->prn(1)->setText(QStringLiteral("A"));
    m_screen->edtNoFrom->setText(QStringLiteral("1"));
    m_screen->edtNoTo->setText(QStringLiteral("2"));
    QStringList during;
    connect(m_sim, &PrinterSim::itemPrinted, this, [&] {
        QVERIFY(!m_screen->close());
        during.append(m_screen->statusMessage());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11); // and no second run
    });
    print();
    QCOMPARE(during, QStringList({CouponText::closeRefused(), CouponText::closeRefused()}));
    QCOMPARE(m_sim->items().size(), 2);
    QCOMPARE(m_sim->statusRequests(), 5);
    QVERIFY(errors().isEmpty());
    // After the run the screen closes as usual: asked about its unsaved
    // layout, answered No.
    m_messages->answers = {false};
    QVERIFY(m_screen->close());
    QCOMPARE(m_messages->texts(RecordingMessageService::Question).size(), 1);
}

void tst_CouponRun::lostLine()
{
    m_screen->prn(1)->setText(QStringLiteral("A"));
    m_screen->edtNoFrom->setText(QStringLiteral("1"));
    m_screen->edtNoTo->setText(QStringLiteral("3"));
    // Pulled right after the first coupon (once the simulator has finished with it),
    // within the wait after it however long the simulator took to draw the coupon.
    m_screen->printer()->setAfterSendMs(2 * PatienceMs);
    connect(m_sim, &PrinterSim::itemPrinted, this, [this] {
        QTimer::singleShot(0, m_sim, &PrinterSim::unplug);
    });
    QElapsedTimer clock;
    clock.start();
    print();
    // One report, the port closed, no flood of errors, and the screen answers at
    // once. The line goes while the coupon is sent or while its check after
    // waits, as the machine's load decides.
    QCOMPARE(errors().size(), 1);
    QVERIFY2(errors().first() == CouponText::cannotSendCoupon()
                     || errors().first() == CouponText::cannotSendRequest(),
             qPrintable(errors().first()));
    QCOMPARE(m_sim->items().size(), 1);
    QVERIFY(clock.elapsed() < PatienceMs); // the wait after the coupon ended with the line
    QCOMPARE(m_screen->statusMessage(), CouponText::stopped(QString(), QStringLiteral("1")));
}

void tst_CouponRun::portThatWillNotOpen()
{
    m_screen->prn(1)->setText(QStringLiteral("A"));
    const QString missing = m_dir.filePath(QStringLiteral("no-such-port"));
    m_screen->cbbComPort->setEditText(missing);
    print();
    QCOMPARE(errors(), QStringList{CouponText::cannotOpenPort(missing)});
    QCOMPARE(m_screen->statusMessage(), QString());
}

void tst_CouponRun::defaultTimeOuts()
{
    PortChoosers::setSettingsFolder(m_dir.filePath(QStringLiteral("nothing-kept")));
    TfrmZXS090 screen;
    QCOMPARE(screen.printer()->statusTimeoutMs(), 8000);
    QCOMPARE(screen.printer()->afterSendMs(), 900);
    // No device and nothing kept: no port proposed (COM1 would wait for nothing).
    QCOMPARE(screen.cbbComPort->currentText(), QString());
    QCOMPARE(screen.cbbComRate->currentText(), QStringLiteral("9600"));
    QCOMPARE(screen.comComPort->portName(), QString());
    QCOMPARE(screen.comComPort->baudRate(), 9600);
}

void tst_CouponRun::resumeAfterPaperOut()
{
    m_screen->prn(1)->setText(QStringLiteral("No. {일련번호}"));
    m_screen->edtNoFrom->setText(QStringLiteral("101"));
    m_screen->edtNoTo->setText(QStringLiteral("105"));
    m_sim->setFaultAfter(Fault::PaperOut, 2);
    print();
    QCOMPARE(m_sim->items().size(), 2);
    const QString where = m_screen->statusMessage();
    QVERIFY2(where.contains(QStringLiteral("102")), qPrintable(where));
    // Coupon 102 printed unconfirmed: checked by hand; the range goes on after it.
    QCOMPARE(m_screen->edtNoFrom->text(), QStringLiteral("103"));
    QCOMPARE(m_screen->edtNoTo->text(), QStringLiteral("105"));
    QCOMPARE(m_screen->edtNoCount->text(), QStringLiteral("3"));
    QTest::mouseClick(m_screen->bbtOpen, Qt::LeftButton); // cancelled
    QCOMPARE(m_screen->statusMessage(), where);

    m_sim->reset();
    m_messages->clear();
    print();
    QVERIFY2(errors().isEmpty(), qPrintable(errors().join('|')));
    QStringList numbers;
    for (const PrintedItem &coupon : m_sim->items())
        numbers += printed(coupon);
    QCOMPARE(numbers, QStringList({"No. 101", "No. 102", "No. 103", "No. 104", "No. 105"}));
    QCOMPARE(m_screen->edtNoFrom->text(), QStringLiteral("106"));
}

void tst_CouponRun::escEndsASilentWait()
{
    m_screen->prn(1)->setText(QStringLiteral("A"));
    m_screen->edtNoFrom->setText(QStringLiteral("1"));
    m_screen->edtNoTo->setText(QStringLiteral("2"));
    m_sim->setSilent(-1);
    // Waited for in full, four attempts would take eight minutes.
    m_screen->printer()->setStatusTimeoutMs(2 * PatienceMs);
    connect(m_sim, &PrinterSim::eventLogged, this, [](const QString &line) {
        if (line.startsWith(QLatin1String("STATUS?")))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    QElapsedTimer clock;
    clock.start();
    print();
    QVERIFY2(clock.elapsed() < PatienceMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_sim->items().size(), 0);
    QCOMPARE(m_sim->statusRequests(), 1);
}

void tst_CouponRun::closeRefusedTextGoesWithTheRun()
{
    m_screen->prn(1)->setText(QStringLiteral("A"));
    m_screen->edtNoFrom->setText(QStringLiteral("1"));
    m_screen->edtNoTo->setText(QStringLiteral("2"));
    connect(m_sim, &PrinterSim::itemPrinted, this, [&] { QVERIFY(!m_screen->close()); });
    print();
    QCOMPARE(m_sim->items().size(), 2);
    QCOMPARE(m_screen->statusMessage(), QString());
}

QTEST_MAIN(tst_CouponRun)
#include "tst_couponrun.moc"
