#include "tests/support/fake_wmi.h"

#include "base/ascii_case.h"
#include "reader/read_job.h"

#include <chrono>

namespace {

// Test names are ASCII: wide to narrow by keeping the low byte is enough.
std::string ascii(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
        out += static_cast<char>(c);
    return out;
}

class FakeObject : public WmiObject {
public:
    FakeObject(FakeWmi& wmi, std::shared_ptr<const FakeObjectData> data) : wmi_(wmi), data_(std::move(data))
    {
        ++wmi_.live_objects;
    }
    ~FakeObject() override { --wmi_.live_objects; }

    HResult get_names(std::vector<std::optional<std::wstring>>& names) override
    {
        wmi_.on_step(FakeStep::get_names);
        if (failed(wmi_.get_names_result))
            return wmi_.get_names_result;
        names.clear();
        names.reserve(data_->size());
        for (size_t i = 0; i < data_->size(); ++i) {
            if (wmi_.name_fetch_fails.count(i))
                names.emplace_back(std::nullopt);
            else
                names.emplace_back((*data_)[i].name);
        }
        return 0;
    }

    HResult get(const std::wstring& property, WmiValue& value) override
    {
        wmi_.on_step(FakeStep::get);
        if (HResult scripted = wmi_.on_get(property))
            return scripted;
        for (const FakeProperty& p : *data_) {
            if (equals_ignoring_case(p.name, property)) {
                value = p.value;
                return 0;
            }
        }
        return WBEM_E_NOT_FOUND_;
    }

private:
    FakeWmi& wmi_;
    std::shared_ptr<const FakeObjectData> data_;
};

// An object of a generated class: its class and its number.
class FakeCompactObject : public WmiObject {
public:
    FakeCompactObject(FakeWmi& wmi, const FakeWmi::Class& cls, size_t k) : wmi_(wmi), class_(cls), k_(k)
    {
        ++wmi_.live_objects;
    }
    ~FakeCompactObject() override { --wmi_.live_objects; }

    HResult get_names(std::vector<std::optional<std::wstring>>& names) override
    {
        wmi_.on_step(FakeStep::get_names);
        if (failed(wmi_.get_names_result))
            return wmi_.get_names_result;
        names.assign(class_.names.begin(), class_.names.end());
        for (size_t i : wmi_.name_fetch_fails)
            if (i < names.size())
                names[i].reset();
        return 0;
    }

    HResult get(const std::wstring& property, WmiValue& value) override
    {
        wmi_.on_step(FakeStep::get);
        if (HResult scripted = wmi_.on_get(property))
            return scripted;
        auto exact = class_.index.find(property);
        if (exact != class_.index.end()) {
            value = class_.value(k_, exact->second);
            return 0;
        }
        for (size_t p = 0; p < class_.names.size(); ++p) {
            if (equals_ignoring_case(class_.names[p], property)) {
                value = class_.value(k_, p);
                return 0;
            }
        }
        return WBEM_E_NOT_FOUND_;
    }

private:
    FakeWmi& wmi_;
    const FakeWmi::Class& class_;
    size_t k_;
};

class FakeEnumerator : public WmiEnumerator {
public:
    FakeEnumerator(FakeWmi& wmi, const FakeWmi::Class* cls, std::string class_name)
        : wmi_(wmi), class_(cls), class_name_(std::move(class_name))
    {
        ++wmi_.live_objects;
    }
    ~FakeEnumerator() override { --wmi_.live_objects; }

    HResult next(std::unique_ptr<WmiObject>& object, unsigned timeout_ms) override
    {
        object.reset();
        wmi_.on_step(FakeStep::next);
        if (!class_ || k_ >= class_->size())
            return WBEM_S_FALSE_;
        size_t k = k_++;
        HResult hr = wmi_.before_next(class_name_, k, timeout_ms);
        if (failed(hr) || hr == WBEM_S_TIMEDOUT_)
            return hr;
        if (class_->value)
            object = std::make_unique<FakeCompactObject>(wmi_, *class_, k);
        else if (class_->generator)
            object = std::make_unique<FakeObject>(wmi_,
                                                  std::make_shared<const FakeObjectData>(class_->generator(k)));
        else
            object = std::make_unique<FakeObject>(wmi_, class_->objects[k]);
        return 0;
    }

private:
    FakeWmi& wmi_;
    const FakeWmi::Class* class_;
    std::string class_name_;  // lower case
    size_t k_ = 0;
};

class FakeServices : public WmiServices {
public:
    FakeServices(FakeWmi& wmi, const FakeWmi::Namespace& ns) : wmi_(wmi), ns_(ns) { ++wmi_.live_objects; }
    ~FakeServices() override { --wmi_.live_objects; }

