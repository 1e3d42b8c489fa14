// A pipe for the wait tests: its read end is a descriptor to watch, and a
// write makes it ready.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

class TestPipe {
 public:
  TestPipe() { EXPECT_EQ(pipe(fds_), 0); }
  ~TestPipe() {
    close(fds_[0]);
    close(fds_[1]);
  }
  TestPipe(const TestPipe&) = delete;
  TestPipe& operator=(const TestPipe&) = delete;

  int ReadEnd() const { return fds_[0]; }
  void Write() const { EXPECT_EQ(write(fds_[1], "x", 1), 1); }

 private:
  int fds_[2] = {-1, -1};
};
