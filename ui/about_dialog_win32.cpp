// The about box (IDD_ABOUTBOX) and the static control that paints its three
// lines: the product line, a credit line and the maker's web address. The
// address works as a link through a fixed zone of the dialog's client area.
#include "ui/about_dialog_win32.h"

#include "framework/gdi_win32.h"
#include "framework/handlers_win32.h"
#include "base/log.h"
#include "base/registry.h"
#include "res/resource.h"

#include <optional>

// Short enough that on the box's usual fonts its drawn line covers about
// the width of the fixed zone that works as the link.
const char* const MAKER_ADDRESS = "www.vendaril.example";

namespace {

const char* const PRODUCT_LINE = "Polrix, Version 1.00";
// Drawn without prefix processing, so the ampersand shows as it is.
const char* const CREDIT_LINE = "Development & Design";

// Centred, wrapped at word breaks, "&" shown literally.
const UINT TEXT_FORMAT = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
const COLORREF PURE_BLUE = RGB(0, 0, 255);

// The registration of the system's web browser: the key's default value
// holds the program's path.
const char* const BROWSER_KEY = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";

// The text control's place in the dialog: 3 pixels from the left, top and
// right edges of the client area, 70 pixels down.
const int TEXT_MARGIN = 3;
const int TEXT_BOTTOM = 70;
const DWORD TEXT_STYLE = WS_CHILD | WS_VISIBLE | SS_SUNKEN | SS_WHITERECT;

// The address's zone in the dialog's client area, in pixels, every bound
// exclusive. It is fixed; it is not measured from the drawn text.
const LONG HOT_LEFT = 68;
const LONG HOT_RIGHT = 182;
const LONG HOT_TOP = 48;
const LONG HOT_BOTTOM = 54;

void draw_line(CDC& dc, const char* text, LONG top, LONG bottom, LONG right)
{
    RECT band{5, top, right, bottom};
    ::DrawTextA(dc, text, -1, &band, TEXT_FORMAT);
}

// Selects the font when it was made; a font that could not be made leaves
// the one before in place.
void select_font(CDC& dc, const CFont& font)
{
    if (font.handle())
        dc.SelectObject(static_cast<HFONT>(font.handle()));
}

// The registered path as one argument. A path stored already in quotes is
// taken as it stands.
std::string quoted(const std::string& path)
{
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        return path;
    return "\"" + path + "\"";
}

}  // namespace

CInb::CInb() { write_log("CInb::CInb () OK ...\n"); }

CInb::~CInb() { write_log("CInb::~CInb () OK ...\n"); }

const MessageMap& CInb::GetMessageMap() const
{
    static const MessageMap map(&CStatic::GetMessageMap(), {on_paint(&CInb::OnPaint)});
    return map;
}

// The control's whole client area is painted here; the static control's own
// drawing is not used (the sunken edge around it is the system's).
void CInb::OnPaint()
{
    CPaintDC dc(m_hWnd);
    COLORREF window_colour = ::GetSysColor(COLOR_WINDOW);
    CFont large_font;
    CFont small_font;
    large_font.CreatePointFont(90, "Tahoma");
    small_font.CreatePointFont(85, "Tahoma");
    RECT client = GetClientRect();
    dc.FillSolidRect(client, window_colour);

    select_font(dc, large_font);
    draw_line(dc, PRODUCT_LINE, 5, 20, client.right);
    select_font(dc, small_font);
    draw_line(dc, CREDIT_LINE, 22, 38, client.right);
    dc.SetTextColor(PURE_BLUE);
    draw_line(dc, MAKER_ADDRESS, 40, 60, client.right);

    // The fonts leave the context before they are deleted.
    dc.SelectObject(::GetStockObject(SYSTEM_FONT));
}

CInf::CInf() : CDialog(IDD_ABOUTBOX) { write_log("CInf::CInf () OK ...\n"); }

CInf::~CInf() { write_log("CInf::~CInf () OK ...\n"); }

const MessageMap& CInf::GetMessageMap() const
{
    static const MessageMap map(&CDialog::GetMessageMap(), {
                                                               on_mouse(WM_MOUSEMOVE, &CInf::OnMouseMove),
                                                               on_mouse(WM_LBUTTONDOWN, &CInf::OnLButtonDown),
                                                           });
    return map;
}

bool CInf::OnInitDialog()
{
    CDialog::OnInitDialog();
    RECT rect = GetClientRect();
    rect.right -= TEXT_MARGIN;
    rect.left = TEXT_MARGIN;
    rect.top = TEXT_MARGIN;
    rect.bottom = TEXT_BOTTOM;
    // No SS_NOTIFY: the control lets the mouse through to the dialog.
    text_.Create("", TEXT_STYLE, rect, this, IDC_ABOUT_TEXT);
    return true;
}

bool CInf::InHotZone(POINT point)
{
    return point.x > HOT_LEFT && point.x < HOT_RIGHT && point.y > HOT_TOP && point.y < HOT_BOTTOM;
}

// The registered path quoted (it usually holds blanks, and unquoted the
// system would try "C:\Program" first), one blank and the address. Built
// to its full length: no buffer of a fixed size.
std::string CInf::BrowserCommandLine()
{
    std::optional<std::string> path = read_rstring("HKLM", BROWSER_KEY, nullptr);
    if (!path || path->empty())
        return std::string();
    return quoted(*path) + " " + MAKER_ADDRESS;
}

void CInf::OnMouseMove(UINT, POINT point)
{
    // Outside the zone the class's arrow comes back with the next cursor
    // update.
    if (InHotZone(point))
        ::SetCursor(::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR)));
}

// Starts the browser once on the address; the box stays open. Without a
// registered browser nothing happens, and a failed start is not reported.
// CreateProcessA rather than WinExec: it takes a command line of any length
// the system allows and does not hold the dialog up waiting for the new
// process to become idle, as WinExec does.
void CInf::OnLButtonDown(UINT, POINT point)
{
    if (!InHotZone(point))
        return;
    std::string command = BrowserCommandLine();
    if (command.empty())
        return;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    // CreateProcessA may write into the command line it is given.
    if (::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
}

void show_about_box()
{
    CInf about;
    about.DoModal();
}
