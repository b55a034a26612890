#include "html/FormBuilder.h"

#include "definition/Definition.h"
#include "html/FinalPage.h"
#include "text/HtmlText.h"

namespace pravel {

namespace {

// The menu step looks for the keyword without its bracket.
constexpr std::string_view kMenuNameScanKey = "menuname=";

class DraftWalk {
 public:
  DraftWalk(const TextLines& definition, const PageParts& page, std::vector<Text>& htmlLines, int& HtmlHdrDoneCount,
            TraceLog& trace, const MenuRenamed& renamed, const ValueToUtf8& toUtf8)
      : lines_(definition),
        page_(page),
        HtmlLines(htmlLines),
        HtmlHdrDoneCount(HtmlHdrDoneCount),
        trace_(trace),
        renamed_(renamed),
        toUtf8_(toUtf8) {}

  WalkEnd DelegateWork();

 private:
  enum class Keyword { MenuName, LinkName, LinkAddress, End };

  void StripMenuName();
  void ReadLinkName();
  void ReadLinkAddress();
  void FindNextKeyword();
  void HtmlHeader();
  void CopyFormTemplate();
  void ReadEntryTemplate();
  void AddFormEntry();
  void HtmlTrailer();

  // Moves LineIndex forward to the first line at or after it that holds the
  // key; to the number of lines when none does.
  void ScanTo(std::string_view key);
  // The value of the line at LineIndex; empty past the last line.
  std::string_view CurrentValue() const;
  // A value as it goes into the page (HtmlText.h): itself when it holds
  // nothing to convert or escape, which is nearly always, else its new
  // form, kept in `buffer`.
  std::string_view ForPage(std::string_view value, Text& buffer) const;

  const TextLines& lines_;
  const PageParts& page_;
  std::vector<Text>& HtmlLines;
  int& HtmlHdrDoneCount;
  TraceLog& trace_;
  const MenuRenamed& renamed_;
  const ValueToUtf8& toUtf8_;

  std::size_t LineIndex = 0;

