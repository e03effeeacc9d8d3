// The Windows desktop shell against the real Win32 calls (built with mingw-w64, run under wine by
// scripts/test-win32-shell.sh). A test window class stands in for the taskbar.

#include "DesktopShellWin32.h"

#include <cstdio>

namespace {

int passed = 0;
int failed = 0;

void check(bool condition, const char *what)
{
    if (condition) {
        ++passed;
        std::printf("PASS   : %s\n", what);
    } else {
        ++failed;
        std::printf("FAIL!  : %s\n", what);
    }
}

RECT workArea()
{
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

bool same(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

HWND createWindow(const wchar_t *className, DWORD style)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowExW(0, className, L"", style, 0, 0, 200, 40, nullptr, nullptr, wc.hInstance, nullptr);
}

} // namespace

int main()
{
    const RECT original = workArea();
    const RECT whole{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    // A desktop whose taskbar takes the bottom 40 pixels.
    RECT withTaskbar = whole;
    withTaskbar.bottom -= 40;
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &withTaskbar, 0);
    const RECT before = workArea();

    {
        HWND tray = createWindow(L"ZolkTestTray", WS_POPUP | WS_VISIBLE);
        check(tray != nullptr && IsWindowVisible(tray), "the stand-in taskbar is visible");
        Win32DesktopShell shell(L"ZolkTestTray");
        check(shell.claimScreen(), "start finds the taskbar");
        check(!IsWindowVisible(tray), "start hides the taskbar");
        check(same(workArea(), whole), "start makes the whole screen the work area");
        shell.releaseScreen();
        check(IsWindowVisible(tray) != FALSE, "close shows the taskbar again");
        check(same(workArea(), before), "close puts the work area back");
        DestroyWindow(tray);
    }
    {
        Win32DesktopShell shell(L"ZolkNoSuchTray");
        check(!shell.claimScreen(), "without a taskbar start finds nothing");
        check(same(workArea(), before), "without a taskbar the work area stays");
        shell.releaseScreen();
        check(same(workArea(), before), "without a taskbar close changes nothing");
    }
    {
        HWND window = createWindow(L"ZolkTestMain", WS_OVERLAPPEDWINDOW);
        HMENU menu = GetSystemMenu(window, FALSE);
        const int count = GetMenuItemCount(menu);
        Win32DesktopShell shell(L"ZolkNoSuchTray");
        check(shell.appendSystemMenuItem(window, AboutCommandId, L"О программе"), "the system menu takes the item");
        check(GetMenuItemCount(menu) == count + 2, "a separator and the item are appended");
        check(GetMenuItemID(menu, count + 1) == AboutCommandId, "the item carries command 1025");
        wchar_t text[64] = {};
        GetMenuStringW(menu, count + 1, text, 64, MF_BYPOSITION);
        check(std::wstring(text) == L"О программе", "the item reads \"О программе\"");
        DestroyWindow(window);
    }

    SystemParametersInfoW(SPI_SETWORKAREA, 0, const_cast<RECT *>(&original), 0);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
