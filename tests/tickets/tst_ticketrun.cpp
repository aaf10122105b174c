// Ticket runs of ZXS095 against the ticket printer simulator on a
// pseudo-terminal: the bytes sent, the tickets printed, every status byte the
// printer can answer, silence, a lost line, stops and the ledger.
#include "recordingmessageservice.h"
#include "screentest.h"

#include "patience.h"
#include "ticketsim.h"

#include "platform/seriallink.h"
#include "tickets/ZXS095.h"
#include "tickets/ticketcommands.h"
#include "tickets/ticketledger.h"
#include "tickets/ticketpictures.h"
#include "tickets/ticketprinter.h"
#include "tickets/tickettexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

using Fault = PrinterSim::Fault;

namespace {

const QByteArray Status("<S1>");

} // namespace

class tst_TicketRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void workedExample_data();
    void workedExample();
    void countThreeAndTheRate();
    void unnumberedSingleTicket();
    void statusBytes_data();
    void statusBytes();
    void jamOnTheLastTicket();
    void jamOnTicketThreeOfFive();
    void escStopsBetweenTickets();
    void closeRefusedDuringASilentWait();
    void lostLine();
    void portThatWillNotOpen();
    void defaults();

private:
    /// The worked example's design: a label with the number at 20, 10 mm in
    /// the Hangul font twice the size, the barcode at 30, 30 mm, 10 mm high.
    void workedExampleDesign();
    void print();
    /// Silent from now on: the wait for an answer is the behaviour, shortened
    /// from five seconds to a fraction of one.
    void silentPrinter();
    QStringList errors() const { return m_messages->texts(RecordingMessageService::Error); }
    QStringList ledgerStates() const;

    QTemporaryDir m_dir;
    TicketSim *m_sim = nullptr;
    QPointer<TfrmZXS095> m_screen;
    RecordingMessageService *m_messages = nullptr;
};

void tst_TicketRun::initTestCase()
{
    TicketPictures::setFolder(m_dir.filePath(QStringLiteral("pictures")));
}

void tst_TicketRun::init()
{
    m_messages = new RecordingMessageService;
    m_sim = new TicketSim;
    QVERIFY2(m_sim->start(m_dir.filePath(QStringLiteral("out"))), qPrintable(m_sim->errorString()));
    m_screen = new TfrmZXS095;
    activate(m_screen);
    m_screen->setLedger(TicketLedger(m_dir.filePath(QStringLiteral("ledger.csv"))));
    QFile::remove(m_screen->ledgerPath());
    m_screen->cbbComPort->setEditText(m_sim->portPath());
    // A printer that answers is waited for as long as a busy machine needs;
    // the tests of a silent one shorten the wait (silentPrinter()).
    m_screen->printer()->setStatusTimeoutMs(PatienceMs);
}

void tst_TicketRun::silentPrinter()
{
    m_sim->setSilent(-1);
    m_screen->printer()->setStatusTimeoutMs(300);
}

void tst_TicketRun::cleanup()
{
    delete m_screen.data();
    delete m_sim;
    m_sim = nullptr;
    delete m_messages;
    m_messages = nullptr;
}

void tst_TicketRun::workedExampleDesign()
{
    QTest::mouseClick(m_screen->btnPropertyLabel, Qt::LeftButton);
    m_screen->chkPropertySeq->setChecked(true);
    m_screen->edtPropertySize->setValue(2);
    m_screen->edtPropertyPosX->setValue(20);
    m_screen->edtPropertyPosY->setValue(10);
    QTest::mouseClick(m_screen->btnPropertyBarcode, Qt::LeftButton);
    m_screen->edtPropertySize->setValue(2);
    m_screen->edtPropertySizeHeight->setValue(10);
    m_screen->edtPropertyPosX->setValue(30);
    m_screen->edtPropertyPosY->setValue(30);
}

void tst_TicketRun::print()
{
    QTest::mouseClick(m_screen->bbtPrint, Qt::LeftButton);
    QVERIFY(!m_screen->isRunning());
    QVERIFY(!m_screen->comComPort->isOpen());
    QVERIFY(m_screen->bbtPrint->isEnabled());
}

