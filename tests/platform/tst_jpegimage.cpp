// JPEG pictures through libjpeg: what is encoded decodes to the same picture
// (within JPEG's loss), and bytes or files that are no JPEG give a null image.
#include "platform/jpegimage.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

class tst_JpegImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip();
    void notAPicture();
};

void tst_JpegImage::roundTrip()
{
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter(&picture).fillRect(0, 0, 30, 40, Qt::black);
    const QByteArray bytes = JpegImage::encode(picture);
    QVERIFY(bytes.startsWith("\xff\xd8"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.jpg"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    const QImage back = JpegImage::load(path);
    QCOMPARE(back.size(), QSize(60, 40));
    QVERIFY(qGray(back.pixel(5, 20)) < 30);
    QVERIFY(qGray(back.pixel(55, 20)) > 225);
}

void tst_JpegImage::notAPicture()
{
    QVERIFY(JpegImage::decode(QByteArray()).isNull());
    QVERIFY(JpegImage::decode("not a picture at all").isNull());
    const QByteArray cut = JpegImage::encode(QImage(8, 8, QImage::Format_RGB32)).left(20);
    QVERIFY(JpegImage::decode(cut).isNull());
    QVERIFY(JpegImage::load(QStringLiteral("/no/such/file.jpg")).isNull());
}

QTEST_GUILESS_MAIN(tst_JpegImage)
#include "tst_jpegimage.moc"
