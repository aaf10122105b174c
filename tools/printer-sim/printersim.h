#pragma once

#include "linesettings.h"
#include "printeditem.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <functional>

class PtyEndpoint;
class QThreadPool;
class QImage;

/// A simulated serial printer on a pseudo-terminal: it parses what arrives,
/// answers status requests, prints into PNG files and can be told to fail.
///
/// Screen tests use it in-process, on their own thread: the screen's waiting
/// loop runs the simulator's notifier, so no second thread is involved.
///
///     CouponSim sim;
///     QVERIFY(sim.start(tempDir.path()));
///     screen->cbbComPort->setCurrentText(sim.portPath());
///     sim.setFaultAfter(PrinterSim::Fault::PaperOut, 2);
///     click(bbtPrint);
///     QVERIFY(sim.waitForItems(2));
///     QCOMPARE(sim.items()[1].lines()[1], "No. 102");
///
/// Every event is also a line of events() (and of the programs' standard
/// output): "SETTINGS 9600 8N1 flow=none", "STATUS? -> 11", "TICKET 3 PATH",
/// "COUPON 1 PATH", "LOST 4 paper-out", "UNKNOWN <ZZ>", "UNSOLICITED 13",
/// "UNPLUGGED", "REPLUGGED PATH", "GARBLED 12".
class PrinterSim : public QObject
{
    Q_OBJECT

public:
    /// Printer faults. Each printer answers them with its own status bytes
    /// (see TicketSim and CouponSim); while one is active nothing is printed.
    enum class Fault {
        None,
        Jam,
        PaperOut,
        Offline,
        CoverOpen,
        Cutter,
        Head,
        Buffer,
        Serious,
        DataError
    };

    explicit PrinterSim(QObject *parent = nullptr);
    ~PrinterSim() override;

    /// Opens the pseudo-terminal. Pictures go into outDir (made if missing);
    /// with a link path a symbolic link to the terminal is kept there, also
    /// across unplug() and replug().
    bool start(const QString &outDir, const QString &linkPath = QString());
    /// Closes the terminal and removes the link (also done at destruction).
    void stop();
    /// The device path a program opens: the link path when one was given,
    /// else /dev/pts/N; empty while unplugged.
    QString portPath() const;
    /// The /dev/pts/N behind portPath().
    QString ptyPath() const;
    QString errorString() const { return m_error; }
    QString outDir() const { return m_outDir; }

    // --- Faults -----------------------------------------------------------

    /// The fault from now on (Fault::None clears it). With notify on, the
    /// new status is also sent unsolicited.
    void setFault(Fault fault);
    Fault fault() const { return m_fault; }
    /// The fault arises once `items` more items have printed (0: at once).
    /// "Out of paper after 3 tickets" is setFaultAfter(Fault::PaperOut, 3).
    void setFaultAfter(Fault fault, int items);
    /// Answers status requests with these bytes instead of the printer's own
    /// status (bytes outside the printer's table too); `once`: only the next.
    /// An empty array goes back to the printer's status.
    void setRawStatus(const QByteArray &bytes, bool once = false);
    /// Leaves the next `requests` status requests unanswered; -1 all of them, 0 none.
    void setSilent(int requests);
    /// Answers this many milliseconds late.
    void setAnswerDelay(int ms);
    /// Answers with this many random bytes (a fixed seed: runs repeat).
    void setGarbage(int bytes);
    /// Sends every received byte straight back, as a cooked terminal would.
    void setEcho(bool on);
    /// Sends each answer in pieces of these sizes, `gapMs` apart (the rest
    /// in a last piece); an empty list sends answers whole.
    void setSplit(const QList<int> &sizes, int gapMs = 20);
    /// Sends these bytes as a piece of their own just before the next answer
    /// (a status left over from earlier).
    void setStale(const QByteArray &bytes, int gapMs = 20);
    /// Sends bytes now, unasked (also while the program has the port closed:
    /// they wait in the line).
    void sendUnsolicited(const QByteArray &bytes);
    /// Sends the status unasked whenever a fault arises or clears.
    void setNotify(bool on);
    /// The rate the printer is set to; a program on another rate gets
    /// garbled bytes through and random answers back. 0: any rate works.
    void setLineRate(int rate);
    /// Takes as long as a real line at the program's rate: an answer leaves
    /// once the bytes before it would have arrived, and arrives when its own
    /// last bit would have; pictures are drawn meanwhile, on their own thread.
    void setPacing(bool on);
    bool notifies() const { return m_notify; }
    bool isPacing() const { return m_pacing; }
    /// Pulls the cable: both ends of the terminal close.
    void unplug();
    /// Plugs it back in on a new terminal (the link path, if any, follows).
    bool replug();
    /// Clears every fault and injection, notify and pacing too.
    void reset();

    /// One command as typed on the programs' standard input, e.g.
    /// "fault paper-out after 3", "status 0c once", "silent 2", "delay 5500",
    /// "garbage 4", "echo on", "split 3,4 20", "stale 13", "send 11",
    /// "notify on", "rate 19200", "pace on", "unplug", "replug", "ready".
    /// Returns "OK" or "ERR " and the reason.
    QString command(const QString &line);
    /// The commands command() knows, one per line, for the programs' help.
    static QString commandHelp();

