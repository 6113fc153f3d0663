#include "win32/pictures.h"

#include <olectl.h>

#include <span>

#include "win32/resources.h"
#include "win32/system.h"

namespace trelvane {

namespace {

ComRef<IPicture> decodeJpeg(std::span<const std::byte> bytes)
{
    ComRef<IPicture> picture;
    ComRef<IStream> stream;
    if (bytes.empty() || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.out())))
        return picture;
    const LARGE_INTEGER start{};
    if (FAILED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr)) ||
        FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) ||
        FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture, picture.put())))
        picture.reset();
    return picture;
}

}  // namespace

PreviewPictures::PreviewPictures(HINSTANCE instance) : instance_(instance) {}
PreviewPictures::~PreviewPictures() = default;

void PreviewPictures::draw(HDC dc, std::string_view name, const RECT &place, bool sharp)
{
    if (sharp != sharp_) {
        decoded_.clear();
        sharp_ = sharp;
    }
    auto found = decoded_.find(name);
    if (found == decoded_.end()) {
        ComRef<IPicture> picture =
            decodeJpeg(resourceBytes(instance_, wide(name).c_str(), sharp ? RT_PREVIEW2X : RT_PREVIEW));
        if (!picture)
            return;
        found = decoded_.emplace(name, std::move(picture)).first;
    }
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    found->second->get_Width(&width);
    found->second->get_Height(&height);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    found->second->Render(dc, place.left, place.top, place.right - place.left, place.bottom - place.top, 0, height,
                          width, -height, nullptr);
}

}  // namespace trelvane
