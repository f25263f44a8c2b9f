//------------------------------------------------------------------------------
//  The main of every GoogleTest program.
//
//  A watchdog stops a test that runs past any test's time, naming it: an X
//  connection has no time-out of its own, so a test that waits for a window
//  system that does not answer would otherwise hang until the runner kills
//  the whole program without a word.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

namespace
{

/// the slowest test seen, a death test under Xvfb that starts the program
/// three times, took 40 s at a load of 40; well above that, and below the
/// time-out scripts/test gives a test
constexpr std::chrono::seconds TestTimeLimit{240};

class TestWatchdog : public ::testing::EmptyTestEventListener
{
public:
    explicit TestWatchdog(std::chrono::seconds limit) :
        limit(limit), owner(getpid()), thread(new std::thread([this] { this->Watch(); }))
    {
    }

    ~TestWatchdog() override
    {
        // a forked death test child that calls exit() has no watching
        // thread to join: joining would wait for ever
        if (getpid() != this->owner)
        {
            (void)this->thread.release();
            return;
        }
        {
            std::lock_guard<std::mutex> lock(this->mutex);
            this->stopping = true;
        }
        this->wake.notify_one();
        this->thread->join();
    }

private:
    void OnTestStart(const ::testing::TestInfo& info) override
    {
        {
            std::lock_guard<std::mutex> lock(this->mutex);
            this->running = std::string(info.test_suite_name()) + "." + info.name();
            this->deadline = std::chrono::steady_clock::now() + this->limit;
            this->started++;
        }
        this->wake.notify_one();
    }

    void OnTestEnd(const ::testing::TestInfo&) override
    {
        {
            std::lock_guard<std::mutex> lock(this->mutex);
            this->running.clear();
        }
        this->wake.notify_one();
    }

    /// waits for each test in turn; ends the program when one overruns
    void Watch()
    {
        std::unique_lock<std::mutex> lock(this->mutex);
        while (!this->stopping)
        {
            if (this->running.empty())
            {
                this->wake.wait(lock);
                continue;
            }
            const unsigned long test = this->started;
            const bool overran = !this->wake.wait_until(lock, this->deadline, [this, test] {
                return this->stopping || this->running.empty() || this->started != test;
            });
            if (overran)
            {
                Report(this->running, this->limit);
            }
        }
    }

    [[noreturn]] static void Report(const std::string& test, std::chrono::seconds limit)
    {
        const char* display = std::getenv("DISPLAY");
        std::fprintf(stderr,
                     "\n%s is still running after %lld s and is stopped: it waits for something that does not "
                     "come%s%s%s\n",
                     test.c_str(), static_cast<long long>(limit.count()),
                     display ? " (a window system that does not answer? DISPLAY=" : "", display ? display : "",
                     display ? ")" : "");
        std::fflush(stderr);
        std::abort();
    }

    const std::chrono::seconds limit;
    std::mutex mutex;
    std::condition_variable wake;
    std::string running;
    std::chrono::steady_clock::time_point deadline;
    unsigned long started = 0;
    bool stopping = false;
    const pid_t owner;
    std::unique_ptr<std::thread> thread;
};

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestWatchdog(TestTimeLimit));
    return RUN_ALL_TESTS();
}
