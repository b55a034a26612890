// Bad input and failing disks, through the real pravel-cli on real files:
// for each, a clear message, an exit code, no crash, no hang, and nothing of
// the user's lost.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "CliRun.h"
#include "Pages.h"
#include "support/TempDir.h"

namespace pravel::test {
namespace {

namespace fs = std::filesystem;

// The large inputs are smaller under the sanitizers, which make the program
// several times slower and hungrier.
#ifdef PRAVEL_SANITIZED
constexpr std::size_t kLargeDefinitionBytes = 10u << 20;
#else
constexpr std::size_t kLargeDefinitionBytes = 100u << 20;
#endif
constexpr std::size_t kLongLineBytes = 10u << 20;

const Text kCreated = "The following files are newly created:";

// A fresh folder "w" holding the four template files, made the current
// directory; what the program prints is kept beside it.
class Catalogue : public ::testing::Test {
 protected:
  Catalogue() {
    fs::create_directory("w");
    fs::current_path("w");
    work_ = fs::current_path();
    WriteTemplates(work_);
  }

  Text Abs(const Text& name) const { return (work_ / name).string(); }

  TempDir dir_;
  fs::path work_;
};

// The definition of the menus in reverse order, so that the build has to
// sort both the menus and their links.
Text ReversedDefinitionOf(std::vector<Menu> menus) {
  std::reverse(menus.begin(), menus.end());
  for (Menu& menu : menus) std::reverse(menu.links.begin(), menu.links.end());
  return DefinitionOf(menus);
}

// The separators of n forms in rows of `columns`.
std::vector<Text> Separators(std::size_t forms, std::size_t columns) {
  std::vector<Text> separators;
  for (std::size_t i = 0; i < forms; ++i) {
    separators.push_back(i == 0 ? kRowStart : (columns > 0 && i % columns != 0 ? kCellEnd : kRowEnd));
  }
  return separators;
}

// The message of a refused step, as the command line prints it.
const Text kGuard = "Please, first do the following steps successfully:\n";

// A file attribute the kernel enforces even against root; false where the
// file system or the container does not allow it.
bool SetImmutable(const fs::path& path, bool on) {
  const Text command = Text("chattr ") + (on ? "+i " : "-i ") + "'" + path.string() + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

class Immutable {
 public:
  explicit Immutable(fs::path path) : path_(std::move(path)), on_(SetImmutable(path_, true)) {}
  ~Immutable() {
    if (on_) SetImmutable(path_, false);
  }
  Immutable(const Immutable&) = delete;
  Immutable& operator=(const Immutable&) = delete;
  bool On() const { return on_; }

 private:
  fs::path path_;
  bool on_;
};

TEST_F(Catalogue, EmptyDefinitionIsRefusedAndLeftAlone) {
  WriteFile("d.txt", "");
  for (const char* command : {"validate", "build"}) {
    const CliResult r = RunCli({command, "d.txt"});
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_NE(r.out.find("SO FAR: there are 0 MenuNames coded."), Text::npos) << r.out;
    EXPECT_NE(r.err.find(kGuard), Text::npos) << r.err;
  }
  EXPECT_EQ(ReadFile("d.txt"), "");
  EXPECT_FALSE(FileExists("d.txt.bak"));
  EXPECT_FALSE(FileExists("Pravel.html"));
}

TEST_F(Catalogue, TextWithNulBytesIsNotLoaded) {
  Text everyByte;
  for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
  const Text cases[] = {
      Text("\0menuname=<A>\r\nlinkname=<B>\r\nlinkaddress=<c>\r\n", 44),
      Text("menuname=<A>\r\nlinkname=<B\0>\r\nlinkaddress=<c>\r\n", 44),
      DefinitionOf(ThreeMenus()) + Text(1, '\0'),
      everyByte,
  };
  for (const Text& content : cases) {
    WriteFile("d.txt", content);
    const std::vector<Text> before = Listing(work_);
    const CliResult r = RunCli({"build", "d.txt"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Cannot open the input file " + Abs("d.txt") +
                         ": it holds NUL bytes, so it is not a text file.\nNothing was loaded.\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFile("d.txt"), content);
    EXPECT_EQ(Listing(work_), before);  // nothing written, not even the trace
  }
}

TEST_F(Catalogue, BytesAboveAsciiAndInvalidUtf8AreKeptAsWritten) {
  // Latin-1 and UTF-8 letters, a lone continuation byte, an overlong form, a
  // truncated sequence and bytes that are never UTF-8; they sort after the
  // ASCII letters, byte by byte.
  const std::vector<Menu> menus = {
      {"Zebra", {{"Stripe\x80", "z\xc0\xaf.html"}}},
      {"\xc3\x84pfel", {{"Gr\xc3\xbc\xc3\x9f" "e", "\xe2\x82.html"}}},
      {"\xe9t\xe9", {{"\xffz", "y.html"}, {"\xff\xfe", "\xf5\xf6\xf7.html"}}},
  };
  const Text name = "Men\xfc\xff.txt";  // not UTF-8 either
  WriteFile(name, ReversedDefinitionOf(menus));
  const CliResult r = RunCli({"build", name, "--columns", "1"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ReadFile(name), NormalisedOf(menus));
  EXPECT_EQ(ReadFile(name + ".bak"), ReversedDefinitionOf(menus));
  EXPECT_EQ(ReadFile("ShowDraft.Html"), DraftOf(menus));
  EXPECT_EQ(ReadFile("Pravel.html"), PageOf(menus, Separators(3, 1)));
}

TEST_F(Catalogue, EveryKindOfLineBreakBuildsTheSamePage) {
  const std::vector<Menu> menus = ThreeMenus();
  const Text crlf = ReversedDefinitionOf(menus);
  auto with = [&crlf](const char* lineBreak) {
    Text text;
    for (std::size_t at = 0, next; (next = crlf.find("\r\n", at)) != Text::npos; at = next + 2) {
      text += crlf.substr(at, next - at) + lineBreak;
    }
    return text;
  };
  struct Case {
    const char* what;
    Text definition;
  };
  const Case cases[] = {
      {"CR LF", crlf},
      {"LF only", with("\n")},
      {"CR only", with("\r")},
      {"mixed, no break at the end", "menuname=<Tools>\nlinkname=<Saw>\rlinkaddress=<saw.html>\r\n"
                                     "menuname=<Fruit>\r\rlinkname=<Pears>\n\nlinkaddress=<pears.html>\r"
                                     "linkname=<Apples>\nlinkaddress=<apples.html>\r\nmenuname=<Bread>\r"
                                     "linkname=<Rye>\nlinkaddress=<rye.html>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove("d.txt.bak");
    WriteFile("d.txt", c.definition);
    const CliResult r = RunCli({"build", "d.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile("d.txt"), NormalisedOf(menus));  // rewritten with CR LF
    EXPECT_EQ(ReadFile("d.txt.bak"), c.definition);
    EXPECT_EQ(ReadFile("Pravel.html"), PageOf(menus, Separators(3, 4)));
  }
}

TEST_F(Catalogue, TemplateWithLfOnlyIsOneLineAndGivesNoMenuLines) {
  // Template lines end at CR LF only, so the whole template is its first
  // line: the marker line itself, which is never copied.
  Text lfTemplate = kPageTemplate;
  for (std::size_t at; (at = lfTemplate.find("\r\n")) != Text::npos;) lfTemplate.erase(at, 1);
  WriteFile("Pravel.ini", lfTemplate);
  WriteFile("d.txt", DefinitionOf(ThreeMenus()));
  const CliResult r = RunCli({"build", "d.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile("ShowDraft.Html"),
            CrLfLines({"", "</select>", "", "", "</select>", "", "</select></td></tr></table></div><br></body></html>"}));
  EXPECT_EQ(ReadFile("Pravel.html"), kHeaderFile + kTableHeaderFile + kTrailerFile + "\r\n");
}

TEST_F(Catalogue, LargeDefinitionIsBuiltWhole) {
  std::vector<Menu> menus;
  std::size_t size = 0;
  char buffer[64];
  while (size < kLargeDefinitionBytes) {
    std::snprintf(buffer, sizeof buffer, "M%06zu", menus.size());
    Menu menu{buffer, {}};
    for (int k = 0; k < 20; ++k) {
      std::snprintf(buffer, sizeof buffer, "L%02d", k);
      Link link{buffer, {}};
      std::snprintf(buffer, sizeof buffer, "https://example.com/m%06zu/l%02d.html", menus.size(), k);
      link.address = buffer;
      size += link.name.size() + link.address.size() + 27;
      menu.links.push_back(std::move(link));
    }
    menus.push_back(std::move(menu));
  }
  const Text definition = ReversedDefinitionOf(menus);
  WriteFile("big.txt", definition);

  const CliResult r = RunCli({"build", "big.txt"}, {}, 300);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find(kCreated), Text::npos);
  EXPECT_TRUE(ReadFile("big.txt.bak") == definition);
  EXPECT_TRUE(ReadFile("big.txt") == NormalisedOf(menus));
  EXPECT_TRUE(ReadFile("Pravel.html") == PageOf(menus, Separators(menus.size(), 4)));
  EXPECT_TRUE(ReadFile("Pravel.txt") == ReadFile("Pravel.html"));
}

TEST_F(Catalogue, TenMegabyteLines) {
  const std::vector<Menu> small = ThreeMenus();
  const Text longAddress(kLongLineBytes, 'a');

  // A value that long is kept whole, in the rewritten file and in the page.
  std::vector<Menu> menus = small;
  menus[0].links.push_back({"Sourdough", longAddress});
  WriteFile("d.txt", DefinitionOf(menus));
  CliResult r = RunCli({"build", "d.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(ReadFile("d.txt") == NormalisedOf(menus));
  EXPECT_TRUE(ReadFile("Pravel.html") == PageOf(menus, Separators(3, 4)));

  // A remark line, and a line of nothing but "=<", are left out of the
  // rewritten definition; the backup keeps them.
  for (const Text& line : {Text(kLongLineBytes, 'r'), [] {
                             Text t;
                             while (t.size() < kLongLineBytes) t += "=<";
                             return t;
                           }()}) {
    const Text definition = line + "\r\n" + DefinitionOf(small) + line;
    WriteFile("d.txt", definition);
    r = RunCli({"build", "d.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(ReadFile("d.txt") == NormalisedOf(small));
    EXPECT_TRUE(ReadFile("d.txt.bak") == definition);
    EXPECT_TRUE(ReadFile("Pravel.html") == PageOf(small, Separators(3, 4)));
  }

  // A statement without its ">" is left out with its address, and the
  // message quotes the start of the line, not ten megabytes of it.
  const Text unclosed = "linkname=<" + Text(kLongLineBytes, 'u');
  WriteFile("d.txt", DefinitionOf(small) + unclosed + "\r\nlinkaddress=<u.html>\r\n");
  r = RunCli({"build", "d.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "Some lines could not be used and were left out of the rebuilt definition:\n"
            "  1 link address line has no menu name or no link name before it (first: line 13, "
            "\"linkaddress=<u.html>\").\n"
            "  1 statement line has no closing \">\" after the keyword (first: line 12, \"" +
                unclosed.substr(0, 80) + "...\").\n"
                "The previous content of the input file is kept in " + Abs("d.txt.bak") + ".\n");
  EXPECT_TRUE(ReadFile("d.txt") == NormalisedOf(small));
  EXPECT_TRUE(ReadFile("Pravel.html") == PageOf(small, Separators(3, 4)));
}

TEST_F(Catalogue, ColumnsTextsAtTheEdges) {
  const std::vector<Menu> menus = ThreeMenus();
  struct Case {
    Text columns;
    std::size_t perRow;  // 0: every form in a row of its own
  };
  const Case cases[] = {
      {"1e4931", 3},  {"9999999999", 3},           {"999999999999999999", 3}, {"-0", 0},
      {"1e4932", 0},  {"9999999999999999999", 0}, {"-9999999999", 0},         {"1e-4931", 0},
      {"0.5", 0},     {"1.5", 2},                 {"2.5", 2},                  {"2.5000000001", 3},
      {"\t3", 0},     {"0x10", 0},                {"inf", 0},                  {"nan", 0},
      {"3\r\n", 0},   {"   1E+0", 1},
  };
  for (const Case& c : cases) {
    WriteFile("d.txt", DefinitionOf(menus));
    const CliResult r = RunCli({"build", "d.txt", "--columns", c.columns});
    EXPECT_EQ(r.status, 0) << c.columns << ": " << r.err;
    EXPECT_EQ(ReadFile("Pravel.html"), PageOf(menus, Separators(3, c.perRow))) << c.columns;
  }
}

TEST_F(Catalogue, HtmlSpecialCharactersAreInsertedAsWritten) {
  const std::vector<Menu> menus = {
      {"A&B\"C'", {{"Fish&Chips \"n\" 'more' <b", "a.html?x=1&y='2'\"onclick=\"x"}}},
      {"Tags", {{"x<script&amp;", "javascript:alert(\"&amp;\")"}}},
  };
  WriteFile("d.txt", DefinitionOf(menus));
  const CliResult r = RunCli({"build", "d.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile("ShowDraft.Html"), DraftOf(menus));
  EXPECT_EQ(ReadFile("Pravel.html"), PageOf(menus, Separators(2, 4)));
}

TEST_F(Catalogue, TemplateFilesThatAreFoldersReadAsEmpty) {
  const std::vector<Menu> menus = ThreeMenus();
  const Text page = PageOf(menus, Separators(3, 4));
  struct Case {
    const char* name;
    Text page;
  };
  const Case cases[] = {
      {"Pravel.ini", kHeaderFile + kTableHeaderFile + kTrailerFile + "\r\n"},
      {"HdrOnly.txt", page.substr(kHeaderFile.size())},
      {"TableHdr_template.txt", kHeaderFile + "\r\n" + page.substr(kHeaderFile.size() + kTableHeaderFile.size())},
      {"TrlOnly.txt", page.substr(0, page.size() - kTrailerFile.size() - 2) + "\r\n"},
  };
  for (const Case& c : cases) {
    WriteTemplates(work_);
    fs::remove(c.name);
    fs::create_directory(c.name);
    WriteFile("d.txt", DefinitionOf(menus));
    const CliResult r = RunCli({"build", "d.txt"});
    EXPECT_EQ(r.status, 0) << c.name << ": " << r.err;
    EXPECT_EQ(r.err, "") << c.name;
    EXPECT_EQ(ReadFile("Pravel.html"), c.page) << c.name;
    EXPECT_TRUE(fs::is_directory(c.name)) << c.name;
    fs::remove(c.name);
  }
}

TEST_F(Catalogue, OutputNamesTakenByFolders) {
  const std::vector<Menu> menus = ThreeMenus();
  const Text notComplete = "The page is not complete. Run Save/Show Html again once the file can be written.\n";
  struct Case {
    Text name;
    int status;
    Text err;  // all of what the program says on standard error
  };
  const Case cases[] = {
      // The draft and the two copies of the definition are reported, and
      // the page is still built from what is in memory.
      {"Sorted_Pravel.txt", 0, "Could not write Sorted_Pravel.txt: it is a folder.\n"},
      {"ValidatedInput.txt", 0, "Could not write ValidatedInput.txt: it is a folder.\n"},
      {"ShowDraft.Html", 0, "Could not write ShowDraft.Html: it is a folder\n"},
      {"d.txt.bak", 0,
       "Could not rewrite the input file " + Abs("d.txt") + ": cannot write the backup " + Abs("d.txt.bak") +
           ": it is a folder.\nThe file keeps its previous content; the rebuilt definition is in the input pane "
           "and in ValidatedInput.txt.\n"},
      // The trace file is not worth a word, as ever.
      {"PravelTrace.txt", 0, ""},
      // The page and its companions: reported, and not claimed.
      {"MenusOnly.txt", 1, "Could not write MenusOnly.txt: it is a folder\n" + notComplete},
      {"Pravel.html", 1, "Could not write Pravel.html: it is a folder\n" + notComplete},
      {"Pravel.txt", 1, "Could not write Pravel.txt: it is a folder\n" + notComplete},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* output : {"Sorted_Pravel.txt", "ValidatedInput.txt", "ShowDraft.Html", "MenusOnly.txt",
                               "Pravel.html", "Pravel.txt", "PravelTrace.txt", "d.txt.bak"}) {
      fs::remove(output);
    }
    const Text definition = ReversedDefinitionOf(menus);
    WriteFile("d.txt", definition);
    fs::create_directory(c.name);
    const CliResult r = RunCli({"build", "d.txt"});
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.out.find(kCreated) != Text::npos, c.status == 0) << r.out;
    EXPECT_TRUE(fs::is_directory(c.name));
    // The user's definition is the original or the rebuilt text, and a
    // rebuilt one has the original beside it.
    const Text now = ReadFile("d.txt");
    if (c.name == "d.txt.bak") {
      EXPECT_EQ(now, definition);
    } else {
      EXPECT_EQ(now, NormalisedOf(menus));
      EXPECT_EQ(ReadFile("d.txt.bak"), definition);
    }
    if (c.status == 0) {
      EXPECT_EQ(ReadFile("Pravel.html"), PageOf(menus, Separators(3, 4)));
    }
    fs::remove(c.name);
  }
}

TEST_F(Catalogue, ReadOnlyDefinitionIsNotRewritten) {
  const std::vector<Menu> menus = ThreeMenus();
  const Text definition = ReversedDefinitionOf(menus);
  WriteFile("d.txt", definition);
  const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions("d.txt", readOnly);

  // Refused whoever runs the build, root included: the user marked it so.
  const CliResult r = RunCli({"build", "d.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "Could not rewrite the input file " + Abs("d.txt") +
                       ": it is read-only.\nThe file keeps its previous content; the rebuilt definition is in the "
                       "input pane and in ValidatedInput.txt.\n");
  EXPECT_NE(r.out.find(kCreated), Text::npos);
  EXPECT_EQ(ReadFile("d.txt"), definition);
  EXPECT_EQ(fs::status("d.txt").permissions(), readOnly);
  EXPECT_FALSE(FileExists("d.txt.bak"));
  EXPECT_EQ(ReadFile("ValidatedInput.txt"), NormalisedOf(menus));
  EXPECT_EQ(ReadFile("Pravel.html"), PageOf(menus, Separators(3, 4)));
}

TEST_F(Catalogue, ImmutableDefinitionIsNotRewritten) {
  const Text definition = ReversedDefinitionOf(ThreeMenus());
  WriteFile("d.txt", definition);
  const Immutable locked(work_ / "d.txt");
  if (!locked.On()) GTEST_SKIP() << "chattr +i is not available here";
  const CliResult r = RunCli({"build", "d.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "Could not rewrite the input file " + Abs("d.txt") +
                       ": Operation not permitted.\nThe file keeps its previous content; the rebuilt definition is "
                       "in the input pane and in ValidatedInput.txt.\n");
  EXPECT_EQ(ReadFile("d.txt"), definition);
  EXPECT_FALSE(FileExists("d.txt.bak"));
}

TEST_F(Catalogue, RewriteKeepsPermissionsAndLinks) {
  const std::vector<Menu> menus = ThreeMenus();
  const Text definition = ReversedDefinitionOf(menus);

  // A private definition stays private, and so does its backup.
  WriteFile("private.txt", definition);
  const auto ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
  fs::permissions("private.txt", ownerOnly);
  ASSERT_EQ(RunCli({"build", "private.txt"}).status, 0);
  EXPECT_EQ(ReadFile("private.txt"), NormalisedOf(menus));
  EXPECT_EQ(fs::status("private.txt").permissions(), ownerOnly);
  EXPECT_EQ(fs::status("private.txt.bak").permissions(), ownerOnly);

  // A definition reached through a link: the link stays a link, the file
  // it points at takes the rebuilt text, the backup lies beside the link.
  fs::create_directory("real");
  WriteFile("real/def.txt", definition);
  fs::create_symlink("real/def.txt", "link.txt");
  const CliResult r = RunCli({"build", "link.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::is_symlink("link.txt"));
  EXPECT_EQ(ReadFile("real/def.txt"), NormalisedOf(menus));
  EXPECT_EQ(ReadFile("link.txt.bak"), definition);
  EXPECT_FALSE(fs::is_symlink("link.txt.bak"));
  EXPECT_EQ(Listing("real"), std::vector<Text>{"def.txt"});  // no temporary file left behind
}

// What a build in a folder that takes no writes must do: say so for every
// file, claim nothing, change nothing.
void ExpectNothingWritten(const CliResult& r, const fs::path& work, const Text& definition,
                          const std::vector<Text>& before, const Text& reason) {
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out.find(kCreated), Text::npos) << r.out;
  for (const char* file : {"Sorted_Pravel.txt", "ValidatedInput.txt", "ShowDraft.Html", "MenusOnly.txt"}) {
    EXPECT_NE(r.err.find(Text("Could not write ") + file + ": " + reason), Text::npos) << file << "\n" << r.err;
  }
  EXPECT_NE(r.err.find("Could not rewrite the input file " + (work / "d.txt").string() + ": "), Text::npos) << r.err;
  EXPECT_NE(r.err.find("The file keeps its previous content; the rebuilt definition is in the input pane.\n"),
            Text::npos)
      << r.err;
  EXPECT_EQ(ReadFile(work / "d.txt"), definition);
  EXPECT_EQ(Listing(work), before);
}

TEST_F(Catalogue, ReadOnlyOutputFolder) {
  const Text definition = ReversedDefinitionOf(ThreeMenus());
  WriteFile("d.txt", definition);
  const std::vector<Text> before = Listing(work_);
  fs::permissions(work_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  CliLimits limits;
  limits.fileModesBind = true;
  const CliResult r = RunCli({"build", "d.txt"}, limits);
  fs::permissions(work_, fs::perms::owner_write, fs::perm_options::add);
  ExpectNothingWritten(r, work_, definition, before, "Permission denied");
}

TEST_F(Catalogue, FileSizeLimitReached) {
  // Past the limit every write fails with EFBIG, as on a full disk. The
  // definition is larger than the limit, so every file of the build is.
  std::vector<Menu> menus;
  for (int m = 0; m < 300; ++m) {
    menus.push_back({"M" + std::to_string(1000 + m), {}});
    for (int k = 0; k < 10; ++k) menus.back().links.push_back({"L" + std::to_string(k), "https://example.com/x.html"});
  }
  const Text definition = DefinitionOf(menus);
  WriteFile("d.txt", definition);
  CliLimits limits;
  limits.fileSize = 64 * 1024;
  const CliResult r = RunCli({"build", "d.txt"}, limits);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out.find(kCreated), Text::npos);
  for (const char* file : {"Sorted_Pravel.txt", "ValidatedInput.txt", "ShowDraft.Html", "MenusOnly.txt"}) {
    EXPECT_NE(r.err.find(Text("Could not write ") + file + ": File too large"), Text::npos) << file << "\n" << r.err;
  }
  EXPECT_NE(r.err.find("Could not rewrite the input file " + Abs("d.txt") + ": cannot write the backup " +
                       Abs("d.txt.bak") + ": File too large.\nThe file keeps its previous content; the rebuilt "
                                          "definition is in the input pane.\n"),
            Text::npos)
      << r.err;
  EXPECT_EQ(ReadFile("d.txt"), definition);
  EXPECT_FALSE(FileExists("d.txt.bak"));
  EXPECT_FALSE(FileExists("Pravel.html"));
  // What could not be written whole is still named above; no temporary
  // file of the rewrite is left.
  for (const Text& name : Listing(work_)) EXPECT_EQ(name.find(".pravel-tmp"), Text::npos) << name;
}

TEST_F(Catalogue, OutputFolderOutOfSpace) {
  // A small file system of its own, filled by the build.
  fs::create_directory("full");
  if (::mount("tmpfs", "full", "tmpfs", 0, "size=192k") != 0) GTEST_SKIP() << "cannot mount a tmpfs here";
  struct Unmount {
    ~Unmount() { ::umount2((fs::current_path() / "full").c_str(), MNT_DETACH); }
  } unmount;
  std::vector<Menu> menus;
  for (int m = 0; m < 200; ++m) {
    menus.push_back({"M" + std::to_string(1000 + m), {}});
    for (int k = 0; k < 10; ++k) menus.back().links.push_back({"L" + std::to_string(k), "https://example.com/x.html"});
  }
  const Text definition = DefinitionOf(menus);
  WriteTemplates("full");
  WriteFile("full/d.txt", definition);
  const CliResult r = RunCli({"-C", "full", "build", "d.txt"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out.find(kCreated), Text::npos);
  EXPECT_NE(r.err.find("No space left on device"), Text::npos) << r.err;
  // The definition is the original or the rebuilt text with the original
  // beside it; never a part of either.
  const Text now = ReadFile("full/d.txt");
  if (now != definition) {
    EXPECT_EQ(now, NormalisedOf(menus));
    EXPECT_EQ(ReadFile("full/d.txt.bak"), definition);
  }
  if (FileExists("full/d.txt.bak")) {
    EXPECT_EQ(ReadFile("full/d.txt.bak"), definition);
  }
  for (const Text& name : Listing("full")) EXPECT_EQ(name.find(".pravel-tmp"), Text::npos) << name;
}

TEST_F(Catalogue, UnreadableDefinition) {
  const Text definition = DefinitionOf(ThreeMenus());
  WriteFile("d.txt", definition);
  fs::permissions("d.txt", fs::perms::none);
  CliLimits limits;
  limits.fileModesBind = true;
  const CliResult r = RunCli({"build", "d.txt"}, limits);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "Cannot open the input file " + Abs("d.txt") + ": Permission denied.\nNothing was loaded.\n");
  fs::permissions("d.txt", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ReadFile("d.txt"), definition);
}

TEST_F(Catalogue, PipesAndDevicesAreNotReadAsText) {
  // A pipe with no writer would keep the read waiting for ever, and a
  // device such as /dev/zero never ends.
  ASSERT_EQ(::mkfifo("pipe.txt", 0644), 0);
  for (const Text& definition : {Abs("pipe.txt"), Text("/dev/zero")}) {
    const CliResult r = RunCli({"build", definition}, {}, 30);
    EXPECT_EQ(r.signal, 0) << definition << " hung";
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Cannot open the input file " + definition + ": it is not a regular file.\nNothing was loaded.\n");
  }

  // A page template that is a pipe reads as empty, like a missing one.
  fs::remove("Pravel.ini");
  ASSERT_EQ(::mkfifo("Pravel.ini", 0644), 0);
  WriteFile("d.txt", DefinitionOf(ThreeMenus()));
  const CliResult r = RunCli({"build", "d.txt"}, {}, 30);
  EXPECT_EQ(r.signal, 0) << "hung";
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile("Pravel.html"), kHeaderFile + kTableHeaderFile + kTrailerFile + "\r\n");
  EXPECT_TRUE(fs::is_fifo("Pravel.ini"));
}

}  // namespace
}  // namespace pravel::test
