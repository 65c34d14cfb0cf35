// One child's hang or crash costs only that child.
#include <gtest/gtest.h>

#include "jobs.h"

namespace {

TEST(Jobs, AHangOrACrashStopsOnlyItsOwnRun) {
  const std::vector<TJob> jobs = {
      {{"/bin/sh", "-c", "sleep 30"}, ""},
      {{"/bin/sh", "-c", "kill -SEGV $$"}, ""},
      {{"/bin/sh", "-c", "echo out; echo err >&2; exit 3"}, ""},
      {{"/bin/sh", "-c", "head -c 300000 /dev/zero"}, ""},
      {{"/bin/sh", "-c", "cat"}, "/dev/null"},
      {{"/nonexistent/program"}, ""},
  };
  std::vector<size_t> order;
  TJobPool pool(2, 0.5, 1000);
  const auto r = pool.Run(jobs, nullptr, [&](size_t i, const TJobResult&) { order.push_back(i); });
  EXPECT_TRUE(r[0].TimedOut);
  EXPECT_LT(r[0].Seconds, 5.0);
  EXPECT_EQ(r[1].Signal, 11);
  EXPECT_EQ(r[2].Status, 3);
  EXPECT_EQ(r[2].Out, "out\n");
  EXPECT_EQ(r[2].Err, "err\n");
  EXPECT_EQ(r[3].Status, 0);
  EXPECT_EQ(r[3].Out.size(), 1000u);  // kept up to the cap, the rest read and dropped
  EXPECT_EQ(r[4].Status, 0);
  // posix_spawn reports a missing program as an exit of 127 from the child.
  EXPECT_TRUE(!r[5].Started || r[5].Status == 127);
  EXPECT_EQ(order.size(), jobs.size());
  EXPECT_EQ(order.back(), 0u);  // the hung one ended last, the others did not wait for it
}

}  // namespace
