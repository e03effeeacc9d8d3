// Drives the Windows program from inside Windows (wine) as a user would, with plain Win32 calls:
//   drive_window check            its window has the exact title, "О программе" (command 1025) is in
//                                 its system menu, and that command shows the About box
//   drive_window export PICTURE   "Save" -> "Image" through the menu, the system's save dialog
//                                 accepted as proposed, then waits for PICTURE's folder (empty
//                                 before) to settle: PICTURE must be the one file written there
//   drive_window close            closes the window and waits for it to go
// Exit status 0 when all went as expected; what was seen goes to standard output.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <set>
#include <string>

namespace {

const wchar_t *const MainTitle = L"ZOLK - Zembrau Plot";

struct Search
{
    const wchar_t *title;
    HWND found;
};

BOOL CALLBACK visibleWithTitle(HWND window, LPARAM data)
{
    auto *search = reinterpret_cast<Search *>(data);
    wchar_t text[256] = {};
    if (IsWindowVisible(window) && GetWindowTextW(window, text, 256) > 0 && std::wcscmp(text, search->title) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The visible top-level window of that title: a program may hold hidden windows of the same title
// (Qt keeps its own file dialog hidden while the system's shows).
HWND waitForWindow(const wchar_t *title, int seconds)
{
    for (int k = 0; k < seconds * 10; ++k) {
        Search search{title, nullptr};
        EnumWindows(visibleWithTitle, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(100);
    }
    return nullptr;
}

void press(WORD key)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = WORD(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    SendInput(1, &input, sizeof(INPUT));
    Sleep(100);
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(INPUT));
    Sleep(300);
}

void chord(WORD modifier, WORD key)
{
    INPUT input[4] = {};
    for (INPUT &i : input)
        i.type = INPUT_KEYBOARD;
    input[0].ki.wVk = modifier;
    input[1].ki.wVk = key;
    input[2].ki.wVk = key;
    input[2].ki.dwFlags = KEYEVENTF_KEYUP;
    input[3].ki.wVk = modifier;
    input[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, input, sizeof(INPUT));
    Sleep(500);
}

// A left click at a point of the window's client area.
void click(HWND window, int x, int y)
{
    POINT point{x, y};
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
    Sleep(200);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(500);
}

int check(HWND window)
{
    // The system menu belongs to the program's process (another process cannot read it under wine),
    // so it is opened as a user opens it: Alt+Space, then Up to its last item, then Enter.
    SetForegroundWindow(window);
    Sleep(500);
    chord(VK_MENU, VK_SPACE);
    press(VK_UP);
    press(VK_RETURN);
    HWND about = waitForWindow(L"About", 10);
    std::printf("last item of the system menu: %s\n", about && IsWindowVisible(about) ? "shows the About box" : "does not show the About box");
    if (!about)
        return 1;
    // The About box has a fixed size: a close button, but no minimise or maximise button.
    const LONG_PTR style = GetWindowLongPtrW(about, GWL_STYLE);
    const bool resizable = (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) != 0;
    std::printf("About box buttons: %s\n", resizable ? "minimise, maximise or a sizing frame" : "close only");
    PostMessageW(about, WM_CLOSE, 0, 0);
    return resizable ? 1 : 0;
}

// The names of the files in a folder.
std::set<std::wstring> filesIn(const std::wstring &folder)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

int exportPicture(HWND window, const std::wstring &picture)
{
    const std::size_t slash = picture.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : picture.substr(0, slash);
    const std::wstring name = slash == std::wstring::npos ? picture : picture.substr(slash + 1);
    // Through the menu bar from the keyboard, as a user without a mouse goes: Alt activates the bar at
    // "Data"; "Save" is its fifth item (Data, Group, Импорт, Plot, Save); Down opens it at its first
    // item, and "Image" is the second. A program that has just started may show its window before it
    // takes keys (on a busy machine, seconds later): then the keys are lost, the menus are closed with
    // Escape and the way is walked again, three times at most.
    HWND dialog = nullptr;
    for (int attempt = 0; attempt < 3 && !dialog; ++attempt) {
        if (attempt > 0) {
            std::printf("save dialog: not yet shown, the menu walked again\n");
            for (int k = 0; k < 3; ++k)
                press(VK_ESCAPE);
        }
        SetForegroundWindow(window);
        Sleep(500);
        click(window, 40, 45); // on the caption "Код": the window takes the keyboard, nothing else happens
        press(VK_MENU);
        for (int k = 0; k < 4; ++k)
            press(VK_RIGHT);
        press(VK_DOWN);
        press(VK_DOWN);
        press(VK_RETURN);
        dialog = waitForWindow(L"Запись общего профиля в jpg-файл", 20);
    }
    std::printf("save dialog: %s\n", dialog ? "shown" : "not shown");
    if (!dialog)
        return 1;
    // The system's own dialog (a standard dialog box), not Qt's drawn one.
    wchar_t windowClass[64] = {};
    GetClassNameW(dialog, windowClass, 64);
    const bool systems = std::wstring(windowClass) == L"#32770";
    std::printf("save dialog: %s\n", systems ? "the system's" : "not the system's");
    if (!systems)
        return 1;
    SetForegroundWindow(dialog);
    Sleep(500);
    press(VK_RETURN); // the proposed name, in Results beside the program
    // The folder's listing, once it has stayed the same for a second (a file may be written under a
    // temporary name first).
    std::set<std::wstring> written, last;
    int unchanged = 0;
    for (int k = 0; k < 200 && unchanged < 10; ++k) {
        Sleep(100);
        written = filesIn(folder);
        unchanged = !written.empty() && written == last ? unchanged + 1 : 0;
        last = written;
    }
    if (written.empty())
        std::printf("no picture written\n");
    for (const std::wstring &file : written) {
        char utf8[4 * MAX_PATH];
        WideCharToMultiByte(CP_UTF8, 0, file.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
        std::printf("written: \"%s\"\n", utf8);
    }
    // Exactly one picture, named as proposed: the given name, or that name with the respondent's name
    // after the code ("Image 0101 <name>.jpg").
    const std::wstring stem = name.substr(0, name.size() - 4), extension = name.substr(name.size() - 4);
    const auto proposed = [&](const std::wstring &file) {
        return file == name
               || (file.size() > name.size() && file.compare(0, stem.size() + 1, stem + L' ') == 0
                   && file.compare(file.size() - 4, 4, extension) == 0);
    };
    return written.size() == 1 && proposed(*written.begin()) ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc < 2)
        return 2;
    const std::wstring command = argv[1];
    HWND window = waitForWindow(MainTitle, 60);
    std::printf("window \"ZOLK - Zembrau Plot\": %s\n", window ? "found" : "not found");
    if (!window)
        return 1;
    if (command == L"check")
        return check(window);
    if (command == L"export" && argc > 2)
        return exportPicture(window, argv[2]);
    if (command == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
        for (int k = 0; k < 100 && IsWindow(window); ++k)
            Sleep(100);
        return IsWindow(window) ? 1 : 0;
    }
    return 2;
}
