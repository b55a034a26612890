#include "app/PravelFiles.h"

#include <array>

#include "text/TextFile.h"

namespace pravel {

namespace {

constexpr std::array<const char*, 11> kPravelFileNames = {
    kTraceFileName, kSortedRecordsName, kValidatedInputName, kDraftFileName,       kMenusOnlyName,   kPageName,
    kPageCopyName,  kPageTemplateName,  kHeaderFileName,     kTableHeaderFileName, kTrailerFileName,
};

// File names as the platform compares them.
bool SameName(const Text& a, const Text& b) {
#ifdef _WIN32
  return TextLower(a) == TextLower(b);
#else
  return a == b;
#endif
}

}  // namespace

Text PravelFileAt(const Text& path, const Text& outputFolder) {
  const bool inOutputFolder = SameFile(FolderOf(path), outputFolder);
  for (const char* name : kPravelFileNames) {
    if (SameFile(path, PathIn(outputFolder, name))) return name;
    if (inOutputFolder && SameName(FileNameOf(path), name)) return name;
  }
  return {};
}

Text PravelFileReason(const Text& name) {
  return name + " is a file Pravel writes or reads as a template; save the definition under another name";
}

Text Utf8FromNowOn(const Text& name) {
  return name + " is saved as UTF-8 from now on: it holds characters its former encoding cannot hold.";
}

}  // namespace pravel
