// The reader's threads and its messages to the window: one worker per WMI
// read, the commands ID_STATUS_TEXT and ID_FILL_RESULT and their order, the busy flag that the
// waiting side polls, reads that must not overlap, and the end of the
// inventory while a worker is still reading.
#include "inventory/inventory.h"
#include "tests/support/chain_builder.h"
#include "tests/support/fake_wmi.h"
#include "tests/support/recording_window_side.h"
#include "tests/support/test_inventory.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <thread>

namespace {

const char* const CIMV2 = "root\\CIMV2";
using Strings = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

// One command as the window received it, with what the sender saw.
struct Received {
    int command;
    std::thread::id thread;
    int busy;     // of the watched list, when the command arrived
    int pending;  // of the watched list
};

void add_objects(FakeWmi& wmi)
{
    wmi.add_object(CIMV2, "Win32_Bios", {{L"Manufacturer", fake::str("Acme")}, {L"Version", fake::str("1.0")}});
    wmi.add_object(CIMV2, "Win32_Processor", {{L"Name", fake::str("CPU0")}});
    wmi.add_object(CIMV2, "Win32_Processor", {{L"Name", fake::str("CPU1")}});
    wmi.add_object(CIMV2, "Win32_Processor", {{L"Name", fake::str("CPU2")}});
    wmi.add_object(CIMV2, "Win32_LogicalDisk", {{L"Name", fake::str("C:")}});
}

QueryList& add_list(Inventory& program, const Text& name, const Strings& items = {"*"}, const Text& path = CIMV2)
{
    return add_wmi_list(program.first_list, name, items, path);
}

// Releases a held next() after a pause, from another thread; answers the
// moment of the release.
std::future<Clock::time_point> release_later(FakeWmi& wmi, int ms)
{
    return std::async(std::launch::async, [&wmi, ms] {
        EXPECT_TRUE(wmi.wait_until_held());
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        Clock::time_point now = Clock::now();
        wmi.release_next();
        return now;
    });
}

class ReaderThread : public ::testing::Test {
protected:
    void SetUp() override
    {
        add_objects(wmi);
        main_thread = std::this_thread::get_id();
    }

    // A window that records every command. With window_free, it handles a
    // worker's command only once that future is ready, as a window thread
    // does that is busy waiting for the read: a worker that sent before its
    // read had ended would wait for it, and its read would have to be given
    // up.
    void with_window(std::shared_future<void> window_free = {})
    {
        side.main_window = true;
        side.on_send = [this, window_free](int command) {
            if (window_free.valid() && std::this_thread::get_id() != main_thread)
                window_free.wait();
            QueryList* list = watched.load();
            Received r{command, std::this_thread::get_id(), list ? list->busy.load() : -1,
                       list ? list->pending : -1};
            std::lock_guard<std::mutex> lock(mutex);
            received.push_back(r);
        };
    }

    QueryList& add(const Text& name, const Strings& items = {"*"}, const Text& path = CIMV2)
    {
        return add_list(test.inventory(), name, items, path);
    }

    std::vector<Received> commands()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return received;
    }
    std::string log() { return test.log(); }

    std::thread::id main_thread;
    std::atomic<QueryList*> watched{nullptr};
    std::mutex mutex;
    std::vector<Received> received;

    // Declared in this order so that the inventory goes first.
    RecordingWindowSide side{false};
    FakeWmi wmi;
    TestInventory test;
};

TEST_F(ReaderThread, BatchRunSendsNothingAndWaitsForTheLastWorker)
{
    add("Win32_Bios");
    add("Win32_Processor");
    QueryList& last = add("Win32_LogicalDisk");
    wmi.hold_next_at("Win32_LogicalDisk", 0);
    std::future<Clock::time_point> released = release_later(wmi, 300);

    test.inventory().read_lists();
    Clock::time_point returned = Clock::now();

    EXPECT_GE(returned, released.get());
    for_each_list(test.inventory().first_list.get(), [](QueryList& l) {
        EXPECT_EQ(l.pending, 0) << *l.name;
        EXPECT_EQ(l.busy.load(), 0) << *l.name;
    });
    EXPECT_EQ(last.first_item->values, (Strings{"C:"}));
    EXPECT_TRUE(side.sent_commands().empty());
    EXPECT_TRUE(side.posted_commands().empty());
    EXPECT_NE(wmi.initialize_thread(), main_thread);  // COM lives on the worker
    EXPECT_EQ(wmi.initialize_calls.load(), 3);
    EXPECT_EQ(wmi.uninitialize_calls.load(), 3);
    std::string text = log();
    EXPECT_NE(text.find("CWMI::Thread:read_cwmi () started ...\n"), std::string::npos) << text;
    EXPECT_LT(text.rfind("CWMI::Thread:read_cwmi () finished ...\n"), text.find("mapp::OnRWMI () OK ...\n"));
}

