// pravel-cli on real files: the files it writes, byte for byte, what it
// prints and its exit status.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "support/TempDir.h"
#include "unit/html_worked_example.h"

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
using example::FinalPage;
using example::kCellEnd;
using example::kRowEnd;

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

const Text kNormalised = CrLfLines({" ", "menuname=<Fruit Shop>", " ", "linkname=<Apples>", "linkaddress=<apples.html>",
                                    " ", "linkname=<Pears>", "linkaddress=<pears.html>", " ", " ", "menuname=<Tools>",
                                    " ", "linkname=<Saw>", "linkaddress=<saw.html>", " "});

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
  example::WriteTemplates(folder);
  WriteFile(folder / "Pravel_Input.txt", example::kDefinition);
}

TEST_F(Cli, BuildWritesWhatTheFourStepsWrite) {
  WriteWorkedExample(".");
  const Result r = Run({"build", "Pravel_Input.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile("ShowDraft.Html"), example::Lines(example::DraftLines()));
  EXPECT_EQ(ReadFile("MenusOnly.txt"), example::Lines(example::kMenuLines));
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
  for (const auto& [option, separator] : {std::pair{"--columns=1", kRowEnd}, std::pair{"--columns=  3", kCellEnd}}) {
    WriteWorkedExample(".");
    EXPECT_EQ(Run({"build", "Pravel_Input.txt", option}).status, 0);
    EXPECT_EQ(ReadFile("Pravel.html"), FinalPage(separator)) << option;
  }
  WriteWorkedExample(".");
  EXPECT_EQ(Run({"build", "Pravel_Input.txt", "--columns", "3 cols"}).status, 0);
  EXPECT_EQ(ReadFile("Pravel.html"), FinalPage(kRowEnd));
}

TEST_F(Cli, DashCRunsAsIfStartedInTheFolder) {
  WriteWorkedExample(".");
  fs::current_path(dir_.Path());
  const Result r = Run({"-C", "w", "build", "Pravel_Input.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(fs::path(work_) / "Pravel.html"), FinalPage(kCellEnd));
  EXPECT_FALSE(FileExists("Pravel.html"));
  EXPECT_NE(r.out.find("Located Here: " + work_ + "\n"), Text::npos) << r.out;
}

TEST_F(Cli, ExitStatusAndWhatIsSaid) {
  const Text unbalanced = CrLfLines({"menuname=<A>", "linkname=<one>", "linkname=<two>", "linkaddress=<a>"});
  struct Case {
    std::vector<Text> args;
    int status;
    const char* printed;  // in standard output, or standard error when the status is not 0
  };
  const Case cases[] = {
      {{"validate", "Pravel_Input.txt"}, 0, "SO FAR: there are 3  LinkAddresses coded and 3 LinkNames coded.\n"},
      {{"validate", "unbalanced.txt"}, 1, "Please, first do the following steps successfully:\n"},
      {{"build", "unbalanced.txt"}, 1, "Please, first do the following steps successfully:\n"},
      {{"build", "Pravel_Input.txt", "--columns", "4"}, 1, "Could not write Pravel.html: "},
      {{"build", "missing.txt"}, 2, "Cannot open the input file "},
      {{"build", "folder.txt"}, 2, "Cannot open the input file "},
      {{"-C", "no such folder", "build", "Pravel_Input.txt"}, 2, "cannot change to the folder no such folder"},
      {{}, 2, "Try 'pravel-cli --help'."},
      {{"frobnicate", "Pravel_Input.txt"}, 2, "unknown command 'frobnicate'"},
      {{"build"}, 2, "build needs a DEFINITION file"},
      {{"build", "a.txt", "b.txt"}, 2, "Try 'pravel-cli --help'."},
      {{"build", "Pravel_Input.txt", "--colour"}, 2, "unknown option '--colour' for build"},
      {{"build", "Pravel_Input.txt", "--columns"}, 2, "--columns needs a value"},
      {{"validate", "Pravel_Input.txt", "--show"}, 2, "unknown option '--show' for validate"},
      {{"-C"}, 2, "-C needs a folder"},
  };
  for (const Case& c : cases) {
    WriteWorkedExample(".");
    WriteFile("unbalanced.txt", unbalanced);
    fs::create_directory("folder.txt");
    if (c.printed == Text("Could not write Pravel.html: ")) fs::create_directory("Pravel.html");
    const Result r = Run(c.args);
    const Text where = c.args.empty() ? "" : c.args[0] + " " + c.args.back();
    EXPECT_EQ(r.status, c.status) << where;
    EXPECT_NE((c.status == 0 ? r.out : r.err).find(c.printed), Text::npos) << where << ": " << r.out << r.err;
    if (c.status != 0) {
      EXPECT_EQ(r.out.find("newly created"), Text::npos) << where;
    }
    fs::remove_all("Pravel.html");
  }
}

TEST_F(Cli, HelpAndVersion) {
  const Result help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: pravel-cli [-C DIR] validate DEFINITION\n")) << help.out;
  EXPECT_EQ(Run({"--version"}).out, Text("pravel-cli ") + PRAVEL_VERSION + "\n");
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
}
#endif

}  // namespace
}  // namespace pravel
