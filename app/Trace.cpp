#include "app/Trace.h"

#include "text/TextFile.h"

namespace pravel {

void TraceLog::Trace(std::string_view suffix) {
  if (!TraceEnabled) return;
  TraceText.append(kTracePrefix);
  AppendLine(TraceText, suffix);
}

void TraceLog::WriteTraceFile() const { FileWriteAll(kTraceFileName, TraceText); }

}  // namespace pravel