struct EndingCase {
    const char* label;
    int read_all;
    bool fail;
    std::vector<int> commands;
    int pending_after;
};

void PrintTo(const EndingCase& c, std::ostream* os) { *os << c.label; }

class ReaderThreadEndings : public ReaderThread, public ::testing::WithParamInterface<EndingCase> {};

// The starting thread sends ID_STATUS_TEXT while the list is busy; the
// worker sends its commands only after its read has ended, so a window
// thread that waits for the read goes on at once, hands the read over and
// then handles them.
TEST_P(ReaderThreadEndings, CommandsAndBusyFlag)
{
    const EndingCase& c = GetParam();
    std::promise<void> waited;
    with_window(waited.get_future().share());
    test.inventory().read_all = c.read_all;
    if (c.fail)
        wmi.connect_result = static_cast<HResult>(0x80041003u);
    QueryList& list = add("Win32_Bios");
    watched = &list;

    EXPECT_TRUE(test.inventory().wmi.start_cwmi(&list));
    const Clock::time_point start = Clock::now();
    test.inventory().wmi.wait_for_read();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(log().find("Failed to read list"), std::string::npos) << log();
    waited.set_value();
    test.inventory().wmi.wait_for_worker();

    std::vector<Received> r = commands();
    std::vector<int> numbers;
    for (const Received& x : r)
        numbers.push_back(x.command);
    EXPECT_EQ(numbers, c.commands);
    ASSERT_FALSE(r.empty());
    EXPECT_EQ(r[0].thread, main_thread);
    EXPECT_EQ(r[0].busy, 1);
    EXPECT_EQ(r[0].pending, 1);
    for (size_t i = 1; i < r.size(); ++i) {
        EXPECT_NE(r[i].thread, main_thread) << i;
        EXPECT_EQ(r[i].busy, 0) << i;
        EXPECT_EQ(r[i].pending, c.pending_after) << i;
    }
    EXPECT_EQ(list.pending, c.pending_after);
    EXPECT_EQ(test.inventory().wmi.cur_list, &list);  // stays set after the read
}

INSTANTIATE_TEST_SUITE_P(
    ReaderThread, ReaderThreadEndings,
    ::testing::Values(EndingCase{"normal_end", 0, false, {ID_STATUS_TEXT, ID_STATUS_TEXT, ID_FILL_RESULT}, 0},
                      EndingCase{"normal_end_read_all", 1, false, {ID_STATUS_TEXT, ID_STATUS_TEXT}, 0},
                      EndingCase{"failure_end", 0, true, {ID_STATUS_TEXT, ID_STATUS_TEXT}, 1},
                      EndingCase{"failure_end_read_all", 1, true, {ID_STATUS_TEXT, ID_STATUS_TEXT}, 1}),
    [](const ::testing::TestParamInfo<EndingCase>& info) { return std::string(info.param.label); });

