// Ticket runs of ZXS095 against the ticket printer simulator on a
// pseudo-terminal: the bytes sent, the tickets printed, every status byte the
// printer can answer, silence, a lost line, stops and the ledger.
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"

#include "patience.h"
#include "ticketsim.h"

#include "db/numberledger.h"
#include "platform/seriallink.h"
#include "tickets/ZXS095.h"
#include "tickets/portchoosers.h"
#include "tickets/ticketcommands.h"
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
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

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
    void ocrANumberLabel();
    void resumeAfterPaperOut();
    void rangePastTheLargestNumber();
    void ledgerThatCannotBeWritten();
    void escEndsASilentWait();
    void closeRefusedTextGoesWithTheRun();
    void aRunKeepsTheScreenSize();

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
    std::unique_ptr<TestDatabase> m_db;
    TicketSim *m_sim = nullptr;
    QPointer<TfrmZXS095> m_screen;
    RecordingMessageService *m_messages = nullptr;
};

void tst_TicketRun::initTestCase()
{
    TicketPictures::setFolder(m_dir.filePath(QStringLiteral("pictures")));
    // The port choice stays in the test's folder; no device of this machine is offered.
    PortChoosers::setSettingsFolder(m_dir.filePath(QStringLiteral("settings")));
    PortChoosers::setDeviceFolder(m_dir.filePath(QStringLiteral("no-devices")));
}

void tst_TicketRun::init()
{
    m_db = std::make_unique<TestDatabase>(QStringLiteral("sqlite"));
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    m_messages = new RecordingMessageService;
    m_sim = new TicketSim;
    QVERIFY2(m_sim->start(m_dir.filePath(QStringLiteral("out"))), qPrintable(m_sim->errorString()));
    m_screen = new TfrmZXS095;
    activate(m_screen);
    m_screen->setOldLedgerPath(m_dir.filePath(QStringLiteral("no-old-ledger.csv")));
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
    m_db.reset();
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
    for (const NumberLedger::Row &row : NumberLedger::rows(m_db->db()))
        states.append(QString::number(row.number) + QLatin1Char(' ')
                      + NumberLedger::stateName(row.state));
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
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("9999999997"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("3"));
    m_screen->cbbComRate->setCurrentText(QStringLiteral("19200"));
    print();
    QCOMPARE(m_messages->texts(RecordingMessageService::Plain),
             QStringList{TicketText::completed()});
    QVERIFY(errors().isEmpty());
    QCOMPARE(m_sim->items().size(), 3);
    QCOMPARE(m_sim->items()[1].barcodes(), QStringList{QStringLiteral("9999999998")});
    QCOMPARE(m_sim->items()[2].lines(), QStringList{QStringLiteral("9999999999")});
    QCOMPARE(m_sim->statusRequests(), 4);
    QCOMPARE(m_sim->lineSettings().text(), QStringLiteral("19200 8N1 flow=none"));
    QCOMPARE(ledgerStates(),
             QStringList({"9999999997 confirmed", "9999999998 confirmed", "9999999999 confirmed"}));
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
             TicketText::stopped(QStringLiteral("0000000008"), QStringLiteral("0000000007"))
                     + TicketText::checkByHand({QStringLiteral("0000000008")}));
    // Printed, and never confirmed: not "failed", and no run proposes it again.
    QCOMPARE(ledgerStates(), QStringList({"7 confirmed", "8 unconfirmed"}));
    QCOMPARE(m_screen->edtPropertySeqFrom->text(), QStringLiteral("9"));
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
             TicketText::stopped(QStringLiteral("0000000103"), QStringLiteral("0000000102"))
                     + TicketText::checkByHand({QStringLiteral("0000000103")}));
    QCOMPARE(ledgerStates(), QStringList({"101 confirmed", "102 confirmed", "103 unconfirmed"}));
    const NumberLedger::Row last = NumberLedger::rows(m_db->db()).last();
    QCOMPARE(last.layout, QStringLiteral("run.ini"));
    QCOMPARE(last.programId, QStringLiteral("ZXS095"));

    // Opening the layout again proposes the number after the last one sent:
    // 103 printed, though the printer never confirmed it.
    m_screen->edtPropertySeqFrom->clear();
    m_messages->fileNames = {layout};
    QTest::mouseClick(m_screen->bbtOpen, Qt::LeftButton);
    QCOMPARE(m_screen->edtPropertySeqFrom->text(), QStringLiteral("104"));
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
    // The answer on its way when Esc is pressed counts however slow the machine.
    m_screen->printer()->setCancelGraceMs(PatienceMs);
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
    // After the run the screen closes as usual: asked about its unsaved
    // layout, answered No.
    m_messages->answers = {false};
    QVERIFY(m_screen->close());
    QCOMPARE(m_messages->texts(RecordingMessageService::Question).size(), 1);
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
             TicketText::stopped(QStringLiteral("0000000001"), QString())
                     + TicketText::checkByHand({QStringLiteral("0000000001")}));
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
    PortChoosers::setSettingsFolder(m_dir.filePath(QStringLiteral("nothing-kept")));
    TfrmZXS095 screen;
    QCOMPARE(screen.printer()->statusTimeoutMs(), 5000);
    QCOMPARE(screen.cbbComPort->currentText(), QString());
    QCOMPARE(screen.cbbComRate->currentText(), QStringLiteral("9600"));
    QCOMPARE(screen.comComPort->baudRate(), 9600);
    QVERIFY(screen.oldLedgerPath().endsWith(QStringLiteral("/ticket-ledger.csv")));
}

