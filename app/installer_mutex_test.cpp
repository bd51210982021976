#include "app/installer_mutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "platform/unique_handle.h"

namespace kestrune {
namespace {

using Clock = std::chrono::steady_clock;

// Runs WaitForInstallerIdle on its own thread so that a fault cannot hang the test program.
std::future<bool> WaitAsync() { return std::async(std::launch::async, WaitForInstallerIdle); }

TEST(InstallerMutex, NoInstallationRunning) { EXPECT_TRUE(WaitForInstallerIdle()); }

TEST(InstallerMutex, WaitsUntilTheHolderReleases) {
  std::atomic<bool> held(false);
  std::atomic<bool> release(false);
  std::thread holder([&] {
    KernelHandle mutex(::CreateMutexW(nullptr, TRUE, kInstallerMutexName));
    held = true;
    while (!release) ::Sleep(10);
    ::ReleaseMutex(mutex.get());
  });
  while (!held) ::Sleep(5);

  const Clock::time_point start = Clock::now();
  std::future<bool> waiting = WaitAsync();
  EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(400)), std::future_status::timeout);
  release = true;
  ASSERT_EQ(waiting.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_TRUE(waiting.get());
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(400));
  holder.join();
}

TEST(InstallerMutex, AbandonedMutexStopsTheRunAndIsNotKept) {
  KernelHandle mutex;
  std::thread owner([&] { mutex.reset(::CreateMutexW(nullptr, TRUE, kInstallerMutexName)); });
  owner.join();  // the owner ends without releasing: the mutex is abandoned
  ASSERT_TRUE(mutex);

  std::future<bool> waiting = WaitAsync();
  ASSERT_EQ(waiting.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_FALSE(waiting.get());
  EXPECT_EQ(::WaitForSingleObject(mutex.get(), 0), static_cast<DWORD>(WAIT_OBJECT_0));
  ::ReleaseMutex(mutex.get());
}

// After the wait the installer must be free to run the setups this program starts.
TEST(InstallerMutex, SuccessfulWaitDoesNotKeepTheMutex) {
  KernelHandle mutex(::CreateMutexW(nullptr, FALSE, kInstallerMutexName));
  ASSERT_TRUE(mutex);
  std::promise<void> waited;
  std::promise<void> checked;
  std::thread waiter([&] {
    EXPECT_TRUE(WaitForInstallerIdle());
    waited.set_value();
    checked.get_future().wait();  // the waiting thread lives on while the main thread checks
  });
  waited.get_future().wait();
  const DWORD wait = ::WaitForSingleObject(mutex.get(), 0);
  EXPECT_EQ(wait, static_cast<DWORD>(WAIT_OBJECT_0));
  if (wait == WAIT_OBJECT_0) ::ReleaseMutex(mutex.get());
  checked.set_value();
  waiter.join();
}

}  // namespace
}  // namespace kestrune
