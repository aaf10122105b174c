#include <QLabel>
#include <QTest>

#include "common/messageservice.h"
#include "recordingmessageservice.h"
#include "shell/ZZC010.h"
#include "shell/ZZD000.h"
#include "shell/splashresource.h"
#include "testdatabase.h"

#include <QTemporaryDir>
#include <QtEndian>

// The splash: window shape from the one-bit mask, the version text, the
// resource file looked up like a library.
class TestSplash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void shapeFromMask_data();
    void shapeFromMask();
    void packedPictureKeepsTheRightEdge();
    void versionText_data();
    void versionText();
    void showsTheProgramVersion();
    void resourceFileGivesPictureAndShape();
    void missingResourceFileShowsNothing();
    void paintedAndSaysSoBeforeConnecting();
    void damagedResourceFileIsRefused_data();
    void damagedResourceFileIsRefused();
    void damagedResourceFileShowsNothing();

private:
    QByteArray m_libraryPath;
};

using Rects = QList<QRect>;

void TestSplash::initTestCase()
{
    MessageService::setApplicationTitle(QStringLiteral("시스템 관리"));
    m_libraryPath = qgetenv("LD_LIBRARY_PATH");
}

void TestSplash::shapeFromMask_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QByteArray>("bits"); // hex, rows padded to 16-bit words
    QTest::addColumn<int>("windowHeight");
    QTest::addColumn<Rects>("expected");

    // Width 10: the six padding bits of each row are 0 and must stay outside.
    QTest::newRow("run reaching the right edge")
            << 10 << 1 << QByteArray("ff00") << 10 << Rects{QRect(8, 0, 2, 1)};
    QTest::newRow("runs inside and at both edges")
            << 10 << 1 << QByteArray("3380") << 10
            << Rects{QRect(0, 0, 2, 1), QRect(4, 0, 2, 1), QRect(9, 0, 1, 1)};
    QTest::newRow("all outside") << 10 << 2 << QByteArray("ffc0ffc0") << 10 << Rects{};
    QTest::newRow("whole rows") << 3 << 2 << QByteArray("00000000") << 10
                                << Rects{QRect(0, 0, 3, 1), QRect(0, 1, 3, 1)};
    QTest::newRow("second word of a row")
            << 20 << 1 << QByteArray("ffff0000") << 10 << Rects{QRect(16, 0, 4, 1)};
    QTest::newRow("rows below the window left out") << 4 << 3 << QByteArray("000000000000") << 2
                                                    << Rects{QRect(0, 0, 4, 1), QRect(0, 1, 4, 1)};
    QTest::newRow("mask shorter than its size") << 16 << 2 << QByteArray("0000") << 10 << Rects{};
    QTest::newRow("no mask") << 0 << 0 << QByteArray() << 10 << Rects{};
}

void TestSplash::shapeFromMask()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QByteArray, bits);
    QFETCH(int, windowHeight);
    QFETCH(Rects, expected);

    const QRegion shape = TfrmZZC010::shapeFromMask(QByteArray::fromHex(bits),
                                                    width,
                                                    height,
                                                    windowHeight);
    QRegion wanted;
    for (const QRect &r : expected)
        wanted += r;
    QCOMPARE(shape.isEmpty(), wanted.isEmpty());
    // Same pixels, whatever the inner form of the region.
    QVERIFY(shape.xored(wanted).isEmpty());
}

void TestSplash::packedPictureKeepsTheRightEdge()
{
    // A black area touching the right edge of an odd-width picture.
    QImage mask(21, 3, QImage::Format_RGB32);
    mask.fill(Qt::white);
    for (int x = 15; x < 21; ++x)
        mask.setPixel(x, 1, qRgb(0, 0, 0));
    mask.setPixel(0, 2, qRgb(10, 10, 10));

    const QByteArray bits = TfrmZZC010::packMask(mask);
    QCOMPARE(bits.size(), 4 * 3);
    const QRegion shape = TfrmZZC010::shapeFromMask(bits, 21, 3, 284);
    QVERIFY(shape.xored(QRegion(15, 1, 6, 1) + QRegion(0, 2, 1, 1)).isEmpty());
    QVERIFY(shape.contains(QPoint(20, 1)));

    // A one-bit picture (as the resource file holds it) packs the same,
    // whichever colour its one bits name.
    QImage mono = mask.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    QCOMPARE(mono.format(), QImage::Format_Mono);
    QCOMPARE(TfrmZZC010::packMask(mono), bits);
    const QList<QRgb> colours = mono.colorTable();
    mono.invertPixels();
    mono.setColorTable({colours.value(1), colours.value(0)});
    QCOMPARE(TfrmZZC010::packMask(mono), bits);
}

void TestSplash::versionText_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("text");
    QTest::newRow("four parts") << "1.0.3.27"
                                << "1.0.3.27";
    QTest::newRow("three parts") << "2.1.0"
                                 << "2.1.0.0";
    QTest::newRow("parts are 16-bit") << "65537.0.0.1"
                                      << "1.0.0.1";
    QTest::newRow("none") << ""
                          << "";
    QTest::newRow("not a number") << "1.x.0.0"
                                  << "";
}

