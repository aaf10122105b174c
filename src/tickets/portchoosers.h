#pragma once

#include <QList>

class QComboBox;
class QLabel;
class QWidget;
class SerialLink;

/// The two choosers of a printing screen's button bar, "출력 포트" and
/// "전송 속도", with their captions. A choice goes to the link at once and
/// takes effect at its next opening.
struct PortChoosers
{
    QLabel *portLabel = nullptr;
    QComboBox *port = nullptr;
    QLabel *rateLabel = nullptr;
    QComboBox *rate = nullptr;

    /// The port chooser lists "COM1" and the machine's serial ports and takes
    /// a typed device path (a printer simulator's terminal); the rate chooser
    /// the link's rate list, "9600" chosen.
    static PortChoosers create(QWidget *parent, SerialLink *link);
    /// Caption, chooser, caption, chooser: in the order of the bar.
    QList<QWidget *> widgets() const;
};
