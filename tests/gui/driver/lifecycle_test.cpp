// The program's ends (Exit and the close box), Help, and a large definition
// loaded whole.
#include <gtest/gtest.h>

#include <cstdio>

#include "Expect.h"
#include "Files.h"
#include "GuiSetup.h"
#include "PravelApp.h"

namespace pravel::gui {
namespace {

TEST(Ending, ExitAndTheCloseBoxEndTheProgramWithCodeZero) {
  struct EndCase {
    const char* how;
    bool exitZone;  // otherwise the close box
  };
  for (const EndCase& c : {EndCase{"Exit zone", true}, EndCase{"close box", false}}) {
    SCOPED_TRACE(c.how);
    PravelApp app;
    ASSERT_TRUE(app.Start());
    if (c.exitZone) {
      app.Click(kExit.x, kExit.y);
    } else {
      app.CloseWindow();
    }
    const std::optional<DWORD> code = app.WaitForExit();
    ASSERT_TRUE(code) << "the program is still running";
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(FileExists(app.File("PravelTrace.txt"))) << "ending wrote the trace file";
  }
}

TEST(Help, OpensTheHelpLinkWithTheProgramRegisteredForIt) {
  PravelApp app;
  ASSERT_TRUE(app.Start());
  RemoveFile(Paths().showLog);
  app.Click(kHelp.x, kHelp.y);
  EXPECT_TRUE(WaitUntil([] { return FileExists(Paths().showLog); }, 10000)) << "nothing was opened";
  // Wine's shell looks a bare name up beside the program before the current
  // directory; both hold the same link here.
  const std::string shown = ReadFile(Paths().showLog);
  EXPECT_TRUE(shown == app.File("Pravel_Help.url") + "\r\n" ||
              shown == JoinPath(Paths().programDir, "Pravel_Help.url") + "\r\n")
      << "asked to show: " << shown;
  EXPECT_TRUE(app.NoBoxAppears());
  EXPECT_EQ(WhiteOutlineOnceItIs(app, "Help"), "Help");
  EXPECT_FALSE(FileExists(app.File("PravelTrace.txt")));

  // The link leads to the help page that lies beside the program.
  const std::string link = ReadFile(app.File("Pravel_Help.url"));
  EXPECT_EQ(link.rfind("[InternetShortcut]\r\n", 0), 0u) << link;
  const std::size_t url = link.find("URL=file:///");
  ASSERT_NE(url, std::string::npos) << link;
  const std::string address = link.substr(url + 12, link.find("\r\n", url) - url - 12);
  std::string page;  // the address with its escaped blanks as blanks
  for (std::size_t i = 0; i < address.size(); ++i) {
    const bool blank = address.compare(i, 3, "%20") == 0;
    page += blank ? ' ' : address[i];
    if (blank) i += 2;
  }
  EXPECT_TRUE(FileExists(page)) << "the help page " << page << " is missing";
}

// About 1.2 MB: 2,000 menus of ten links each.
std::string LargeDefinition(int menus) {
  std::string text;
  char line[160];
  for (int m = 1; m <= menus; ++m) {
    std::snprintf(line, sizeof line, "menuname=<Menu_%05d>\r\n", m);
    text += line;
    for (int l = 1; l <= 10; ++l) {
      std::snprintf(line, sizeof line,
                    "linkname=<Entry %05d-%02d>\r\nlinkaddress=<https://example.org/menus/%05d/entries/%02d.html>\r\n",
                    m, l, m, l);
      text += line;
    }
  }
  return text;
}

TEST(LargeDefinition, OneMegabyteLoadsWholeAndValidates) {
  constexpr int kMenus = 2000;
  const std::string definition = LargeDefinition(kMenus);
  ASSERT_GT(definition.size(), 1u << 20);
  PravelApp app;
  ASSERT_TRUE(WriteFile(app.File("Big_Input.txt"), definition));
  ASSERT_TRUE(app.Start());
  app.Click(kOpenInput.x, kOpenInput.y);
  ASSERT_TRUE(app.OpenInOpenDialog("Big_Input.txt"));
  ASSERT_TRUE(WaitUntil([&] { return app.Caption() == kCaptionStep2; }, 120000)) << "not loaded within 2 minutes";
  EXPECT_EQ(app.PaneLengthWithCrLf(), static_cast<long>(definition.size()));
  const std::string pane = app.PaneText();
  EXPECT_TRUE(WithCrOnly(pane) == WithCrOnly(definition))
      << "the pane holds " << pane.size() << " characters; its end: \"" << pane.substr(pane.size() - std::min<std::size_t>(pane.size(), 80)) << "\"";
  const std::vector<std::string> entries = app.ComboEntries();
  ASSERT_EQ(entries.size(), static_cast<std::size_t>(kMenus) + 1);
  EXPECT_EQ(entries.back(), "<Menu_02000>");
  app.Screenshot("loaded");

  app.Click(kValidateInput.x, kValidateInput.y);
  const std::optional<Box> report = app.WaitForBox("Pravel", 120000);
  ASSERT_TRUE(report) << "no validation report within 2 minutes";
  EXPECT_EQ(report->text, ValidationReport(kMenus, kMenus * 10, kMenus * 10));
  app.Press(*report, IDOK);
  EXPECT_EQ(CaptionOnceItIs(app, kCaptionStep3), kCaptionStep3);
}

}  // namespace
}  // namespace pravel::gui
