// Messages as a window procedure saw them, compared with the sequence a test expects, as
// Wine's user32 message tests do it: an expected table against the actual log, both dumped
// on a mismatch. An expected entry marked optional may be absent.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

struct Logged {
  UINT msg;
  WPARAM wp = 0;
  LPARAM lp = 0;
  int depth = 0;          // how many logged messages were being handled when this one came in
  bool optional = false;  // expected entries only: the sequence is right with or without it
  bool operator==(const Logged& other) const {
    return msg == other.msg && wp == other.wp && lp == other.lp && depth == other.depth;
  }
};

class MessageLog {
 public:
  // Logs a message, then handles it; messages logged meanwhile are nested one deeper.
  template <typename Handle>
  LRESULT Around(const Logged& message, Handle&& handle) {
    entries_.push_back({message.msg, message.wp, message.lp, depth_});
    ++depth_;
    LRESULT result = handle();
    --depth_;
    return result;
  }
  void Clear() {
    entries_.clear();
    depth_ = 0;
  }
  const std::vector<Logged>& Entries() const { return entries_; }
  // A name for the dump, for messages of the program's own or registered at run time.
  void Name(UINT msg, std::string name) { names_[msg] = std::move(name); }
  std::string Dump(const std::vector<Logged>& log) const;
  std::string Dump() const { return Dump(entries_); }
  testing::AssertionResult Is(const std::vector<Logged>& expected) const;

 private:
  std::vector<Logged> entries_;
  int depth_ = 0;
  std::map<UINT, std::string> names_;
};
