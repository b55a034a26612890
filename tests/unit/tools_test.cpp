// The editor tools' texts.
#include <gtest/gtest.h>

#include "tools/EditorTools.h"

namespace pravel {
namespace {

TEST(EditorTools, SaveAsAddsTxtUnlessTheNameEndsInExactlyTxt) {
  // clang-format off
  const char* const cases[][2] = {
      {"notes", "notes.txt"}, {"notes.txt", "notes.txt"}, {"notes.TXT", "notes.TXT.txt"}, {"a.txt.bak", "a.txt.bak.txt"}};
  // clang-format on
  for (const auto& [typed, written] : cases) EXPECT_EQ(SaveAsName(typed), written) << typed;
}

}  // namespace
}  // namespace pravel
