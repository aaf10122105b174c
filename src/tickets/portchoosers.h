#pragma once

#include <QList>
#include <QString>

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
    /// The screen whose settings file keeps the choice.
    QString screenId;

    /// The port chooser lists the machine's serial devices (see
    /// SerialLink::devices) and takes a typed device path (a printer
    /// simulator's terminal); the rate chooser the link's rate list. Both
    /// start at what the screen's settings file kept, else at the first
    /// device and "9600".
    static PortChoosers create(QWidget *parent, SerialLink *link, const QString &screenId);
    /// Caption, chooser, caption, chooser: in the order of the bar.
    QList<QWidget *> widgets() const;
    /// Once in the bar: the port chooser takes the room the bar has left.
    void takeFreeRoom() const;
    /// Keeps the port and rate shown in the screen's settings file; false
    /// when the file cannot be written.
    bool remember() const;

    /// The settings file of a screen: "<screen id>.ini" in the program's data folder.
    static QString settingsPath(const QString &screenId);
    /// Puts the program's data folder elsewhere (tests set their own).
    static void setSettingsFolder(const QString &folder);
    /// Where the devices are looked for: /dev unless set (tests set their own).
    static void setDeviceFolder(const QString &folder);
};
