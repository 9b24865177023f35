// A scripted WMI service for tests: namespaces hold classes, a class holds
// objects, an object an ordered list of named values. Every statement that
// reaches exec_query is recorded; the class after FROM picks the objects,
// and the SELECT list and any WHERE clause are recorded, not evaluated.
// Every step can be told to fail with a given result code, to take a while
// (a delay per call), or to wait until the test releases it; next() can
// answer WBEM_S_TIMEDOUT after its time-out, as the real service does.
//
// Constructing it installs it as the process's WMI service; destroying it
// releases every held call, waits until no reader thread runs any more
// (also those of reads the reader gave up) and puts the default back.
// Install it before the application object and let it outlive every read.
//
// Large classes: a class may be given a count and a generator of objects,
// or its property names, a count and a function of object and property,
// instead of stored objects; objects are then made as they are read, so a
// hundred thousand objects cost no memory up front.
#pragma once

#include "reader/wmi_service.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

// Result codes as WMI and COM give them.
constexpr HResult FAKE_E_FAIL = static_cast<HResult>(0x80004005u);
constexpr HResult WBEM_E_NOT_FOUND_ = static_cast<HResult>(0x80041002u);
constexpr HResult WBEM_E_INVALID_NAMESPACE_ = static_cast<HResult>(0x8004100Eu);
constexpr HResult WBEM_E_INVALID_QUERY_ = static_cast<HResult>(0x80041017u);
constexpr HResult WBEM_S_FALSE_ = 1;
constexpr HResult WBEM_S_TIMEDOUT_ = 0x00040004;

// The calls of the service, for delays and holds.
enum class FakeStep { initialize, security, create_locator, connect, exec_query, next, get_names, get };

struct FakeProperty {
    std::wstring name;
    WmiValue value;
};
using FakeObjectData = std::vector<FakeProperty>;
// Makes object k (from 0) of a generated class.
using FakeGenerator = std::function<FakeObjectData(size_t)>;
// Gives property p (an index into the class's names) of object k.
using FakeValueFn = std::function<WmiValue(size_t k, size_t p)>;

// Values of each kind, for short test tables.
namespace fake {
WmiValue empty();
WmiValue null();
WmiValue error(HResult code);
WmiValue i2(int16_t v);
WmiValue i4(int32_t v);
WmiValue ui1(uint8_t v);
WmiValue r4(float v);
WmiValue r8(double v);
WmiValue boolean(bool v);
WmiValue cy(int64_t v);
WmiValue date(double v);
WmiValue str(const std::wstring& v);
WmiValue str(const std::string& ascii);
WmiValue of_type(uint16_t type, int64_t integer);  // any other scalar type
// Arrays: elements as the fetch gives them (slot bytes, not sign-extended).
WmiValue str_array(const std::vector<std::wstring>& elements);
WmiValue int_array(uint16_t element_type, const std::vector<uint32_t>& slots);
}  // namespace fake

class FakeWmi : public WmiService {
public:
    FakeWmi();
    ~FakeWmi() override;
    FakeWmi(const FakeWmi&) = delete;
    FakeWmi& operator=(const FakeWmi&) = delete;

    // ---- content (set up before a read starts) ----
    // Namespaces and class names are matched ignoring letter case, as WMI
    // does; so are property names.
    void add_namespace(const std::string& name_space);
    // A class without objects (a class that does not exist gives none too).
    void add_class(const std::string& name_space, const std::string& class_name);
    void add_object(const std::string& name_space, const std::string& class_name, FakeObjectData object);
    // Large classes, made as they are read. Either each object is made whole
    // when next() reaches it...
    void add_generated(const std::string& name_space, const std::string& class_name, size_t count,
                       FakeGenerator generator);
    // ...or every object has the same property names and a value is made
    // only when it is read (the cheaper form).
    void add_generated(const std::string& name_space, const std::string& class_name, size_t count,
                       std::vector<std::wstring> names, FakeValueFn value);

