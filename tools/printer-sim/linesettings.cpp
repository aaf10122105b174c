#include "linesettings.h"

// termios2 reports custom rates as numbers; <termios.h> cannot be included beside it.
#include <asm/termbits.h>
#include <sys/ioctl.h>

QString LineSettings::text() const
{
    QString flow = QStringLiteral("none");
    if (hardwareFlow && softwareFlow)
        flow = QStringLiteral("rtscts+xonxoff");
    else if (hardwareFlow)
        flow = QStringLiteral("rtscts");
    else if (softwareFlow)
        flow = QStringLiteral("xonxoff");
    return QStringLiteral("%1 %2%3%4 flow=%5")
            .arg(rate)
            .arg(dataBits)
            .arg(QLatin1Char(parity))
            .arg(stopBits)
            .arg(flow);
}

bool readLineSettings(int fd, LineSettings &settings)
{
    struct termios2 t = {};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return false;
    settings.rate = int(t.c_ospeed);
    switch (t.c_cflag & CSIZE) {
    case CS5:
        settings.dataBits = 5;
        break;
    case CS6:
        settings.dataBits = 6;
        break;
    case CS7:
        settings.dataBits = 7;
        break;
    default:
        settings.dataBits = 8;
        break;
    }
    settings.parity = (t.c_cflag & PARENB) ? ((t.c_cflag & PARODD) ? 'O' : 'E') : 'N';
    settings.stopBits = (t.c_cflag & CSTOPB) ? 2 : 1;
    settings.hardwareFlow = (t.c_cflag & CRTSCTS) != 0;
    settings.softwareFlow = (t.c_iflag & (IXON | IXOFF)) != 0;
    return true;
}
