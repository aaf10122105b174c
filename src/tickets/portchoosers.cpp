#include "portchoosers.h"

#include "platform/seriallink.h"

#include <QComboBox>
#include <QLabel>

PortChoosers PortChoosers::create(QWidget *parent, SerialLink *link)
{
    PortChoosers c;
    c.portLabel = new QLabel(QStringLiteral("출력 포트"), parent);
    c.port = new QComboBox(parent);
    c.port->setObjectName(QStringLiteral("cbbComPort"));
    c.port->setEditable(true);
    c.port->setMinimumWidth(200);
    c.port->addItem(QStringLiteral("COM1"));
    c.port->addItems(SerialLink::availablePorts());
    c.rateLabel = new QLabel(QStringLiteral("전송 속도"), parent);
    c.rate = new QComboBox(parent);
    c.rate->setObjectName(QStringLiteral("cbbComRate"));
    c.rate->addItems(SerialLink::rateNames());
    c.rate->setCurrentText(QStringLiteral("9600"));
    QObject::connect(c.port, &QComboBox::currentTextChanged, link, &SerialLink::setPortName);
    QObject::connect(c.rate, &QComboBox::currentTextChanged, link, &SerialLink::setRateName);
    return c;
}

QList<QWidget *> PortChoosers::widgets() const
{
    return {portLabel, port, rateLabel, rate};
}
