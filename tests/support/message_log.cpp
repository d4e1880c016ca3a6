#include "support/message_log.h"

#include <sstream>

namespace {

const std::map<UINT, std::string>& StandardNames() {
  static const std::map<UINT, std::string> names = {
      {WM_ACTIVATE, "WM_ACTIVATE"},         {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"}, {WM_CLOSE, "WM_CLOSE"},
      {WM_DESTROY, "WM_DESTROY"},           {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},       {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_MOUSEMOVE, "WM_MOUSEMOVE"},       {WM_SHOWWINDOW, "WM_SHOWWINDOW"},         {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"}};
  return names;
}

}  // namespace

std::string MessageLog::Dump(const std::vector<Logged>& log) const {
  std::ostringstream out;
  for (const Logged& m : log) {
    auto named = names_.find(m.msg);
    auto standard = StandardNames().find(m.msg);
    std::string name = named != names_.end()         ? named->second
                       : standard != StandardNames().end() ? standard->second
                                                           : std::to_string(m.msg);
    out << "\n  " << std::string(static_cast<std::size_t>(m.depth) * 2, ' ') << name << " wp=0x" << std::hex << m.wp
        << " lp=0x" << m.lp << std::dec << (m.optional ? " (optional)" : "");
  }
  return out.str();
}

testing::AssertionResult MessageLog::Is(const std::vector<Logged>& expected) const {
  std::size_t next = 0;
  bool matches = true;
  for (const Logged& wanted : expected) {
    if (next < entries_.size() && entries_[next] == wanted) {
      ++next;
    } else if (!wanted.optional) {
      matches = false;
      break;
    }
  }
  if (matches && next == entries_.size()) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "expected:" << Dump(expected) << "\nactual:" << Dump();
}
