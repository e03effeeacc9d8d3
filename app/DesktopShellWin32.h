#pragma once
// The Windows desktop shell: plain Win32 calls, no Qt, so that it builds with any Windows compiler.

#include "DesktopShell.h"

#include <windows.h>

class Win32DesktopShell final : public DesktopShell
{
public:
    // taskbarClass names the taskbar's window class; tests give their own.
    explicit Win32DesktopShell(std::wstring taskbarClass = L"Shell_TrayWnd");

    bool claimScreen() override;
    void releaseScreen() override;
    bool appendSystemMenuItem(void *nativeWindow, unsigned commandId, const std::wstring &text) override;

private:
    HWND findTaskbar() const;

    std::wstring m_taskbarClass;
    bool m_claimed = false;
    RECT m_savedWorkArea{};
};
