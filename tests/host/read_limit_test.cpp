// Every run ends: a WMI service that does not answer within the reader's
// limit is given up, the rows read before it are kept, the run goes on with
// the next list, and the late worker touches nothing. Next is asked with the
// limit as its time-out. Reads own their data until they hand them over.
#include "inventory/inventory.h"
#include "base/registry.h"
#include "base/registry_store.h"
#include "reader/read_job.h"
#include "tests/support/chain_builder.h"
#include "tests/support/fake_wmi.h"
#include "tests/support/recording_window_side.h"
#include "tests/support/test_inventory.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

const char* const CIMV2 = "root\\CIMV2";
constexpr std::chrono::milliseconds LIMIT = 200ms;

class ReadLimit : public ::testing::Test {
protected:
    void SetUp() override
    {
        wmi.add_object(CIMV2, "Win32_Bios", {{L"Manufacturer", fake::str("Acme")}});
        for (const char* name : {"CPU0", "CPU1", "CPU2"})
            wmi.add_object(CIMV2, "Win32_Processor", {{L"Name", fake::str(name)}});
        test.inventory().wmi.set_limit(LIMIT);
    }

    QueryList& add(const char* name, const Strings& items)
    {
        return add_wmi_list(test.inventory().first_list, name, items);
    }

    // The late worker comes back: released, it must end without a trace.
    void release_and_let_the_workers_end()
    {
        wmi.release_next();
        ASSERT_TRUE(FakeWmi::wait_for_reader_threads());
    }

    std::string log() { return test.log(); }

    // Declared in this order so that the inventory goes first.
    RecordingWindowSide side{false};
    FakeWmi wmi;
    TestInventory test;
};

struct StallCase {
    const char* label;
    std::function<void(FakeWmi&)> script;
    bool star;
    Strings kept;  // the rows of Win32_Processor that the list ends with
    const char* line;
    bool given_up;
};

void PrintTo(const StallCase& c, std::ostream* os) { *os << c.label; }

class ReadLimitFaults : public ReadLimit, public ::testing::WithParamInterface<StallCase> {};

// The batch run: a stalled list and the list after it.
TEST_P(ReadLimitFaults, TheRunEndsAndKeepsWhatWasRead)
{
    const StallCase& c = GetParam();
    c.script(wmi);
    QueryList& stalled = add("Win32_Processor", {c.star ? "*" : "Name"});
    QueryList& after = add("Win32_Bios", {"Manufacturer"});

    const Clock::time_point start = Clock::now();
    test.inventory().read_lists();
    EXPECT_LT(Clock::now() - start, 3s);

    EXPECT_EQ(stalled.pending, 0);
    EXPECT_EQ(stalled.busy.load(), 0);
    EXPECT_EQ(stalled.row_count, static_cast<int>(c.kept.size()));
    ASSERT_NE(stalled.first_item, nullptr);
    EXPECT_EQ(stalled.first_item->values, c.kept);
    EXPECT_EQ(*stalled.first_item->name, c.star && c.kept.empty() ? "*" : "Name");
    EXPECT_EQ(after.pending, 0);
    EXPECT_EQ(after.first_item->values, (Strings{"Acme"}));

    const std::string text = log();
    const size_t failed = text.find(c.line);
    ASSERT_NE(failed, std::string::npos) << text;
    EXPECT_EQ(text.find("Failed to read list") != std::string::npos, c.given_up) << text;
    // The statement (when the read got that far) and the rows kept come
    // before the line that ends the read.
    const size_t statement = text.find(" FROM Win32_Processor\n");
    if (statement != std::string::npos) {
        EXPECT_LT(statement, failed) << text;
    }
    for (const std::string& row : c.kept)
        EXPECT_LT(text.find("    Name = " + row + "\n"), failed) << text;
    EXPECT_LT(failed, text.find("  SELECT Manufacturer FROM Win32_Bios\n")) << text;
    EXPECT_NE(text.find("mapp::OnRWMI () OK ...\n"), std::string::npos) << text;
    // Next never waits for ever: it is asked with the limit.
    for (unsigned timeout : wmi.next_timeouts())
        EXPECT_EQ(timeout, static_cast<unsigned>(LIMIT.count()));

    release_and_let_the_workers_end();
    EXPECT_EQ(log(), text) << "a late worker writes nothing";
    EXPECT_EQ(stalled.row_count, static_cast<int>(c.kept.size()));
    EXPECT_EQ(stalled.first_item->values, c.kept);
    EXPECT_EQ(wmi.live_objects.load(), 0);
    EXPECT_EQ(wmi.uninitialize_calls.load(), wmi.initialize_calls.load());
    EXPECT_TRUE(side.sent_commands().empty());
}

std::string gave_up(const char* call)
{
    return std::string("Failed to read list: Win32_Processor! No answer from ") + call + " within 200 ms\n";
}

