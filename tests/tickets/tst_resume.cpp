// Numbered runs of both printing screens against the database's ledger, on
// both engines: a run stopped by each printer fault and resumed prints every
// number once, issued numbers are asked about, two desks never print one
// number unasked, and the old CSV ledger is read in once.
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"

#include "couponsim.h"
#include "patience.h"
#include "ticketsim.h"

#include "db/numberledger.h"
#include "tickets/ZXS090.h"
#include "tickets/ZXS095.h"
#include "tickets/couponprinter.h"
#include "tickets/coupontexts.h"
#include "tickets/portchoosers.h"
#include "tickets/ticketpictures.h"
#include "tickets/ticketprinter.h"
#include "tickets/tickettexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

using Fault = PrinterSim::Fault;

namespace {

enum class Stop { Fault, Silence, Cable, Esc };

/// One printing screen at a desk, as the test drives it.
class Desk
{
public:
    virtual ~Desk() = default;
    virtual PrinterSim *sim() = 0;
    virtual QWidget *screen() = 0;
    virtual void setRange(qint64 first, qint64 count) = 0;
    virtual qint64 fieldFirst() const = 0;
    virtual qint64 fieldLast() const = 0;
    virtual QString programId() const = 0;
    virtual void setPort(const QString &path) = 0;
    /// The numbers the simulator printed, in order.
    virtual QList<qint64> printed() = 0;
    /// How long a status answer is waited for: a fraction of a second where
    /// the printer stays silent on purpose, else as long as a busy machine
    /// needs. An answer on its way when Esc is pressed always counts.
    virtual void setStatusTimeoutMs(int ms) = 0;
    void print(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(button->isEnabled());
    }
    virtual void print() = 0;
};

class TicketDesk : public Desk
{
public:
    explicit TicketDesk(const QString &dir)
    {
        QVERIFY2(m_sim.start(dir), qPrintable(m_sim.errorString()));
        activate(&m_screen);
        m_screen.setOldLedgerPath(dir + QStringLiteral("/none.csv"));
        setStatusTimeoutMs(PatienceMs);
        m_screen.printer()->setCancelGraceMs(PatienceMs);
        setPort(m_sim.portPath());
        QTest::mouseClick(m_screen.btnPropertyLabel, Qt::LeftButton);
        m_screen.chkPropertySeq->setChecked(true);
    }
    PrinterSim *sim() override { return &m_sim; }
    QWidget *screen() override { return &m_screen; }
    void setRange(qint64 first, qint64 count) override
    {
        m_screen.edtPropertySeqFrom->setText(QString::number(first));
        m_screen.edtPropertySeqCount->setText(QString::number(count));
    }
    qint64 fieldFirst() const override { return m_screen.edtPropertySeqFrom->text().toLongLong(); }
    qint64 fieldLast() const override { return m_screen.edtPropertySeqTo->text().toLongLong(); }
    QString programId() const override { return QStringLiteral("ZXS095"); }
    void setPort(const QString &path) override { m_screen.cbbComPort->setEditText(path); }
    void setStatusTimeoutMs(int ms) override { m_screen.printer()->setStatusTimeoutMs(ms); }
    QList<qint64> printed() override
    {
        QList<qint64> numbers;
        for (const PrintedItem &item : m_sim.items())
            numbers.append(item.lines().value(0).toLongLong());
        return numbers;
    }
    void print() override { Desk::print(m_screen.bbtPrint); }