QStringList tst_TicketRun::ledgerStates() const
{
    QStringList states;
    QFile file(m_screen->ledgerPath());
    if (!file.open(QIODevice::ReadOnly))
        return states;
    while (!file.atEnd()) {
        const QStringList f = TicketLedger::csvFields(QString::fromUtf8(file.readLine()).trimmed());
        states.append(f.value(4) + QLatin1Char(' ') + f.value(5));
    }
    return states;
}

void tst_TicketRun::workedExample_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QByteArray>("rotation");
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<QByteArray>("barcode");

    QTest::newRow("0") << 0 << QByteArray("<NR>") << QByteArray("<RC64,144>")
                       << QByteArray("<RC224,224><NR><oP10>");
    QTest::newRow("90") << 1 << QByteArray("<RR>") << QByteArray("<RC144,392>")
                        << QByteArray("<RC224,232><NR><oL10>");
    QTest::newRow("180") << 2 << QByteArray("<RU>") << QByteArray("<RC384,1072>")
                         << QByteArray("<RC224,992><RU><oP10>");
    QTest::newRow("270") << 3 << QByteArray("<RL>") << QByteArray("<RC1064,56>")
                         << QByteArray("<RC984,216><RU><oL10>");
}

void tst_TicketRun::workedExample()
{
    QFETCH(int, direction);
    QFETCH(QByteArray, rotation);
    QFETCH(QByteArray, label);
    QFETCH(QByteArray, barcode);

    workedExampleDesign();
    m_screen->rdgDirection
            ->findChild<QAbstractButton *>(QStringLiteral("rdgDirection%1").arg(direction))
            ->click();
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("1"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("1"));
    print();

    QVERIFY2(m_messages->entries.isEmpty(), qPrintable(m_messages->allTexts().join('|')));
    // One ticket: no completion box, but the status is asked after it too.
    QCOMPARE(m_sim->received(),
             Status + "<CB>" + rotation + label + "<SF1><HW2,2>0000000001" + barcode
                     + "<X2><BI>^0000000001^<p>" + Status);
    QCOMPARE(m_sim->items().size(), 1);
    const PrintedItem ticket = m_sim->items().first();
    QCOMPARE(ticket.lines(), QStringList{QStringLiteral("0000000001")});
    QCOMPARE(ticket.barcodes(), QStringList{QStringLiteral("0000000001")});
    QCOMPARE(ticket.fields[0].rotation, direction);
    const QImage png(ticket.pngPath);
    QVERIFY(!png.isNull());
    if (direction == 0) {
        // 155 × 60 mm at 8 dots a millimetre; ink right of and below the label's anchor.
        QCOMPARE(png.size(), QSize(1240, 480));
        int ink = 0;
        for (int y = 64; y < 64 + 48; ++y) {
            for (int x = 144; x < 144 + 240; ++x)
                ink += qGray(png.pixel(x, y)) < 128;
        }
        QVERIFY(ink > 200);
    }
    QCOMPARE(m_screen->edtPropertySeqFrom->text(), QStringLiteral("2")); // the next run goes on
}

void tst_TicketRun::countThreeAndTheRate()
{
    workedExampleDesign();
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("9999999999"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("3"));
    m_screen->cbbComRate->setCurrentText(QStringLiteral("19200"));
    print();
    QCOMPARE(m_messages->texts(RecordingMessageService::Plain),
             QStringList{TicketText::completed()});
    QVERIFY(errors().isEmpty());
    QCOMPARE(m_sim->items().size(), 3);
    QCOMPARE(m_sim->items()[1].barcodes(), QStringList{QStringLiteral("10000000000")});
    QCOMPARE(m_sim->items()[2].lines(), QStringList{QStringLiteral("10000000001")});
    QCOMPARE(m_sim->statusRequests(), 4);
    QCOMPARE(m_sim->lineSettings().text(), QStringLiteral("19200 8N1 flow=none"));
    QCOMPARE(ledgerStates(),
             QStringList({"9999999999 sent",
                          "9999999999 confirmed",
                          "10000000000 sent",
                          "10000000000 confirmed",
                          "10000000001 sent",
                          "10000000001 confirmed"}));
}

