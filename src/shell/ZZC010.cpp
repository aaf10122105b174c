#include "ZZC010.h"

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QLabel>
#include <QResource>
#include <QScreen>
#include <QTimer>

#include "common/messageservice.h"
#include "fontmapping.h"
#include "platform/programdir.h"
#include "splashresource.h"

namespace {

// Long enough for a busy window manager; a splash that never shows costs no more.
int exposeWaitMs = 3000;
constexpr int kWidth = 537;
constexpr int kHeight = 284;
// Prefix under which the resource file is mapped while the splash loads it.
const QString kMountRoot = QStringLiteral("/kesa-mainimg");

QLabel *makeLabel(QWidget *parent,
                  const char *name,
                  const QRect &geometry,
                  const QFont &font,
                  const QColor &colour,
                  Qt::Alignment alignment)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QFont pixelFont(const QString &family, int pixels, bool bold = false)
{
    QFont font = FontMapping::font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Shows `text` in the label's font alone when that font holds every character
// of it: then no list of fallback fonts is built for the label (a fontconfig
// sort of every installed font, at start-up). Otherwise the font stays as it
// is, and characters it lacks come from other fonts.
void setTextInOwnFont(QLabel *label, const QString &text)
{
    QFont single = label->font();
    single.setStyleStrategy(QFont::NoFontMerging);
    const QFontMetrics metrics(single);
    if (std::all_of(text.begin(), text.end(), [&metrics](QChar c) { return metrics.inFont(c); }))
        label->setFont(single);
    label->setText(text);
}

} // namespace

TfrmZZC010::TfrmZZC010(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmZZC010"));
    setFixedSize(kWidth, kHeight);

    imgImage = new QLabel(this);
    imgImage->setObjectName(QStringLiteral("imgImage"));
    imgImage->setGeometry(0, 0, kWidth, kHeight);

    const QFont titleFont = pixelFont(QStringLiteral("바탕"), 24);
    lblProjectNameShadow = makeLabel(this,
                                     "lblProjectNameShadow",
                                     QRect(243, 154, 213, 24),
                                     titleFont,
                                     QColor(0x80, 0x80, 0x00),
                                     Qt::AlignRight);
    // Created after the shadow so that it is drawn above it.
    lblProjectName = makeLabel(this,
                               "lblProjectName",
                               QRect(242, 153, 213, 24),
                               titleFont,
                               QColor(0xFF, 0xFF, 0x00),
                               Qt::AlignRight);
    lblVersion = makeLabel(this,
                           "lblVersion",
                           QRect(340, 180, 115, 11),
                           pixelFont(QStringLiteral("MS Sans Serif"), 11, true),
                           Qt::white,
                           Qt::AlignRight);
    lblNotice = makeLabel(this,
                          "lblNotice",
                          QRect(179, 262, 300, 13),
                          pixelFont(QStringLiteral("MS Sans Serif"), 11),
                          QColor(0x00, 0x00, 0x80),
                          Qt::AlignLeft);
    setTextInOwnFont(lblNotice, QStringLiteral("Resort back-office suite"));
    lblStatus = makeLabel(this,
                          "lblStatus",
                          QRect(179, 240, 300, 16),
                          pixelFont(QStringLiteral("굴림"), 12),
                          Qt::white,
                          Qt::AlignLeft);
    lblStatus->hide();

    FormCreate();

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

TfrmZZC010::~TfrmZZC010() = default;

void TfrmZZC010::FormCreate()
{
    loadImages();
    if (!m_picture.isNull())
        imgImage->setPixmap(QPixmap::fromImage(m_picture));
    if (!m_mask.isNull())
        m_shape = shapeFromMask(packMask(m_mask), m_mask.width(), m_mask.height(), height());
    // An empty region would clear the mask and show the whole window; a splash
    // without shape is never shown instead (showAndPaint).
    if (!m_shape.isEmpty())
        setMask(m_shape);

    const QString title = MessageService::applicationTitle();
    setTextInOwnFont(lblProjectNameShadow, title);
    setTextInOwnFont(lblProjectName, title);
    setTextInOwnFont(lblVersion, versionText(QCoreApplication::applicationVersion()));
}

void TfrmZZC010::loadImages()
{
    const QString path = findResourceFile();
    if (path.isEmpty())
        return;
    // Read once and checked as read: Qt's resource reader trusts every offset
    // of the file, and a file changed after the check must not reach it.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.read(SplashResource::MaxFileBytes + 1);
    if (const QString fault = SplashResource::fault(bytes); !fault.isEmpty()) {
        qWarning("%s: not used (%s)", qPrintable(path), qPrintable(fault));
        return;
    }
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    if (!QResource::registerResource(data, kMountRoot))
        return;
    m_picture = loadImage(QLatin1Char(':') + kMountRoot + QStringLiteral("/SPLASH"));
    m_mask = loadImage(QLatin1Char(':') + kMountRoot + QStringLiteral("/SMASK"));
    QResource::unregisterResource(data, kMountRoot);
}

QImage TfrmZZC010::loadImage(const QString &path)
{
    QImageReader reader(path);
    // A picture far larger than the window is no splash; it would only cost memory.
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > 4 * kWidth || size.height() > 4 * kHeight)
        return QImage();
    // Decoded pixels: nothing of the resource data stays in the picture.
    return reader.read();
}

void TfrmZZC010::setExposeWaitMs(int ms)
{
    exposeWaitMs = ms;
}

void TfrmZZC010::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    m_painted = true;
}