    TicketSim m_sim;
    TfrmZXS095 m_screen;
};

class CouponDesk : public Desk
{
public:
    explicit CouponDesk(const QString &dir)
    {
        QVERIFY2(m_sim.start(dir), qPrintable(m_sim.errorString()));
        activate(&m_screen);
        setStatusTimeoutMs(PatienceMs);
        m_screen.printer()->setCancelGraceMs(PatienceMs);
        m_screen.printer()->setAfterSendMs(100);
        setPort(m_sim.portPath());
        m_screen.prn(1)->setText(CouponText::serialPlaceholder());
    }
    PrinterSim *sim() override { return &m_sim; }
    QWidget *screen() override { return &m_screen; }
    void setRange(qint64 first, qint64 count) override
    {
        m_screen.edtNoFrom->setText(QString::number(first));
        m_screen.edtNoCount->setText(QString::number(count));
    }
    qint64 fieldFirst() const override { return m_screen.edtNoFrom->text().toLongLong(); }
    qint64 fieldLast() const override { return m_screen.edtNoTo->text().toLongLong(); }
    QString programId() const override { return QStringLiteral("ZXS090"); }
    void setPort(const QString &path) override { m_screen.cbbComPort->setEditText(path); }
    void setStatusTimeoutMs(int ms) override { m_screen.printer()->setStatusTimeoutMs(ms); }
    QList<qint64> printed() override
    {
        QList<qint64> numbers;
        for (const PrintedItem &item : m_sim.items()) {
            for (const QString &line : item.lines()) {
                if (!line.isEmpty())
                    numbers.append(line.toLongLong());
            }
        }
        return numbers;
    }
    void print() override { Desk::print(m_screen.bbtPrint); }

    CouponSim m_sim;
    TfrmZXS090 m_screen;
};

std::unique_ptr<Desk> makeDesk(const QString &kind, const QString &dir)
{
    if (kind == QLatin1String("ticket"))
        return std::make_unique<TicketDesk>(dir);
    return std::make_unique<CouponDesk>(dir);
}

QStringList states(const QSqlDatabase &db)
{
    QStringList result;
    for (const NumberLedger::Row &row : NumberLedger::rows(db))
        result.append(QString::number(row.number) + QLatin1Char(' ')
                      + NumberLedger::stateName(row.state));
    return result;
}

} // namespace

class tst_Resume : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init() { m_messages = std::make_unique<RecordingMessageService>(); }
    void cleanup() { m_messages.reset(); }
    void stopAndResume_data();
    void stopAndResume();
    void issuedNumbersAsked_data();
    void issuedNumbersAsked();
    void twoDesksOneLayout_data();
    void twoDesksOneLayout();
    void oldLedgerReadOnce_data();
    void oldLedgerReadOnce();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<RecordingMessageService> m_messages;
};

void tst_Resume::initTestCase()
{
    TicketPictures::setFolder(m_dir.filePath(QStringLiteral("pictures")));
    // The port choice stays in the test's folder; no device of this machine is offered.
    PortChoosers::setSettingsFolder(m_dir.filePath(QStringLiteral("settings")));
    PortChoosers::setDeviceFolder(m_dir.filePath(QStringLiteral("no-devices")));
}

void tst_Resume::stopAndResume_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("desk");
    QTest::addColumn<Stop>("stop");
    QTest::addColumn<Fault>("fault");
    const struct
    {
        const char *tag;
        Stop stop;
        Fault fault;
    } cases[] = {
            {"paper out", Stop::Fault, Fault::PaperOut},
            {"head up", Stop::Fault, Fault::Head},
            {"cover open", Stop::Fault, Fault::CoverOpen},
            {"offline", Stop::Fault, Fault::Offline},
            {"silence", Stop::Silence, Fault::None},
            {"cable pulled", Stop::Cable, Fault::None},
            {"esc", Stop::Esc, Fault::None},
    };
    for (const char *desk : {"ticket", "coupon"}) {
        for (const auto &c : cases) {
            for (QTestData *row : TestDatabase::newRows(QStringLiteral("%1/%2").arg(desk, c.tag)))
                *row << QString::fromLatin1(desk) << c.stop << c.fault;
        }
    }
}

