// config.exe's window with the first frame and idle cost measured:
//   config_bench [idle seconds]   (beside trelvane.cfg, as config.exe is)
#include <cstdlib>
#include <string>

#include "firstframe.h"
#include "win32/win32view.h"

int wmain(int argc, wchar_t **argv)
{
    trelvane::bench::FirstFrame measure(argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 0);
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return trelvane::runConfigWindow(GetModuleHandleW(nullptr), std::filesystem::path(path).parent_path());
}