void TestSplash::versionText()
{
    QFETCH(QString, version);
    QFETCH(QString, text);
    QCOMPARE(TfrmZZC010::versionText(version), text);
}

void TestSplash::showsTheProgramVersion()
{
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.3.27"));
    {
        TfrmZZC010 splash;
        QCOMPARE(splash.lblVersion->text(), QStringLiteral("1.0.3.27"));
        QCOMPARE(splash.lblProjectName->text(), QStringLiteral("시스템 관리"));
        QCOMPARE(splash.lblProjectNameShadow->text(), QStringLiteral("시스템 관리"));
        QCOMPARE(splash.lblProjectNameShadow->geometry().topLeft(),
                 splash.lblProjectName->geometry().topLeft() + QPoint(1, 1));
    }
    // The program's own version is the project version, four numbers.
    QCoreApplication::setApplicationVersion(QStringLiteral(KESA_VERSION));
    TfrmZZC010 splash;
    QCOMPARE(splash.lblVersion->text(), QStringLiteral(KESA_VERSION));
    QCOMPARE(splash.lblVersion->text().split(QLatin1Char('.')).size(), 4);
}

void TestSplash::resourceFileGivesPictureAndShape()
{
    // Found through the library path, as a library would be.
    qputenv("LD_LIBRARY_PATH", "/nonexistent:" + qgetenv("KESA_BIN_DIR"));
    RecordingMessageService messages;
    TfrmZZC010 splash;
    qputenv("LD_LIBRARY_PATH", m_libraryPath);

    QVERIFY(!splash.imgImage->pixmap().isNull());
    QCOMPARE(splash.imgImage->pixmap().size(), QSize(537, 284));
    const QRegion shape = splash.shape();
    QVERIFY(!shape.isEmpty());
    QVERIFY(shape.contains(QPoint(536, 200))); // the outline reaches the right edge
    QVERIFY(shape.contains(QPoint(300, 160))); // behind the title
    QVERIFY(!shape.contains(QPoint(0, 0)));    // a rounded corner
    QCOMPARE(splash.mask(), shape);
    splash.showAndPaint();
    QVERIFY(splash.isVisible());
    QVERIFY(messages.entries.isEmpty());
}

// Start-up blocks while it connects: the splash must be on the screen before,
// with the line that says what the program waits for.
void TestSplash::paintedAndSaysSoBeforeConnecting()
{
    qputenv("LD_LIBRARY_PATH", qgetenv("KESA_BIN_DIR"));
    RecordingMessageService messages;
    TfrmZZC010 splash;
    qputenv("LD_LIBRARY_PATH", m_libraryPath);
    splash.showAndPaint();
    QVERIFY(splash.painted());
    QVERIFY(splash.lblStatus->isHidden());

    KESA_TEST_DATABASE(tdb, QStringLiteral("sqlite"), TestDatabase::Demo);
    tdb.db().close();
    bool hookRan = false;
    bool openAtHook = true;
    bool lineAtHook = false;
    TfrmZZD000 module({tdb.alias(),
                       QStringLiteral("kesa"),
                       QStringLiteral("A0001"),
                       QStringLiteral("김관리")},
                      [&] {
                          hookRan = true;
                          openAtHook = TfrmZZD000::instance()->dbsDB.isOpen();
                          splash.showConnecting();
                          lineAtHook = splash.lblStatus->isVisible();
                      });
    QVERIFY(hookRan);
    QVERIFY(!openAtHook);
    QVERIFY(lineAtHook);
    QCOMPARE(splash.lblStatus->text(), QStringLiteral("데이터베이스에 연결하는 중…"));
    QVERIFY(module.isConnected());
    QVERIFY2(messages.entries.isEmpty(), qPrintable(messages.allTexts().join(QLatin1Char('|'))));
}

void TestSplash::missingResourceFileShowsNothing()
{
    qputenv("LD_LIBRARY_PATH", "/nonexistent");
    RecordingMessageService messages;
    TfrmZZC010 splash;
    qputenv("LD_LIBRARY_PATH", m_libraryPath);

    QVERIFY(splash.imgImage->pixmap().isNull());
    QVERIFY(splash.shape().isEmpty());
    splash.showAndPaint();
    QVERIFY(!splash.isVisible());
    QVERIFY(messages.entries.isEmpty());
}

