// The WMI table query, the body of the worker thread: COM start on the
// thread, connection to the list's namespace, one WQL SELECT built from the
// list's query and its items, and the walk over the objects, one per call.
// Everything read goes into the read's job (read_job.h), never into the list:
// the reader hands it over once the read has ended.
//
// Every run ends: Next is asked with the reader's limit as its time-out, and
// every other call reports its answer to the job, so that the waiting side
// can give up a call that does not return within the limit.
#include "base/log.h"
#include "base/platform.h"
#include "base/window_side.h"
#include "reader/read_job.h"
#include "reader/reader.h"
#include "reader/value_format.h"
#include "base/frame_commands.h"

namespace {

// Next's answer when its time-out passed without an object (a success code).
constexpr HResult RESULT_WBEM_S_TIMEDOUT = 0x00040004;

unsigned code(HResult hr) { return static_cast<unsigned>(hr); }

const char* text_or_empty(const Text& text) { return text ? text->c_str() : ""; }

// The statement: the item names joined by "," after SELECT, the class after
// FROM, then the filter and the quoted variable (only with a filter).
std::string build_query(const ReadQuery& query)
{
    std::string columns;
    for (size_t k = 0; k < query.items.size(); ++k) {
        if (k)
            columns += ',';
        columns += text_or_empty(query.items[k].name);
    }
    std::string text = "SELECT " + columns + " FROM " + text_or_empty(query.name);
    if (query.filt) {
        text += ' ';
        text += *query.filt;
        if (query.var)
            text += "'" + *query.var + "'";
    }
    return text;
}

bool holds_value(const WmiValue& value)
{
    return value.type != VT_EMPTY_ && value.type != VT_NULL_ && value.type != VT_ERROR_;
}

// The WMI objects of one read, released in the order the service wants:
// the enumerator before the services, the services before the locator.
struct ComObjects {
    std::unique_ptr<WmiLocator> locator;
    std::unique_ptr<WmiServices> services;
    std::unique_ptr<WmiEnumerator> enumerator;

