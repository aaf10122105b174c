#include "printersim.h"

#include "ptyendpoint.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QThreadPool>
#include <QTimer>

namespace {

struct FaultName
{
    PrinterSim::Fault fault;
    const char *name;
};

const FaultName FaultNames[] = {
        {PrinterSim::Fault::None, "none"},
        {PrinterSim::Fault::Jam, "jam"},
        {PrinterSim::Fault::PaperOut, "paper-out"},
        {PrinterSim::Fault::Offline, "offline"},
        {PrinterSim::Fault::CoverOpen, "cover"},
        {PrinterSim::Fault::Cutter, "cutter"},
        {PrinterSim::Fault::Head, "head"},
        {PrinterSim::Fault::Buffer, "buffer"},
        {PrinterSim::Fault::Serious, "serious"},
        {PrinterSim::Fault::DataError, "data-error"},
};

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

bool onOff(const QString &word, bool &value)
{
    if (word == QLatin1String("on"))
        value = true;
    else if (word == QLatin1String("off"))
        value = false;
    else
        return false;
    return true;
}

bool number(const QString &word, int &value)
{
    bool ok = false;
    value = word.toInt(&ok);
    return ok && value >= 0;
}

} // namespace

PrinterSim::PrinterSim(QObject *parent)
    : QObject(parent)
    , m_pty(new PtyEndpoint(this))
    , m_painter(new QThreadPool(this))
{
    m_painter->setMaxThreadCount(1); // pictures are saved in print order
    m_clock.start();
    connect(m_pty, &PtyEndpoint::received, this, &PrinterSim::onReceived);
}

PrinterSim::~PrinterSim()
{
    stop();
    m_painter->waitForDone();
}

void PrinterSim::stop()
{
    if (!m_pty->isOpen())
        return;
    // The link goes only while it still leads to this terminal.
    if (!m_linkPath.isEmpty() && QFileInfo(m_linkPath).symLinkTarget() == m_pty->path())
        QFile::remove(m_linkPath);
    m_pty->close();
}

bool PrinterSim::start(const QString &outDir, const QString &linkPath)
{
    m_outDir = QDir(outDir).absolutePath();
    m_linkPath = linkPath.isEmpty() ? QString() : QFileInfo(linkPath).absoluteFilePath();
    if (!QDir().mkpath(m_outDir)) {
        m_error = QStringLiteral("cannot make %1").arg(m_outDir);
        return false;
    }
    if (!m_pty->open(m_linkPath)) {
        m_error = m_pty->errorString();
        return false;
    }
    return true;
}

QString PrinterSim::portPath() const
{
    if (!m_pty->isOpen())
        return QString();
    return m_linkPath.isEmpty() ? m_pty->path() : m_linkPath;
}

QString PrinterSim::ptyPath() const
{
    return m_pty->path();
}

QString PrinterSim::faultName(Fault fault)
{
    for (const FaultName &f : FaultNames) {
        if (f.fault == fault)
            return QLatin1String(f.name);
    }
    return QString();
}

PrinterSim::Fault PrinterSim::faultFromName(const QString &name, bool *ok)
{
    for (const FaultName &f : FaultNames) {
        if (name == QLatin1String(f.name)) {
            if (ok)
                *ok = true;
            return f.fault;
        }
    }
    if (ok)
        *ok = false;
    return Fault::None;
}

