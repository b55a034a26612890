#include "html/FormBuilder.h"

#include "app/Workflow.h"
#include "definition/Definition.h"
#include "html/PageTemplate.h"
#include "text/Pane.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace pravel {

namespace {

// The menu step looks for the keyword without its bracket.
constexpr std::string_view kMenuNameScanKey = "menuname=";

class DraftWalk {
 public:
  DraftWalk(const DraftStores& stores, const TextLines& definition, std::string_view pageTemplate)
      : s_(stores), lines_(definition), page_(ReadPageParts(pageTemplate)) {}

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

  const DraftStores& s_;
  const TextLines& lines_;
  const PageParts page_;

  Keyword NextKeyword = Keyword::End;
  Text menuName_;
  std::string_view linkName_;
  std::string_view linkAddress_;
  std::string_view entryLine_;
};

WalkEnd DraftWalk::DelegateWork() {
  s_.trace.Trace(" DelegateWork");
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
        s_.host.ShowMessage(Text(kOutOfOrderMessage), MessageKind::Error);
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
    ++s_.LineIndex;
  }
}

void DraftWalk::ScanTo(std::string_view key) {
  std::int64_t& index = s_.LineIndex;
  const auto count = static_cast<std::int64_t>(lines_.Count());
  if (index < 0) index = 0;
  while (index < count && !HoldsKeyword(lines_.Line(static_cast<std::size_t>(index)), key)) ++index;
  if (index > count) index = count;
}

std::string_view DraftWalk::CurrentValue() const {
  return StatementValue(lines_.Line(static_cast<std::size_t>(s_.LineIndex)));
}

void DraftWalk::StripMenuName() {
  s_.trace.Trace(" StripMenuName");
  ScanTo(kMenuNameScanKey);
  const std::string_view asWritten = CurrentValue();
  menuName_ = MenuNameWithoutSpaces(asWritten);
  if (menuName_ != asWritten) {
    Text message = "No spaces allowed in MenuName: ";
    message += CRLF;
    message += "MenuName changed from   ";
    message += asWritten;
    message += "   to   ";
    message += menuName_;
    s_.host.ShowMessage(message, MessageKind::Warning);
  }
  if (s_.HtmlHdrDoneCount < 1) HtmlHeader();
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
  for (auto i = static_cast<std::size_t>(s_.LineIndex) + 1; i < lines_.Count(); ++i) {
    const LineKeywords keys = FindKeywords(lines_.Line(i));
    if (keys.Holds(LineKeywords::MenuName)) {
      NextKeyword = Keyword::MenuName;
      ListAdd(s_.HtmlLines, Text(kSelectEnd));
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
  s_.trace.Trace(" HtmlHeader");
  ++s_.HtmlHdrDoneCount;
  for (const Text& line : page_.header) ListAdd(s_.HtmlLines, line);
}

void DraftWalk::CopyFormTemplate() {
  for (const Text& line : page_.form) {
    ListAdd(s_.HtmlLines, FillPlaceholder(line, kMenuNamePlaceholder, menuName_));
  }
}

void DraftWalk::ReadEntryTemplate() { entryLine_ = page_.entry; }

void DraftWalk::AddFormEntry() { ListAdd(s_.HtmlLines, FillEntry(entryLine_, linkName_, linkAddress_)); }

void DraftWalk::HtmlTrailer() {
  s_.trace.Trace(" HtmlTrailer");
  ListAdd(s_.HtmlLines, Text(kDraftClosingLine));
  s_.LineIndex = 0;
}

}  // namespace

Text MenuNameWithoutSpaces(std::string_view name) {
  Text out(name);
  for (char& c : out) {
    if (c == ' ') c = '_';
  }
  return out;
}

void LoadPageTemplate(Workflow& wf) {
  wf.re2.clear();
  wf.re2 = FileReadAll(kPageTemplateName);
}

WalkEnd DelegateWork(const DraftStores& stores, const TextLines& definition, std::string_view pageTemplate) {
  return DraftWalk(stores, definition, pageTemplate).DelegateWork();
}

WalkEnd DelegateWork(Workflow& wf) {
  const TextLines definition = PaneLines(wf.host.InputPane());
  // A draft page has about as many lines as the definition, mostly fewer:
  // room for them at once, so the list does not copy itself as it grows.
  ListReserve(wf.HtmlLines, ListCount(wf.HtmlLines) + definition.Count());
  const DraftStores stores{wf.host, wf.trace, wf.HtmlLines, wf.HtmlHdrDoneCount, wf.LineIndex};
  return DelegateWork(stores, definition, wf.re2);
}

}  // namespace pravel
