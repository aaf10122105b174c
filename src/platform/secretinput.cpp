#include "secretinput.h"

#include "cp949.h"

#include <QByteArray>
#include <QStringDecoder>

#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

// Switches terminal echo off while it lives.
class EchoOff
{
public:
    explicit EchoOff(const char *prompt)
    {
        if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &m_saved) != 0)
            return;
        termios quiet = m_saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        m_active = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        std::fputs(prompt, stderr);
    }
    ~EchoOff()
    {
        if (!m_active)
            return;
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
        std::fputs("\n", stderr);
    }
    EchoOff(const EchoOff &) = delete;
    EchoOff &operator=(const EchoOff &) = delete;

private:
    termios m_saved{};
    bool m_active = false;
};

QString decodeInput(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? Cp949::toUnicode(bytes) : text;
}

} // namespace

std::optional<QString> readSecretLine(const char *prompt)
{
    std::string line;
    {
        EchoOff echoOff(prompt);
        if (!std::getline(std::cin, line) && line.empty())
            return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return decodeInput(QByteArray::fromStdString(line));
}
