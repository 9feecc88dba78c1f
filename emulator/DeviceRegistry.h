// The emulated adapter in the registry, where Wine's SetupAPI looks for device interfaces:
// an interface of the adapter's class whose device path is the device server's pipe.
#pragma once

// Writes the lasting part: the device instance with its class, and the interface with its
// device path. False when a key or value cannot be written.
bool RegisterDeviceInterface();

// Linked, the interface counts as present (plugged in); the mark is volatile, so it does
// not outlive the Wine session even when the server dies without removing it.
bool SetInterfaceLinked(bool linked);

// Tells every top-level window that the interface arrived or was removed, as Windows tells
// the windows that asked for the interface's class (WM_DEVICECHANGE with the class and the
// device path). Wine sends nothing for an interface that only the registry holds.
void AnnounceInterface(bool arrived);