  Keyword NextKeyword = Keyword::End;
  Text menuName_;
  Text menuNameForPage_;
  Text linkNameForPage_;
  Text linkAddressForPage_;
  std::string_view linkName_;
  std::string_view linkAddress_;
  std::string_view entryLine_;
};

WalkEnd DraftWalk::DelegateWork() {
  trace_.Trace(" DelegateWork");
  bool menuStep = true;
  for (;;) {
    if (menuStep) {
      StripMenuName();
      CopyFormTemplate();
    }
    ReadLinkName();
    ReadEntryTemplate();
    ReadLinkAddress();
    AddFormEntry();
    FindNextKeyword();
    switch (NextKeyword) {
      case Keyword::MenuName:
        menuStep = true;
        break;
      case Keyword::LinkName:
        menuStep = false;
        break;
      case Keyword::LinkAddress:
        return WalkEnd::OutOfOrder;
      case Keyword::End:
        HtmlTrailer();
        return WalkEnd::Finished;
    }
    // The next statement lies after the current line: that is where
    // FindNextKeyword found it. Scanning again from the current line would
    // take the next menu's name from a link address that merely contains
    // "menuname=", and would repeat a line holding both link keywords
    // without end.
    ++LineIndex;
  }
}

void DraftWalk::ScanTo(std::string_view key) {
  const std::size_t count = lines_.Count();
  while (LineIndex < count && !HoldsKeyword(lines_.Line(LineIndex), key)) ++LineIndex;
}

std::string_view DraftWalk::CurrentValue() const { return StatementValue(lines_.Line(LineIndex)); }

std::string_view DraftWalk::ForPage(std::string_view value, Text& buffer) const {
  if (toUtf8_) {
    const Text converted = toUtf8_(value);
    buffer.clear();
    AppendHtmlEscaped(buffer, converted, HtmlEscapes::QuoteAndApostrophe);
    return buffer;
  }
  if (!NeedsHtmlEscape(value)) return value;
  buffer.clear();
  AppendHtmlEscaped(buffer, value, HtmlEscapes::QuoteAndApostrophe);
  return buffer;
}

void DraftWalk::StripMenuName() {
  trace_.Trace(" StripMenuName");
  ScanTo(kMenuNameScanKey);
  const std::string_view asWritten = CurrentValue();
  menuName_ = MenuNameWithoutSpaces(asWritten);
  if (menuName_ != asWritten && renamed_) renamed_(asWritten, menuName_);
  if (HtmlHdrDoneCount < 1) HtmlHeader();
}

void DraftWalk::ReadLinkName() {
  ScanTo(kLinkNameKey);
  linkName_ = CurrentValue();
}

void DraftWalk::ReadLinkAddress() {
  ScanTo(kLinkAddressKey);
  linkAddress_ = CurrentValue();
}

void DraftWalk::FindNextKeyword() {
  NextKeyword = Keyword::End;
  for (std::size_t i = LineIndex + 1; i < lines_.Count(); ++i) {
    const LineKeywords keys = FindKeywords(lines_.Line(i));
    if (keys.Holds(LineKeywords::MenuName)) {
      NextKeyword = Keyword::MenuName;
      HtmlLines.emplace_back(kSelectEnd);
      return;
    }
    if (keys.Holds(LineKeywords::LinkName)) {
      NextKeyword = Keyword::LinkName;
      return;
    }
    if (keys.Holds(LineKeywords::LinkAddress)) {
      NextKeyword = Keyword::LinkAddress;
      return;
    }
  }
}

void DraftWalk::HtmlHeader() {
  trace_.Trace(" HtmlHeader");
  ++HtmlHdrDoneCount;
  HtmlLines.insert(HtmlLines.end(), page_.header.begin(), page_.header.end());
}

void DraftWalk::CopyFormTemplate() {
  const std::string_view name = ForPage(menuName_, menuNameForPage_);
  for (const Text& line : page_.form) {
    HtmlLines.push_back(FillPlaceholder(line, kMenuNamePlaceholder, name));
  }
}

void DraftWalk::ReadEntryTemplate() { entryLine_ = page_.entry; }

void DraftWalk::AddFormEntry() {
  HtmlLines.push_back(
      FillEntry(entryLine_, ForPage(linkName_, linkNameForPage_), ForPage(linkAddress_, linkAddressForPage_)));
}

void DraftWalk::HtmlTrailer() {
  trace_.Trace(" HtmlTrailer");
  HtmlLines.emplace_back(kDraftClosingLine);
}

}  // namespace

std::vector<Text> MissingPieces(const PageParts& page) {
  std::vector<Text> missing;
  // The page's menus are the draft's lines after its first "<div style="
  // line, up to the next "</div>": the draft of one menu of one link shows
  // whether that link's line would reach the page.
  std::vector<Text> draft = page.header;
  draft.insert(draft.end(), page.form.begin(), page.form.end());
  const std::size_t entryAt = draft.size();
  draft.push_back(page.entry);
  draft.emplace_back(kDraftClosingLine);
  const std::optional<LineRange> menus = MenuLineRange(draft);
  if (!menus || menus->begin > entryAt || menus->end <= entryAt) {
    missing.push_back("a line holding " + Text(kMenusStartKey) + " in the page header (between " +
                      Text(kHeaderStartMarker) + " and " + Text(kHeaderEndMarker) +
                      "), after which the menus stand, with no " + Text(kMenusEndKey) +
                      " after it in the header or a menu's form");
  }
  if (page.form.empty()) {
    missing.push_back("the form of a menu, between " + Text(kFormStartMarker) + " and " + Text(kFormEndMarker));
  }
  if (page.entry.empty()) missing.push_back("the entry line, the line after " + Text(kEntryMarker));
  return missing;
}

Text MenuNameWithoutSpaces(std::string_view name) {
  Text out(name);
  for (char& c : out) {
    if (c == ' ') c = '_';
  }
  return out;
}

Text MenuRenamedText(std::string_view asWritten, std::string_view renamed) {
  Text message = "No spaces allowed in MenuName: ";
  message += CRLF;
  message += "MenuName changed from   ";
  message += asWritten;
  message += "   to   ";
  message += renamed;
  return message;
}

WalkEnd DelegateWork(const TextLines& definition, const PageParts& page, std::vector<Text>& htmlLines,
                     int& HtmlHdrDoneCount, TraceLog& trace, const MenuRenamed& renamed, const ValueToUtf8& toUtf8) {
  return DraftWalk(definition, page, htmlLines, HtmlHdrDoneCount, trace, renamed, toUtf8).DelegateWork();
}

}  // namespace pravel
