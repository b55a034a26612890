#include "bench/DefinitionGenerator.h"

#include <algorithm>
#include <array>

namespace pravel::bench {

namespace {

// splitmix64: the same numbers on every platform and compiler, which the
// standard library's distributions do not promise.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(Next() % n); }
  bool Percent(unsigned p) { return Below(100) < p; }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& from) {
    return from[Below(N)];
  }

 private:
  std::uint64_t state_;
};

// Words for names. None holds "xxx", "yyy" or "zzz", which the templates use
// as placeholders, nor any character the definition format gives a meaning.
constexpr std::array<std::string_view, 64> kWords = {
    "Garden",   "Tools",   "Kitchen", "Bath",    "Outdoor", "Lighting", "Office",  "Paper",    "Cable",   "Adapter",
    "Blue",     "Red",     "Green",   "Steel",   "Wooden",  "Classic",  "Premium", "Mini",     "Pro",     "Deluxe",
    "Travel",   "Camping", "Audio",   "Video",   "Gaming",  "Books",    "Music",   "Sports",   "Running", "Cycling",
    "Winter",   "Summer",  "Spring",  "Autumn",  "Kids",    "Baby",     "Pet",     "Food",     "Coffee",  "Tea",
    "Health",   "Beauty",  "Home",    "Decor",   "Storage", "Cleaning", "Laundry", "Hardware", "Paint",   "Plumbing",
    "Security", "Network", "Printer", "Monitor", "Phone",   "Tablet",   "Camera",  "Release",  "Notes",   "Manual",
    "Download", "Support", "Archive", "News",
};
constexpr std::array<std::string_view, 8> kDomains = {
    "www.example.com",   "shop.example.org", "docs.example.net", "intranet.example.local",
    "www.example.co.uk", "cdn.example.io",   "wiki.example.edu", "files.example.com:8443",
};
constexpr std::array<std::string_view, 6> kAddressEnds = {"", ".html", "/", "?id=", "#section-", "/index.php?page="};
constexpr std::array<std::string_view, 8> kRemarks = {
    "Remark: entries below were checked by the web team",
    "-- reviewed last spring, some pages may have moved",
    "TODO ask the shop owners whether this section stays",
    "Seasonal items go here; remove them in autumn.",
    "    (indented remark: the build drops every line without a statement)",
    "#### section break ####",
    "Links in this menu open the vendor's own pages",
    "See the style guide before adding entries",
};
constexpr std::array<std::string_view, 4> kTrailingRemarks = {
    "   (new)",
    "      remark: moved from the old site",
    "\tchecked",
    "  -- keep",
};

constexpr std::string_view kMenuKey = "menuname=<";
constexpr std::string_view kLinkKey = "linkname=<";
constexpr std::string_view kAddressKey = "linkaddress=<";

