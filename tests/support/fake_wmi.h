// A scripted WMI service for tests: namespaces hold classes, a class holds
// objects, an object an ordered list of named values. Every statement that
// reaches exec_query is recorded; the class after FROM picks the objects,
// and the SELECT list and any WHERE clause are recorded, not evaluated.
// Every step can be told to fail with a given result code, and next() can
// be held at an object until the test releases it.
//
// Constructing it installs it as the process's WMI service; destroying it
// puts the default back. Install it before the application object and let it
// outlive every read.
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

    // ---- holding next() ----
    // next() for object number k of the class (any namespace) waits until
    // release_next() is called.
    void hold_next_at(const std::string& class_name, size_t k);
    void release_next();
    // Waits until a read is held there; false after the time-out (ms).
    bool wait_until_held(int timeout_ms = 5000);

    // ---- what happened ----
    std::vector<std::wstring> statements() const;  // every statement received, in order
    std::vector<std::wstring> connected() const;   // every namespace asked for
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
    HResult before_next(const std::string& class_name, size_t k);
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

    std::condition_variable hold_changed_;
    std::string hold_class_;
    std::optional<size_t> hold_at_;
    bool held_ = false;
    bool released_ = false;
};