void tst_TicketRun::unnumberedSingleTicket()
{
    workedExampleDesign();
    m_screen->edtPropertySeqCount->setText(QStringLiteral("0"));
    print();
    // The number's label sends its position and font only; no barcode; no completion box.
    QCOMPARE(m_sim->received(), Status + "<CB><NR><RC64,144><SF1><HW2,2><p>" + Status);
    QVERIFY(m_messages->entries.isEmpty());
    QVERIFY(ledgerStates().isEmpty());
}

void tst_TicketRun::statusBytes_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QStringList>("expected");

    const auto four = [](const QString &text) { return QStringList{text, text, text, text}; };
    for (const char b : {'\x03', '\x04', '\x18', '\xfc'})
        QTest::addRow("%02x", quint8(b)) << QByteArray(1, b) << four(TicketText::jammed());
    for (const char b : {'\x08', '\x15', '\x19'})
        QTest::addRow("%02x", quint8(b)) << QByteArray(1, b) << four(TicketText::transferFailed());
    for (const char b : {'\x0a', '\x0b', '\x0c', '\x0d', '\x10'})
        QTest::addRow("%02x", quint8(b)) << QByteArray(1, b) << four(TicketText::outOfTickets());
    QTest::newRow("13") << QByteArray("\x13") << four(TicketText::offLine());
    QTest::newRow("1d") << QByteArray("\x1d") << four(TicketText::cutter());
    // Not in the table: the run must still not end without a word.
    QTest::newRow("06") << QByteArray("\x06") << QStringList{TicketText::unknownError()};
    QTest::newRow("silent") << QByteArray() << four(TicketText::noAnswer());
}

void tst_TicketRun::statusBytes()
{
    QFETCH(QByteArray, answer);
    QFETCH(QStringList, expected);

    workedExampleDesign();
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("1"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("2"));
    if (answer.isEmpty())
        silentPrinter();
    else
        m_sim->setRawStatus(answer);
    print();
    QCOMPARE(errors(), expected);
    for (const auto &entry : std::as_const(m_messages->entries))
        QCOMPARE(entry.title, TicketText::caption());
    QCOMPARE(m_sim->received(), Status + Status + Status + Status);
    QCOMPARE(m_screen->statusMessage(), TicketText::stopped(QString(), QString()));
    QVERIFY(m_messages->texts(RecordingMessageService::Plain).isEmpty());
}

void tst_TicketRun::jamOnTheLastTicket()
{
    workedExampleDesign();
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("7"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("2"));
    m_sim->setFaultAfter(Fault::Jam, 2);
    m_messages->modalMs = 30;
    print();
    // Both printed, then the printer says jam: no success reported.
    QCOMPARE(m_sim->items().size(), 2);
    QCOMPARE(errors(), QStringList{TicketText::jammed()});
    QVERIFY(m_messages->texts(RecordingMessageService::Plain).isEmpty());
    QCOMPARE(m_screen->statusMessage(),
             TicketText::stopped(QStringLiteral("0000000008"), QStringLiteral("0000000007")));
    QCOMPARE(ledgerStates().last(), QStringLiteral("0000000008 failed"));
}

void tst_TicketRun::jamOnTicketThreeOfFive()
{
    workedExampleDesign();
    const QString layout = m_dir.filePath(QStringLiteral("run.ini"));
    m_messages->fileNames = {layout};
    QTest::mouseClick(m_screen->bbtSave, Qt::LeftButton);
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("101"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("5"));
    m_sim->setFaultAfter(Fault::Jam, 3); // the printer jams on the third ticket
    print();

    QCOMPARE(m_sim->items().size(), 3);
    QCOMPARE(errors(), QStringList(4, TicketText::jammed()));
    QCOMPARE(m_screen->statusMessage(),
             TicketText::stopped(QStringLiteral("0000000103"), QStringLiteral("0000000102")));
    QCOMPARE(ledgerStates(),
             QStringList({"0000000101 sent",
                          "0000000101 confirmed",
                          "0000000102 sent",
                          "0000000102 confirmed",
                          "0000000103 sent",
                          "0000000103 failed"}));
    QFile ledger(m_screen->ledgerPath());
    QVERIFY(ledger.open(QIODevice::ReadOnly));
    const QStringList last = TicketLedger::csvFields(
            QString::fromUtf8(ledger.readAll()).trimmed().split('\n').last());
    QCOMPARE(last.value(2), layout);
    QCOMPARE(last.value(3), m_sim->portPath());
    QCOMPARE(last.value(6), TicketText::jammed());

    // Opening the layout again proposes the number after the last one confirmed.
    m_screen->edtPropertySeqFrom->clear();
    m_messages->fileNames = {layout};
    QTest::mouseClick(m_screen->bbtOpen, Qt::LeftButton);
    QCOMPARE(m_screen->edtPropertySeqFrom->text(), QStringLiteral("103"));
}