void TfrmZZC010::showAndPaint()
{
    if (m_shape.isEmpty())
        return;
    show();
    raise();
    // A window manager maps the window a few round trips after show(): a
    // repaint before that draws nothing, and the start-up that follows blocks
    // the loop that would. Wait here, without user input, for the first paint.
    if (!m_painted) {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [this, &loop] {
            if (m_painted)
                loop.quit();
        });
        poll.start(10);
        QTimer::singleShot(exposeWaitMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmZZC010::showConnecting()
{
    setTextInOwnFont(lblStatus, QStringLiteral("데이터베이스에 연결하는 중…"));
    lblStatus->show();
    if (isVisible())
        repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString TfrmZZC010::resourceFileName()
{
    return QStringLiteral("MainImg.rcc");
}

QString TfrmZZC010::findResourceFile()
{
    QStringList dirs{programDirectory()};
    const QString libraryPath = qEnvironmentVariable("LD_LIBRARY_PATH");
    for (const QString &dir : libraryPath.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        dirs.append(dir);
    for (const QString &dir : std::as_const(dirs)) {
        const QFileInfo info(QDir(dir).filePath(resourceFileName()));
        if (info.isFile())
            return info.absoluteFilePath();
    }
    return QString();
}

QRegion TfrmZZC010::shapeFromMask(const QByteArray &bits, int width, int height, int windowHeight)
{
    QRegion region;
    QList<QRect> runs;
    const int stride = (width + 15) / 16 * 2;
    const int rows = std::min(height, windowHeight);
    if (width <= 0 || rows <= 0 || bits.size() < stride * rows)
        return region;
    const auto *data = reinterpret_cast<const uchar *>(bits.constData());
    const auto bitAt = [&](int x, int y) { return (data[y * stride + x / 8] >> (7 - x % 8)) & 1; };
    for (int y = 0; y < rows; ++y) {
        int x = 0;
        while (x < width) {
            while (x < width && bitAt(x, y) != 0)
                ++x;
            const int start = x;
            while (x < width && bitAt(x, y) == 0)
                ++x;
            if (x > start)
                runs.append(QRect(start, y, x - start, 1));
        }
    }
    // The runs come in rows from top to bottom, each row from left to right,
    // without overlap: the banded order a region is made of.
    if (!runs.isEmpty())
        region.setRects(runs.constData(), int(runs.size()));
    return region;
}

QByteArray TfrmZZC010::packMask(const QImage &mask)
{
    const int stride = (mask.width() + 15) / 16 * 2;
    QByteArray bits(stride * mask.height(), '\0');
    if (mask.format() == QImage::Format_Mono && mask.colorCount() == 2) {
        // One bit a pixel already (a one-bit BMP): each byte of a row says what
        // eight pixels are, through the two colours.
        const bool bright0 = qGray(mask.color(0)) >= 128;
        const bool bright1 = qGray(mask.color(1)) >= 128;
        const int bytes = (mask.width() + 7) / 8;
        const int rest = mask.width() % 8;
        char *out = bits.data();
        for (int y = 0; y < mask.height(); ++y, out += stride) {
            const uchar *line = mask.constScanLine(y);
            for (int i = 0; i < bytes; ++i) {
                const uchar ones = line[i];
                out[i] = char((bright1 ? ones : 0) | (bright0 ? uchar(~ones) : 0));
            }
            if (rest != 0) // the bits past the last pixel stay 0
                out[bytes - 1] = char(uchar(out[bytes - 1]) & uchar(0xFF << (8 - rest)));
        }
        return bits;
    }
    const QImage rgb = mask.convertToFormat(QImage::Format_RGB32);
    // Sizes and the row read once: the loop runs once per pixel of the picture.
    const int width = rgb.width();
    const int height = rgb.height();
    char *out = bits.data();
    for (int y = 0; y < height; ++y, out += stride) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qGray(line[x]) >= 128)
                out[x / 8] = char(out[x / 8] | (0x80 >> (x % 8)));
        }
    }
    return bits;
}

QString TfrmZZC010::versionText(const QString &version)
{
    const QStringList parts = version.split(QLatin1Char('.'));
    int numbers[4] = {0, 0, 0, 0};
    bool any = false;
    for (int i = 0; i < 4 && i < parts.size(); ++i) {
        bool ok = false;
        const uint value = parts.at(i).trimmed().toUInt(&ok);
        if (!ok)
            return QString();
        numbers[i] = int(value & 0xFFFF);
        any = true;
    }
    if (!any)
        return QString();
    return QStringLiteral("%1.%2.%3.%4")
            .arg(numbers[0])
            .arg(numbers[1])
            .arg(numbers[2])
            .arg(numbers[3]);
}
