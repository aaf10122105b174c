#include "ticketpictures.h"

#include "platform/jpegimage.h"
#include "platform/programfolders.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPainterPath>

namespace {

QString &folderSetting()
{
    static QString folder;
    return folder;
}

QImage drawPaper()
{
    QImage image(100, 60, QImage::Format_RGB32);
    image.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(Qt::white);
    p.drawRect(8, 8, 84, 44);
    // The stub of the ticket, past its perforation.
    p.setPen(QPen(Qt::gray, 1, Qt::DotLine));
    p.drawLine(70, 9, 70, 51);
    return image;
}

QImage drawDirection(int direction)
{
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(24, 24);
    p.rotate(90.0 * direction);
    // An upright "A" with an arrow along its base: how a line of text reads.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x20, 0x40, 0xA0));
    p.drawText(QRect(-16, -20, 32, 26), Qt::AlignCenter, QStringLiteral("A"));
    p.setPen(QPen(QColor(0xC0, 0x20, 0x20), 3));
    p.drawLine(-16, 14, 12, 14);
    QPainterPath head;
    head.moveTo(18, 14);
    head.lineTo(9, 8);
    head.lineTo(9, 20);
    head.closeSubpath();
    p.fillPath(head, QColor(0xC0, 0x20, 0x20));
    return image;
}

/// The JPEG file of a picture, made at first use; the picture itself when the
/// folder cannot be written.
QImage throughJpeg(const QString &name, const QImage &drawn)
{
    const QString path = QDir(TicketPictures::folder()).filePath(name);
    QImage image = JpegImage::load(path);
    if (!image.isNull())
        return image;
    const QByteArray bytes = JpegImage::encode(drawn, 92);
    QDir().mkpath(TicketPictures::folder());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) {
        file.close();
        image = JpegImage::load(path);
    }
    if (image.isNull())
        image = JpegImage::decode(bytes);
    return image.isNull() ? drawn : image;
}

} // namespace

void TicketPictures::setFolder(const QString &folder)
{
    folderSetting() = folder;
}

QString TicketPictures::folder()
{
    if (folderSetting().isEmpty())
        folderSetting() = ProgramFolders::cache() + QStringLiteral("/pictures");
    return folderSetting();
}

QImage TicketPictures::paper()
{
    return throughJpeg(QStringLiteral("ticket-paper.jpg"), drawPaper());
}

QImage TicketPictures::direction(int direction)
{
    const int d = direction >= 0 && direction <= 3 ? direction : 0;
    return throughJpeg(QStringLiteral("ticket-direction-%1.jpg").arg(d), drawDirection(d));
}

QImage TicketPictures::barcode()
{
    // A fixed pattern of bars: the item shows where the barcode goes, not its content.
    static const char *const pattern = "11010010000110011001101100110011101101110110010011101100"
                                       "1011001110011001110110110001101100011101011";
    const int modules = int(qstrlen(pattern));
    QImage image(modules + 20, 28, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    for (int i = 0; i < modules; ++i) {
        if (pattern[i] == '1')
            p.fillRect(10 + i, 0, 1, 28, Qt::black);
    }
    return image;
}
