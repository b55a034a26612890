#include "cli/CliHost.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "text/TextFile.h"

namespace pravel::cli {

namespace fs = std::filesystem;

namespace {

#ifndef _WIN32
// One argument for the POSIX shell, whatever it holds.
Text ShellQuoted(std::string_view text) {
  Text out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}
#endif

// Starts the platform's default program for the file and does not wait for
// it, as a double click would; whether it started is not reported.
void OpenWithDefaultProgram(const Text& path) {
  std::fflush(nullptr);
#if defined(_WIN32)
  // cmd's "start" takes its first quoted argument as a window title, hence
  // the empty one. Windows paths cannot hold a double quote.
  [[maybe_unused]] const int status = _wsystem((L"start \"\" \"" + PathOf(path).wstring() + L"\"").c_str());
#else
#if defined(__APPLE__)
  const Text opener = "open ";
#else
  const Text opener = "xdg-open ";
#endif
  [[maybe_unused]] const int status = std::system((opener + ShellQuoted(path) + " >/dev/null 2>&1 &").c_str());
#endif
}

}  // namespace

Text ConsoleText(std::string_view text) {
  Text out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

CliHost::CliHost(Text definitionPath, Text columns, bool show)
    : HeadlessHost(std::move(definitionPath), std::move(columns)), show_(show) {
  // Warnings can come by the million (one for every menu name with a
  // blank): standard error gets a buffer, so that they are not written one
  // system call each.
  static char buffer[1 << 16];
  std::setvbuf(stderr, buffer, _IOFBF, sizeof buffer);
}

void CliHost::ShowMessage(const Text& text, MessageKind kind) {
  std::FILE* stream = kind == MessageKind::Report ? stdout : stderr;
  // What the other stream holds goes out first, so the two keep their
  // order wherever they end up; a warning may wait in its buffer for the
  // next message or the end of the run.
  std::fflush(stream == stdout ? stderr : stdout);
  const Text line = ConsoleText(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stream);
  if (kind != MessageKind::Warning) std::fflush(stream);
}

Text FindFileIgnoringCase(const Text& path) {
  if (Exists(path)) return path;
  const Text wanted = TextLower(FileNameOf(path));
  try {
    for (const fs::directory_entry& entry : fs::directory_iterator(PathOf(FolderOf(path)))) {
      if (TextLower(NameOf(entry.path().filename())) == wanted) return NameOf(entry.path());
    }
  } catch (const fs::filesystem_error&) {
    // An unreadable folder: the name as it is.
  }
  return path;
}

void CliHost::ShowFile(const Text& fileName) {
  if (show_) OpenWithDefaultProgram(FindFileIgnoringCase(fileName));
}

void CliHost::EndProcess(int exitCode) {
  std::fflush(nullptr);
  std::exit(exitCode);
}

}  // namespace pravel::cli
