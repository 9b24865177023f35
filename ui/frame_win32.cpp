// The main frame window: for now a plain top-level window whose caption is
// the query file's path and the application title.
#include "ui/frame.h"

#include "app/application.h"

#include <windows.h>

namespace {

const char* const FRAME_CLASS = "PolrixFrame";

LRESULT CALLBACK frame_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_DESTROY:
        app().main_window = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
}

}  // namespace

bool start_frame_window(mapp& application)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = frame_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = FRAME_CLASS;
    RegisterClassA(&wc);

    std::string caption = application.cfg_path + " - Polrix";
    HWND hwnd = CreateWindowExA(0, FRAME_CLASS, caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr);
    if (!hwnd) {
        MessageBoxA(nullptr, "Failed to create the main window", "Polrix", MB_OK);
        return false;
    }
    application.main_window = hwnd;
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    return true;
}
