#include "framework/gdi.h"

bool CFont::CreatePointFont(int, const std::string& face_name)
{
    face_name_ = face_name;
    return false;  // no GDI here: there is never a font handle
}

void CFont::DeleteObject() { handle_ = nullptr; }
