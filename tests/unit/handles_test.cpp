// The owning-handle template, with a close function that counts its calls.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "win32/handles.h"

namespace {

std::vector<std::intptr_t> g_closed;
void CountingClose(int h) noexcept { g_closed.push_back(h); }
void CountingCloseHandle(HANDLE h) noexcept { g_closed.push_back(reinterpret_cast<std::intptr_t>(h)); }
using counted = unique_handle<int, CountingClose>;
using counted_file = unique_handle<HANDLE, CountingCloseHandle, null_or_invalid_is_none>;

HANDLE Fake(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

struct Case {
  const char* what;
  void (*run)();
  std::vector<std::intptr_t> closed;  // in order
};

const Case kCases[] = {
    {"the destructor closes", [] { counted a(1); }, {1}},
    {"none is never closed", [] { counted a, b(0); }, {}},
    {"a move hands the handle over",
     [] {
       counted a(1);
       counted b(std::move(a));
       EXPECT_FALSE(a);
       EXPECT_EQ(b.get(), 1);
     },
     {1}},
    {"a move assignment closes what the target held",
     [] {
       counted a(1), b(2);
       b = std::move(a);
       EXPECT_EQ(b.get(), 1);
     },
     {2, 1}},
    {"a self-move keeps the handle open",
     [] {
       counted a(1);
       counted& same = a;
       a = std::move(same);
       EXPECT_EQ(a.get(), 1);
     },
     {1}},
    {"reset closes the old handle once",
     [] {
       counted a(1);
       a.reset(2);
       a.reset();
       a.reset();
     },
     {1, 2}},
    {"release gives the handle away unclosed",
     [] {
       counted a(1);
       EXPECT_EQ(a.release(), 1);
       EXPECT_FALSE(a);
     },
     {}},
    {"put closes the old handle before taking a new one",
     [] {
       counted a(1);
       *a.put() = 3;
       EXPECT_EQ(a.get(), 3);
     },
     {1, 3}},
    {"a file handle is none at INVALID_HANDLE_VALUE as at null",
     [] {
       counted_file failed(INVALID_HANDLE_VALUE), empty;
       EXPECT_FALSE(failed);
       EXPECT_FALSE(empty);
       counted_file open(Fake(8));
       EXPECT_TRUE(open);
       open.reset(INVALID_HANDLE_VALUE);
     },
     {8}},
};

TEST(UniqueHandle, ClosesEachHandleExactlyOnce) {
  for (const Case& c : kCases) {
    g_closed.clear();
    c.run();
    EXPECT_EQ(g_closed, c.closed) << c.what;
  }
}

// A moved guard puts the old object back when its new owner goes, and not before.
TEST(SelectGuard, AMovedGuardRestoresWhenItsOwnerGoes) {
  unique_mem_dc dc(::CreateCompatibleDC(nullptr));
  unique_bitmap picture(::CreateCompatibleBitmap(dc.get(), 4, 4));
  HGDIOBJ original = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
  auto kept = std::make_unique<select_guard>();
  *kept = select_guard(dc.get(), picture.get());
  EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), picture.get()) << "the moved-from guard restored";
  kept.reset();
  EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), original);
}

}  // namespace
