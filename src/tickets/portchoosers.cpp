#include "portchoosers.h"

#include "platform/inifile.h"
#include "platform/programfolders.h"
#include "platform/seriallink.h"

#include <QAbstractItemView>
#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace {

const QString Section = QStringLiteral("Printer");
const QString PortKey = QStringLiteral("Port");
const QString RateKey = QStringLiteral("Rate");

QString &deviceFolder()
{
    static QString folder = QStringLiteral("/dev");
    return folder;
}

// A by-id name as udev makes it for a common USB adapter: the chooser shows one whole.
const QString TypicalById = QStringLiteral(
        "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");

} // namespace

PortChoosers PortChoosers::create(QWidget *parent, SerialLink *link, const QString &screenId)
{
    PortChoosers c;
    c.screenId = screenId;
    c.portLabel = new QLabel(QStringLiteral("출력 포트"), parent);
    c.port = new QComboBox(parent);
    c.port->setObjectName(QStringLiteral("cbbComPort"));
    c.port->setEditable(true);
    c.port->setInsertPolicy(QComboBox::NoInsert);
    const QFontMetrics metrics(c.port->font());
    int widest = metrics.horizontalAdvance(TypicalById);
    for (const SerialLink::Device &device : SerialLink::devices(deviceFolder())) {
        c.port->addItem(device.path);
        if (!device.target.isEmpty())
            c.port->setItemData(c.port->count() - 1, device.target, Qt::ToolTipRole);
        widest = std::max(widest, metrics.horizontalAdvance(device.path));
    }
    // The chooser takes the room the bar has, up to a by-id path shown whole
    // (the whole of it from 1280 pixels on); its list shows every path whole.
    c.port->setMinimumWidth(metrics.horizontalAdvance(TypicalById.left(40)));
    c.port->setMaximumWidth(metrics.horizontalAdvance(TypicalById) + 40);
    c.port->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    c.port->view()->setMinimumWidth(widest + 40);
    c.rateLabel = new QLabel(QStringLiteral("전송 속도"), parent);
    c.rate = new QComboBox(parent);
    c.rate->setObjectName(QStringLiteral("cbbComRate"));
    c.rate->addItems(SerialLink::rateNames());

    const IniFile settings(settingsPath(screenId));
    const QString port = settings.readString(Section, PortKey);
    if (!port.isEmpty())
        c.port->setEditText(port);
    else if (c.port->count() > 0)
        c.port->setCurrentIndex(0);
    const QString rate = settings.readString(Section, RateKey);
    c.rate->setCurrentText(SerialLink::rateNames().contains(rate) ? rate : QStringLiteral("9600"));
    link->setPortName(c.port->currentText());
    link->setRateName(c.rate->currentText());
    QObject::connect(c.port, &QComboBox::currentTextChanged, link, &SerialLink::setPortName);
    QObject::connect(c.rate, &QComboBox::currentTextChanged, link, &SerialLink::setRateName);
    return c;
}

QList<QWidget *> PortChoosers::widgets() const
{
    return {portLabel, port, rateLabel, rate};
}

void PortChoosers::takeFreeRoom() const
{
    if (auto *bar = qobject_cast<QBoxLayout *>(port->parentWidget()->layout()))
        bar->setStretchFactor(port, 100); // against the bar's own stretch of 1
}

bool PortChoosers::remember() const
{
    const QString path = settingsPath(screenId);
    QDir().mkpath(QFileInfo(path).absolutePath());
    IniFile settings(path);
    return settings.writeString(Section, PortKey, port->currentText().trimmed())
           && settings.writeString(Section, RateKey, rate->currentText());
}

QString PortChoosers::settingsPath(const QString &screenId)
{
    return ProgramFolders::screenSettings(screenId);
}

void PortChoosers::setSettingsFolder(const QString &folder)
{
    ProgramFolders::setDataFolder(folder);
}

void PortChoosers::setDeviceFolder(const QString &folder)
{
    deviceFolder() = folder.isEmpty() ? QStringLiteral("/dev") : folder;
}
