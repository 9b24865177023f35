// The Win32 API as this program uses it: its ANSI side. Every text that the
// program hands to Windows or gets from it is a char string in the ANSI code
// page, and the code calls the A functions by their own names
// (CreateWindowExA, MessageBoxA, RegOpenKeyExA, ...). Wide strings appear
// only where a call has no ANSI form or where a name must survive exactly
// (the registry's wide names, COM), always with the W function by name.
// Win32 code takes <windows.h> through this header (directly or through the
// framework's headers), so that a build that switches the API's generic names
// to their wide forms fails here, at once.
#pragma once

#if defined(UNICODE) || defined(_UNICODE)
#error "The program uses the ANSI Win32 API: build it without UNICODE and _UNICODE."
#endif

#include <windows.h>
