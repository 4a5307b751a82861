#pragma once

// The DPI of the primary monitor, where the splash appears, as this process sees it: with
// per-monitor awareness the monitor's own, otherwise the system's (96 for a process that is
// not DPI aware). Systems before Windows 8.1 have no per-monitor DPI and give the system's.
unsigned primaryMonitorDpi();
