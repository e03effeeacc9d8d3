#pragma once
// The few desktop calls that only Windows has: the taskbar, the work area and the system menu.
// The window is passed as an opaque native handle so that the Windows implementation needs no Qt.

#include <memory>
#include <string>

class DesktopShell
{
public:
    virtual ~DesktopShell() = default;

    // Hides the taskbar and makes the whole primary screen the work area, remembering the work area it
    // replaces. Returns false, and changes nothing, when there is no taskbar window.
    virtual bool claimScreen() = 0;
    // Shows the taskbar again and puts back the work area that claimScreen replaced.
    virtual void releaseScreen() = 0;
    // Appends a separator and an item to the window's system menu. Returns false where the system has
    // no system menu; the caller then offers the item elsewhere.
    virtual bool appendSystemMenuItem(void *nativeWindow, unsigned commandId, const std::wstring &text) = 0;
};

// The implementation for the system the program was built for.
std::unique_ptr<DesktopShell> createPlatformDesktopShell();

// The command identifier of "О программе" in the system menu.
constexpr unsigned AboutCommandId = 1025;
