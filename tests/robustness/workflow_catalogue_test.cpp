// Bad turns the command line cannot take: a definition that changes between
// the open dialog and the read, or between the open and the build; a page
// that cannot be written, then can; storage that runs out in the middle of
// a step. The workflow runs on a recording host, on real files.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <new>

#include "CliRun.h"
#include "FailingAllocation.h"
#include "Pages.h"
#include "app/Workflow.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

namespace pravel::test {
namespace {

namespace fs = std::filesystem;

// A host whose open dialog lets something happen to the chosen file after
// the user chose it and before the program reads it.
class ChangingHost : public RecordingHost {
 public:
  std::function<void(const Text&)> afterChoice;

  std::optional<Text> ChooseFile(const FileDialog& dialog) override {
    std::optional<Text> chosen = RecordingHost::ChooseFile(dialog);
    if (chosen && afterChoice) afterChoice(*chosen);
    return chosen;
  }
};

class WorkflowCatalogue : public ::testing::Test {
 protected:
  WorkflowCatalogue() : wf_(host_, dir_.Path().string()) { WriteTemplates(dir_.Path()); }

  // Open Input, Validate Input and Build Html on the file.
  void OpenValidateBuild(const Text& path) {
    host_.dialogAnswers.push_back(path);
    wf_.RunCommand("OpenInput");
    ASSERT_EQ(wf_.FileOpen, 1) << host_.LastMessage();
    wf_.RunCommand("ValidateInput");
    ASSERT_EQ(wf_.FileValidated, 1) << host_.LastMessage();
    wf_.RunCommand("BuildHtml");
    ASSERT_EQ(wf_.HtmlBuilt, 1) << host_.LastMessage();
  }

  TempDir dir_;
  ChangingHost host_;
  Workflow wf_;
};

TEST_F(WorkflowCatalogue, DefinitionChangesBetweenTheDialogAndTheRead) {
  struct Case {
    const char* what;
    std::function<void(const Text&)> change;
    Text reason;
    bool bindModes = false;  // root reads any file unless held to the modes
  };
  const Case cases[] = {
      {"vanishes", [](const Text& path) { fs::remove(path); }, "No such file or directory"},
      {"becomes a folder",
       [](const Text& path) {
         fs::remove(path);
         fs::create_directory(path);
       },
       "it is a folder"},
      {"becomes a pipe",
       [](const Text& path) {
         fs::remove(path);
         ::mkfifo(path.c_str(), 0644);
       },
       "it is not a regular file"},
      {"becomes unreadable", [](const Text& path) { fs::permissions(path, fs::perms::none); }, "Permission denied",
       true},
  };
  const Text earlierPath = dir_.File("earlier.txt");
  WriteFile(earlierPath, DefinitionOf(ThreeMenus()));
  for (bool loadedBefore : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (loadedBefore ? ", after an earlier load" : ", first load"));
      if (c.bindModes && !FileModesBind().Ok()) {
        ADD_FAILURE() << "running as root and cannot be held to the files' modes";
        continue;
      }
      Workflow wf(host_, dir_.Path().string());
      if (loadedBefore) {
        host_.dialogAnswers.push_back(earlierPath);
        wf.RunCommand("OpenInput");
        ASSERT_EQ(wf.FileOpen, 1);
      }
      const Text pane = host_.pane.PaneText();
      const Text path = dir_.File("chosen.txt");
      fs::remove_all(path);
      WriteFile(path, "menuname=<New>\r\n");
      std::optional<FileModesBind> modes;
      host_.afterChoice = [&](const Text& chosen) {
        c.change(chosen);
        if (c.bindModes) modes.emplace();
      };
      host_.dialogAnswers.push_back(path);
      host_.messages.clear();
      wf.RunCommand("OpenInput");
      modes.reset();
      host_.afterChoice = nullptr;
      ASSERT_EQ(host_.messages.size(), 1u);
      EXPECT_EQ(host_.messages[0].text,
                "Cannot open the input file " + path + ": " + c.reason + ".\r\nNothing was loaded.");
      EXPECT_EQ(host_.messages[0].kind, MessageKind::Error);
      // Nothing changed but the caption, which moves on as after a
      // cancelled dialog.
      EXPECT_EQ(host_.pane.PaneText(), pane);
      EXPECT_EQ(wf.InputPath, loadedBefore ? earlierPath : Text());
      EXPECT_EQ(wf.FileOpen, loadedBefore ? 1 : 0);
      EXPECT_EQ(host_.caption, kCaptionStep2);
      std::error_code ec;
      fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
    }
  }
}

