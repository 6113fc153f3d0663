// Starts the window on the game folder the executable stands in.
#include "win32/win32view.h"

#include <string>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = 0;
    // A long folder name needs a larger buffer than MAX_PATH.
    while ((n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    path.resize(n);
    return trelvane::runConfigWindow(instance, std::filesystem::path(path).parent_path());
}
