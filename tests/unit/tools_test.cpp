// The editor tools' texts.
#include <gtest/gtest.h>

#include "tools/EditorTools.h"

namespace pravel {
namespace {

TEST(EditorTools, SaveAsAddsTxtUnlessTheNameEndsInExactlyTxt) {
  const std::pair<Text, Text> cases[] = {{"notes", "notes.txt"},
                                         {"notes.txt", "notes.txt"},
                                         {"notes.TXT", "notes.TXT.txt"},
                                         {"a.txt.bak", "a.txt.bak.txt"}};
  for (const auto& [typed, written] : cases) EXPECT_EQ(SaveAsName(typed), written) << typed;
  EXPECT_EQ(PasteTemplateText("PasteMenu"), "\r\nmenuname=<>\r\n\r\n");
  EXPECT_EQ(PasteTemplateText("PasteLink"), "\r\nlinkname=<>\r\nlinkaddress=<>\r\n\r\n");
}

}  // namespace
}  // namespace pravel
