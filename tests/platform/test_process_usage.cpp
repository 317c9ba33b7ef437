#include "platform/FrameStats.h"
#include "platform/ProcessUsage.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// A stat line whose utime/stime are 250 and 150 ticks, with the given command name.
QByteArray statLine(const QByteArray &name)
{
    return "4242 (" + name + ") S 17 4242 4242 0 -1 4194560 100 0 0 0 250 150 0 0 20 0 3 0 12345 "
                             "1000000 2000 18446744073709551615 1 1 0 0 0 0 0 0 0 0 0 0 17 1 0 0\n";
}

} // namespace

TEST(ProcessUsage, ReadsCpuAndParentPastAnyCommandName)
{
    // Names may hold blanks and parentheses; the fields count from the last ")".
    for (const QByteArray name : {QByteArray("kestrelon"), QByteArray("Web Content"),
                                  QByteArray("a) S 99 (b"), QByteArray("")}) {
        SCOPED_TRACE(name.constData());
        const auto cpu = platform::cpuSecondsFromStat(statLine(name), 100);
        ASSERT_TRUE(cpu.has_value());
        EXPECT_DOUBLE_EQ(*cpu, 4.0);
        EXPECT_EQ(platform::parentFromStat(statLine(name)).value_or(-1), 17);
    }
}

TEST(ProcessUsage, RefusesTextThatIsNotAStatLine)
{
    EXPECT_FALSE(platform::cpuSecondsFromStat(QByteArray(), 100));
    EXPECT_FALSE(platform::cpuSecondsFromStat("4242 (x) S 1 2 3", 100));          // cut short
    EXPECT_FALSE(platform::cpuSecondsFromStat("4242 x S 1 2 3 4 5 6 7 8 9 10 11 12", 100)); // no name
    EXPECT_FALSE(platform::cpuSecondsFromStat(statLine("x"), 0));
    EXPECT_FALSE(platform::parentFromStat("4242 (x)"));
}

TEST(ProcessUsage, KilobyteFieldsMatchTheWholeKey)
{
    // smaps_rollup lists Pss_Anon and friends beside Pss; VmRSS sits among Vm* lines.
    const QByteArray rollup = "55d0-7ff [rollup]\nRss:              133632 kB\nPss_Anon:          70000 kB\n"
                              "Pss:              100628 kB\nPss_File:          30000 kB\n";
    EXPECT_EQ(platform::kilobytesField(rollup, "Pss").value_or(-1), 100628);
    EXPECT_EQ(platform::kilobytesField(rollup, "Pss_Anon").value_or(-1), 70000);
    EXPECT_EQ(platform::kilobytesField(rollup, "Rss").value_or(-1), 133632);
    EXPECT_FALSE(platform::kilobytesField(rollup, "Ps"));
    EXPECT_FALSE(platform::kilobytesField(rollup, "Swap"));

    const QByteArray status = "Name:\tkharness\nVmRSSX:\t1 kB\nVmRSS:\t  2048 kB\nThreads:\t9\n";
    EXPECT_EQ(platform::kilobytesField(status, "VmRSS").value_or(-1), 2048);
    EXPECT_FALSE(platform::kilobytesField("VmRSS:\tlots kB\n", "VmRSS"));
}

TEST(ProcessUsage, ReadsALiveProcessAndNotAGoneOne)
{
    volatile double sink = 0;
    for (int i = 0; i < 2000000; ++i)
        sink = sink + i * 0.5;
    const auto self = platform::readProcessUsage();
    ASSERT_TRUE(self.has_value());
    EXPECT_GT(self->rssKb, 0);
    EXPECT_GE(self->pssKb, 0);
    EXPECT_GE(platform::selfCpuSeconds(), self->cpuSeconds - 0.02);
    EXPECT_TRUE(platform::readProcessUsage(getpid()).has_value());
    // Beyond the kernel's largest pid: never a process.
    EXPECT_FALSE(platform::readProcessUsage(pid_t(1) << 23).has_value());
}

TEST(FrameStats, PercentilesAreNearestRank)
{
    EXPECT_EQ(platform::percentile({}, 50), 0);
    EXPECT_EQ(platform::percentile({7}, 99), 7);
    EXPECT_EQ(platform::percentile({4, 1, 3, 2}, 50), 2);
    EXPECT_EQ(platform::percentile({4, 1, 3, 2}, 100), 4);
    std::vector<double> hundred;
    for (int i = 1; i <= 100; ++i)
        hundred.push_back(i);
    EXPECT_EQ(platform::percentile(hundred, 99), 99);
    hundred.push_back(500); // 101 values: the 99th percentile is now the 100th value
    EXPECT_EQ(platform::percentile(hundred, 99), 100);
}

TEST(FrameStats, OneLongFrameShowsInTheTailNotTheMedian)
{
    // 201 frames 16 ms apart, but the 100th interval takes 50 ms; the span is 4 s.
    std::vector<qint64> frames{0};
    for (int i = 1; i <= 200; ++i)
        frames.push_back(frames.back() + (i == 100 ? 50'000'000 : 16'000'000));
    const platform::FrameSummary s = platform::summariseFrames(frames, 4'000'000'000);
    EXPECT_EQ(s.frames, 201);
    EXPECT_DOUBLE_EQ(s.fps, 201 / 4.0);
    EXPECT_DOUBLE_EQ(s.medianMs, 16);
    EXPECT_DOUBLE_EQ(s.p99Ms, 16); // 1 interval in 200 is below the 1 % tail
    EXPECT_DOUBLE_EQ(s.worstMs, 50);

    frames.push_back(frames.back() + 40'000'000); // 3 long ones in 202 reach the tail
    frames.push_back(frames.back() + 40'000'000);
    EXPECT_DOUBLE_EQ(platform::summariseFrames(frames).p99Ms, 40);
}

TEST(FrameStats, WithoutASpanTheFramesSetTheRate)
{
    EXPECT_EQ(platform::summariseFrames({}).fps, 0);
    EXPECT_EQ(platform::summariseFrames({5}).fps, 0);
    EXPECT_EQ(platform::summariseFrames({5}).medianMs, 0);
    // 3 intervals of 20 ms: 50 frames per second.
    EXPECT_DOUBLE_EQ(platform::summariseFrames({0, 20'000'000, 40'000'000, 60'000'000}).fps, 50);
}