Text Upper(std::string_view text) {
  Text out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

// "Garden Tools 12" -> "garden-tools-12"
Text Slug(std::string_view name) {
  Text out = TextLower(name);
  std::replace(out.begin(), out.end(), ' ', '-');
  return out;
}

class DefinitionWriter {
 public:
  DefinitionWriter(std::uint64_t seed, Sink& definition, Sink& records, bool blankFreeMenus)
      : rng_(seed), def_(definition), rec_(records), blankFreeMenus_(blankFreeMenus) {}

  void Plain(std::size_t links, std::size_t longLinkAt, std::size_t emptyBlockEvery);
  void OneMenu(std::size_t links);
  void OwnMenus(std::size_t links);
  void EqualRecords(std::size_t links);

 private:
  Text Word();
  Text Words(std::size_t least, std::size_t most);
  Text MenuName() {
    Text name = Words(1, 3) + (rng_.Percent(20) ? " " + NumberToText(1 + rng_.Below(99)) : Text());
    if (blankFreeMenus_) std::replace(name.begin(), name.end(), ' ', '_');
    return name;
  }
  Text LinkName() { return Words(1, 4) + (rng_.Percent(30) ? " " + NumberToText(1 + rng_.Below(999)) : Text()); }
  Text Address(std::string_view menu, std::string_view link);
  Text LongAddress();
  void Remark() { Line(rng_.Pick(kRemarks)); }
  void Line(std::string_view text) {
    def_.Put(text);
    def_.Put(CRLF);
  }
  // Writes a statement line, now and then with the keyword in another case,
  // indented, or followed by a remark; returns the statement as the build
  // cuts it from the line.
  Text Statement(std::string_view key, std::string_view value, bool varied = true);
  void Menu(std::string_view name, std::size_t links);
  void Link(std::string_view menuStatement, std::string_view name, std::string_view address);

  Rng rng_;
  Sink& def_;
  Sink& rec_;
  std::size_t linksWritten_ = 0;
  std::size_t longLinkAt_ = Text::npos;
  std::size_t emptyBlockEvery_ = 0;
  std::size_t emptyBlocksWritten_ = 0;
  bool blankFreeMenus_;
};

Text DefinitionWriter::Word() {
  const std::string_view word = rng_.Pick(kWords);
  const std::size_t style = rng_.Below(20);
  if (style == 0) return Upper(word);
  if (style <= 2) return TextLower(word);
  return Text(word);
}

Text DefinitionWriter::Words(std::size_t least, std::size_t most) {
  Text out = Word();
  for (std::size_t n = least + rng_.Below(most - least + 1); n > 1; --n) out += " " + Word();
  return out;
}

Text DefinitionWriter::Address(std::string_view menu, std::string_view link) {
  Text out = "https://";
  out += rng_.Pick(kDomains);
  out += "/" + Slug(menu) + "/" + Slug(link);
  const std::string_view end = rng_.Pick(kAddressEnds);
  out += end;
  if (!end.empty() && end.back() == '=') out += NumberToText(static_cast<std::int64_t>(rng_.Below(100000)));
  if (!end.empty() && end.back() == '-') out += NumberToText(static_cast<std::int64_t>(1 + rng_.Below(20)));
  return out;
}

Text DefinitionWriter::LongAddress() {
  Text out = "https://www.example.com/archive/blob?data=";
  constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
  while (out.size() < kLongLineBytes) out += kAlphabet[rng_.Below(kAlphabet.size())];
  return out;
}

Text DefinitionWriter::Statement(std::string_view key, std::string_view value, bool varied) {
  Text keyword(key);
  if (varied) {
    const std::size_t style = rng_.Below(100);
    if (style < 3) keyword = Upper(key);
    if (style >= 3 && style < 10) keyword[0] = static_cast<char>(keyword[0] - 32);  // "Menuname=<"
    if (rng_.Percent(5)) def_.Put("  ");
  }
  Text statement = keyword;
  statement += value;
  statement += '>';
  def_.Put(statement);
  if (varied && rng_.Percent(5)) def_.Put(rng_.Pick(kTrailingRemarks));
  def_.Put(CRLF);
  return statement;
}

void DefinitionWriter::Menu(std::string_view name, std::size_t links) {
  if (rng_.Percent(50)) Line("");
  if (rng_.Percent(20)) Remark();
  const Text menu = Statement(kMenuKey, name);
  for (std::size_t i = 0; i < links; ++i) {
    if (rng_.Percent(3)) Remark();
    const Text link = LinkName();
    Link(menu, link, Address(name, link));
  }
}

void DefinitionWriter::Link(std::string_view menuStatement, std::string_view name, std::string_view address) {
  const Text link = Statement(kLinkKey, name);
  if (emptyBlockEvery_ > 0 && linksWritten_ % emptyBlockEvery_ == 0 && emptyBlocksWritten_ < kEmptyBlocks) {
    for (std::size_t i = 0; i < kEmptyBlockLines; ++i) def_.Put(CRLF);
    ++emptyBlocksWritten_;
  }
  const Text addressStatement =
      linksWritten_ == longLinkAt_ ? Statement(kAddressKey, LongAddress()) : Statement(kAddressKey, address);
  rec_.Put(menuStatement);
  rec_.Put(link);
  rec_.Put(addressStatement);
  rec_.Put("\n");
  ++linksWritten_;
}

void DefinitionWriter::Plain(std::size_t links, std::size_t longLinkAt, std::size_t emptyBlockEvery) {
  longLinkAt_ = longLinkAt;
  emptyBlockEvery_ = emptyBlockEvery;
  Line("Site map of the example shops, generated for the benchmarks.");
  Line("");
  std::vector<Text> menus;
  for (std::size_t left = links; left > 0;) {
    // Most menus are short, some long, a few very long.
    const std::size_t kind = rng_.Below(100);
    std::size_t size = kind < 70 ? 1 + rng_.Below(20) : kind < 95 ? 21 + rng_.Below(80) : 101 + rng_.Below(900);
    size = std::min(size, left);
    Text name;
    if (!menus.empty() && rng_.Percent(8)) {
      // A menu continued further down, sometimes in other letter case,
      // which makes it a different menu.
      name = menus[rng_.Below(menus.size())];
      if (rng_.Percent(25)) name = Upper(name);
    } else {
      name = MenuName();
      menus.push_back(name);
    }
    Menu(name, size);
    left -= size;
  }
}

void DefinitionWriter::OneMenu(std::size_t links) {
  Line("Every link of the site in one menu.");
  const Text menu = Statement(kMenuKey, blankFreeMenus_ ? "All_Links_Of_The_Site" : "All Links Of The Site", false);
  for (std::size_t i = 0; i < links; ++i) {
    const Text link = LinkName();
    Link(menu, link, Address("all", link));
  }
}

void DefinitionWriter::OwnMenus(std::size_t links) {
  Line("Every link in a menu of its own.");
  for (std::size_t i = 0; i < links; ++i) {
    const Text name = MenuName() + (blankFreeMenus_ ? "_" : " ") + NumberToText(static_cast<std::int64_t>(i));
    const Text menu = Statement(kMenuKey, name, false);
    const Text link = LinkName();
    Link(menu, link, Address(name, link));
  }
}

void DefinitionWriter::EqualRecords(std::size_t links) {
  for (std::size_t i = 0; i < links; ++i) {
    const Text menu = Statement(kMenuKey, blankFreeMenus_ ? "Same_Menu" : "Same Menu", false);
    const Text link = Statement(kLinkKey, "Same Link", false);
    const Text address = Statement(kAddressKey, "https://www.example.com/same/page.html", false);
    rec_.Put(menu + link + address + "\n");
  }
}

// The lines of a template text, without their CR LF.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t from = 0;
  for (std::size_t hit = text.find(CRLF); hit != std::string_view::npos; hit = text.find(CRLF, from)) {
    lines.push_back(text.substr(from, hit - from));
    from = hit + CRLF.size();
  }
  if (from < text.size()) lines.push_back(text.substr(from));
  return lines;
}

