// pravel-cli on real files: the files it writes, byte for byte, what it
// prints and its exit status.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "support/TempDir.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace pravel {
namespace {

namespace fs = std::filesystem;
using test::CrLfLines;
using test::FileExists;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// The cross build runs this test under Wine, where the Unix root is drive Z:.
Text NativePath(Text path) {
#ifdef _WIN32
  if (path.starts_with("/")) {
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    path = "Z:" + path;
  }
#endif
  return path;
}

Text Quoted(const Text& arg) {
#ifdef _WIN32
  return "\"" + arg + "\"";
#else
  Text out = "'";
  for (char c : arg) out += c == '\'' ? Text("'\\''") : Text(1, c);
  return out + "'";
#endif
}

// What the program printed, as a text with "\n" line breaks: the console
// form of the platform turned back, so expectations read the same everywhere.
Text Printed(const Text& captured) {
  Text out;
  for (std::size_t i = 0; i < captured.size(); ++i) {
#ifdef _WIN32
    if (captured[i] == '\r' && i + 1 < captured.size() && captured[i + 1] == '\n') continue;
#endif
    out += captured[i];
  }
  return out;
}

struct Result {
  int status = -1;
  Text out;
  Text err;
};

// A fresh folder with a work folder "w" in it, made the current directory;
// what the program prints is captured beside it.
class Cli : public ::testing::Test {
 protected:
  Cli() {
    fs::create_directory("w");
    fs::current_path("w");
    work_ = fs::current_path().string();
  }

  Result Run(const std::vector<Text>& args, const Text& prefix = {}) {
    const Text outFile = dir_.File("out.txt");
    const Text errFile = dir_.File("err.txt");
    Text command = prefix + Quoted(NativePath(PRAVEL_CLI_PATH));
    for (const Text& arg : args) {
      command += ' ';
      command += Quoted(arg);
    }
    command += " >" + Quoted(outFile) + " 2>" + Quoted(errFile);
#ifdef _WIN32
    // cmd /c takes off one pair of quotes.
    Text wrapped = "\"";
    wrapped += command;
    wrapped += '"';
    command = std::move(wrapped);
#endif
    Result result;
    const int raw = std::system(command.c_str());
#ifdef _WIN32
    result.status = raw;
#else
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    result.out = Printed(ReadFile(outFile));
    result.err = Printed(ReadFile(errFile));
    return result;
  }