namespace {

QByteArray bigEndian(quint64 value, int width)
{
    QByteArray bytes(width, '\0');
    for (int i = width - 1; i >= 0; --i, value >>= 8)
        bytes[i] = char(value & 0xFF);
    return bytes;
}

QByteArray mainImg()
{
    QFile file(qEnvironmentVariable("KESA_BIN_DIR") + QStringLiteral("/MainImg.rcc"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A version 3 collection of one root directory with one file "A": header,
// data, names, tree. flags 1 stores the data as qCompress gives it.
QByteArray collection(const QByteArray &content, quint16 flags = 0)
{
    const QByteArray stored = flags == 1 ? qCompress(content) : content;
    const QByteArray data = bigEndian(stored.size(), 4) + stored;
    const QByteArray names = bigEndian(1, 2) + bigEndian(0x41, 4) + bigEndian(0x41, 2);
    const QByteArray root = bigEndian(0, 4) + bigEndian(2, 2) + bigEndian(1, 4) + bigEndian(1, 4)
                            + bigEndian(0, 8);
    const QByteArray file = bigEndian(0, 4) + bigEndian(flags, 2) + bigEndian(0, 4)
                            + bigEndian(0, 4) + bigEndian(0, 8);
    const int dataAt = 24;
    const int namesAt = dataAt + int(data.size());
    const int treeAt = namesAt + int(names.size());
    return QByteArray("qres") + bigEndian(3, 4) + bigEndian(treeAt, 4) + bigEndian(dataAt, 4)
           + bigEndian(namesAt, 4) + bigEndian(0, 4) + data + names + root + file;
}

QByteArray replaced(QByteArray bytes, int offset, const QByteArray &with)
{
    return bytes.replace(offset, with.size(), with);
}

} // namespace

void TestSplash::damagedResourceFileIsRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("sound");

    const QByteArray real = mainImg();
    QVERIFY(real.startsWith("qres"));
    const QByteArray plain = collection("picture");
    const int treeAt = int(plain.size()) - 44;
    const int dataAt = 24;

    QTest::newRow("the program's own file") << real << true;
    QTest::newRow("a plain entry") << plain << true;
    QTest::newRow("a compressed entry") << collection("picture", 1) << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("no header") << QByteArray("qre") << false;
    QTest::newRow("unknown version") << replaced(plain, 4, bigEndian(9, 4)) << false;
    // The damage that crashed the start-up: four bytes at offset 8.
    QTest::newRow("tree offset damaged") << replaced(real, 8, "\xFF\x00\xFF\x00") << false;
    QTest::newRow("cut short") << real.left(real.size() * 2 / 3) << false;
    QTest::newRow("names offset past the end")
            << replaced(plain, 16, bigEndian(plain.size(), 4)) << false;
    QTest::newRow("data offset past the end")
            << replaced(plain, 12, bigEndian(0x7FFFFFF0, 4)) << false;
    QTest::newRow("data block longer than the file")
            << replaced(plain, dataAt, bigEndian(0xFFFFFFFF, 4)) << false;
    QTest::newRow("child count beyond the tree")
            << replaced(plain, treeAt + 6, bigEndian(0x40000000, 4)) << false;
    QTest::newRow("child that is its own parent")
            << replaced(plain, treeAt + 10, bigEndian(0, 4)) << false;
    QTest::newRow("name longer than the file")
            << replaced(plain, treeAt - 8, bigEndian(0xFFFF, 2)) << false;
    // A name that is a path of its own sends Qt's directory walk round in circles.
    QTest::newRow("entry named '.'") << replaced(plain, treeAt - 2, bigEndian('.', 2)) << false;
    QTest::newRow("entry name with '/'") << replaced(plain, treeAt - 2, bigEndian('/', 2)) << false;
    QTest::newRow("empty entry name") << replaced(plain, treeAt - 8, bigEndian(0, 2)) << false;
    QTest::newRow("root is a file") << replaced(plain, treeAt + 4, bigEndian(0, 2)) << false;
    QTest::newRow("unknown flag") << replaced(plain, treeAt + 22 + 4, bigEndian(8, 2)) << false;
    QByteArray broken = collection(QByteArray(200, 'x'), 1);
    broken[dataAt + 12] = char(broken[dataAt + 12] ^ 0x55);
    QTest::newRow("compressed stream damaged") << broken << false;
    QTest::newRow("compressed size beyond bounds")
            << replaced(collection("picture", 1), dataAt + 4, bigEndian(0x7FFFFFFF, 4)) << false;
}

void TestSplash::damagedResourceFileIsRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, sound);
    const QString fault = SplashResource::fault(bytes);
    QVERIFY2(fault.isEmpty() == sound, qPrintable(fault));
}

void TestSplash::damagedResourceFileShowsNothing()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(TfrmZZC010::resourceFileName()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(replaced(mainImg(), 8, "\xFF\x00\xFF\x00"));
    file.close();

    qputenv("LD_LIBRARY_PATH", dir.path().toLocal8Bit());
    RecordingMessageService messages;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("not used")));
    TfrmZZC010 splash;
    qputenv("LD_LIBRARY_PATH", m_libraryPath);

    QVERIFY(splash.imgImage->pixmap().isNull());
    QVERIFY(splash.shape().isEmpty());
    splash.showAndPaint();
    QVERIFY(!splash.isVisible());
    QVERIFY(messages.entries.isEmpty());
}

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