TEST_F(WorkflowCatalogue, DefinitionChangesBetweenTheOpenAndTheBuild) {
  const std::vector<Menu> menus = ThreeMenus();
  const Text definition = DefinitionOf({menus[2], menus[1], menus[0]});
  const Text path = dir_.File("d.txt");
  const Text keptNote = "The file keeps its previous content; the rebuilt definition is in the input pane and in "
                        "ValidatedInput.txt.";
  struct Case {
    const char* what;
    std::function<void()> change;
    Text warning;               // empty: none
    std::optional<Text> after;  // what the path holds afterwards; nothing: a folder
  };
  const Case cases[] = {
      // The pane still holds the text: the build writes it where it was.
      {"vanishes", [&] { fs::remove(path); }, "", NormalisedOf(menus)},
      {"becomes a folder",
       [&] {
         fs::remove(path);
         fs::create_directory(path);
       },
       "Could not rewrite the input file " + path + ": it is a folder.\r\n" + keptNote, std::nullopt},
      {"becomes read-only", [&] { fs::permissions(path, fs::perms::owner_read); },
       "Could not rewrite the input file " + path + ": it is read-only.\r\n" + keptNote, definition},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(path);
    fs::remove(path + ".bak");
    WriteFile(path, definition);
    Workflow wf(host_, dir_.Path().string());
    host_.dialogAnswers.push_back(path);
    wf.RunCommand("OpenInput");
    wf.RunCommand("ValidateInput");
    ASSERT_EQ(wf.FileValidated, 1);
    c.change();
    host_.messages.clear();
    wf.RunCommand("BuildHtml");
    EXPECT_EQ(wf.HtmlBuilt, 1);
    std::vector<Text> warnings;
    for (const RecordedMessage& m : host_.messages) {
      if (m.kind != MessageKind::Report) warnings.push_back(m.text);
    }
    EXPECT_EQ(warnings, c.warning.empty() ? std::vector<Text>{} : std::vector<Text>{c.warning});
    if (c.after) {
      EXPECT_EQ(ReadFile(path), *c.after);
    } else {
      EXPECT_TRUE(fs::is_directory(path));
    }
    EXPECT_FALSE(FileExists(path + ".bak"));
    EXPECT_EQ(host_.pane.PaneText(), NormalisedOf(menus));
    EXPECT_EQ(ReadFile("ValidatedInput.txt"), NormalisedOf(menus));
    EXPECT_EQ(ReadFile("ShowDraft.Html"), DraftOf(menus));
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
  }
}

TEST_F(WorkflowCatalogue, SaveShowNeverReportsAFileItCouldNotWrite) {
  const std::vector<Menu> menus = ThreeMenus();
  WriteFile("d.txt", DefinitionOf(menus));
  for (const char* blocked : {"MenusOnly.txt", "Pravel.html", "Pravel.txt"}) {
    SCOPED_TRACE(blocked);
    OpenValidateBuild(dir_.File("d.txt"));
    fs::remove(blocked);
    fs::create_directory(blocked);
    host_.messages.clear();
    host_.shownFiles.clear();
    wf_.RunCommand("SaveShowHtml");
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, Text("Could not write ") + blocked +
                                          ": it is a folder\r\nThe page is not complete. Run Save/Show Html "
                                          "again once the file can be written.");
    EXPECT_EQ(host_.messages[0].kind, MessageKind::Error);
    EXPECT_TRUE(host_.shownFiles.empty());
    EXPECT_EQ(host_.caption, kCaptionStep4);

    // Once the file can be written, the same step completes.
    fs::remove(blocked);
    host_.messages.clear();
    wf_.RunCommand("SaveShowHtml");
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_TRUE(host_.messages[0].text.starts_with("The following files are newly created:\r\n"));
    EXPECT_EQ(host_.shownFiles, std::vector<Text>{"Pravel.Html"});
    EXPECT_EQ(host_.caption, kCaptionDone);
    EXPECT_EQ(ReadFile("Pravel.html"), PageOf(menus, {kRowStart, kCellEnd, kCellEnd}));
    EXPECT_EQ(ReadFile("Pravel.txt"), ReadFile("Pravel.html"));
  }
}

// Every allocation of a step, one at a time, made to fail: wherever storage
// runs out, the step ends the process with exit code 3 after saying so, and
// the definition file is the original or the whole rebuilt text with the
// original beside it.
TEST(OutOfMemory, AtEveryAllocationOfAStep) {
  const std::vector<Menu> menus = ThreeMenus();
  const Text definition = DefinitionOf({menus[2], menus[1], menus[0]});
  for (const char* step : {"OpenInput", "ValidateInput", "BuildHtml", "SaveShowHtml", "SaveAs", "PasteMenu"}) {
    int ended = 0;
    for (long allocation = 0;; ++allocation) {
      SCOPED_TRACE(std::string(step) + ", allocation " + std::to_string(allocation));
      TempDir dir;
      WriteTemplates(dir.Path());
      WriteFile("d.txt", definition);
      RecordingHost host;
      Workflow wf(host, dir.Path().string());
      host.dialogAnswers.push_back(dir.File("d.txt"));
      if (Text(step) != "OpenInput") wf.RunCommand("OpenInput");
      if (Text(step) == "BuildHtml" || Text(step) == "SaveShowHtml") wf.RunCommand("ValidateInput");
      if (Text(step) == "SaveShowHtml") wf.RunCommand("BuildHtml");
      host.dialogAnswers.push_back(dir.File(Text(step) == "OpenInput" ? "d.txt" : "copy.txt"));
      host.messages.clear();
      bool processEnded = false;
      FailAllocation(allocation);
      try {
        wf.RunCommand(step);
      } catch (const ProcessEnded& end) {
        processEnded = true;
        EXPECT_EQ(end.exitCode, 3);
      }
      const bool failed = AllocationFailed();
      FailAllocation(-1);
      if (!failed) {
        EXPECT_FALSE(processEnded);
        break;  // the step made fewer allocations than this
      }
      if (processEnded) {
        ++ended;
        ASSERT_FALSE(host.messages.empty());
        EXPECT_EQ(host.messages.back().text, "Insufficient memory");
        EXPECT_EQ(host.messages.back().kind, MessageKind::Fatal);
      }
      EXPECT_FALSE(wf.CommandRunning());
      const Text now = ReadFile("d.txt");
      if (now != definition) {
        EXPECT_EQ(now, NormalisedOf(menus));
        EXPECT_EQ(ReadFile("d.txt.bak"), definition);
      }
    }
    EXPECT_GT(ended, 0) << step;
  }
}

}  // namespace
}  // namespace pravel::test
