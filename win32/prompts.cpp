#include "win32/prompts.h"

#include <commctrl.h>

#include <string>

#include "win32/hooks.h"
#include "win32/system.h"
#include "window/look.h"

namespace trelvane {

namespace {

// Clear of IDOK, IDCANCEL and the other common buttons' IDs.
constexpr int UseFactorySettingsId = 100;

// Escape and the close box send IDCANCEL, which Wine's task dialog takes for no button at
// all when it has no Cancel: they press Close here, on every system alike.
ProcedureHooks<> escapeHooks;

LRESULT CALLBACK escapeIsClose(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && !lParam) {
        SendMessageW(dialog, TDM_CLICK_BUTTON, IDCLOSE, 0);
        return 0;
    }
    return escapeHooks.handOn(dialog, message, wParam, lParam);
}

HRESULT CALLBACK taskDialogEvent(HWND dialog, UINT event, WPARAM, LPARAM, LONG_PTR)
{
    if (event == TDN_CREATED)
        escapeHooks.hook(dialog, &escapeIsClose);
    return S_OK;
}

}  // namespace

bool askYesNo(HWND owner, std::string_view title, std::string_view question)
{
    return MessageBoxW(owner, wide(question).c_str(), wide(title).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES;
}

void showError(HWND owner, std::string_view message)
{
    MessageBoxW(owner, wide(message).c_str(), wide(WindowTitle).c_str(), MB_OK | MB_ICONERROR);
}

LoadChoice askAfterLoadFailure(HWND owner, HINSTANCE instance, std::string_view message, bool factoryOffered)
{
    const std::wstring content = wide(message), title = wide(WindowTitle), factoryText = wide(UseFactorySettingsText);
    TASKDIALOG_BUTTON factory{UseFactorySettingsId, factoryText.c_str()};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.hInstance = instance;
    // Escape and the close box answer Close, as Enter does.
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
    config.dwCommonButtons = TDCBF_CLOSE_BUTTON;
    config.pszWindowTitle = title.c_str();
    config.pszMainIcon = TD_ERROR_ICON;
    config.pszContent = content.c_str();
    config.cButtons = factoryOffered ? 1 : 0;
    config.pButtons = factoryOffered ? &factory : nullptr;
    config.nDefaultButton = IDCLOSE;
    config.pfCallback = &taskDialogEvent;
    int pressed = 0;
    if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr)))
        MessageBoxW(owner, content.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
    return pressed == UseFactorySettingsId ? LoadChoice::UseFactorySettings : LoadChoice::Close;
}

}  // namespace trelvane
