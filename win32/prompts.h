#pragma once
// The window's questions and messages, in the system's own boxes: a message
// box, and for the load error a task dialog with the factory settings' button.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string_view>

#include "window/windowview.h"

namespace trelvane {

// Yes and No with the question icon, Yes the default; true for Yes.
bool askYesNo(HWND owner, std::string_view title, std::string_view question);
void showError(HWND owner, std::string_view message);
// Close, the default and the answer to Escape and the close box, and where
// factoryOffered the factory settings' button.
LoadChoice askAfterLoadFailure(HWND owner, HINSTANCE instance, std::string_view message, bool factoryOffered);

}  // namespace trelvane
