// Writing a file in large pieces while its text is produced.
//
// A page or a record file of a million lines is written from its lines as
// they stand: neither joined into a second copy of the whole text first,
// nor handed to the system one line at a time.
#pragma once

#include <cstdio>
#include <span>
#include <string_view>

#include "text/Text.h"
#include "text/TextFile.h"

namespace pravel {

class FileWriter {
 public:
  // Creates or empties the file; a failure shows in Finish.
  explicit FileWriter(const Text& name);
  ~FileWriter();
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  void Append(std::string_view text);
  void AppendLine(std::string_view text) {
    Append(text);
    Append(CRLF);
  }
  // Writes what is left and closes the file; the outcome of the whole write.
  FileResult Finish();

 private:
  void Flush();
  void Fail(int error);

  std::FILE* file_;
  Text buffer_;
  FileResult result_;
};

// The lines, each followed by CR LF.
FileResult FileWriteLines(const Text& name, std::span<const Text> lines);

}  // namespace pravel
