// Reads and drives config.exe's running window from another process, for the desktop tests:
//   windows_probe.exe msaa     each child control as a Windows screen reader reads it through
//                              MSAA, one line a control in window order, tab-separated: its
//                              name; its role, value and state ("slider 3"); its description
//   windows_probe.exe rects    each child window's class and place in the client area
//   windows_probe.exe dpi N    the window takes a change of DPI to N, as Windows sends it
//   windows_probe.exe redraw   the whole window painted again, now
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

// A text the system gave, freed when it goes.
struct Text {
    BSTR b = nullptr;
    ~Text() { SysFreeString(b); }
    std::string utf8() const
    {
        std::string out(SysStringLen(b) * 3, '\0');
        out.resize(WideCharToMultiByte(CP_UTF8, 0, b, SysStringLen(b), out.data(), out.size(), nullptr, nullptr));
        return out;
    }
};

namespace {

int readAloud(HWND window)
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        IAccessible *object = nullptr;
        VARIANT self{}, role{}, state{};  // role and state come back as numbers: nothing to clear
        self.vt = VT_I4;  // CHILDID_SELF
        Text name, value, description;
        if (SUCCEEDED(AccessibleObjectFromWindow(child, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                 reinterpret_cast<void **>(&object)))) {
            const std::unique_ptr<IAccessible, decltype([](IAccessible *o) { o->Release(); })> held(object);
            object->get_accName(self, &name.b);
            object->get_accValue(self, &value.b);
            object->get_accDescription(self, &description.b);
            object->get_accRole(self, &role);
            object->get_accState(self, &state);
        }
        std::string said = role.lVal == ROLE_SYSTEM_SLIDER        ? "slider"
                           : role.lVal == ROLE_SYSTEM_CHECKBUTTON ? "check box"
                           : role.lVal == ROLE_SYSTEM_COMBOBOX    ? "combo box"
                                                                  : "role " + std::to_string(role.lVal);
        if (SysStringLen(value.b))
            said.append(" ").append(value.utf8());
        for (const auto &[flag, word] : {std::pair{STATE_SYSTEM_CHECKED, ", checked"},
                                         {STATE_SYSTEM_MIXED, ", mixed"},
                                         {STATE_SYSTEM_INVISIBLE, ", invisible"}})
            said += state.lVal & flag ? word : "";
        std::printf("%s\t%s\t%s\n", name.utf8().c_str(), said.c_str(), description.utf8().c_str());
    }
    CoUninitialize();
    return 0;
}

void printPlaces(HWND window)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&r), 2);
        char kind[64] = {};
        GetClassNameA(child, kind, sizeof kind);
        std::printf("%s %ld %ld %ld %ld\n", kind, r.left, r.top, r.right, r.bottom);
    }
}

}  // namespace

int main(int argc, char **argv)
{
    HWND window = FindWindowA(nullptr, "Trelvane Configuration Utility");
    const std::string command = argc > 1 ? argv[1] : "";
    if (!window)
        return 1;
    if (command == "msaa")
        return readAloud(window);
    if (command == "rects") {
        printPlaces(window);
        return 0;
    }
    if (command == "dpi" && argc > 2) {
        // The window's own stand-in for WM_DPICHANGED, whose rectangle Wine cannot carry here.
        const UINT change = RegisterWindowMessageA("TrelvaneConfig.TestDpiChange");
        SendMessageA(window, change, static_cast<WPARAM>(std::strtoul(argv[2], nullptr, 10)), 0);
        return 0;
    }
    if (command == "redraw")
        return RedrawWindow(window, nullptr, nullptr,
                            RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW)
                   ? 0
                   : 1;
    return 2;
}