const std::string GAVE_UP_INITIALIZE = gave_up("CoInitialize");
const std::string GAVE_UP_SECURITY = gave_up("CoInitializeSecurity");
const std::string GAVE_UP_LOCATOR = gave_up("CoCreateInstance");
const std::string GAVE_UP_CONNECT = gave_up("ConnectServer");
const std::string GAVE_UP_QUERY = gave_up("ExecQuery");
const std::string GAVE_UP_NEXT = gave_up("Next");
const std::string GAVE_UP_GET = gave_up("Get");
const std::string GAVE_UP_NAMES = gave_up("GetNames");

INSTANTIATE_TEST_SUITE_P(
    ReadLimit, ReadLimitFaults,
    ::testing::Values(
        StallCase{"initialize",
                  [](FakeWmi& w) { w.hold(FakeStep::initialize); },
                  false,
                  {},
                  GAVE_UP_INITIALIZE.c_str(),
                  true},
        StallCase{"security",
                  [](FakeWmi& w) { w.hold(FakeStep::security); },
                  false,
                  {},
                  GAVE_UP_SECURITY.c_str(),
                  true},
        StallCase{"locator",
                  [](FakeWmi& w) { w.hold(FakeStep::create_locator); },
                  false,
                  {},
                  GAVE_UP_LOCATOR.c_str(),
                  true},
        StallCase{"connect",
                  [](FakeWmi& w) { w.hold(FakeStep::connect); },
                  false,
                  {},
                  GAVE_UP_CONNECT.c_str(),
                  true},
        StallCase{"exec_query",
                  [](FakeWmi& w) { w.hold(FakeStep::exec_query); },
                  false,
                  {},
                  GAVE_UP_QUERY.c_str(),
                  true},
        // A Next that ignores its time-out (as Wine's does) is given up too.
        StallCase{"next_ignoring_its_timeout",
                  [](FakeWmi& w) { w.hold_next_at("Win32_Processor", 1); },
                  false,
                  {"CPU0"},
                  GAVE_UP_NEXT.c_str(),
                  true},
        StallCase{"get", [](FakeWmi& w) { w.hold(FakeStep::get, 1); }, false, {"CPU0"}, GAVE_UP_GET.c_str(), true},
        StallCase{"star_get_names",
                  [](FakeWmi& w) { w.hold(FakeStep::get_names, 1); },
                  true,
                  {"CPU0"},
                  GAVE_UP_NAMES.c_str(),
                  true},
        StallCase{"star_get",
                  [](FakeWmi& w) { w.hold(FakeStep::get, 2); },
                  true,
                  {"CPU0", "CPU1"},
                  GAVE_UP_GET.c_str(),
                  true},
        StallCase{"star_before_any_object",
                  [](FakeWmi& w) { w.hold(FakeStep::exec_query); },
                  true,
                  {},
                  GAVE_UP_QUERY.c_str(),
                  true},
        // Next answers WBEM_S_TIMEDOUT after the limit: a failed Next, the
        // rows before it kept, nothing given up.
        StallCase{"next_timed_out",
                  [](FakeWmi& w) { w.next_times_out_at = 2; },
                  false,
                  {"CPU0", "CPU1"},
                  "Failed to enumerate Next! Error: 0x00040004\n  SELECT OK m:2, n: 1\n",
                  false},
        StallCase{"star_next_timed_out",
                  [](FakeWmi& w) { w.next_times_out_at = 1; },
                  true,
                  {"CPU0"},
                  "Failed to enumerate Next! Error: 0x00040004\n  SELECT OK m:1, n: 1\n",
                  false},
        // Slow objects, each within the limit: all rows.
        StallCase{"slow_objects",
                  [](FakeWmi& w) { w.delay_ms[FakeStep::next] = 80; },
                  false,
                  {"CPU0", "CPU1", "CPU2"},
                  "  SELECT OK m:3, n: 1\n",
                  false},
        StallCase{"slow_properties",
                  [](FakeWmi& w) { w.delay_ms[FakeStep::get] = 80; },
                  true,
                  {"CPU0", "CPU1", "CPU2"},
                  "  SELECT OK m:3, n: 1\n",
                  false}),
    [](const ::testing::TestParamInfo<StallCase>& info) { return std::string(info.param.label); });

// A failure code still leaves the list pending, as before; the run goes on.
TEST_F(ReadLimit, FailureCodesStillLeaveTheListPending)
{
    wmi.exec_query_result = WBEM_E_INVALID_QUERY_;
    QueryList& list = add("Win32_Processor", {"Name"});
    test.inventory().read_lists();
    EXPECT_EQ(list.pending, 1);
    EXPECT_EQ(list.row_count, 0);
    EXPECT_TRUE(list.first_item->values.empty());
    EXPECT_EQ(log().find("Failed to read list"), std::string::npos) << log();
}

