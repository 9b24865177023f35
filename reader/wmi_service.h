// The WMI service as the reader uses it, call by call in the order of use:
// start COM on the thread, set the process-wide security, create the
// locator, connect to a namespace, run a WQL query, walk the objects one at a
// time, list an object's non-system property names and read a property.
//
// Every call answers with the platform's result code (negative is failure).
// Values come back in a portable form of the platform's VARIANT.
// wmi_service_win32.cpp holds the COM backend; tests script their own.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using HResult = int32_t;

inline bool failed(HResult hr) { return hr < 0; }

// VARIANT type numbers that the value formatting knows.
enum : uint16_t {
    VT_EMPTY_ = 0,
    VT_NULL_ = 1,
    VT_I2_ = 2,
    VT_I4_ = 3,
    VT_R4_ = 4,
    VT_R8_ = 5,
    VT_CY_ = 6,
    VT_DATE_ = 7,
    VT_BSTR_ = 8,
    VT_ERROR_ = 10,
    VT_BOOL_ = 11,
    VT_UNKNOWN_ = 13,
    VT_I1_ = 16,
    VT_UI1_ = 17,
    VT_UI2_ = 18,
    VT_UI4_ = 19,
    VT_I8_ = 20,
    VT_UI8_ = 21,
    VT_ARRAY_ = 0x2000,
};

// Result codes the reader looks at.
constexpr HResult RESULT_RPC_E_TOO_LATE = static_cast<HResult>(0x80010119u);

// One element of an array value, as SafeArrayGetElement gave it.
struct WmiArrayElement {
    HResult result = 0;  // the fetch's result; failed elements are logged and left out
    uint32_t slot = 0;   // integer elements: the bytes the fetch wrote, not sign-extended
    std::wstring text;   // string elements
};

// A property value: its VARIANT type and the field that type uses.
struct WmiValue {
    uint16_t type = VT_EMPTY_;
    int64_t integer = 0;                    // VT_I2, VT_I4, VT_UI1, VT_BOOL, VT_I1, VT_UI2, VT_UI4, VT_I8, VT_UI8;
                                            // VT_CY (its 64-bit integer), VT_ERROR (the code)
    double real = 0;                        // VT_R4 (widened), VT_R8, VT_DATE
    std::wstring text;                      // VT_BSTR
    std::vector<WmiArrayElement> elements;  // any type with VT_ARRAY: lower bound first
    int32_t lower_bound = 0;                // of the array's first dimension
};

class WmiObject {
public:
    virtual ~WmiObject() = default;
    // The non-system property names, one entry per index of the names
    // array; an entry is none when that name could not be fetched.
    virtual HResult get_names(std::vector<std::optional<std::wstring>>& names) = 0;
    virtual HResult get(const std::wstring& property, WmiValue& value) = 0;
};

class WmiEnumerator {
public:
    virtual ~WmiEnumerator() = default;
    // Waits for the next object, at most timeout_ms milliseconds; object
    // stays empty when none came back. A wait that runs out answers
    // WBEM_S_TIMEDOUT (0x00040004, a success code) without an object.
    virtual HResult next(std::unique_ptr<WmiObject>& object, unsigned timeout_ms) = 0;
};

class WmiServices {
public:
    virtual ~WmiServices() = default;
    // WQL, forward-only, returning immediately. A success without an
    // enumerator is possible and counts as a failure to the reader.
    virtual HResult exec_query(const std::wstring& wql, std::unique_ptr<WmiEnumerator>& result) = 0;
};

class WmiLocator {
public:
    virtual ~WmiLocator() = default;
    // Local connection with the caller's rights and a bounded wait.
    virtual HResult connect_server(const std::wstring& name_space, std::unique_ptr<WmiServices>& services) = 0;
};

class WmiService {
public:
    virtual ~WmiService() = default;
    virtual HResult initialize() = 0;           // CoInitialize on the calling thread
    virtual HResult initialize_security() = 0;  // CoInitializeSecurity, process-wide
    virtual HResult create_locator(std::unique_ptr<WmiLocator>& locator) = 0;
    virtual void uninitialize() = 0;  // CoUninitialize on the calling thread
};

// The service the reader talks to: COM on Windows; tests install their own.
// On the host there is no default, and a read fails as COM would not start.
WmiService& wmi_service();
void set_wmi_service(WmiService* service);  // nullptr restores the default