    /// Parses bytes as if they had arrived on the line (no settings, pacing or
    /// rate check): for tests of the command language.
    void feed(const QByteArray &bytes) { consume(bytes); }

    // --- What happened ----------------------------------------------------

    QList<PrintedItem> items() const { return m_items; }
    /// Every byte received since start() or clearReceived().
    QByteArray received() const { return m_received; }
    void clearReceived() { m_received.clear(); }
    QStringList events() const { return m_events; }
    int statusRequests() const { return m_statusRequests; }

    /// One write of the printer onto the line: when (ms since the simulator was
    /// made) and what.
    struct Write
    {
        qint64 atMs;
        QByteArray bytes;
    };
    /// Every write onto the line, in order: what the printer sent in which
    /// pieces, whatever pieces the other end happened to read them in.
    QList<Write> writes() const { return m_writes; }
    /// Bytes the printer has put onto the line since start().
    qint64 bytesSent() const { return m_bytesSent; }
    /// True while an answer (late, split or paced) is still on its way out.
    bool sending() const { return m_scheduled > 0; }
    /// The settings the program applied, as last seen.
    LineSettings lineSettings() const { return m_settings; }

    /// Runs the event loop until `count` items have printed in all; false on time-out.
    bool waitForItems(int count, int timeoutMs = 60000);
    /// Runs the event loop until an event starting with `prefix` is logged
    /// (events logged before the call count too); false on time-out.
    bool waitForEvent(const QString &prefix, int timeoutMs = 60000);

    static QString faultName(Fault fault);
    /// Fault::None with ok false for an unknown name.
    static Fault faultFromName(const QString &name, bool *ok = nullptr);
    /// "11 0c FC" or "0x11" → bytes; false on anything else.
    static bool parseHex(const QStringList &words, QByteArray &bytes);

Q_SIGNALS:
    void eventLogged(const QString &line);
    void itemPrinted(const PrintedItem &item);

protected:
    /// Parses received bytes; may be called with any split of the stream.
    virtual void consume(const QByteArray &bytes) = 0;
    /// The status bytes of the current fault.
    virtual QByteArray statusBytes(Fault fault) const = 0;
    /// "ticket" or "coupon": names the events and the pictures.
    virtual QString itemWord() const = 0;
    /// Forgets a half-parsed item (the cable was pulled).
    virtual void resetParser() = 0;

    /// The parser saw a status request.
    void statusRequested();
    /// The parser saw a print command: false (and the item logged lost) in a fault.
    bool mayPrint();
    /// Records the item and saves the picture paint() draws. Paced, the
    /// picture is drawn on a thread of its own, as a printer prints while
    /// the line goes on, and the item is recorded once it is saved.
    void itemDone(PrintedItem item, std::function<QImage()> paint);
    /// The number the next printed item gets.
    int nextNumber() const { return m_printed + 1; }
    /// Changes when the cable is pulled. A handler of itemPrinted or eventLogged
    /// may pull it while the parser is in the middle of its bytes: the
    /// parser then stops, as the bytes it held went with the cable.
    int cableGeneration() const { return m_generation; }
    void log(const QString &line);

private:
    bool waitUntil(const std::function<bool()> &done, int timeoutMs);
    void onReceived(const QByteArray &bytes);
    void recordItem(const PrintedItem &item);
    void checkSettings();
    void writePieces(const QList<QByteArray> &pieces, int delayMs, int gapMs);
    void writeAt(double dueMs, const QByteArray &bytes);
    void send(const QByteArray &bytes);
    QByteArray randomBytes(int count);
    double byteTimeMs() const;

    PtyEndpoint *m_pty = nullptr;
    QString m_outDir;
    QString m_linkPath;
    QString m_error;

    Fault m_fault = Fault::None;
    Fault m_pendingFault = Fault::None;
    int m_faultAtItem = -1;
    QByteArray m_raw;
    bool m_rawOnce = false;
    int m_silent = 0;
    int m_delayMs = 0;
    int m_garbage = 0;
    bool m_echo = false;
    QList<int> m_split;
    int m_splitGapMs = 20;
    QByteArray m_stale;
    int m_staleGapMs = 20;
    bool m_notify = false;
    int m_lineRate = 0;
    bool m_pacing = false;

    QRandomGenerator m_random{20261210};
    QElapsedTimer m_clock;
    double m_inFreeAt = 0;
    double m_outFreeAt = 0;
    int m_generation = 0;

    QByteArray m_received;
    QStringList m_events;
    QList<PrintedItem> m_items;
    QList<Write> m_writes;
    qint64 m_bytesSent = 0;
    int m_scheduled = 0;
    int m_statusRequests = 0;
    int m_printed = 0;
    QThreadPool *m_painter = nullptr;
    LineSettings m_settings;
    bool m_settingsSeen = false;
};
