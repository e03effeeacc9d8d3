#include "DesktopShell.h"

namespace {

// Desktops other than Windows have no taskbar window to hide and no system menu to extend: the
// program leaves the desktop alone and offers "О программе" in its own menus.
class NoTaskbarShell final : public DesktopShell
{
public:
    bool claimScreen() override { return false; }
    void releaseScreen() override {}
    bool appendSystemMenuItem(void *, unsigned, const std::wstring &) override { return false; }
};

} // namespace

std::unique_ptr<DesktopShell> createPlatformDesktopShell()
{
    return std::make_unique<NoTaskbarShell>();
}
