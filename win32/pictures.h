#pragma once
// The preview pictures, resources of the executable decoded by the system
// (OleLoadPicture) the first time each is drawn.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <map>
#include <string_view>

#include "win32/handles.h"

struct IPicture;

namespace trelvane {

class PreviewPictures {
public:
    explicit PreviewPictures(HINSTANCE instance);
    ~PreviewPictures();
    PreviewPictures(const PreviewPictures &) = delete;
    PreviewPictures &operator=(const PreviewPictures &) = delete;

    // Draws the picture stored under `name` scaled into `place`; `sharp`: the one drawn at twice the size.
    void draw(HDC dc, std::string_view name, const RECT &place, bool sharp);

private:
    HINSTANCE instance_;
    std::map<std::string_view, ComRef<IPicture>> decoded_;  // by file name
    bool sharp_ = false;  // which set decoded_ holds
};

}  // namespace trelvane