TEST_F(ReaderThread, ReadAllWithAWindowEachWorkerSendsItsCommands)
{
    with_window();
    add("Win32_Bios");
    add("Win32_Processor");
    add("Win32_LogicalDisk");
    test.inventory().read_lists();
    test.inventory().wmi.wait_for_worker();

    // A thread's id may be given again to a later thread once the first has
    // ended, so a worker's commands are told apart by their order: each
    // worker sends ID_STATUS_TEXT and then ID_FILL_RESULT.
    std::map<std::thread::id, std::vector<int>> by_thread;
    size_t from_workers = 0;
    for (const Received& r : commands()) {
        by_thread[r.thread].push_back(r.command);
        from_workers += r.thread != main_thread;
    }
    EXPECT_EQ(by_thread[main_thread], (std::vector<int>{ID_STATUS_TEXT, ID_STATUS_TEXT, ID_STATUS_TEXT}));
    EXPECT_EQ(from_workers, 6u);
    for (auto& [thread, sent] : by_thread) {
        if (thread == main_thread)
            continue;
        ASSERT_EQ(sent.size() % 2, 0u);
        for (size_t i = 0; i < sent.size(); i += 2)
            EXPECT_EQ((std::vector<int>{sent[i], sent[i + 1]}),
                      (std::vector<int>{ID_STATUS_TEXT, ID_FILL_RESULT}));
    }

    // With read_all set a full read fills nothing.
    test.inventory().read_all = 1;
    {
        std::lock_guard<std::mutex> lock(mutex);
        received.clear();
    }
    add("Win32_Processor");
    test.inventory().read_lists();
    test.inventory().wmi.wait_for_worker();
    std::vector<int> numbers;
    for (const Received& r : commands())
        numbers.push_back(r.command);
    EXPECT_EQ(numbers, (std::vector<int>{ID_STATUS_TEXT, ID_STATUS_TEXT}));
}

TEST_F(ReaderThread, FailedListStaysPendingAndIsTriedAgain)
{
    QueryList& list = add("Win32_Bios");
    wmi.exec_query_result = WBEM_E_INVALID_QUERY_;
    test.inventory().read_lists();
    EXPECT_EQ(list.pending, 1);
    EXPECT_EQ(list.read_failed, 1) << "the window is to say it";
    EXPECT_TRUE(list.first_item->values.empty());
    wmi.exec_query_result = 0;
    test.inventory().read_lists();
    EXPECT_EQ(list.pending, 0);
    EXPECT_EQ(list.read_failed, 0);
    EXPECT_EQ(wmi.statements().size(), 2u);
    std::string text = log();
    size_t first = text.find("Failed to query table Win32_Bios! Error: 0x80041017\n");
    EXPECT_NE(first, std::string::npos) << text;
    EXPECT_LT(first, text.find("  SELECT OK m:1, n: 2\n"));
}

TEST_F(ReaderThread, ReadOfANamespaceThatDoesNotExistIsMarkedFailed)
{
    QueryList& bad = add("Win32_Bios", {"*"}, "root\\Nowhere");
    QueryList& good = add("Win32_Processor");
    wmi.connect_result = WBEM_E_INVALID_NAMESPACE_;
    ASSERT_TRUE(test.inventory().wmi.start_cwmi(&bad));
    test.inventory().wmi.wait_for_read();
    EXPECT_EQ(bad.pending, 1);
    EXPECT_EQ(bad.read_failed, 1);
    wmi.connect_result = 0;
    ASSERT_TRUE(test.inventory().wmi.start_cwmi(&good));
    test.inventory().wmi.wait_for_read();
    EXPECT_EQ(good.read_failed, 0);
    EXPECT_EQ(good.pending, 0);
}

TEST_F(ReaderThread, ListOfBothTypesIsReadBothWaysWmiFirst)
{
    QueryList& list = add("Win32_Bios", {"Manufacturer"});
    list.is_reg = 1;
    test.inventory().read_lists();
    std::string text = log();
    size_t wmi_end = text.find("CWMI::Thread:read_cwmi () finished ...\n");
    size_t reg = text.find("CWMI::read_rkey ()\n  root\\CIMV2\\Win32_Bios\n");
    ASSERT_NE(wmi_end, std::string::npos) << text;
    ASSERT_NE(reg, std::string::npos) << text;
    EXPECT_LT(wmi_end, reg);
    EXPECT_EQ(wmi.statements().size(), 1u);
    EXPECT_EQ(list.first_item->values.at(0), "Acme");
}

TEST_F(ReaderThread, WmiListWithoutPathOrNameIsSkippedWithoutWaiting)
{
    QueryList& no_path = add("Win32_Bios", {"*"}, std::nullopt);
    QueryList& no_name = add(std::nullopt);
    test.inventory().read_lists();
    EXPECT_TRUE(wmi.statements().empty());
    EXPECT_EQ(wmi.initialize_calls.load(), 0);
    EXPECT_EQ(no_path.pending, 1);
    EXPECT_EQ(no_name.pending, 1);
    std::string text = log();
    EXPECT_EQ(text.find("read_cwmi () started"), std::string::npos) << text;
    EXPECT_NE(text.find("mapp::OnRWMI () OK ...\n"), std::string::npos) << text;
}

