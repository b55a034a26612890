// Whole-file helpers for the GUI tests: the driver checks what the program
// wrote byte for byte, so nothing here converts line breaks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pravel::gui {

std::string JoinPath(const std::string& folder, const std::string& name);
// A Linux path as Wine shows it (drive Z: is the Linux root); others as given.
std::string WindowsPath(const std::string& path);

bool FileExists(const std::string& path);
// The whole file; empty when it cannot be read (check FileExists first).
std::string ReadFile(const std::string& path);
bool WriteFile(const std::string& path, std::string_view bytes);
bool CopyOneFile(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);
// Empties the folder (creating it and its parents when missing).
bool RecreateFolder(const std::string& path);
// The names in a folder as stored on disk, sorted.
std::vector<std::string> FolderNames(const std::string& folder);

// Lines joined with CR LF, each followed by CR LF, as the program writes them.
std::string CrLfLines(std::initializer_list<std::string_view> lines);
// Every line break counted as one character, as the rich edit pane counts.
std::string WithCrOnly(std::string_view text);

}  // namespace pravel::gui