    HResult exec_query(const std::wstring& wql, std::unique_ptr<WmiEnumerator>& result) override
    {
        wmi_.on_step(FakeStep::exec_query);
        const FakeWmi::Class* found = nullptr;
        std::string class_name;
        HResult hr = wmi_.on_exec_query(wql, ns_, &found, &class_name);
        if (failed(hr) || wmi_.exec_query_without_enumerator)
            return hr;
        result = std::make_unique<FakeEnumerator>(wmi_, found, std::move(class_name));
        return 0;
    }

private:
    FakeWmi& wmi_;
    const FakeWmi::Namespace& ns_;
};

class FakeLocator : public WmiLocator {
public:
    explicit FakeLocator(FakeWmi& wmi) : wmi_(wmi) { ++wmi_.live_objects; }
    ~FakeLocator() override { --wmi_.live_objects; }

    HResult connect_server(const std::wstring& name_space, std::unique_ptr<WmiServices>& services) override
    {
        wmi_.on_step(FakeStep::connect);
        const FakeWmi::Namespace* ns = nullptr;
        HResult hr = wmi_.on_connect(name_space, &ns);
        if (failed(hr))
            return hr;
        services = std::make_unique<FakeServices>(wmi_, *ns);
        return 0;
    }

private:
    FakeWmi& wmi_;
};

}  // namespace

// ---- values ----

namespace fake {

WmiValue of_type(uint16_t type, int64_t integer)
{
    WmiValue v;
    v.type = type;
    v.integer = integer;
    return v;
}
WmiValue empty() { return of_type(VT_EMPTY_, 0); }
WmiValue null() { return of_type(VT_NULL_, 0); }
WmiValue error(HResult code) { return of_type(VT_ERROR_, code); }
WmiValue i2(int16_t v) { return of_type(VT_I2_, v); }
WmiValue i4(int32_t v) { return of_type(VT_I4_, v); }
WmiValue ui1(uint8_t v) { return of_type(VT_UI1_, v); }
WmiValue boolean(bool v) { return of_type(VT_BOOL_, v ? -1 : 0); }
WmiValue cy(int64_t v) { return of_type(VT_CY_, v); }
WmiValue r4(float v)
{
    WmiValue value = of_type(VT_R4_, 0);
    value.real = static_cast<double>(v);
    return value;
}
WmiValue r8(double v)
{
    WmiValue value = of_type(VT_R8_, 0);
    value.real = v;
    return value;
}
WmiValue date(double v)
{
    WmiValue value = of_type(VT_DATE_, 0);
    value.real = v;
    return value;
}
WmiValue str(const std::wstring& v)
{
    WmiValue value = of_type(VT_BSTR_, 0);
    value.text = v;
    return value;
}
WmiValue str(const std::string& ascii_text) { return str(std::wstring(ascii_text.begin(), ascii_text.end())); }
WmiValue str_array(const std::vector<std::wstring>& elements)
{
    WmiValue value = of_type(VT_ARRAY_ | VT_BSTR_, 0);
    for (const std::wstring& e : elements) {
        WmiArrayElement element;
        element.text = e;
        value.elements.push_back(element);
    }
    return value;
}
WmiValue int_array(uint16_t element_type, const std::vector<uint32_t>& slots)
{
    WmiValue value = of_type(static_cast<uint16_t>(VT_ARRAY_ | element_type), 0);
    for (uint32_t s : slots) {
        WmiArrayElement element;
        element.slot = s;
        value.elements.push_back(element);
    }
    return value;
}

}  // namespace fake

// ---- the service ----

FakeWmi::FakeWmi() { set_wmi_service(this); }

FakeWmi::~FakeWmi()
{
    release_next();
    // A worker of a read that was given up may still be inside one of the
    // calls: it comes back now, releases its objects and ends.
    wait_for_reader_threads();
    set_wmi_service(nullptr);
}

