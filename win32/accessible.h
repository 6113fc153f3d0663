#pragma once
// What Windows screen readers hear of a control: the system's own accessible
// object for its window, with the name, value, description, role and state
// that the view gives laid over it. It decides nothing itself.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <oleacc.h>
#include <windows.h>

#include <optional>
#include <string>

namespace trelvane {

struct AccessibleFacts {
    std::wstring name;
    std::optional<std::wstring> value;  // none: the system's own
    std::wstring description;
    // Given only where the system calls the control a mere "client", as Wine does.
    LONG role = ROLE_SYSTEM_CLIENT;
    LONG state = 0;  // STATE_SYSTEM_CHECKED or STATE_SYSTEM_MIXED, added to the system's
};

class AccessibleSource {
public:
    // What a reader is told of `control` now; none: the system's own object answers alone.
    virtual std::optional<AccessibleFacts> accessibleFacts(HWND control) const = 0;

protected:
    ~AccessibleSource() = default;
};

// From now until the window is destroyed, `control` answers readers with what `source`
// says of it. The source must outlive the window.
void makeAccessible(HWND control, const AccessibleSource &source);

}  // namespace trelvane
