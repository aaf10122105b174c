#include "screenhost.h"

namespace {
ScreenHost *g_host = nullptr;
}

ScreenHost *ScreenHost::current()
{
    return g_host;
}

void ScreenHost::setCurrent(ScreenHost *host)
{
    g_host = host;
}