void tst_TicketRun::escStopsBetweenTickets()
{
    workedExampleDesign();
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("1"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("99"));
    connect(m_sim, &PrinterSim::itemPrinted, this, [this](const PrintedItem &item) {
        QVERIFY(m_screen->isRunning());
        QVERIFY(!m_screen->edtPropertyText->isEnabled() || !m_screen->panMain->isEnabled());
        QVERIFY(!m_screen->bbtOpen->isEnabled());
        if (item.number == 2)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    print();
    QVERIFY(errors().isEmpty());
    // Stopped after the ready answer that confirmed the second ticket.
    QCOMPARE(m_sim->items().size(), 2);
    QCOMPARE(m_screen->statusMessage(),
             TicketText::stopped(QStringLiteral("0000000002"), QStringLiteral("0000000002")));
    QVERIFY(m_screen->panMain->isEnabled());
}

void tst_TicketRun::closeRefusedDuringASilentWait()
{
    workedExampleDesign();
    silentPrinter();
    int refused = 0;
    bool tried = false;
    // While the run waits for the first answer that does not come.
    connect(m_sim, &PrinterSim::eventLogged, this, [&](const QString &line) {
        if (tried || line != QLatin1String("STATUS? -> (silent)"))
            return;
        tried = true;
        QTimer::singleShot(0, m_screen, [&] {
            if (!m_screen->close())
                ++refused;
            QTest::keyClick(m_screen, Qt::Key_F11); // no second run
            QTest::mouseClick(m_screen->bbtSave, Qt::LeftButton);
        });
    });
    print();
    QCOMPARE(refused, 1);
    QCOMPARE(m_sim->statusRequests(), 4);
    QCOMPARE(errors(), QStringList(4, TicketText::noAnswer()));
    QVERIFY(m_messages->texts(RecordingMessageService::SaveFile).isEmpty());
    // After the run the screen closes as usual.
    QVERIFY(m_screen->close());
}

void tst_TicketRun::lostLine()
{
    workedExampleDesign();
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("1"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("3"));
    connect(m_sim, &PrinterSim::itemPrinted, this, [this] {
        QTimer::singleShot(0, m_sim, &PrinterSim::unplug);
    });
    QElapsedTimer clock;
    clock.start();
    print();
    QCOMPARE(errors(), QStringList{TicketText::unknownError()});
    QCOMPARE(m_sim->items().size(), 1);
    QVERIFY(clock.elapsed() < PatienceMs); // the wait ended with the line, not by its time-out
    QCOMPARE(m_screen->statusMessage(),
             TicketText::stopped(QStringLiteral("0000000001"), QString()));
}

void tst_TicketRun::portThatWillNotOpen()
{
    workedExampleDesign();
    m_screen->cbbComPort->setEditText(m_dir.filePath(QStringLiteral("no-such-port")));
    print();
    QCOMPARE(errors(),
             QStringList({TicketText::cannotOpenPort(),
                          TicketText::unknownError(),
                          TicketText::unknownError(),
                          TicketText::unknownError(),
                          TicketText::unknownError()}));
}

void tst_TicketRun::defaults()
{
    TfrmZXS095 screen;
    QCOMPARE(screen.printer()->statusTimeoutMs(), 5000);
    QCOMPARE(screen.cbbComPort->currentText(), QStringLiteral("COM1"));
    QCOMPARE(screen.cbbComRate->currentText(), QStringLiteral("9600"));
    QCOMPARE(screen.comComPort->baudRate(), 9600);
    QVERIFY(screen.ledgerPath().endsWith(QStringLiteral("/ticket-ledger.csv")));
}

QTEST_MAIN(tst_TicketRun)
#include "tst_ticketrun.moc"