    void release(ReadJob& job)
    {
        job.calling("Release");
        enumerator.reset();
        services.reset();
        locator.reset();
        job.answered();
    }
};

// One property of one object into a cell of a "*" read.
struct Cell {
    uint8_t kind = CELL_NONE;
    bool held = false;
    std::string text;
    std::vector<HResult> failed_elements;
};

// Reads the property; false once the read was given up.
bool read_cell(ReadJob& job, WmiObject& object, const std::wstring& name, const Text& filt, Cell& cell)
{
    WmiValue value;
    job.calling("Get");
    HResult hr = object.get(name, value);
    if (!job.answered())
        return false;
    if (failed(hr))
        return true;  // CELL_NONE: the empty text, no log line
    cell.kind = (value.type & VT_ARRAY_) ? CELL_ARRAY : CELL_SCALAR;
    cell.held = holds_value(value);
    cell.text = value_text(filt, value, &cell.failed_elements);
    return true;
}

void add_cell(StarColumn& column, int row, Cell& cell)
{
    // A name that an object lists twice counts once.
    if (column.texts.size() > static_cast<size_t>(row))
        return;
    column.texts.resize(static_cast<size_t>(row));
    column.kinds.resize(static_cast<size_t>(row), CELL_NONE);
    column.texts.push_back(std::move(cell.text));
    column.kinds.push_back(cell.kind);
    column.held = column.held || cell.held;
    for (HResult hr : cell.failed_elements)
        column.failed_elements.emplace_back(row, hr);
}

// One object of a "*" read: every non-system property it names, and the
// items written after the "*" item. Texts are kept without the filt, which
// belongs to whichever property turns out to be the first item.
bool read_star_object(ReadJob& job, WmiObject& object, const std::vector<std::wstring>& extra_names)
{
    std::vector<std::optional<std::wstring>> names;
    job.calling("GetNames");
    HResult hr = object.get_names(names);
    if (!job.answered())
        return false;
    if (failed(hr)) {
        job.note("Failed GetNames ()! Error: 0x%08x\n", code(hr));
        names.clear();  // this object adds no property
    }
    std::vector<std::pair<const std::wstring*, Cell>> cells;
    for (const std::optional<std::wstring>& wide : names) {
        if (!wide)
            continue;  // this name could not be fetched
        Cell cell;
        if (!read_cell(job, object, *wide, Text(), cell))
            return false;
        cells.emplace_back(&*wide, std::move(cell));
    }
    std::vector<Cell> extras(extra_names.size());
    for (size_t k = 0; k < extra_names.size(); ++k)
        if (!read_cell(job, object, extra_names[k], job.query.items[k + 1].filt, extras[k]))
            return false;

    return job.locked([&] {
        const int row = job.result.row_count;
        for (auto& [wide, cell] : cells) {
            auto found = job.star_index.find(*wide);
            if (found == job.star_index.end()) {
                found = job.star_index.emplace(*wide, job.star.size()).first;
                StarColumn column;
                column.wide = *wide;
                column.name = platform::to_ansi(*wide);
                job.star.push_back(std::move(column));
            }
            add_cell(job.star[found->second], row, cell);
        }
        for (size_t k = 0; k < extras.size(); ++k)
            add_cell(job.star_extra[k], row, extras[k]);
        ++job.result.row_count;
    });
}

// One object of a read of named items: a text for every item, the empty
// text where the property cannot be read. The row and its lines go to the
// job together.
bool read_named_object(ReadJob& job, WmiObject& object, const std::vector<std::wstring>& names)
{
    std::vector<std::string> texts(names.size());
    std::string lines;
    for (size_t k = 0; k < names.size(); ++k) {
        Cell cell;
        if (!read_cell(job, object, names[k], job.query.items[k].filt, cell))
            return false;
        if (cell.kind == CELL_NONE)
            continue;
        for (HResult hr : cell.failed_elements)
            lines += element_error_line(hr);
        lines += entry_log_line(job.query.items[k].name, cell.text);
        texts[k] = std::move(cell.text);
    }
    return job.locked([&] {
        write_log("%s", lines.c_str());
        for (size_t k = 0; k < texts.size(); ++k)
            job.result.values[k].push_back(std::move(texts[k]));
        ++job.result.row_count;
    });
}

// A read that was given up: it releases what it holds and ends, telling
// nobody anything.
void abandon(ReadJob& job, ComObjects& com, bool com_started)
{
    com.release(job);
    if (com_started)
        wmi_service().uninitialize();
}

// The failure end: the same release, then the list stays pending and the
// window is told.
void end_failed(ReadJob& job, ComObjects& com, bool com_started)
{
    abandon(job, com, com_started);
    if (job.finish(ReadState::failed, nullptr, nullptr) && job.window)
        window_side().send_command(ID_STATUS_TEXT);
}

}  // namespace