TEST_F(ReaderThread, SecondReadWhileOneRunsIsIgnored)
{
    with_window();
    QueryList& first = add("Win32_Processor");
    QueryList& second = add("Win32_Bios");
    wmi.hold_next_at("Win32_Processor", 1);

    ASSERT_TRUE(test.inventory().wmi.start_cwmi(&first));
    ASSERT_TRUE(wmi.wait_until_held());
    EXPECT_FALSE(test.inventory().wmi.start_cwmi(&second));
    EXPECT_EQ(test.inventory().wmi.cur_list, &first);
    EXPECT_EQ(second.busy.load(), 0);
    EXPECT_EQ(side.sent_commands(), (std::vector<int>{ID_STATUS_TEXT}));

    wmi.release_next();
    test.inventory().wmi.wait_for_worker();
    EXPECT_EQ(first.pending, 0);
    EXPECT_EQ(first.first_item->values, (Strings{"CPU0", "CPU1", "CPU2"}));
    EXPECT_EQ(second.pending, 1);
    EXPECT_EQ(wmi.statements().size(), 1u);

    // Once the first read has ended, the second may start.
    EXPECT_TRUE(test.inventory().wmi.start_cwmi(&second));
    test.inventory().wmi.wait_for_worker();
    EXPECT_EQ(second.pending, 0);
}

TEST_F(ReaderThread, ReadAllWaitsForARunningReadFirst)
{
    QueryList& bios = add("Win32_Bios");
    QueryList& processor = add("Win32_Processor");
    wmi.hold_next_at("Win32_Processor", 0);
    ASSERT_TRUE(test.inventory().wmi.start_cwmi(&processor));
    ASSERT_TRUE(wmi.wait_until_held());

    std::future<void> all = std::async(std::launch::async, [this] { test.inventory().read_lists(); });
    EXPECT_EQ(all.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
    EXPECT_EQ(wmi.statements().size(), 1u);

    wmi.release_next();
    all.get();
    EXPECT_EQ(bios.pending, 0);
    EXPECT_EQ(processor.pending, 0);
    EXPECT_EQ(wmi.statements(),
              (std::vector<std::wstring>{L"SELECT * FROM Win32_Processor", L"SELECT * FROM Win32_Bios"}));
    EXPECT_EQ(processor.first_item->values, (Strings{"CPU0", "CPU1", "CPU2"}));
}

TEST(ReaderThreadEnd, InventoryEndWaitsForARunningRead)
{
    RecordingWindowSide side(true);
    FakeWmi wmi;
    add_objects(wmi);
    auto test = std::make_unique<TestInventory>();
    QueryList& list = add_list(test->inventory(), "Win32_Processor");
    // Held after the first object: the worker has already rebuilt the item
    // chain and goes on writing into it once released.
    wmi.hold_next_at("Win32_Processor", 1);
    ASSERT_TRUE(test->inventory().wmi.start_cwmi(&list));
    ASSERT_TRUE(wmi.wait_until_held());

    std::future<Clock::time_point> released = release_later(wmi, 300);
    test.reset();
    Clock::time_point ended = Clock::now();

    EXPECT_GE(ended, released.get());
    EXPECT_EQ(wmi.uninitialize_calls.load(), 1);
    EXPECT_EQ(wmi.live_objects.load(), 0);
    EXPECT_EQ(side.sent_commands(), (std::vector<int>{ID_STATUS_TEXT, ID_STATUS_TEXT, ID_FILL_RESULT}));
}

TEST(ReaderObject, WritesItsLines)
{
    RecordingWindowSide side(false);
    TestInventory test;
    {
        std::atomic<int> read_all{0};
        CWMI another(read_all);
    }
    std::string text = test.log();
    size_t made = text.find("CWMI::CWMI () OK ...\n");
    EXPECT_NE(made, std::string::npos) << text;
    EXPECT_LT(text.find("CGUI::CGUI () OK ...\n"), made) << "the settings open the log first";
    EXPECT_NE(text.find("CWMI::CWMI () OK ...\nCWMI::~CWMI () OK ...\n"), std::string::npos) << text;
}

}  // namespace
