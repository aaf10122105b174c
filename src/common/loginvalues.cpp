#include "loginvalues.h"

#include "commonroutines.h"

LoginValues &login()
{
    static LoginValues values;
    return values;
}

QString LoginValues::localIP() const
{
    if (!m_localIP)
        m_localIP = LocalIPAddress();
    return *m_localIP;
}