void tst_Resume::stopAndResume()
{
    QFETCH(QString, engine);
    QFETCH(QString, desk);
    QFETCH(Stop, stop);
    QFETCH(Fault, fault);
    KESA_TEST_DATABASE(tdb, engine);
    QTemporaryDir dir;
    const std::unique_ptr<Desk> d = makeDesk(desk, dir.path());
    PrinterSim *sim = d->sim();

    // The printer stops once the second item has printed.
    d->setRange(1, 5);
    if (stop == Stop::Fault)
        sim->setFaultAfter(fault, 2);
    QObject::connect(sim, &PrinterSim::itemPrinted, d->screen(), [&](const PrintedItem &item) {
        if (item.number != 2)
            return;
        if (stop == Stop::Silence) {
            sim->setSilent(-1);
            d->setStatusTimeoutMs(300);
        } else if (stop == Stop::Cable)
            QTimer::singleShot(0, sim, &PrinterSim::unplug);
        else if (stop == Stop::Esc)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    d->print();
    QCOMPARE(d->printed(), QList<qint64>({1, 2}));
    QCOMPARE(d->fieldFirst(), 3);
    QCOMPARE(d->fieldLast(), 5);

    // The printer put right, the desk presses print again.
    sim->reset();
    d->setStatusTimeoutMs(PatienceMs);
    if (stop == Stop::Cable) {
        QVERIFY(sim->replug());
        d->setPort(sim->portPath());
    }
    d->print();
    QCOMPARE(d->fieldFirst(), 6);

    // Numbers left unconfirmed are checked against the paper; a missing one
    // would be printed again (asked, and answered yes).
    const QList<qint64> onPaper = d->printed();
    for (const NumberLedger::Row &row : NumberLedger::rows(tdb.db())) {
        if (row.state == NumberLedger::State::Unconfirmed && !onPaper.contains(row.number)) {
            d->setRange(row.number, 1);
            m_messages->answers = {true};
            d->print();
        }
    }
    QList<qint64> numbers = d->printed();
    std::sort(numbers.begin(), numbers.end());
    QCOMPARE(numbers, QList<qint64>({1, 2, 3, 4, 5}));
    for (const NumberLedger::Row &row : NumberLedger::rows(tdb.db()))
        QCOMPARE(row.programId, d->programId());
}

void tst_Resume::issuedNumbersAsked_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("desk");
    for (const char *desk : {"ticket", "coupon"}) {
        for (QTestData *row : TestDatabase::newRows(QString::fromLatin1(desk)))
            *row << QString::fromLatin1(desk);
    }
}

void tst_Resume::issuedNumbersAsked()
{
    QFETCH(QString, engine);
    QFETCH(QString, desk);
    KESA_TEST_DATABASE(tdb, engine);
    QTemporaryDir dir;
    const std::unique_ptr<Desk> d = makeDesk(desk, dir.path());
    d->setRange(1, 3);
    d->print();
    QCOMPARE(d->printed(), QList<qint64>({1, 2, 3}));

    // 2 … 4 holds two numbers issued: asked, and No prints nothing.
    d->setRange(2, 3);
    m_messages->clear();
    m_messages->answers = {false};
    d->print();
    const QStringList asked = m_messages->texts(RecordingMessageService::Question);
    QCOMPARE(asked.size(), 1);
    const QString first = desk == QLatin1String("ticket") ? QStringLiteral("0000000002")
                                                          : QStringLiteral("2");
    QCOMPARE(asked.first(),
             desk == QLatin1String("ticket") ? TicketText::reprintQuestion(first, 2)
                                             : CouponText::reprintQuestion(first, 2));
    QCOMPARE(d->printed().size(), 3);

    // Yes prints them, recorded as reprinted by the employee.
    loginAs(QStringLiteral("E1001"), QStringLiteral("홍길동"));
    m_messages->answers = {true};
    d->print();
    QCOMPARE(d->printed(), QList<qint64>({1, 2, 3, 2, 3, 4}));
    QCOMPARE(states(tdb.db()),
             QStringList({"1 confirmed", "2 reprinted", "3 reprinted", "4 confirmed"}));
    QCOMPARE(NumberLedger::rows(tdb.db()).at(1).empNo, QStringLiteral("E1001"));
    loginAs(QString(), QString());
}

void tst_Resume::twoDesksOneLayout_data()
{
    issuedNumbersAsked_data();
}

void tst_Resume::twoDesksOneLayout()
{
    QFETCH(QString, engine);
    QFETCH(QString, desk);
    KESA_TEST_DATABASE(tdb, engine);
    QSqlDatabase next = tdb.openAnother(QStringLiteral("nextDesk"));
    QTemporaryDir dir;
    const std::unique_ptr<Desk> d = makeDesk(desk, dir.path());
    NumberLedger other(next, d->programId(), NumberLedger::layoutName(QString()), "E2", "10.0.0.2");

    // The desk next door takes number 3 while this one prints 1 … 5.
    d->setRange(1, 5);
    QObject::connect(d->sim(), &PrinterSim::itemPrinted, d->screen(), [&](const PrintedItem &item) {
        if (item.number == 1)
            QVERIFY(other.claim(3, false));
    });
    d->print();
    QCOMPARE(d->printed(), QList<qint64>({1, 2}));
    QCOMPARE(m_messages->texts(RecordingMessageService::Error).size(), 1);
    QCOMPARE(m_messages->texts(RecordingMessageService::Error).first(),
             desk == QLatin1String("ticket") ? TicketText::numberTaken(QStringLiteral("0000000003"))
                                             : CouponText::numberTaken(QStringLiteral("3")));
    QCOMPARE(states(tdb.db()), QStringList({"1 confirmed", "2 confirmed", "3 sent"}));
    // Neither ledger hands out a number the other holds.
    QVERIFY(!other.claim(2, false));
    QCOMPARE(other.highest(), 3);
}

void tst_Resume::oldLedgerReadOnce_data()
{
    TestDatabase::addEngineRows();
}

void tst_Resume::oldLedgerReadOnce()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("ticket-ledger.csv"));
    const auto write = [&](const QByteArray &text) {
        QFile file(csv);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    };
    write("2025-01-05T10:00:00,E1001,/home/kim/봄.ini,COM1,0000000041,sent,\n"
          "2025-01-05T10:00:01,E1001,/home/kim/봄.ini,COM1,0000000041,confirmed,\n"
          "2025-01-05T10:00:02,E1001,/home/kim/봄.ini,COM1,0000000042,sent,\n"
          "2025-01-05T10:00:03,E1001,/home/kim/봄.ini,COM1,0000000042,failed,\"jam, twice\"\n");
    QCOMPARE(NumberLedger::importCsv(tdb.db(), csv), 2);
    QCOMPARE(states(tdb.db()), QStringList({"41 confirmed", "42 unconfirmed"}));
    const NumberLedger::Row row = NumberLedger::rows(tdb.db()).first();
    QCOMPARE(row.layout, QStringLiteral("봄.ini"));
    QCOMPARE(row.time, QStringLiteral("2025-01-05 10:00:01"));
    QCOMPARE(row.programId, QStringLiteral("ZXS095"));

    // Left alone afterwards: the table is no longer empty.
    write("2025-01-06T10:00:00,E1001,/home/kim/봄.ini,COM1,0000000099,confirmed,\n");
    QCOMPARE(NumberLedger::importCsv(tdb.db(), csv), 0);
    NumberLedger ledger(tdb.db(), QStringLiteral("ZXS095"), QStringLiteral("봄.ini"), "E1", "");
    QCOMPARE(ledger.highest(), 42);
    QCOMPARE(NumberLedger::rows(tdb.db(), QStringLiteral("봄.ini"), QDate(2025, 1, 6)).size(), 0);
    QCOMPARE(NumberLedger::rows(tdb.db(), QString(), QDate(2025, 1, 5), QDate(2025, 1, 5)).size(),
             2);
}

QTEST_MAIN(tst_Resume)
#include "tst_resume.moc"
