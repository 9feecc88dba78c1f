// The adapter the program talks to: the product links the real driver's port, the demo
// an emulated adapter set up from its command line.
#pragma once

#include "AdapterPort.h"

AdapterPort& ApplicationAdapterPort();
