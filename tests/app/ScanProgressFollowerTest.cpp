// The follower between a scan's figures and the taskbar or launcher: what it tells the
// indicator as the figures change, and that it tells nothing more.

#include <gtest/gtest.h>

#include "app/ScanProgressFollower.h"
#include "tests/support/RecordingIndicator.h"

namespace {

using Calls = std::vector<std::string>;

class ScanProgressFollowerTest : public ::testing::Test {
 protected:
  // The walk's figures as the engine publishes them, then one tick of the timer.
  void Tick(std::uint64_t folders, std::uint64_t bytes) {
    progress.Publish(folders, bytes);
    follower.Update();
  }

  ScanProgress progress;
  RecordingIndicator indicator;
  ScanProgressFollower follower;
};

TEST_F(ScanProgressFollowerTest, TheShareGrowsButStaysBelowTheWholeUntilTheScanEnds) {
  progress.Start(1000);
  follower.Follow(&indicator, &progress);
  Tick(1, 250);
  Tick(2, 500);
  Tick(3, 1000);  // all the used space seen, and the walk still going
  Tick(4, 5000);  // hard links, counted once a link, pass the space used
  progress.Finish();
  follower.Update();
  follower.Stop();
  EXPECT_EQ(indicator.calls, (Calls{"share 250", "share 500", "share 990", "share 1000", "clear"}));
}

TEST_F(ScanProgressFollowerTest, NothingIsSentWhileWhatIsShownStaysTheSame) {
  progress.Start(1000000);
  follower.Follow(&indicator, &progress);
  Tick(1, 100000);
  Tick(1, 100000);  // nothing counted since
  Tick(2, 100400);  // less than a step
  Tick(3, 101000);
  EXPECT_EQ(indicator.calls, (Calls{"share 100", "share 101"}));
}

TEST_F(ScanProgressFollowerTest, AScanWithoutAShareShowsBusyOnceItHasCountedSomething) {
  progress.Start(0);  // a folder walked again
  follower.Follow(&indicator, &progress);
  EXPECT_EQ(indicator.calls, Calls{});
  Tick(0, 4096);
  Tick(5, 9000);
  follower.Stop();
  EXPECT_EQ(indicator.calls, (Calls{"indeterminate", "clear"}));
}

// Before the walk has taken its first folder the used space may not be known yet:
// showing busy then would flash before the share.
TEST_F(ScanProgressFollowerTest, NothingShowsBeforeTheFirstFolderAndNothingIsClearedThatWasNotShown) {
  follower.Follow(&indicator, &progress);
  follower.Update();
  progress.Start(1000);
  follower.Update();
  follower.Stop();
  EXPECT_EQ(indicator.calls, Calls{});
}

// Abort, closing and the scan's end all stop the follower; a later tick finds nothing.
TEST_F(ScanProgressFollowerTest, AfterStopNothingMoreIsSent) {
  progress.Start(1000);
  follower.Follow(&indicator, &progress);
  Tick(1, 300);
  follower.Stop();
  follower.Stop();
  Tick(2, 600);
  EXPECT_EQ(indicator.calls, (Calls{"share 300", "clear"}));
}

TEST_F(ScanProgressFollowerTest, FollowingTheNextScanClearsTheLastOneFirst) {
  progress.Start(1000);
  follower.Follow(&indicator, &progress);
  Tick(1, 300);
  ScanProgress next;
  next.Start(0);
  next.Publish(1, 10);
  follower.Follow(&indicator, &next);
  EXPECT_EQ(indicator.calls, (Calls{"share 300", "clear", "indeterminate"}));
}

// A saved scan opened counts nothing; a front end without an indicator shows nothing.
TEST_F(ScanProgressFollowerTest, WithoutFiguresOrIndicatorNothingHappens) {
  follower.Follow(&indicator, nullptr);
  follower.Update();
  follower.Stop();
  progress.Start(1000);
  progress.Publish(1, 500);
  follower.Follow(nullptr, &progress);
  follower.Update();
  follower.Stop();
  EXPECT_EQ(indicator.calls, Calls{});
}

}  // namespace
