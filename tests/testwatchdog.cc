//------------------------------------------------------------------------------
//  Linked into every GoogleTest program.
//
//  A watchdog for programs that wait on a display server: with
//  ENGINE_TEST_WATCHDOG=<seconds> in the environment (tests/xvfb.sh sets
//  it), a test still running after that long is stopped with its name and
//  the display on standard error. Xlib waits for a server's answer without
//  a time limit, so a server that stops answering would otherwise hold the
//  program until the whole run's time-out, naming nothing. It is an alarm,
//  not a thread: a death test's fork neither inherits it nor finds a lock
//  of it held.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace
{

/// the message the alarm writes, made before the test starts: a signal
/// handler may only write what is ready
char watchdogMessage[512];
size_t watchdogMessageLength = 0;

/**
 * OnWatchdogAlarm --
 *
 * Results: none; the process ends with SIGABRT.
 * Side effects: writes the stuck test's message to standard error.
 */
void OnWatchdogAlarm(int)
{
    const ssize_t written = write(STDERR_FILENO, watchdogMessage, watchdogMessageLength);
    (void)written;
    signal(SIGABRT, SIG_DFL);
    abort();
}

class Watchdog : public ::testing::EmptyTestEventListener
{
public:
    explicit Watchdog(unsigned seconds) : seconds(seconds)
    {
        signal(SIGALRM, OnWatchdogAlarm);
    }
    void OnTestStart(const ::testing::TestInfo& test) override
    {
        const char* display = getenv("DISPLAY");
        const int length = snprintf(watchdogMessage, sizeof(watchdogMessage),
                                    "\nwatchdog: %s.%s still runs after %u s (DISPLAY=%s): stopped\n",
                                    test.test_suite_name(), test.name(), this->seconds,
                                    display ? display : "unset");
        watchdogMessageLength = length < 0 ? 0 : std::min(sizeof(watchdogMessage) - 1, (size_t)length);
        alarm(this->seconds);
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        alarm(0);
    }

private:
    const unsigned seconds;
};

struct WatchdogInstaller
{
    WatchdogInstaller()
    {
        const char* value = getenv("ENGINE_TEST_WATCHDOG");
        const long seconds = value ? strtol(value, nullptr, 10) : 0;
        if (seconds > 0)
        {
            ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog((unsigned)seconds));
        }
    }
};

const WatchdogInstaller watchdogInstaller;

}  // namespace
