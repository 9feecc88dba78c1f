// The framework: a small MFC-like layer over Win32. The program's own texts come from
// the resources of its shown language as UTF-16 and reach the screen through the wide
// functions; names that the adapter keeps stay narrow, in the ANSI code page.
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
#include "ResourceLanguage.h"
#include "SliderCtrl.h"
#include "String.h"
#include "WinApp.h"
#include "Wnd.h"