  TempDir dir_;
  Text work_;
};

const Text kPageTemplate = CrLfLines({
    "<!--qx html hdr-->",
    "<html><body>",
    "<div style=\"text-align:left\">",
    "<!--/qx html hdr-->",
    "<!--qx form template1-->",
    "<td><form name=\"xxx\">",
    "<select name=\"xxx\" onchange=\"location=this.value\">",
    "<option value=\"\">xxx</option>",
    "<!--/qx form template1-->",
    "<!--qx single form entry-->",
    "<option value=\"yyy\">zzz</option>",
});

const Text kDefinition = CrLfLines({
    "My menus",
    "menuname=<Tools>",
    "linkname=<Saw>",
    "linkaddress=<saw.html>",
    "menuname=<Fruit Shop>",
    "linkname=<Pears>",
    "linkaddress=<pears.html>",
    "linkname=<Apples>",
    "linkaddress=<apples.html>",
});

const Text kNormalised = CrLfLines({" ", "menuname=<Fruit Shop>", " ", "linkname=<Apples>", "linkaddress=<apples.html>",
                                    " ", "linkname=<Pears>", "linkaddress=<pears.html>", " ", " ", "menuname=<Tools>",
                                    " ", "linkname=<Saw>", "linkaddress=<saw.html>", " "});

const Text kMenuLines = CrLfLines({
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
});

const Text kDraft = CrLfLines({"<html><body>", "<div style=\"text-align:left\">"}) + kMenuLines +
                    CrLfLines({"</select></td></tr></table></div><br></body></html>"});

Text FinalPage(const Text& separator) {
  const std::size_t cut = kMenuLines.find("<td><form name=\"Tools\">");
  return CrLfLines({"<html><body>", "<div style=\"text-align:left\">", "<table>", "<tr style=\"text-align:center\">"}) +
         kMenuLines.substr(0, cut) + CrLfLines({separator}) + kMenuLines.substr(cut) +
         CrLfLines({"</select></td></tr></table></div></body></html>"});
}

const Text kCellEnd = "</td>";
const Text kRowEnd = "</td></tr><br><tr style=\"text-align:center\">";

const Text kReport =
    "Validation Results: \n"
    "    Input must contain at least 1 MenuName.\n"
    "SO FAR: there are 2 MenuNames coded.\n"
    "    Input must contain 1 LinkAddress for each LinkName, \n"
    "    ie., a one for one corespondence.\n"
    "SO FAR: there are 3  LinkAddresses coded and 3 LinkNames coded.\n"
    "\n"
    "\n";

void WriteWorkedExample(const fs::path& folder) {
  WriteFile(folder / "Pravel.ini", kPageTemplate);
  WriteFile(folder / "HdrOnly.txt", CrLfLines({"<html><body>", "<div style=\"text-align:left\">"}));
  WriteFile(folder / "TableHdr_template.txt", CrLfLines({"<table>", "<tr>"}));
  WriteFile(folder / "TrlOnly.txt", "</select></td></tr></table></div></body></html>");
  WriteFile(folder / "Pravel_Input.txt", kDefinition);
}

TEST_F(Cli, BuildWritesWhatTheFourStepsWrite) {
  WriteWorkedExample(".");
  const Result r = Run({"build", "Pravel_Input.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile("ShowDraft.Html"), kDraft);
  EXPECT_EQ(ReadFile("MenusOnly.txt"), kMenuLines);
  EXPECT_EQ(ReadFile("Pravel.html"), FinalPage(kCellEnd));
  EXPECT_EQ(ReadFile("Pravel.txt"), FinalPage(kCellEnd));
  EXPECT_TRUE(FileExists("PravelTrace.txt"));
  EXPECT_EQ(ReadFile("PravelTrace.txt"), "");
  EXPECT_EQ(ReadFile("Pravel_Input.txt"), kNormalised);
  EXPECT_EQ(ReadFile("ValidatedInput.txt"), kNormalised);

  // The report of step 2, again of step 3, then the list of created files.
  EXPECT_EQ(r.out, kReport + kReport +
                       "The following files are newly created:\n Pravel.html \n Pravel.txt \n MenusOnly.txt \n\n"
                       "Located Here: " +
                       work_ + "\n");
  EXPECT_NE(r.err.find("No spaces allowed in MenuName: \nMenuName changed from   Fruit Shop   to   Fruit_Shop\n"),
            Text::npos)
      << r.err;
}

TEST_F(Cli, ColumnsAsTypedInTheColumnsField) {
  struct Case {
    std::vector<Text> options;
    Text separator;
  };
  const Case cases[] = {
      {{}, kCellEnd},
      {{"--columns", "1"}, kRowEnd},
      {{"--columns=2"}, kCellEnd},
      {{"--columns", "  3"}, kCellEnd},
      {{"--columns", "3 cols"}, kRowEnd},
      {{"--columns", "-2"}, kRowEnd},
      {{"--columns", ""}, kRowEnd},
  };
  for (const Case& c : cases) {
    WriteWorkedExample(".");
    std::vector<Text> args = {"build", "Pravel_Input.txt"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Result r = Run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile("Pravel.html"), FinalPage(c.separator)) << (c.options.empty() ? "" : c.options.back());
  }
}

TEST_F(Cli, DashCRunsAsIfStartedInTheFolder) {
  WriteWorkedExample(".");
  fs::current_path(dir_.Path());
  const Result r = Run({"-C", "w", "build", "Pravel_Input.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(fs::path(work_) / "Pravel.html"), FinalPage(kCellEnd));
  EXPECT_FALSE(FileExists("Pravel.html"));
  EXPECT_NE(r.out.find("Located Here: " + work_ + "\n"), Text::npos) << r.out;

  const Result missing = Run({"-C", "no such folder", "build", "Pravel_Input.txt"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("cannot change to the folder no such folder"), Text::npos) << missing.err;
}

TEST_F(Cli, BuildingTheRegroupedDefinitionAgainGivesTheSamePage) {
  WriteWorkedExample(".");
  ASSERT_EQ(Run({"build", "Pravel_Input.txt", "--columns", "1"}).status, 0);
  ASSERT_EQ(Run({"build", "Pravel_Input.txt", "--columns", "1"}).status, 0);
  EXPECT_EQ(ReadFile("Pravel_Input.txt"), kNormalised);
  EXPECT_EQ(ReadFile("Pravel.txt"), FinalPage(kRowEnd));
}

TEST_F(Cli, Validate) {
  WriteWorkedExample(".");
  const Result ok = Run({"validate", "Pravel_Input.txt"});
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(ok.out, kReport);
  EXPECT_EQ(ok.err, "");
  EXPECT_EQ(ReadFile("Pravel_Input.txt"), kDefinition);  // validating changes nothing
  EXPECT_FALSE(FileExists("ShowDraft.Html"));
}

TEST_F(Cli, RefusedDefinitionExitsWithOne) {
  const Text unbalanced = CrLfLines({"menuname=<A>", "linkname=<one>", "linkname=<two>", "linkaddress=<a>"});
  for (const char* command : {"validate", "build"}) {
    WriteWorkedExample(".");
    WriteFile("Pravel_Input.txt", unbalanced);
    const Result r = Run({command, "Pravel_Input.txt"});
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_NE(r.out.find("SO FAR: there are 1  LinkAddresses coded and 2 LinkNames coded."), Text::npos) << r.out;
    EXPECT_NE(r.err.find("Please, first do the following steps successfully:\n"), Text::npos) << r.err;
    EXPECT_FALSE(FileExists("Pravel.html"));
    EXPECT_EQ(ReadFile("Pravel_Input.txt"), unbalanced);
    EXPECT_EQ(ReadFile("PravelTrace.txt"), "");
  }
}

TEST_F(Cli, PageThatCannotBeWrittenIsReportedNotClaimed) {
  WriteWorkedExample(".");
  fs::create_directory("Pravel.html");
  const Result r = Run({"build", "Pravel_Input.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Could not write Pravel.html: "), Text::npos) << r.err;
  EXPECT_EQ(r.out.find("newly created"), Text::npos) << r.out;
  EXPECT_FALSE(FileExists("Pravel.txt"));
}

TEST_F(Cli, UsageErrorsExitWithTwo) {
  WriteWorkedExample(".");
  const std::vector<std::vector<Text>> cases = {
      {},
      {"frobnicate", "Pravel_Input.txt"},
      {"build"},
      {"build", "Pravel_Input.txt", "other.txt"},
      {"build", "Pravel_Input.txt", "--colour"},
      {"build", "Pravel_Input.txt", "--columns"},
      {"validate", "Pravel_Input.txt", "--show"},
      {"-C"},
      {"-C", "."},
      {"Pravel_Input.txt", "build"},
  };
  for (const auto& args : cases) {
    const Result r = Run(args);
    EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]);
    EXPECT_NE(r.err.find("Try 'pravel-cli --help'."), Text::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_FALSE(FileExists("PravelTrace.txt"));
}

TEST_F(Cli, UnreadableDefinitionExitsWithTwo) {
  WriteWorkedExample(".");
  fs::create_directory("folder.txt");
  WriteFile("binary.txt", Text("menuname=<A>\0", 13));
  for (const char* definition : {"missing.txt", "folder.txt", "binary.txt"}) {
    const Result r = Run({"build", definition});
    EXPECT_EQ(r.status, 2) << definition;
    EXPECT_NE(r.err.find("Cannot open the input file "), Text::npos) << r.err;
    EXPECT_FALSE(FileExists("ShowDraft.Html"));
  }
}

TEST_F(Cli, HelpAndVersion) {
  const Result help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: pravel-cli [-C DIR] validate DEFINITION\n")) << help.out;
  EXPECT_EQ(Run({"build", "x.txt", "-h"}).out, help.out);

  const Result version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, Text("pravel-cli ") + PRAVEL_VERSION + "\n");
}

TEST_F(Cli, TheExampleBuilds) {
  for (const char* name : {"Pravel_Input.txt", "Pravel.ini", "HdrOnly.txt", "TableHdr_template.txt", "TrlOnly.txt"}) {
    fs::copy_file(fs::path(NativePath(PRAVEL_EXAMPLES_DIR)) / name, name);
  }
  const Result r = Run({"build", "Pravel_Input.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  const Text page = ReadFile("Pravel.html");
  EXPECT_TRUE(page.starts_with("<!DOCTYPE html>\r\n")) << page;
  std::size_t selects = 0;
  for (std::size_t at = page.find("<select "); at != Text::npos; at = page.find("<select ", at + 1)) ++selects;
  EXPECT_EQ(selects, 5u);
  EXPECT_NE(page.find("<option value=\"https://neovim.io/\">Neovim</option>"), Text::npos);
}

#ifndef _WIN32
// --show hands the page, under the name it was written with, to the
// platform's opener; a stand-in opener on the PATH records what it got.
TEST_F(Cli, ShowOpensThePage) {
  WriteWorkedExample(".");
  const fs::path bin = dir_.Path() / "bin";
  fs::create_directory(bin);
  const fs::path opened = dir_.Path() / "opened.txt";
  WriteFile(bin / "xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > " + Quoted(opened.string()) + "\n");
  fs::permissions(bin / "xdg-open", fs::perms::owner_all);

  const Result r = Run({"build", "Pravel_Input.txt", "--show"}, "PATH=" + Quoted(bin.string()) + ":\"$PATH\" ");
  EXPECT_EQ(r.status, 0) << r.err;
  // The opener is not waited for.
  for (int i = 0; i < 100 && !FileExists(opened); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(ReadFile(opened), (fs::path(work_) / "Pravel.html").string());

  fs::remove(opened);
  ASSERT_EQ(Run({"build", "Pravel_Input.txt"}, "PATH=" + Quoted(bin.string()) + ":\"$PATH\" ").status, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(FileExists(opened));
}
#endif

}  // namespace
}  // namespace pravel