void CWMI::read_cwmi(ReadJob& job)
{
    const ReadQuery& query = job.query;
    WmiService& service = wmi_service();
    ComObjects com;

    job.calling("CoInitialize");
    HResult hr = service.initialize();
    if (!job.answered())
        return abandon(job, com, !failed(hr));
    if (failed(hr)) {
        job.log("Failed to initialize COM! Error: 0x%08x\n", code(hr));
        return end_failed(job, com, false);
    }
    // In the batch run every read sets the security up again; with a window
    // the first read does it for the process (set_security tells which).
    if (job.set_security) {
        job.calling("CoInitializeSecurity");
        hr = service.initialize_security();
        if (!job.answered())
            return abandon(job, com, true);
        // RPC_E_TOO_LATE: the process already has its security (set by an
        // earlier read, or by someone else in the process). That is all the
        // read needs, so it goes on.
        if (failed(hr) && hr != RESULT_RPC_E_TOO_LATE) {
            job.log("Failed to initialize COM security! Error: 0x%08x\n", code(hr));
            return end_failed(job, com, true);
        }
    }
    job.locked([&] { job.security_done = true; });

    job.calling("CoCreateInstance");
    hr = service.create_locator(com.locator);
    if (!job.answered())
        return abandon(job, com, true);
    if (failed(hr) || !com.locator) {
        job.log("Failed to create IWbemLocator! Error: 0x%08x\n", code(hr));
        return end_failed(job, com, true);
    }

    // The namespace is handed on whole, however long it is.
    job.calling("ConnectServer");
    hr = com.locator->connect_server(platform::from_ansi(text_or_empty(query.path)), com.services);
    if (!job.answered())
        return abandon(job, com, true);
    if (failed(hr) || !com.services) {
        job.log("Failed to connect IWbemLocator! Error: 0x%08x\n", code(hr));
        return end_failed(job, com, true);
    }

    if (query.items.empty()) {
        job.log("Invalid configuration for list: %s!\n", text_or_empty(query.name));
        return end_failed(job, com, true);
    }

    const std::string statement = build_query(query);
    job.log("  %s\n", statement.c_str());

    job.calling("ExecQuery");
    hr = com.services->exec_query(platform::from_ansi(statement), com.enumerator);
    if (!job.answered())
        return abandon(job, com, true);
    if (failed(hr) || !com.enumerator) {
        job.log("Failed to query table %s! Error: 0x%08x\n", text_or_empty(query.name), code(hr));
        return end_failed(job, com, true);
    }

    // The property names, widened once per read: of every item for a read
    // of named items, of the items after the "*" item for a "*" read.
    std::vector<std::wstring> names;
    for (size_t k = query.star ? 1 : 0; k < query.items.size(); ++k)
        names.push_back(platform::from_ansi(text_or_empty(query.items[k].name)));
    if (query.star) {
        job.locked([&] {
            for (size_t k = 1; k < query.items.size(); ++k) {
                StarColumn extra;
                extra.name = query.items[k].name.value_or(std::string());
                job.star_extra.push_back(std::move(extra));
            }
        });
    }

    const unsigned timeout_ms = static_cast<unsigned>(job.limit.count());
    for (;;) {
        std::unique_ptr<WmiObject> object;
        job.calling("Next", true);
        hr = com.enumerator->next(object, timeout_ms);
        if (!job.answered())
            return abandon(job, com, true);
        // A time-out ends the list as a failed Next does: with the rows
        // read before it.
        if (failed(hr) || hr == RESULT_WBEM_S_TIMEDOUT)
            job.note("Failed to enumerate Next! Error: 0x%08x\n", code(hr));
        if (!object)
            break;
        const bool kept = query.star ? read_star_object(job, *object, names)
                                     : read_named_object(job, *object, names);
        if (!kept) {
            object.reset();
            return abandon(job, com, true);
        }
    }

    // The normal end: the properties of a "*" read become items, then the
    // read's counts; the WMI objects go and COM ends before the last line.
    const bool counted = job.locked([&] {
        if (query.star)
            job.turn_star_into_items();
        write_log("  SELECT OK m:%i, n: %i\n", job.result.row_count, job.result.item_count);
    });
    if (!counted)
        return abandon(job, com, true);
    com.release(job);
    job.calling("CoUninitialize");
    service.uninitialize();
    job.answered();
    bool read_all = false;
    if (!job.finish(ReadState::done, "CWMI::Thread:read_cwmi () finished ...\n", &read_all))
        return;
    // The read has ended before anything is sent: a window thread that waits
    // for it goes on, and handles these once it is back in its loop.
    if (!job.window)
        return;
    window_side().send_command(ID_STATUS_TEXT);
    if (!read_all)
        window_side().send_command(ID_FILL_RESULT);
}
