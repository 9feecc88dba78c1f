// The emulated adapter in the registry, where Wine's SetupAPI looks for device interfaces:
// an interface of the adapter's class whose device path is the device server's pipe.
#pragma once

// Writes the lasting part: the device instance with its class, and the interface with its
// device path. False when a key or value cannot be written.
bool RegisterDeviceInterface();

// Linked, the interface counts as present (plugged in); the mark is volatile, so it does
// not outlive the Wine session even when the server dies without removing it.
bool SetInterfaceLinked(bool linked);
