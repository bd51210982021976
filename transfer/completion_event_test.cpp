#include "transfer/completion_event.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

bool IsSignalled(HANDLE event) { return ::WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

TEST(CompletionEvent, SignalledByTheCallbackOrWhenAWaiterSettlesIt) {
  CompletionEvent event;
  ASSERT_TRUE(event.Create());
  EXPECT_FALSE(IsSignalled(event.get()));

  // Completed asynchronously: the callback signals; the next operation resets.
  event.Begin();
  event.Signal();
  EXPECT_TRUE(IsSignalled(event.get()));
  event.Begin();
  EXPECT_FALSE(IsSignalled(event.get()));

  // Finished within its call: signalled only once somebody is about to wait.
  event.FinishedAtOnce();
  EXPECT_FALSE(IsSignalled(event.get()));
  EXPECT_TRUE(IsSignalled(event.Settled()));
  EXPECT_TRUE(IsSignalled(event.Settled())) << "settling twice keeps it signalled";

  // An owed signal that nobody asked for is dropped when the next operation starts.
  event.Begin();
  event.FinishedAtOnce();
  event.Begin();
  EXPECT_FALSE(IsSignalled(event.get()));
  EXPECT_FALSE(IsSignalled(event.Settled())) << "the pending operation has not completed";

  // A signal given within a call that then also reports success at once (Wine does this).
  event.Begin();
  event.Signal();
  event.FinishedAtOnce();
  event.Begin();
  EXPECT_FALSE(IsSignalled(event.get()));
}

}  // namespace
}  // namespace kestrune
