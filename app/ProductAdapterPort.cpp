#include "AdapterChoice.h"
#include "Win32AdapterPort.h"

AdapterPort& ApplicationAdapterPort()
{
    static Win32AdapterPort driver;
    return driver;
}
