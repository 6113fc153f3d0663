// Reads the child controls of a running window through MSAA from another process, as a
// Windows screen reader does. One line a control, in window order, tab-separated: its
// name; its role, value and state ("Sphere Detail\tslider 3\t..."); its description.
// Usage: msaa_probe.exe "<window title>"
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
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

int main(int argc, char **argv)
{
    HWND window = argc == 2 ? FindWindowA(nullptr, argv[1]) : nullptr;
    if (!window || FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
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
