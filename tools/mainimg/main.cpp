// Draws the splash picture (537 x 284) and its one-bit window mask into a
// folder, with the resource collection file that names them SPLASH and SMASK.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

constexpr int kWidth = 537;
constexpr int kHeight = 284;

// The window's outline: a rounded card whose upper edge follows a mountain ridge.
QPainterPath outline()
{
    QPainterPath card;
    card.addRoundedRect(QRectF(0, 46, kWidth, kHeight - 46), 26, 26);
    QPainterPath ridge;
    ridge.moveTo(0, 120);
    ridge.lineTo(0, 96);
    ridge.lineTo(70, 38);
    ridge.lineTo(118, 72);
    ridge.lineTo(196, 4);
    ridge.lineTo(262, 62);
    ridge.lineTo(318, 30);
    ridge.lineTo(392, 84);
    ridge.lineTo(446, 22);
    ridge.lineTo(kWidth, 90);
    ridge.lineTo(kWidth, 120);
    ridge.closeSubpath();
    return card.united(ridge).simplified();
}

QImage picture(const QPainterPath &shape)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(QColor(0x12, 0x2A, 0x4A));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipPath(shape);

    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0.0, QColor(0x0E, 0x2B, 0x5C));
    sky.setColorAt(0.55, QColor(0x2F, 0x6E, 0xA8));
    sky.setColorAt(1.0, QColor(0x7A, 0xB8, 0xD8));
    p.fillRect(image.rect(), sky);

    QRadialGradient sun(QPointF(110, 150), 60);
    sun.setColorAt(0.0, QColor(0xFF, 0xF2, 0xB0));
    sun.setColorAt(0.35, QColor(0xFF, 0xD8, 0x6A, 200));
    sun.setColorAt(1.0, QColor(0xFF, 0xD8, 0x6A, 0));
    p.fillRect(QRectF(40, 80, 140, 140), sun);

    // Far and near ranges, then the lake.
    QPainterPath far;
    far.moveTo(0, 210);
    far.lineTo(60, 150);
    far.lineTo(120, 190);
    far.lineTo(210, 120);
    far.lineTo(300, 185);
    far.lineTo(380, 140);
    far.lineTo(470, 195);
    far.lineTo(kWidth, 160);
    far.lineTo(kWidth, kHeight);
    far.lineTo(0, kHeight);
    far.closeSubpath();
    p.fillPath(far, QColor(0x3D, 0x5A, 0x7A));

    QPainterPath near;
    near.moveTo(0, 240);
    near.lineTo(90, 200);
    near.lineTo(170, 232);
    near.lineTo(260, 196);
    near.lineTo(360, 238);
    near.lineTo(450, 210);
    near.lineTo(kWidth, 236);
    near.lineTo(kWidth, kHeight);
    near.lineTo(0, kHeight);
    near.closeSubpath();
    p.fillPath(near, QColor(0x1F, 0x4D, 0x3A));

    QLinearGradient lake(0, 250, 0, kHeight);
    lake.setColorAt(0.0, QColor(0x4F, 0x8F, 0xB8));
    lake.setColorAt(1.0, QColor(0x1C, 0x4A, 0x70));
    p.fillRect(QRectF(0, 252, kWidth, kHeight - 252), lake);

    // The ridge of the outline with snow on it.
    p.setClipping(false);
    p.setPen(QPen(QColor(0xF4, 0xF8, 0xFF), 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    // A dark band behind the title and the version.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x00, 0x10, 0x30, 120));
    p.drawRoundedRect(QRectF(230, 146, 236, 52), 8, 8);
    return image;
}

QImage mask(const QPainterPath &shape)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white); // bit 1: outside the window
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black); // bit 0: the window
    p.drawPath(shape);
    p.end();
    return image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        qCritical("usage: kesa-mainimg OUTPUT_DIR");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QPainterPath shape = outline();
    // The picture is decoded at every start: a BMP is read as it lies, where a
    // PNG costs its decompression and filters (about five times the time).
    if (!picture(shape).save(out.filePath(QStringLiteral("SPLASH.bmp")), "BMP")
        || !mask(shape).save(out.filePath(QStringLiteral("SMASK.bmp")), "BMP")) {
        qCritical("kesa-mainimg: cannot write the images");
        return 1;
    }
    QFile qrc(out.filePath(QStringLiteral("MainImg.qrc")));
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    qrc.write("<RCC>\n  <qresource prefix=\"/\">\n"
              "    <file alias=\"SPLASH\">SPLASH.bmp</file>\n"
              "    <file alias=\"SMASK\">SMASK.bmp</file>\n"
              "  </qresource>\n</RCC>\n");
    return 0;
}