void tst_TicketRun::ocrANumberLabel()
{
    // The number in the OCR-A font, with a lower-case text beside it.
    QTest::mouseClick(m_screen->btnPropertyLabel, Qt::LeftButton);
    m_screen->chkPropertySeq->setChecked(true);
    m_screen->cbbPropertyFont->setCurrentIndex(4);
    QTest::mouseClick(m_screen->btnPropertyLabel, Qt::LeftButton);
    m_screen->edtPropertyText->setText(QStringLiteral("adult"));
    m_screen->cbbPropertyFont->setCurrentIndex(4);
    m_screen->edtPropertyPosY->setValue(30);
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("41"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("2"));
    print();
    QCOMPARE(m_sim->items().size(), 2);
    QCOMPARE(m_sim->items()[0].lines(), QStringList({"0000000041", "ADULT"}));
    QCOMPARE(m_sim->items()[1].lines(), QStringList({"0000000042", "ADULT"}));

    const QString layout = m_dir.filePath(QStringLiteral("ocr-a.ini"));
    m_messages->fileNames = {layout};
    QTest::mouseClick(m_screen->bbtSave, Qt::LeftButton);
    QFile file(layout);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QVERIFY2(saved.contains("<F4><HW1,1>{sequence}"), saved.constData());
    QVERIFY(saved.contains("<F4><HW1,1>ADULT"));
}

void tst_TicketRun::resumeAfterPaperOut()
{
    workedExampleDesign();
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("1"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("5"));
    m_sim->setFaultAfter(Fault::PaperOut, 2);
    print();
    QCOMPARE(m_sim->items().size(), 2);
    const QString where = m_screen->statusMessage();
    QCOMPARE(where,
             TicketText::stopped(QStringLiteral("0000000002"), QStringLiteral("0000000001"))
                     + TicketText::checkByHand({QStringLiteral("0000000002")}));
    // Ticket 2 printed but the printer did not confirm it: the desk checks it
    // by hand; the run goes on after it.
    QCOMPARE(m_screen->edtPropertySeqFrom->text(), QStringLiteral("3"));
    QCOMPARE(m_screen->edtPropertySeqTo->text(), QStringLiteral("5"));
    // Another button leaves the text where the run stopped.
    QTest::mouseClick(m_screen->bbtOpen, Qt::LeftButton);
    QCOMPARE(m_screen->statusMessage(), where);

    m_sim->reset(); // paper in
    m_messages->clear();
    print();
    QCOMPARE(m_messages->texts(RecordingMessageService::Plain),
             QStringList{TicketText::completed()});
    QStringList numbers;
    for (const PrintedItem &item : m_sim->items())
        numbers += item.barcodes();
    QCOMPARE(numbers,
             QStringList({"0000000001", "0000000002", "0000000003", "0000000004", "0000000005"}));
    QCOMPARE(m_screen->edtPropertySeqFrom->text(), QStringLiteral("6"));
}

