// Holds a flag up for as long as a piece of work runs, however it ends:
// commands, the message pump and the searches use it to notice that they
// were called again from inside themselves.
#pragma once

namespace pravel {

class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace pravel
