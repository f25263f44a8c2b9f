//------------------------------------------------------------------------------
//  Assertions, output functions, the line buffer and the string helpers.
//------------------------------------------------------------------------------
#include "kernelfixture.h"

#include "kernel/nlinebuffer.h"
#include "kernel/nloghandler.h"
#include "kernel/nmemory.h"

#include <cmath>
#include <csignal>
#include <new>
#include <string>
#include <thread>
#include <vector>
#include <sys/time.h>

namespace
{

/// the completed lines and the tail line of a buffer, oldest first
std::vector<std::string> Lines(const nLineBuffer& lb)
{
    std::vector<std::string> lines;
    for (int i = lb.GetHeadLine();; i = (i + 1) % N_NUM_LINES)
    {
        lines.push_back(lb.GetLine(i));
        if (i == lb.GetTailLine()) break;
    }
    return lines;
}

}  // namespace

TEST(LineBuffer, SplitsTextIntoLines)
{
    struct Case
    {
        std::vector<std::string> puts;
        std::vector<std::string> lines;  // completed lines then the tail line
    } cases[] = {
        {{"abc"}, {"abc"}},
        {{"abc", "def\n"}, {"abcdef", ""}},
        {{std::string(79, 'x') + "\n"}, {std::string(79, 'x'), "", ""}},
        {{std::string(200, 'y')}, {std::string(79, 'y'), std::string(79, 'y'), std::string(42, 'y')}},
        {{"abc\rde\n"}, {"de", ""}},
        {{"one\ntwo\n"}, {"one", "two", ""}},
    };
    for (const Case& c : cases)
    {
        nLineBuffer lb;
        for (const std::string& p : c.puts) lb.Put(p.c_str());
        EXPECT_EQ(Lines(lb), c.lines) << c.puts[0];
    }
}

TEST(LineBuffer, RingKeepsAtMost256Lines)
{
    nLineBuffer lb;
    for (int i = 0; i < 300; i++)
    {
        lb.Put((std::to_string(i) + "\n").c_str());
    }
    EXPECT_EQ((lb.GetTailLine() + 1) % N_NUM_LINES, lb.GetHeadLine());
    EXPECT_STREQ(lb.GetLine(lb.GetHeadLine()), "45");
    EXPECT_FATAL(lb.GetLine(N_NUM_LINES), ASSERTION_TEXT("l < N_NUM_LINES"));
}

TEST_F(KernelTest, DefaultHandlerPrintsAndKeepsLines)
{
    testing::internal::CaptureStdout();
    n_printf("%s-%d\n", "value", 42);
    n_message("%s\n", "message");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "value-42\nmessage\n");
    nLineBuffer* lb = ks->GetLogHandler()->GetLineBuffer();
    ASSERT_NE(lb, nullptr);
    const int tail = lb->GetTailLine();
    EXPECT_STREQ(lb->GetLine((tail + N_NUM_LINES - 1) % N_NUM_LINES), "message");
    EXPECT_STREQ(lb->GetLine((tail + N_NUM_LINES - 2) % N_NUM_LINES), "value-42");
}

TEST_F(KernelTest, LongFormatsDoNotStopTheProgram)
{
    std::string big(3000, 'z');
    testing::internal::CaptureStdout();
    n_printf("%s", big.c_str());
    n_printf(big.c_str(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout().size(), 6000u);
}

TEST_F(KernelTest, LinesFromSeveralThreadsStayWhole)
{
    testing::internal::CaptureStdout();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; t++)
    {
        threads.emplace_back([t] {
            for (int i = 0; i < 200; i++) n_printf("thread%d line%03d\n", t, i);
        });
    }
    for (std::thread& th : threads) th.join();
    testing::internal::GetCapturedStdout();
    nLineBuffer* lb = ks->GetLogHandler()->GetLineBuffer();
    for (int i = 0; i < N_NUM_LINES; i++)
    {
        if (i == lb->GetTailLine()) continue;
        EXPECT_EQ(std::string(lb->GetLine(i)).size(), 15u) << lb->GetLine(i);
    }
}

TEST(Assertions, PrintTheExpressionAndStop)
{
    EXPECT_FATAL(n_assert(1 == 2), "\\*\\*\\* QUELOR ASSERTION \\*\\*\\*\nexpression: 1 == 2\nfile: .*\nline: [0-9]+");
    EXPECT_FATAL(n_assert2(false, "be careful"), "programmer says: be careful\nexpression: false");
    EXPECT_FATAL(n_error("broken %d", 7), "broken 7");
}

TEST(StringFunctions, Match)
{
    struct Case
    {
        const char* text;
        const char* pattern;
        bool match;
    } cases[] = {
        {"hello", "h*", true},
        {"hello", "h?l*", true},
        {"hal", "h?l", true},
        {"c", "[d-a]", true},
        {"e", "[d-a]", false},
        {"", "*", true},
        {"x", "[abc]", false},
        {"b", "[abc]", true},
        {"b", "[ab", true},
        {"x", "[ab", false},
        {"a", "[a-", false},
        {"*", "\\*", true},
        {"a", "a\\", false},
        {"abc", "a*c", true},
        {"abd", "a*c", false},
        {"Hello", "hello", false},
        {"", "", true},
        {"a", "", false},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(n_strmatch(c.text, c.pattern), c.match) << c.text << " ~ " << c.pattern;
    }
}

TEST(StringFunctions, CopyAndConcatenate)
{
    char buf[8];
    n_strncpyz(buf, "abcdefghij", sizeof(buf));
    EXPECT_STREQ(buf, "abcdefg");
    char dest[16] = "0123456789";
    EXPECT_FATAL(n_strcat(dest, "abcde", sizeof(dest)), ASSERTION_TEXT("l < dest_size"));
    n_strcat(dest, "abcd", sizeof(dest));
    EXPECT_STREQ(dest, "0123456789abcd");
    char* dup = n_strdup("copy");
    EXPECT_STREQ(dup, "copy");
    n_free(dup);
}

/// sleeps for ever; a timer ends the process after 20 ms
static void SleepEndlesslyUntilTheTimer()
{
    struct itimerval timer = {};
    timer.it_value.tv_usec = 20000;
    setitimer(ITIMER_REAL, &timer, nullptr);
    n_sleep(1.0e30);
}

TEST(StringFunctions, SleepTakesAnyTime)
{
    // no positive number of seconds: back at once
    n_sleep(std::nan(""));
    n_sleep(-1.0);
    // a wait beyond any clock (a script's wait step) sleeps, silently,
    // rather than overflowing the millisecond count
    EXPECT_EXIT(SleepEndlesslyUntilTheTimer(), ::testing::KilledBySignal(SIGALRM), "^$");
}

TEST(Memory, ThrowingNewThrowsAndStatisticsFollowBlocks)
{
    const nMemoryStats before = nMemoryGetStats();
    void* p = n_malloc(1000);
    const nMemoryStats during = nMemoryGetStats();
    EXPECT_GE(during.totalSize - before.totalSize, 1000);
    EXPECT_GE(during.highWaterSize, during.totalSize);
    n_free(p);
    size_t huge = (size_t)1 << 62;
    // called as a function: an optimiser may drop a new-expression whose
    // block is never used, but not a call of the operator itself
    EXPECT_THROW(::operator delete[](::operator new[](huge)), std::bad_alloc);
}
