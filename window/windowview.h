#pragma once
// What the window logic asks of a toolkit's window. A view makes one control
// per row of WindowLayout, passes the player's events on to the logic, and
// does what it is told here; it decides nothing about the settings.
//
// Rows are indexes into WindowLayout. Texts are UTF-8.

#include <string_view>

namespace trelvane {

enum class LoadChoice { Close, UseFactorySettings };

class WindowView {
public:
    virtual ~WindowView() = default;

    // The value of a row's control: a check box's state (0 clear, 1 checked,
    // 2 grayed), a slider's position, a key list's selected entry (-1 none).
    // Set with the control's own change notifications blocked: the logic has
    // already done whatever follows from the change.
    virtual void setValue(int row, int value) = 0;
    // Shows or hides a row's picture.
    virtual void setShown(int row, bool shown) = 0;
    // Moves a sample message (a Role::Message row) so that its left edge is
    // `leftTwips` from the window's left. It is seen only inside the strip's
    // clip rectangle, which the logic gives.
    virtual void moveMessage(int row, int leftTwips) = 0;
    // A row's tooltip and accessible description: a setting's control, the
    // caption beside it, or a preview picture. Said again only when the text
    // changes (a box no longer grayed, a key now shared). `marked`: shown as
    // needing the player's eye (a key list whose key another move also uses).
    virtual void setDescription(int row, std::string_view text, bool marked) = 0;
    // Shown in a key list's box in place of its key while the list waits for
    // the player to press one; empty: its key again.
    virtual void setKeyListPrompt(int row, std::string_view prompt) = 0;

    virtual void showWindow() = 0;
    virtual void startTimer(int intervalMs) = 0;
    // A question with Yes and No and the question icon, Yes the default; true for Yes.
    virtual bool askYesNo(std::string_view title, std::string_view question) = 0;
    virtual void showError(std::string_view message) = 0;
    // The settings could not be loaded at start-up: Close (the default, and
    // Enter's and Escape's answer) and, only when factoryOffered, a second
    // button "&Use Factory Settings".
    virtual LoadChoice askAfterLoadFailure(std::string_view message, bool factoryOffered) = 0;
    // Ends the window; the program exits with `status`.
    virtual void close(int status) = 0;
};

}  // namespace trelvane
