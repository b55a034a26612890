// The editor tools' texts: the Save As name and the help link.
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

TEST(EditorTools, TheHelpLinkNamesThePageInAnyFolderAndSurvivesHandEditing) {
  const Text page = "C:\\Prävel clé\\50%\\Pravel_Help.html";
  EXPECT_EQ(HelpLinkText(page),
            "[InternetShortcut]\r\nURL=file:///C:/Pr%C3%A4vel%20cl%C3%A9/50%25/Pravel_Help.html\r\n");
  EXPECT_EQ(HelpLinkFile(HelpLinkText(page)), "C:/Prävel clé/50%/Pravel_Help.html");
  EXPECT_EQ(HelpLinkFile("URL=file:///C:/a%ZZb%4"), "C:/a%ZZb%4");  // no hex digits: as written
  EXPECT_EQ(HelpLinkFile("URL=https://example.org/help"), std::nullopt);
}

}  // namespace
}  // namespace pravel
