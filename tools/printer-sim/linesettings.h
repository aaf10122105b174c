#pragma once

#include <QString>

/// The line settings the program on the other end of a pseudo-terminal applied.
struct LineSettings
{
    int rate = 0;
    int dataBits = 8;
    char parity = 'N'; ///< 'N', 'E' or 'O'
    int stopBits = 1;
    bool hardwareFlow = false; ///< RTS/CTS
    bool softwareFlow = false; ///< XON/XOFF in either direction

    bool operator==(const LineSettings &) const = default;
    /// "9600 8N1 flow=none"
    QString text() const;
    /// Bits on the line for one byte: start, data, parity, stop.
    int bitsPerByte() const { return 1 + dataBits + (parity == 'N' ? 0 : 1) + stopBits; }
};

/// Reads the settings of the terminal open as fd (any rate, custom ones too).
bool readLineSettings(int fd, LineSettings &settings);