void AddNumbered(Text& out, std::string_view before, std::string_view after) {
  for (std::size_t i = 1; i <= kBigTemplateLines; ++i) {
    out += before;
    out += NumberToText(static_cast<std::int64_t>(i));
    out += after;
    out += CRLF;
  }
}

void AddNotes(Text& out) { AddNumbered(out, "Note ", ": lines outside the marked pieces are not copied."); }
void AddStyles(Text& out) { AddNumbered(out, ".c", " { color: #1f2933; margin: 0; }"); }

// Rebuilds a template line by line; `around` may add lines before and after
// each line.
template <typename Around>
Text Grown(std::string_view text, Around around) {
  Text out;
  bool endsInBreak = text.size() >= 2 && text.substr(text.size() - 2) == CRLF;
  const auto lines = SplitLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    around(out, lines[i], true);
    out += lines[i];
    if (i + 1 < lines.size() || endsInBreak) out += CRLF;
    around(out, lines[i], false);
  }
  return out;
}

}  // namespace

const std::vector<ShapeInfo>& Shapes() {
  static const std::vector<ShapeInfo> shapes = {
      {Shape::Plain, "plain", "menus of 1 to 1000 links, scattered, remarks"},
      {Shape::OneMenu, "one-menu", "every link in one menu"},
      {Shape::OwnMenus, "own-menus", "every link in its own menu"},
      {Shape::EqualRecords, "equal", "every record the same"},
      {Shape::LongLine, "long-line", "plain + one 10 MB line"},
      {Shape::EmptyRemarks, "empty-lines", "plain + 10 x 100,000 empty lines"},
      {Shape::BigTemplates, "big-templates", "plain + templates of 5,000+ lines"},
  };
  return shapes;
}

