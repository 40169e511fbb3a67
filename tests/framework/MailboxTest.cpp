// Work off the window's thread: its result comes back on the mailbox's thread, in order, and a
// result whose mailbox went first is dropped with everything it holds.
#include "framework/Mailbox.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace {
// A result that counts how many of its kind are alive, wherever they are.
class CountedResult {
public:
    explicit CountedResult(std::string text) : m_text(std::move(text)) { ++s_alive; }
    CountedResult(const CountedResult& other) : m_text(other.m_text) { ++s_alive; }
    CountedResult(CountedResult&& other) noexcept : m_text(std::move(other.m_text)) { ++s_alive; }
    ~CountedResult() { --s_alive; }
    CountedResult& operator=(const CountedResult&) = default;

    const std::string& Text() const { return m_text; }
    static int Alive() { return s_alive; }

private:
    std::string m_text;
    static inline std::atomic<int> s_alive = 0;
};

bool Ended(const UniqueHandle& thread)
{
    return thread && ::WaitForSingleObject(thread.get(), 10000) == WAIT_OBJECT_0;
}
}

TEST(Mailbox, AResultComesBackOnTheMailboxsThread)
{
    CMailbox mailbox;
    const DWORD windowThread = ::GetCurrentThreadId();
    DWORD workedOn = windowThread, handedTo = 0;
    std::vector<std::string> arrived;
    UniqueHandle thread = RunOffThread<CountedResult>(
        mailbox,
        [&] {
            workedOn = ::GetCurrentThreadId();
            return CountedResult("done");
        },
        [&](CountedResult result) {
            handedTo = ::GetCurrentThreadId();
            arrived.push_back(result.Text());
        });
    ASSERT_TRUE(Ended(thread));
    EXPECT_TRUE(arrived.empty()) << "nothing arrives before the thread's messages run";
    ASSERT_TRUE(WaitFor([&] { return !arrived.empty(); }));
    EXPECT_EQ(arrived, std::vector<std::string>{"done"});
    EXPECT_NE(workedOn, windowThread);
    EXPECT_EQ(handedTo, windowThread);
    EXPECT_EQ(CountedResult::Alive(), 0);
}

TEST(Mailbox, DeliveriesRunInTheOrderTheyWerePosted)
{
    CMailbox mailbox;
    std::vector<int> order;
    UniqueHandle thread = StartThread([sender = mailbox.Sender(), &order] {
        for (int i = 0; i < 100; ++i)
            sender.Post([i, &order] { order.push_back(i); });
    });
    ASSERT_TRUE(Ended(thread));
    ASSERT_TRUE(WaitFor([&] { return order.size() == 100; }));
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(order[static_cast<size_t>(i)], i);
}

// The receiver ends while the work still runs, and again after the result was posted but
// before it was delivered: either way the result never reaches it, and none is left alive.
TEST(Mailbox, AResultWhoseMailboxWentFirstLeaksNothing)
{
    for (const bool postedFirst : {false, true}) {
        SCOPED_TRACE(postedFirst);
        UniqueHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        bool delivered = false;
        UniqueHandle thread;
        {
            CMailbox mailbox;
            thread = RunOffThread<CountedResult>(
                mailbox,
                [gate = release.get()] {
                    ::WaitForSingleObject(gate, INFINITE);
                    return CountedResult(std::string(1000, 'x'));
                },
                [&](CountedResult) { delivered = true; });
            ASSERT_TRUE(thread);
            if (postedFirst) {
                ::SetEvent(release.get());
                ASSERT_TRUE(Ended(thread));
                EXPECT_EQ(CountedResult::Alive(), 1) << "the result waits in the mailbox";
            }
        }
        ::SetEvent(release.get());
        ASSERT_TRUE(Ended(thread));
        PumpMessages();
        EXPECT_FALSE(delivered);
        EXPECT_EQ(CountedResult::Alive(), 0);
    }
}

TEST(Mailbox, ASenderOutlivesItsMailboxAndPostsNothing)
{
    std::optional<CMailbox::CSender> sender;
    {
        CMailbox mailbox;
        sender = mailbox.Sender();
    }
    bool ran = false;
    EXPECT_FALSE(sender->Post([&ran] { ran = true; }));
    PumpMessages();
    EXPECT_FALSE(ran);
}