    // ---- scripted failures (0 = success) ----
    HResult initialize_result = 0;
    HResult security_result = 0;
    HResult create_locator_result = 0;
    // When set, every connection answers this; otherwise an unknown
    // namespace answers WBEM_E_INVALID_NAMESPACE.
    HResult connect_result = 0;
    HResult exec_query_result = 0;
    bool exec_query_without_enumerator = false;  // success, but no enumerator
    // next() for object number next_fails_at (from 0) answers next_result
    // and no object.
    std::optional<size_t> next_fails_at;
    HResult next_result = FAKE_E_FAIL;
    HResult get_names_result = 0;
    std::set<size_t> name_fetch_fails;          // indices of the names array given as none
    std::map<std::wstring, HResult> get_fails;  // property name -> result of every get of it

    // next() for object number next_times_out_at waits for the time-out it
    // was given and answers WBEM_S_TIMEDOUT without an object.
    std::optional<size_t> next_times_out_at;

    // ---- slow calls ----
    // Every call of the step first sleeps this long (ms).
    std::map<FakeStep, int> delay_ms;

    // ---- holding a call ----
    // next() for object number k of the class (any namespace) waits until
    // release_next() is called.
    void hold_next_at(const std::string& class_name, size_t k);
    // The call number n (from 0, counted from now on) of the step waits
    // until release_next() is called (or the fake goes).
    void hold(FakeStep step, size_t n = 0);
    void release_next();
    // Waits until a call is held; false after the time-out (ms).
    bool wait_until_held(int timeout_ms = 5000);
    // Waits until no reader thread runs (ms); false after the time-out.
    static bool wait_for_reader_threads(int timeout_ms = 10000);

    // ---- what happened ----
    std::vector<std::wstring> statements() const;  // every statement received, in order
    std::vector<std::wstring> connected() const;   // every namespace asked for
    std::vector<unsigned> next_timeouts() const;   // the time-out of every next(), in order
    std::atomic<int> initialize_calls{0};
    std::atomic<int> uninitialize_calls{0};
    std::atomic<int> security_calls{0};
    std::atomic<int> locator_calls{0};
    std::atomic<int> get_calls{0};
    // Objects of the fake that exist now (locators, services, enumerators
    // and class objects): 0 once everything has been released.
    std::atomic<int> live_objects{0};
    std::thread::id initialize_thread() const;

    // WmiService
    HResult initialize() override;
    HResult initialize_security() override;
    HResult create_locator(std::unique_ptr<WmiLocator>& locator) override;
    void uninitialize() override;

    // Used by the fake's own objects.
    struct Class {
        std::vector<std::shared_ptr<const FakeObjectData>> objects;
        // A generated class instead: count objects, made by the generator,
        // or with these names and values made by value.
        size_t generated_count = 0;
        FakeGenerator generator;
        std::vector<std::wstring> names;
        std::unordered_map<std::wstring, size_t> index;  // name as given -> position
        FakeValueFn value;
        size_t size() const { return generator || value ? generated_count : objects.size(); }
    };
    struct Namespace {
        std::map<std::string, Class> classes;  // by lower-case name
    };
    // A connection: records the namespace and finds it.
    HResult on_connect(const std::wstring& name_space, const Namespace** found);
    // A statement: records it and finds the class after FROM in the
    // namespace (none when the namespace has no such class).
    HResult on_exec_query(const std::wstring& wql, const Namespace& ns, const Class** found,
                          std::string* class_name);
    // Called by the enumerator before it hands out object k of the class;
    // the result is what next() answers (success lets the object go out).
    HResult before_next(const std::string& class_name, size_t k, unsigned timeout_ms);
    // Called first by every call: its delay, then its hold.
    void on_step(FakeStep step);
    // Called by an object on every get: counts it and answers the scripted
    // failure of that property, or 0.
    HResult on_get(const std::wstring& property);

private:
    Namespace& namespace_for(const std::string& name_space);

    std::map<std::string, Namespace> namespaces_;  // by lower-case name
    mutable std::mutex mutex_;
    std::vector<std::wstring> statements_;
    std::vector<std::wstring> connected_;
    std::thread::id initialize_thread_;

    std::vector<unsigned> next_timeouts_;
    std::map<FakeStep, size_t> calls_;  // calls of each step since the hold was set

    void wait_if_held(std::unique_lock<std::mutex>& lock);
    std::condition_variable hold_changed_;
    std::optional<FakeStep> hold_step_;
    std::string hold_class_;
    std::optional<size_t> hold_at_;
    bool held_ = false;
    bool released_ = false;
};