// In the window: within the limit a second WMI click is ignored; after it,
// the stalled read is given up for the new one, which reads and shows.
TEST_F(ReadLimit, AStalledClickIsGivenUpByAClickAfterTheLimit)
{
    side.main_window = true;
    QueryList& stalled = add("Win32_Processor", {"Name"});
    QueryList& next = add("Win32_Bios", {"Manufacturer"});
    wmi.hold(FakeStep::exec_query);
    CWMI& reader = test.inventory().wmi;

    ASSERT_TRUE(reader.start_cwmi(&stalled));
    ASSERT_TRUE(wmi.wait_until_held());
    EXPECT_FALSE(reader.start_cwmi(&next));
    EXPECT_EQ(reader.cur_list, &stalled);
    EXPECT_EQ(next.pending, 1);
    // The window walks the chain meanwhile: the stalled list reads as unread.
    reader.collect();
    EXPECT_EQ(stalled.pending, 1);
    EXPECT_EQ(stalled.busy.load(), 1);

    std::this_thread::sleep_for(LIMIT + 100ms);
    ASSERT_TRUE(reader.start_cwmi(&next));
    EXPECT_EQ(stalled.pending, 0);
    EXPECT_EQ(stalled.busy.load(), 0);
    EXPECT_EQ(stalled.row_count, 0);
    EXPECT_NE(log().find(gave_up("ExecQuery")), std::string::npos) << log();
    reader.wait_for_worker();
    EXPECT_EQ(next.pending, 0);
    EXPECT_EQ(next.first_item->values, (Strings{"Acme"}));

    release_and_let_the_workers_end();
    // The given-up worker sent nothing: two starts, then the second read's
    // end.
    EXPECT_EQ(side.sent_commands(),
              (std::vector<int>{ID_STATUS_TEXT, ID_STATUS_TEXT, ID_STATUS_TEXT, ID_FILL_RESULT}));
    EXPECT_EQ(stalled.row_count, 0);
    EXPECT_TRUE(stalled.first_item->values.empty());
}

// Closing the window during a stalled read: the end waits no longer than
// the limit, the log is whole, and the chain goes although the worker lives.
TEST_F(ReadLimit, TheEndDuringAStalledReadWaitsNoLongerThanTheLimit)
{
    side.main_window = true;
    QueryList& stalled = add("Win32_Processor", {"Name"});
    wmi.hold_next_at("Win32_Processor", 1);
    ASSERT_TRUE(test.inventory().wmi.start_cwmi(&stalled));
    ASSERT_TRUE(wmi.wait_until_held());

    const Clock::time_point start = Clock::now();
    test.end_inventory();
    EXPECT_LT(Clock::now() - start, 3s);
    const std::string text = log();
    const std::string tail = gave_up("Next") +
                             "CWMI::~CWMI () OK ...\n"
                             "CGUI::~CGUI () OK ...\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << text;

    release_and_let_the_workers_end();
    EXPECT_EQ(log(), text);
    EXPECT_EQ(wmi.live_objects.load(), 0);
    EXPECT_EQ(side.sent_commands(), (std::vector<int>{ID_STATUS_TEXT}));
}

// A list of both kinds in the window: its registry half waits for its WMI
// half's hand-over, and the WMI half's read never sees it cleared.
TEST_F(ReadLimit, BothKindsInTheWindowRegistryAfterWmi)
{
    side.main_window = true;
    QueryList& list = add("Win32_Bios", {"Manufacturer"});
    list.is_reg = 1;
    wmi.hold_next_at("Win32_Bios", 0);
    CWMI& reader = test.inventory().wmi;
    ASSERT_TRUE(reader.start_cwmi(&list));
    ASSERT_TRUE(wmi.wait_until_held());

    EXPECT_EQ(reader.read_rkey(&list), 1);
    EXPECT_EQ(list.pending, 1);
    EXPECT_EQ(log().find("CWMI::read_rkey ()"), std::string::npos);

    wmi.release_next();
    reader.wait_for_read();
    EXPECT_EQ(list.pending, 0);
    EXPECT_EQ(list.first_item->values.at(0), "Acme");
    const std::string text = log();
    const size_t wmi_end = text.find("CWMI::Thread:read_cwmi () finished ...\n");
    ASSERT_NE(wmi_end, std::string::npos) << text;
    EXPECT_LT(wmi_end, text.find("CWMI::read_rkey ()\n  root\\CIMV2\\Win32_Bios\n")) << text;
    reader.wait_for_worker();
}

TEST(ReadLimitSettings, TheLimitComesFromTheSettingsKey)
{
    struct Case {
        int64_t stored;  // -1: none
        int limit;
    };
    const char* key = "Software\\Vendaril\\Polrix";
    for (const Case& c : {Case{-1, 60}, Case{0, 60}, Case{86401, 60}, Case{0xFFFFFFFF, 60}, Case{1, 1},
                          Case{300, 300}, Case{86400, 86400}}) {
        RecordingWindowSide side(false);
        regstore::clear();
        if (c.stored >= 0)
            write_rdword("HKCU", key, "wt", static_cast<uint32_t>(c.stored));
        TestInventory test;
        EXPECT_EQ(test.inventory().gui.wt, c.limit) << c.stored;
        EXPECT_EQ(test.inventory().wmi.limit(), std::chrono::seconds(c.limit)) << c.stored;
        EXPECT_EQ(read_rdword("HKCU", key, "wt"), c.limit) << "written anew when missing: " << c.stored;
    }
    regstore::clear();
}

}  // namespace
