// The trace log: which routines ran, for debugging.
//
// Off unless the program is built with PRAVEL_TRACE: no command, option or
// file turns it on, so in normal use the routines add nothing to it.
#pragma once

#include <string_view>

#include "text/Text.h"

#ifndef PRAVEL_TRACE_DEFAULT
#define PRAVEL_TRACE_DEFAULT 0
#endif

namespace pravel {

inline constexpr std::string_view kTracePrefix = "Here we are in: ";

class TraceLog {
 public:
  int TraceEnabled = PRAVEL_TRACE_DEFAULT;
  Text TraceText;

  // Adds "Here we are in: " + suffix + CR LF while tracing is on.
  void Trace(std::string_view suffix) {
    if (!TraceEnabled) return;
    TraceText.append(kTracePrefix);
    AppendLine(TraceText, suffix);
  }
  void Clear() { TraceText.clear(); }
};

}  // namespace pravel
