// The trace log: which routines ran, for debugging.
//
// Off unless the program is built with PRAVEL_TRACE; the file is still
// rewritten after each of the three later steps, so with the switch off it is
// always written empty.
#pragma once

#include <string_view>

#include "text/Text.h"

#ifndef PRAVEL_TRACE_DEFAULT
#define PRAVEL_TRACE_DEFAULT 0
#endif

namespace pravel {

inline constexpr const char* kTraceFileName = "PravelTrace.txt";
inline constexpr std::string_view kTracePrefix = "Here we are in: ";

class TraceLog {
 public:
  int TraceEnabled = PRAVEL_TRACE_DEFAULT;
  Text TraceText;

  // Adds "Here we are in: " + suffix + CR LF while tracing is on.
  void Trace(std::string_view suffix);
  void Clear() { TraceText.clear(); }
  // Rewrites "PravelTrace.txt" in the current directory with the whole text.
  // A failed write changes nothing in the workflow and is not reported.
  void WriteTraceFile() const;
};

}  // namespace pravel
