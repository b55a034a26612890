// The whole road of one definition, as a user takes it: Open Input through
// the open dialog, Validate Input, Build Html, Save/Show Html, with every
// message, caption and status line, and the files on disk byte for byte.
#include <gtest/gtest.h>

#include "Cli.h"
#include "Expect.h"
#include "Files.h"
#include "GuiSetup.h"
#include "PravelApp.h"
#include "app/win32/ControlIds.h"

namespace pravel::gui {
namespace {

using namespace pravel::win32;

const char* const kTemplates[] = {"Pravel.ini", "HdrOnly.txt", "TableHdr_template.txt", "TrlOnly.txt"};

// The shop definition regrouped: menus and their links in sorted order,
// remarks and blank lines gone.
const std::string kNormalised = CrLfLines({" ", "menuname=<Fruit Shop>", " ", "linkname=<Apples>",
                                           "linkaddress=<apples.html>", " ", "linkname=<Pears>",
                                           "linkaddress=<pears.html>", " ", " ", "menuname=<Tools>", " ",
                                           "linkname=<Saw>", "linkaddress=<saw.html>", " "});
const std::string kSortedRecords = CrLfLines({"menuname=<Fruit Shop>linkname=<Apples>linkaddress=<apples.html>",
                                              "menuname=<Fruit Shop>linkname=<Pears>linkaddress=<pears.html>",
                                              "menuname=<Tools>linkname=<Saw>linkaddress=<saw.html>"});
const std::string kMenuLines[] = {
    "<td><form name=\"Fruit_Shop\">",
    "<select name=\"Fruit_Shop\" onchange=\"location=this.value\">",
    "<option value=\"\">Fruit_Shop</option>",
    "<option value=\"apples.html\">Apples</option>",
    "<option value=\"pears.html\">Pears</option>",
    "</select>",
    "<td><form name=\"Tools\">",
    "<select name=\"Tools\" onchange=\"location=this.value\">",
    "<option value=\"\">Tools</option>",
    "<option value=\"saw.html\">Saw</option>",
};
const std::string kMenusOnly = CrLfLines({kMenuLines[0], kMenuLines[1], kMenuLines[2], kMenuLines[3], kMenuLines[4],
                                          kMenuLines[5], kMenuLines[6], kMenuLines[7], kMenuLines[8], kMenuLines[9]});
const std::string kDraftPage = CrLfLines({"<html><body>", "<div style=\"text-align:left\">"}) + kMenusOnly +
                               CrLfLines({"</select></td></tr></table></div><br></body></html>"});
const std::string kFinalPage =
    CrLfLines({"<html><body>", "<div style=\"text-align:left\">", "<table>", "<tr style=\"text-align:center\">",
               kMenuLines[0], kMenuLines[1], kMenuLines[2], kMenuLines[3], kMenuLines[4], kMenuLines[5], "</td>",
               kMenuLines[6], kMenuLines[7], kMenuLines[8], kMenuLines[9],
               "</select></td></tr></table></div></body></html>"});

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

TEST(Road, OpenValidateBuildSaveShowWithExactMessagesAndFiles) {
  PravelApp app;
  for (const char* name : kTemplates) app.CopyData(name);
  app.CopyData("Shop_Input.txt");
  const std::string definition = ReadFile(app.File("Shop_Input.txt"));
  ASSERT_TRUE(app.Start());
  app.Screenshot("0-start");

  // Step 1: the open dialog, a name typed into it.
  app.Click(kOpenInput.x, kOpenInput.y);
  std::string nameShown;
  ASSERT_TRUE(app.OpenInOpenDialog("Shop_Input.txt", &nameShown));
  EXPECT_EQ(nameShown, "Pravel_Input.txt");  // the name offered beforehand
  EXPECT_EQ(CaptionOnceItIs(app, kCaptionStep2), kCaptionStep2);
  EXPECT_EQ(StatusOnceItIs(app, StatusText(0, 1, 0, 0)), StatusText(0, 1, 0, 0));
  EXPECT_EQ(WithCrOnly(app.PaneText()), WithCrOnly(definition));
  EXPECT_EQ(app.PaneLengthWithCrLf(), static_cast<long>(definition.size()));
  EXPECT_EQ(app.ComboEntries(), (std::vector<std::string>{"~ GoTo MenuName", "<Fruit Shop>", "<Tools>"}));
  EXPECT_EQ(app.ComboSelection(), 0);
  EXPECT_EQ(WhiteOutlineOnceItIs(app, ""), "");  // Open Input outlines nothing
  EXPECT_GT(app.CaptureButtonBar().DistinctColours(0, 0, 600, 143), 50u) << "the picture is gone after Open Input";
  EXPECT_TRUE(app.NoBoxAppears());
  EXPECT_FALSE(FileExists(app.File("PravelTrace.txt")));
  app.Screenshot("1-opened");

  // Step 2: the count report.
  app.Click(kValidateInput.x, kValidateInput.y);
  EXPECT_EQ(app.ConfirmMessage("2-validation-report"), ValidationReport(2, 3, 3));
  EXPECT_EQ(CaptionOnceItIs(app, kCaptionStep3), kCaptionStep3);
  EXPECT_EQ(StatusOnceItIs(app, StatusText(0, 1, 1, 0)), StatusText(0, 1, 1, 0));
  EXPECT_EQ(WhiteOutlineOnceItIs(app, "ValidateInput"), "ValidateInput");
  EXPECT_TRUE(WaitUntil([&] { return FileExists(app.File("PravelTrace.txt")); }, 5000));
  EXPECT_EQ(ReadFile(app.File("PravelTrace.txt")), "");
  EXPECT_TRUE(app.NoBoxAppears());
  app.Screenshot("2-validated");

  // Step 3: validated again, the menu name with a blank reported, the
  // definition regrouped into the pane and the input file.
  app.Click(kBuildHtml.x, kBuildHtml.y);
  EXPECT_EQ(app.ConfirmMessage("3-validation-report-again"), ValidationReport(2, 3, 3));
  EXPECT_EQ(app.ConfirmMessage("3-menu-name-changed"),
            "No spaces allowed in MenuName: \r\nMenuName changed from   Fruit Shop   to   Fruit_Shop");
  EXPECT_EQ(CaptionOnceItIs(app, kCaptionStep4), kCaptionStep4);
  EXPECT_EQ(StatusOnceItIs(app, StatusText(0, 1, 1, 1)), StatusText(0, 1, 1, 1));
  EXPECT_EQ(WhiteOutlineOnceItIs(app, "BuildHtml"), "BuildHtml");
  EXPECT_TRUE(app.NoBoxAppears());
  EXPECT_EQ(ReadFile(app.File("Sorted_Pravel.txt")), kSortedRecords);
  EXPECT_EQ(ReadFile(app.File("ValidatedInput.txt")), kNormalised);
  EXPECT_EQ(ReadFile(app.File("Shop_Input.txt")), kNormalised);
  EXPECT_EQ(ReadFile(app.File("Shop_Input.txt.bak")), definition) << "the user's own text is not kept";
  EXPECT_EQ(ReadFile(app.File("ShowDraft.Html")), kDraftPage);
  EXPECT_EQ(WithCrOnly(app.PaneText()), WithCrOnly(kNormalised));
  EXPECT_TRUE(IsWindowVisible(app.Control(kIdSortedList)));
  EXPECT_EQ(app.ListItems(kIdSortedList), Lines(kNormalised));
  app.Screenshot("3-built");

  // Step 4: the page and its companions written, the page shown.
  app.Click(kSaveShowHtml.x, kSaveShowHtml.y);
  EXPECT_EQ(app.ConfirmMessage("4-files-created"),
            "The following files are newly created:\r\n Pravel.html \r\n Pravel.txt \r\n MenusOnly.txt \r\n\r\n"
            "Located Here: " +
                app.Folder());
  EXPECT_EQ(CaptionOnceItIs(app, kCaptionDone), kCaptionDone);
  EXPECT_EQ(StatusOnceItIs(app, StatusText(0, 1, 0, 0)), StatusText(0, 1, 0, 0));
  EXPECT_EQ(WhiteOutlineOnceItIs(app, "SaveShowHtml"), "SaveShowHtml");
  EXPECT_TRUE(app.NoBoxAppears());
  EXPECT_EQ(ReadFile(app.File("MenusOnly.txt")), kMenusOnly);
  EXPECT_EQ(ReadFile(app.File("Pravel.html")), kFinalPage);
  EXPECT_EQ(ReadFile(app.File("Pravel.txt")), kFinalPage);
  EXPECT_EQ(ReadFile(app.File("PravelTrace.txt")), "");
  EXPECT_EQ(ReadFile(Paths().showLog), app.File("Pravel.Html") + "\r\n") << "the page was not shown once";
  app.Screenshot("4-saved-and-shown");

  // The finished step 4 is not repeated without steps 2 and 3; step 2 is
  // open again at once.
  app.Click(kSaveShowHtml.x, kSaveShowHtml.y);
  EXPECT_EQ(app.ConfirmMessage("5-save-show-refused"), GuardText(0, 1, 0, 0));
  app.Click(kValidateInput.x, kValidateInput.y);
  EXPECT_EQ(app.ConfirmMessage("5-validation-report"), ValidationReport(2, 3, 3));
  EXPECT_EQ(CaptionOnceItIs(app, kCaptionStep3), kCaptionStep3);
  EXPECT_EQ(StatusOnceItIs(app, StatusText(0, 1, 1, 0)), StatusText(0, 1, 1, 0));
  app.Screenshot("5-validated-again");

  // The command-line front writes the same files for the same input.
  if (Paths().cli.empty()) GTEST_SKIP() << "pravel-cli.exe is not built: files not compared with it";
  const std::string cliFolder = JoinPath(app.Folder(), "cli");
  ASSERT_TRUE(RecreateFolder(cliFolder));
  for (const char* name : kTemplates) app.CopyData(name, JoinPath("cli", name));
  app.CopyData("Shop_Input.txt", JoinPath("cli", "Shop_Input.txt"));
  ASSERT_EQ(RunCli(cliFolder, "build Shop_Input.txt"), 0ul) << ReadFile(JoinPath(cliFolder, "cli-output.txt"));
  for (const char* name : {"Sorted_Pravel.txt", "ValidatedInput.txt", "Shop_Input.txt", "ShowDraft.Html",
                           "MenusOnly.txt", "Pravel.html", "Pravel.txt"}) {
    EXPECT_EQ(ReadFile(app.File(name)), ReadFile(JoinPath(cliFolder, name))) << name;
  }
}

// Opens the shop definition and validates it; the test goes on from step 3.
void OpenAndValidate(PravelApp& app, const std::string& typedName) {
  app.Click(kOpenInput.x, kOpenInput.y);
  ASSERT_TRUE(app.OpenInOpenDialog(typedName));
  ASSERT_EQ(CaptionOnceItIs(app, kCaptionStep2), kCaptionStep2);
  app.Click(kValidateInput.x, kValidateInput.y);
  ASSERT_EQ(app.ConfirmMessage(), ValidationReport(2, 3, 3));
  ASSERT_EQ(CaptionOnceItIs(app, kCaptionStep3), kCaptionStep3);
}

TEST(Road, BuildValidatesTheEditedPaneAgainAndRefusesAnEmptyStatement) {
  PravelApp app;
  for (const char* name : kTemplates) app.CopyData(name);
  app.CopyData("Shop_Input.txt");
  ASSERT_TRUE(app.Start());
  ASSERT_NO_FATAL_FAILURE(OpenAndValidate(app, "Shop_Input.txt"));
  // A link template pasted and not filled in.
  app.SetPaneSelection(0, 0);
  app.Click(kPasteLink.x, kPasteLink.y);
  EXPECT_TRUE(WaitUntil([&] { return app.PaneText().find("linkname=<>") != std::string::npos; }, 5000));
  app.Click(kBuildHtml.x, kBuildHtml.y);
  EXPECT_EQ(app.ConfirmMessage(), ValidationReport(2, 4, 4, true));
  EXPECT_EQ(app.ConfirmMessage(), GuardText(3, 1, 0, 0));
  EXPECT_EQ(StatusOnceItIs(app, StatusText(3, 1, 0, 0)), StatusText(3, 1, 0, 0));
  EXPECT_EQ(app.Caption(), kCaptionStep3);
  EXPECT_TRUE(app.NoBoxAppears());
  // Nothing was built or rewritten.
  for (const char* name : {"ShowDraft.Html", "Sorted_Pravel.txt", "ValidatedInput.txt", "Shop_Input.txt.bak"}) {
    EXPECT_FALSE(FileExists(app.File(name))) << name;
  }
  app.Screenshot("build-refused");
}

TEST(Road, CancelledOpenDialogMovesTheCaptionOnlyAndLaterStepsStayRefused) {
  PravelApp app;
  ASSERT_TRUE(app.Start());
  app.Click(kOpenInput.x, kOpenInput.y);
  ASSERT_TRUE(app.CancelDialog(kOpenDialogTitle));
  EXPECT_EQ(app.ConfirmMessage(), kNoFileSelected);
  EXPECT_EQ(CaptionOnceItIs(app, kCaptionStep2), kCaptionStep2);
  EXPECT_EQ(StatusOnceItIs(app, StatusText(0, 0, 0, 0)), StatusText(0, 0, 0, 0));
  EXPECT_EQ(app.PaneText(), kPaneAtStart);
  // Text typed into the pane is not a definition opened in this run.
  app.SetPaneText("menuname=<Fruit>\r\nlinkname=<Apples>\r\nlinkaddress=<apples.html>");
  app.Click(kValidateInput.x, kValidateInput.y);
  EXPECT_EQ(app.ConfirmMessage(), GuardText(0, 0, 0, 0));
  EXPECT_EQ(app.Caption(), kCaptionStep2);
}

}  // namespace
}  // namespace pravel::gui
