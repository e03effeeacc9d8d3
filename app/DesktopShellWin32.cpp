#include "DesktopShellWin32.h"

Win32DesktopShell::Win32DesktopShell(std::wstring taskbarClass)
    : m_taskbarClass(std::move(taskbarClass))
{
}

HWND Win32DesktopShell::findTaskbar() const
{
    return FindWindowW(m_taskbarClass.c_str(), nullptr);
}

bool Win32DesktopShell::claimScreen()
{
    HWND taskbar = findTaskbar();
    if (!taskbar)
        return false;
    ShowWindow(taskbar, SW_HIDE);
    m_claimed = SystemParametersInfoW(SPI_GETWORKAREA, 0, &m_savedWorkArea, 0) != FALSE;
    RECT whole{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &whole, SPIF_SENDWININICHANGE);
    return true;
}

void Win32DesktopShell::releaseScreen()
{
    if (HWND taskbar = findTaskbar())
        ShowWindow(taskbar, SW_SHOWNORMAL);
    // Other programs' maximised windows would otherwise keep covering the returned taskbar.
    if (m_claimed) {
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &m_savedWorkArea, SPIF_SENDWININICHANGE);
        m_claimed = false;
    }
}

bool Win32DesktopShell::appendSystemMenuItem(void *nativeWindow, unsigned commandId, const std::wstring &text)
{
    HMENU menu = GetSystemMenu(static_cast<HWND>(nativeWindow), FALSE);
    if (!menu)
        return false;
    InsertMenuW(menu, UINT(-1), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuW(menu, UINT(-1), MF_BYPOSITION | MF_STRING, commandId, text.c_str());
    return true;
}

#ifndef ZOLK_SHELL_NO_FACTORY
std::unique_ptr<DesktopShell> createPlatformDesktopShell()
{
    return std::make_unique<Win32DesktopShell>();
}
#endif
