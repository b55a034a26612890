// Tells the Host that a step which may take long is at work, for as long as
// it runs, however it ends.
#pragma once

#include "app/Host.h"

namespace pravel {

class WorkScope {
 public:
  WorkScope(Host& host, const Text& what) : host_(host) { host_.StartWork(what); }
  ~WorkScope() { host_.EndWork(); }
  WorkScope(const WorkScope&) = delete;
  WorkScope& operator=(const WorkScope&) = delete;

 private:
  Host& host_;
};

}  // namespace pravel