void tst_TicketRun::rangePastTheLargestNumber()
{
    workedExampleDesign();
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("9999999998"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("3"));
    print();
    QCOMPARE(m_sim->items().size(), 0);
    QVERIFY(m_sim->received().isEmpty());
    QCOMPARE(errors().size(), 1);
    QVERIFY2(errors().first().contains(QStringLiteral("9999999999")), qPrintable(errors().first()));
    QCOMPARE(m_screen->edtPropertySeqFrom->text(), QStringLiteral("9999999998"));
}

void tst_TicketRun::ledgerThatCannotBeWritten()
{
    workedExampleDesign();
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("1"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("4"));
    // The ledger goes away while ticket 2 prints.
    QSqlDatabase other = m_db->openAnother(QStringLiteral("other"));
    connect(m_sim, &PrinterSim::itemPrinted, this, [&](const PrintedItem &item) {
        if (item.number == 2)
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("ALTER TABLE ZX090LG RENAME TO GONE")));
    });
    print();
    QCOMPARE(m_sim->items().size(), 2);
    QCOMPARE(errors().size(), 1);
    QVERIFY2(errors().first().startsWith(TicketText::ledgerFailed(QString())),
             qPrintable(errors().first()));
    QVERIFY(m_messages->texts(RecordingMessageService::Plain).isEmpty());
}

void tst_TicketRun::escEndsASilentWait()
{
    workedExampleDesign();
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("1"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("2"));
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
    QVERIFY(errors().isEmpty());
    QCOMPARE(m_sim->statusRequests(), 1);
    QCOMPARE(m_sim->items().size(), 0);
    QCOMPARE(m_screen->statusMessage(), TicketText::stopped(QString(), QString()));
}

void tst_TicketRun::closeRefusedTextGoesWithTheRun()
{
    workedExampleDesign();
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("1"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("2"));
    QStringList during;
    connect(m_sim, &PrinterSim::itemPrinted, this, [&] {
        QVERIFY(!m_screen->close());
        during.append(m_screen->statusMessage());
    });
    print();
    QCOMPARE(during, QStringList({TicketText::closeRefused(), TicketText::closeRefused()}));
    QCOMPARE(m_sim->items().size(), 2);
    QCOMPARE(m_screen->statusMessage(), QString());
}

QTEST_MAIN(tst_TicketRun)
#include "tst_ticketrun.moc"

namespace {

// Counts the resizes of a widget.
class ResizeCounter : public QObject
{
public:
    explicit ResizeCounter(QWidget *watched) { watched->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::Resize;
        return false;
    }
};

} // namespace

void tst_TicketRun::aRunKeepsTheScreenSize()
{
    // Shown as a window of its own, as here, the screen's size is its own
    // business: a run that changes it makes the window jump and repaint.
    workedExampleDesign();
    QCoreApplication::processEvents(); // the design's layout settled
    const QSize before = m_screen->size();
    ResizeCounter resizes(m_screen);
    m_screen->edtPropertySeqFrom->setText(QStringLiteral("1"));
    m_screen->edtPropertySeqCount->setText(QStringLiteral("20"));
    m_sim->setFaultAfter(Fault::Jam, 20); // the stop's status is the longest text
    print();
    QCOMPARE(m_sim->items().size(), 20);
    QVERIFY(!m_screen->statusMessage().isEmpty());
    QCoreApplication::processEvents();
    QCOMPARE(m_screen->size(), before);
    QCOMPARE(resizes.count, 0);
}
