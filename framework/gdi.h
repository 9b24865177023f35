// GDI objects the core holds. Each owns its handle and deletes it with the
// object; on the host there is no GDI and only the asked-for face name is
// kept (gdi_host.cpp), on Windows the real objects (gdi_win32.cpp).
#pragma once

#include <string>

class CFont {
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Size in tenths of a point, for the screen. False when not created.
    bool CreatePointFont(int tenths_of_point, const std::string& face_name);
    void DeleteObject();

    void* handle() const { return handle_; }  // an HFONT
    const std::string& face_name() const { return face_name_; }

private:
    void* handle_ = nullptr;
    std::string face_name_;
};