bool FakeWmi::wait_for_reader_threads(int timeout_ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (reader_threads_alive() > 0) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void FakeWmi::on_step(FakeStep step)
{
    int delay = 0;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        auto d = delay_ms.find(step);
        if (d != delay_ms.end())
            delay = d->second;
    }
    if (delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    std::unique_lock<std::mutex> lock(mutex_);
    const size_t n = calls_[step]++;
    if (step != FakeStep::next && hold_step_ == step && hold_at_ == n)
        wait_if_held(lock);
}

void FakeWmi::wait_if_held(std::unique_lock<std::mutex>& lock)
{
    if (released_)
        return;
    held_ = true;
    hold_changed_.notify_all();
    hold_changed_.wait(lock, [this] { return released_; });
}

void FakeWmi::hold(FakeStep step, size_t n)
{
    std::lock_guard<std::mutex> lock(mutex_);
    hold_step_ = step;
    hold_class_.clear();
    hold_at_ = n;
    calls_.clear();
    held_ = false;
    released_ = false;
}

FakeWmi::Namespace& FakeWmi::namespace_for(const std::string& name_space)
{
    return namespaces_[ascii_lower(name_space)];
}

void FakeWmi::add_namespace(const std::string& name_space) { namespace_for(name_space); }

void FakeWmi::add_class(const std::string& name_space, const std::string& class_name)
{
    namespace_for(name_space).classes[ascii_lower(class_name)];
}

void FakeWmi::add_object(const std::string& name_space, const std::string& class_name, FakeObjectData object)
{
    namespace_for(name_space)
        .classes[ascii_lower(class_name)]
        .objects.push_back(std::make_shared<const FakeObjectData>(std::move(object)));
}

void FakeWmi::add_generated(const std::string& name_space, const std::string& class_name, size_t count,
                            FakeGenerator generator)
{
    Class& c = namespace_for(name_space).classes[ascii_lower(class_name)];
    c = Class();
    c.generated_count = count;
    c.generator = std::move(generator);
}

void FakeWmi::add_generated(const std::string& name_space, const std::string& class_name, size_t count,
                            std::vector<std::wstring> names, FakeValueFn value)
{
    Class& c = namespace_for(name_space).classes[ascii_lower(class_name)];
    c = Class();
    c.generated_count = count;
    c.names = std::move(names);
    for (size_t p = 0; p < c.names.size(); ++p)
        c.index.emplace(c.names[p], p);
    c.value = std::move(value);
}

HResult FakeWmi::initialize()
{
    on_step(FakeStep::initialize);
    ++initialize_calls;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        initialize_thread_ = std::this_thread::get_id();
    }
    return initialize_result;
}

HResult FakeWmi::initialize_security()
{
    on_step(FakeStep::security);
    ++security_calls;
    return security_result;
}

HResult FakeWmi::create_locator(std::unique_ptr<WmiLocator>& locator)
{
    on_step(FakeStep::create_locator);
    ++locator_calls;
    if (failed(create_locator_result))
        return create_locator_result;
    locator = std::make_unique<FakeLocator>(*this);
    return 0;
}

void FakeWmi::uninitialize() { ++uninitialize_calls; }

HResult FakeWmi::on_connect(const std::wstring& name_space, const Namespace** found)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        connected_.push_back(name_space);
    }
    if (failed(connect_result))
        return connect_result;
    auto n = namespaces_.find(ascii_lower(ascii(name_space)));
    if (n == namespaces_.end())
        return WBEM_E_INVALID_NAMESPACE_;
    *found = &n->second;
    return 0;
}

HResult FakeWmi::on_exec_query(const std::wstring& wql, const Namespace& ns, const Class** found,
                               std::string* class_name_out)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        statements_.push_back(wql);
    }
    if (failed(exec_query_result))
        return exec_query_result;
    // SELECT <columns> FROM <class> [anything]: only the class is looked at.
    std::string text = ascii_lower(ascii(wql));
    size_t from = text.find(" from ");
    if (text.compare(0, 7, "select ") != 0 || from == std::string::npos)
        return WBEM_E_INVALID_QUERY_;
    size_t start = from + 6;
    while (start < text.size() && text[start] == ' ')
        ++start;
    size_t end = text.find(' ', start);
    std::string class_name = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (class_name.empty())
        return WBEM_E_INVALID_QUERY_;
    *class_name_out = class_name;
    auto c = ns.classes.find(class_name);
    *found = c == ns.classes.end() ? nullptr : &c->second;
    return 0;
}

HResult FakeWmi::on_get(const std::wstring& property)
{
    ++get_calls;
    if (get_fails.empty())
        return 0;
    auto f = get_fails.find(property);
    return f == get_fails.end() ? 0 : f->second;
}

HResult FakeWmi::before_next(const std::string& class_name, size_t k, unsigned timeout_ms)
{
    {
        std::unique_lock<std::mutex> lock(mutex_);
        next_timeouts_.push_back(timeout_ms);
        if (hold_step_ == FakeStep::next && hold_at_ && *hold_at_ == k && hold_class_ == class_name)
            wait_if_held(lock);
        if (next_times_out_at && *next_times_out_at == k) {
            // As the real service: the wait it was asked for, then no object.
            hold_changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [this] { return released_; });
            return WBEM_S_TIMEDOUT_;
        }
    }
    if (next_fails_at && *next_fails_at == k)
        return next_result;
    return 0;
}

std::vector<unsigned> FakeWmi::next_timeouts() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return next_timeouts_;
}

void FakeWmi::hold_next_at(const std::string& class_name, size_t k)
{
    std::lock_guard<std::mutex> lock(mutex_);
    hold_step_ = FakeStep::next;
    hold_class_ = ascii_lower(class_name);
    hold_at_ = k;
    held_ = false;
    released_ = false;
}

void FakeWmi::release_next()
{
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
    hold_changed_.notify_all();
}

bool FakeWmi::wait_until_held(int timeout_ms)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return hold_changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [this] { return held_; });
}

std::vector<std::wstring> FakeWmi::statements() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return statements_;
}

std::vector<std::wstring> FakeWmi::connected() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return connected_;
}

std::thread::id FakeWmi::initialize_thread() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return initialize_thread_;
}
