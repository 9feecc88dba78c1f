// The framework: a small MFC-like layer over Win32 with narrow (ANSI) text.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "CmdTarget.h"
#include "DataExchange.h"
#include "Dialog.h"
#include "ListBox.h"
#include "Menu.h"
#include "MessageMap.h"
#include "PaintDC.h"
#include "SliderCtrl.h"
#include "String.h"
#include "WinApp.h"
#include "Wnd.h"