std::optional<Shape> ShapeNamed(std::string_view name) {
  for (const ShapeInfo& info : Shapes()) {
    if (name == info.name) return info.shape;
  }
  return std::nullopt;
}

Sink::Sink(const Text& fileName) : file_(std::fopen(fileName.c_str(), "wb")), ok_(file_ != nullptr) {}

Sink::~Sink() { Close(); }

void Sink::Put(std::string_view text) {
  buffer_.append(text);
  if (buffer_.size() >= (1u << 20)) Flush();
}

void Sink::Flush() {
  if (file_ && !buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
    ok_ = false;
  }
  buffer_.clear();
}

bool Sink::Close() {
  if (!file_) return ok_;
  Flush();
  if (std::fclose(file_) != 0) ok_ = false;
  file_ = nullptr;
  return ok_;
}

void WriteDefinition(Shape shape, std::size_t links, std::uint64_t seed, Sink& definition, Sink& records,
                     bool blankFreeMenus) {
  DefinitionWriter writer(seed, definition, records, blankFreeMenus);
  switch (shape) {
    case Shape::Plain:
    case Shape::BigTemplates:
      return writer.Plain(links, Text::npos, 0);
    case Shape::LongLine:
      return writer.Plain(links, links / 2, 0);
    case Shape::EmptyRemarks:
      return writer.Plain(links, Text::npos, std::max<std::size_t>(1, links / kEmptyBlocks));
    case Shape::OneMenu:
      return writer.OneMenu(links);
    case Shape::OwnMenus:
      return writer.OwnMenus(links);
    case Shape::EqualRecords:
      return writer.EqualRecords(links);
  }
}

std::vector<TemplateFile> TemplatesFor(Shape shape, const ExampleTemplates& examples) {
  if (shape != Shape::BigTemplates) {
    return {{"Pravel.ini", examples.pageTemplate},
            {"HdrOnly.txt", examples.header},
            {"TableHdr_template.txt", examples.tableHeader},
            {"TrlOnly.txt", examples.trailer}};
  }
  // Thousands of lines in every place a template can hold them: before the
  // first marker, inside the header piece, between the pieces, before the
  // entry marker, and in the three files of the final page. The form piece
  // keeps its size: it is copied once per menu, so its length multiplies the
  // page rather than testing how the template is read.
  bool notesAtTop = false;
  bool stylesAdded = false;
  const Text page = Grown(examples.pageTemplate, [&](Text& out, std::string_view line, bool before) {
    if (before && !notesAtTop) {
      AddNotes(out);
      notesAtTop = true;
    }
    if (before && Holds(line, "<!--qx single form entry-->")) AddNotes(out);
    if (!before && Holds(line, "<!--/qx html hdr-->")) AddNotes(out);
    if (!before && !stylesAdded && Holds(line, "<style>")) {
      AddStyles(out);
      stylesAdded = true;
    }
  });
  bool headerStyles = false;
  const Text header = Grown(examples.header, [&](Text& out, std::string_view line, bool before) {
    if (!before && !headerStyles && Holds(line, "<style>")) {
      AddStyles(out);
      headerStyles = true;
    }
  });
  Text tableHeader(examples.tableHeader);
  if (tableHeader.size() < 2 || tableHeader.substr(tableHeader.size() - 2) != CRLF) tableHeader += CRLF;
  AddNumbered(tableHeader, "<!-- line ", " of the table header: only the first is used -->");
  const Text trailer = Grown(examples.trailer, [&](Text& out, std::string_view line, bool before) {
    if (before && Holds(line, "</body>")) AddNumbered(out, "<p class=\"small\">Footer line ", "</p>");
  });
  return {
      {"Pravel.ini", page}, {"HdrOnly.txt", header}, {"TableHdr_template.txt", tableHeader}, {"TrlOnly.txt", trailer}};
}

}  // namespace pravel::bench