bool PrinterSim::parseHex(const QStringList &words, QByteArray &bytes)
{
    bytes.clear();
    for (QString w : words) {
        if (w.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
            w = w.mid(2);
        bool ok = false;
        const uint value = w.toUInt(&ok, 16);
        if (!ok || value > 0xFF || w.isEmpty() || w.size() > 2)
            return false;
        bytes.append(char(value));
    }
    return !bytes.isEmpty();
}

// --- Faults ---------------------------------------------------------------

void PrinterSim::setFault(Fault fault)
{
    const bool changed = fault != m_fault;
    m_fault = fault;
    if (changed && m_notify && m_pty->isOpen()) {
        const QByteArray status = statusBytes(m_fault);
        log(QStringLiteral("UNSOLICITED ") + hex(status));
        writeAt(0, status);
    }
}

void PrinterSim::setFaultAfter(Fault fault, int items)
{
    if (items <= 0) {
        m_faultAtItem = -1;
        setFault(fault);
        return;
    }
    m_pendingFault = fault;
    m_faultAtItem = m_printed + items;
}

void PrinterSim::setRawStatus(const QByteArray &bytes, bool once)
{
    m_raw = bytes;
    m_rawOnce = once;
}

void PrinterSim::setSilent(int requests)
{
    m_silent = requests;
}

void PrinterSim::setAnswerDelay(int ms)
{
    m_delayMs = qMax(0, ms);
}

void PrinterSim::setGarbage(int bytes)
{
    m_garbage = qMax(0, bytes);
}

void PrinterSim::setEcho(bool on)
{
    m_echo = on;
}

void PrinterSim::setSplit(const QList<int> &sizes, int gapMs)
{
    m_split = sizes;
    m_splitGapMs = qMax(0, gapMs);
}

void PrinterSim::setStale(const QByteArray &bytes, int gapMs)
{
    m_stale = bytes;
    m_staleGapMs = qMax(0, gapMs);
}

void PrinterSim::sendUnsolicited(const QByteArray &bytes)
{
    log(QStringLiteral("UNSOLICITED ") + hex(bytes));
    writeAt(0, bytes);
}

void PrinterSim::setNotify(bool on)
{
    m_notify = on;
}

void PrinterSim::setLineRate(int rate)
{
    m_lineRate = qMax(0, rate);
}

void PrinterSim::setPacing(bool on)
{
    m_pacing = on;
    m_inFreeAt = m_outFreeAt = 0;
}

void PrinterSim::unplug()
{
    if (!m_pty->isOpen())
        return;
    ++m_generation; // answers still on their way are lost with the cable
    m_pty->close();
    if (!m_linkPath.isEmpty())
        QFile::remove(m_linkPath);
    resetParser();
    m_settingsSeen = false;
    log(QStringLiteral("UNPLUGGED"));
}

bool PrinterSim::replug()
{
    unplug();
    if (!m_pty->open(m_linkPath)) {
        m_error = m_pty->errorString();
        return false;
    }
    log(QStringLiteral("REPLUGGED ") + portPath());
    return true;
}

void PrinterSim::reset()
{
    m_faultAtItem = -1;
    m_pendingFault = Fault::None;
    m_raw.clear();
    m_rawOnce = false;
    m_silent = 0;
    m_delayMs = 0;
    m_garbage = 0;
    m_echo = false;
    m_split.clear();
    m_stale.clear();
    m_lineRate = 0;
    setFault(Fault::None);
    m_notify = false;
    setPacing(false);
}

QString PrinterSim::commandHelp()
{
    return QStringLiteral(
            "fault NAME [after N]   jam paper-out offline cover cutter head buffer serious "
            "data-error (none clears)\n"
            "NAME [after N]         the same\n"
            "stock N                paper out after N more items\n"
            "ready                  clear every fault and injection\n"
            "status HH.. [once]     answer these bytes (status off: the printer's own)\n"
            "silent on|off|N        leave requests unanswered (N: the next N)\n"
            "delay MS               answer late\n"
            "garbage N|off          answer N random bytes\n"
            "echo on|off            send every received byte back\n"
            "split N,N.. [GAP]|off  answer in pieces\n"
            "stale HH..             a piece of its own before the next answer\n"
            "send HH..              send bytes now, unasked\n"
            "notify on|off          send the status unasked when a fault changes\n"
            "rate N|any             the printer's line rate\n"
            "pace on|off            take as long as a real line\n"
            "count                  bytes received and sent, status requests, items\n"
            "unplug | replug        pull the cable, plug it back (a new terminal)\n");
}

QString PrinterSim::command(const QString &line)
{
    QStringList words = line.simplified().toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return QStringLiteral("ERR empty command");
    QString verb = words.takeFirst();
    const auto error = [](const QString &text) { return QStringLiteral("ERR ") + text; };
    const QString ok = QStringLiteral("OK");

    bool known = false;
    faultFromName(verb, &known);
    if (known) {
        words.prepend(verb);
        verb = QStringLiteral("fault");
    }
    int n = 0;
    bool flag = false;
    QByteArray bytes;

    if (verb == QLatin1String("fault")) {
        const Fault f = words.isEmpty() ? Fault::None : faultFromName(words[0], &known);
        if (!known)
            return error(QStringLiteral("unknown fault"));
        if (words.size() == 1) {
            setFaultAfter(f, 0);
            return ok;
        }
        if (words.size() == 3 && words[1] == QLatin1String("after") && number(words[2], n)) {
            setFaultAfter(f, n);
            return ok;
        }
        return error(QStringLiteral("usage: fault NAME [after N]"));
    }
    if (verb == QLatin1String("stock") && words.size() == 1 && number(words[0], n)) {
        setFaultAfter(Fault::PaperOut, n);
        return ok;
    }
    if (verb == QLatin1String("ready") || verb == QLatin1String("reset")) {
        reset();
        return ok;
    }
    if (verb == QLatin1String("status")) {
        if (words == QStringList{QStringLiteral("off")}) {
            setRawStatus(QByteArray());
            return ok;
        }
        const bool once = !words.isEmpty() && words.last() == QLatin1String("once");
        if (once)
            words.removeLast();
        if (!parseHex(words, bytes))
            return error(QStringLiteral("usage: status HH.. [once]"));
        setRawStatus(bytes, once);
        return ok;
    }
    if (verb == QLatin1String("silent") && words.size() == 1) {
        if (onOff(words[0], flag))
            setSilent(flag ? -1 : 0);
        else if (number(words[0], n))
            setSilent(n);
        else
            return error(QStringLiteral("usage: silent on|off|N"));
        return ok;
    }
    if (verb == QLatin1String("delay") && words.size() == 1 && number(words[0], n)) {
        setAnswerDelay(n);
        return ok;
    }
    if (verb == QLatin1String("garbage") && words.size() == 1) {
        if (words[0] == QLatin1String("off"))
            n = 0;
        else if (!number(words[0], n))
            return error(QStringLiteral("usage: garbage N|off"));
        setGarbage(n);
        return ok;
    }
    if (verb == QLatin1String("echo") && words.size() == 1 && onOff(words[0], flag)) {
        setEcho(flag);
        return ok;
    }
    if (verb == QLatin1String("notify") && words.size() == 1 && onOff(words[0], flag)) {
        setNotify(flag);
        return ok;
    }
    if (verb == QLatin1String("pace") && words.size() == 1 && onOff(words[0], flag)) {
        setPacing(flag);
        return ok;
    }
    if (verb == QLatin1String("split") && (words.size() == 1 || words.size() == 2)) {
        if (words[0] == QLatin1String("off")) {
            setSplit({});
            return ok;
        }
        QList<int> sizes;
        for (const QString &s : words[0].split(QLatin1Char(','))) {
            if (!number(s, n) || n == 0)
                return error(QStringLiteral("usage: split N,N.. [GAP]"));
            sizes.append(n);
        }
        int gap = 20;
        if (words.size() == 2 && !number(words[1], gap))
            return error(QStringLiteral("usage: split N,N.. [GAP]"));
        setSplit(sizes, gap);
        return ok;
    }
    if (verb == QLatin1String("stale") || verb == QLatin1String("send")) {
        if (!parseHex(words, bytes))
            return error(QStringLiteral("usage: %1 HH..").arg(verb));
        if (verb == QLatin1String("stale"))
            setStale(bytes);
        else
            sendUnsolicited(bytes);
        return ok;
    }
    if (verb == QLatin1String("rate") && words.size() == 1) {
        if (words[0] == QLatin1String("any"))
            n = 0;
        else if (!number(words[0], n))
            return error(QStringLiteral("usage: rate N|any"));
        setLineRate(n);
        return ok;
    }
    if (verb == QLatin1String("count") && words.isEmpty())
        return QStringLiteral("COUNT received %1 sent %2 status %3 items %4")
                .arg(m_received.size())
                .arg(m_bytesSent)
                .arg(m_statusRequests)
                .arg(m_items.size());
    if (verb == QLatin1String("unplug") && words.isEmpty()) {
        unplug();
        return ok;
    }
    if (verb == QLatin1String("replug") && words.isEmpty())
        return replug() ? ok : error(m_error);
    return error(QStringLiteral("unknown command: ") + line.simplified());
}

// --- Waiting --------------------------------------------------------------

bool PrinterSim::waitForItems(int count, int timeoutMs)
{
    return waitUntil([&] { return m_items.size() >= count; }, timeoutMs);
}

bool PrinterSim::waitForEvent(const QString &prefix, int timeoutMs)
{
    return waitUntil(
            [&] {
                for (const QString &e : std::as_const(m_events)) {
                    if (e.startsWith(prefix))
                        return true;
                }
                return false;
            },
            timeoutMs);
}

bool PrinterSim::waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    // Sleeps between events; the timer wakes the loop to look at the clock.
    QDeadlineTimer deadline(timeoutMs);
    QEventLoop loop;
    QTimer wake;
    wake.start(20);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        loop.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// --- The line -------------------------------------------------------------

double PrinterSim::byteTimeMs() const
{
    const int rate = m_settings.rate > 0 ? m_settings.rate : 9600;
    return 1000.0 * m_settings.bitsPerByte() / rate;
}

void PrinterSim::checkSettings()
{
    LineSettings now;
    if (!m_pty->lineSettings(now))
        return;
    if (m_settingsSeen && now == m_settings)
        return;
    m_settings = now;
    m_settingsSeen = true;
    log(QStringLiteral("SETTINGS ") + now.text());
}

void PrinterSim::onReceived(const QByteArray &bytes)
{
    m_received.append(bytes);
    checkSettings();
    if (m_echo)
        send(bytes);
    if (m_lineRate > 0 && m_settings.rate != m_lineRate) {
        // Sampled at the wrong rate, bytes turn into others in both directions.
        log(QStringLiteral("GARBLED %1").arg(bytes.size()));
        consume(randomBytes(int(bytes.size())).replace('<', '{').replace('\x1b', '['));
        writeAt(0, randomBytes(int(statusBytes(Fault::None).size())));
        return;
    }
    if (!m_pacing) {
        consume(bytes);
        return;
    }
    // Parsed at once; what depends on the line's pace is when answers leave.
    const double now = double(m_clock.nsecsElapsed()) / 1e6;
    m_inFreeAt = qMax(now, m_inFreeAt) + byteTimeMs() * double(bytes.size());
    consume(bytes);
}

QByteArray PrinterSim::randomBytes(int count)
{
    QByteArray bytes(count, '\0');
    for (char &c : bytes)
        c = char(m_random.bounded(256));
    return bytes;
}

void PrinterSim::writeAt(double delayMs, const QByteArray &bytes)
{
    const double now = double(m_clock.nsecsElapsed()) / 1e6;
    double due = now + delayMs;
    if (m_pacing) {
        // Not before the bytes asked for it are through, then as long as its own bytes take.
        due = qMax(qMax(now, m_inFreeAt) + delayMs, m_outFreeAt)
              + byteTimeMs() * double(bytes.size());
        m_outFreeAt = due;
    }
    if (due - now < 0.5) {
        send(bytes);
        return;
    }
    const int generation = m_generation;
    ++m_scheduled;
    QTimer::singleShot(int(due - now + 0.5), Qt::PreciseTimer, this, [this, bytes, generation] {
        --m_scheduled;
        if (generation == m_generation)
            send(bytes);
    });
}

void PrinterSim::send(const QByteArray &bytes)
{
    if (!m_pty->write(bytes))
        return; // nobody took them: lost on the line
    m_bytesSent += bytes.size();
    m_writes.append({m_clock.elapsed(), bytes});
}

void PrinterSim::writePieces(const QList<QByteArray> &pieces, int delayMs, int gapMs)
{
    double at = delayMs;
    for (const QByteArray &piece : pieces) {
        writeAt(at, piece);
        at += gapMs;
    }
}

void PrinterSim::statusRequested()
{
    ++m_statusRequests;
    if (m_silent != 0) {
        if (m_silent > 0)
            --m_silent;
        log(QStringLiteral("STATUS? -> (silent)"));
        return;
    }
    QByteArray answer;
    if (m_garbage > 0) {
        answer = randomBytes(m_garbage);
    } else if (!m_raw.isEmpty()) {
        answer = m_raw;
        if (m_rawOnce)
            m_raw.clear();
    } else {
        answer = statusBytes(m_fault);
    }
    log(QStringLiteral("STATUS? -> ") + hex(answer));

    QList<QByteArray> pieces;
    qsizetype at = 0;
    for (int size : std::as_const(m_split)) {
        if (at >= answer.size())
            break;
        pieces.append(answer.mid(at, size));
        at += size;
    }
    if (at < answer.size())
        pieces.append(answer.mid(at));
    int gap = m_splitGapMs;
    if (!m_stale.isEmpty()) {
        // The stale piece goes first, on its own.
        writeAt(m_delayMs, m_stale);
        m_stale.clear();
        writePieces(pieces, m_delayMs + m_staleGapMs, gap);
        return;
    }
    writePieces(pieces, m_delayMs, gap);
}

bool PrinterSim::mayPrint()
{
    if (m_fault == Fault::None)
        return true;
    log(QStringLiteral("LOST %1 %2").arg(nextNumber()).arg(faultName(m_fault)));
    return false;
}

void PrinterSim::itemDone(PrintedItem item, std::function<QImage()> paint)
{
    item.number = ++m_printed;
    item.pngPath = QStringLiteral("%1/%2-%3.png")
                           .arg(m_outDir, itemWord())
                           .arg(item.number, 4, 10, QLatin1Char('0'));
    if (m_faultAtItem > 0 && m_printed >= m_faultAtItem) {
        m_faultAtItem = -1;
        setFault(m_pendingFault);
    }
    const auto save = [paint, path = item.pngPath] {
        QImage image = paint();
        image.setDotsPerMeterX(8000);
        image.setDotsPerMeterY(8000);
        return image.save(path, "PNG");
    };
    if (!m_pacing) {
        if (!save())
            log(QStringLiteral("ERROR cannot save ") + item.pngPath);
        recordItem(item);
        return;
    }
    m_painter->start([this, save, item] {
        const bool saved = save();
        QMetaObject::invokeMethod(
                this,
                [this, saved, item] {
                    if (!saved)
                        log(QStringLiteral("ERROR cannot save ") + item.pngPath);
                    recordItem(item);
                },
                Qt::QueuedConnection);
    });
}

void PrinterSim::recordItem(const PrintedItem &item)
{
    m_items.append(item);
    log(QStringLiteral("%1 %2 %3").arg(itemWord().toUpper()).arg(item.number).arg(item.pngPath));
    Q_EMIT itemPrinted(item);
}

void PrinterSim::log(const QString &line)
{
    m_events.append(line);
    Q_EMIT eventLogged(line);
}
