#include "bookmarks/BookmarkReader.h"

#include <optional>

#include "bookmarks/BookmarkEncoding.h"
#include "bookmarks/HtmlTokens.h"
#include "text/CharacterReferences.h"
#include "text/Charset.h"

namespace pravel {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool IsBlank(std::string_view text) {
  for (const char c : text) {
    if (!IsHtmlSpace(c)) return false;
  }
  return true;
}

bool StartsWithLower(std::string_view text, std::string_view lower) {
  return text.size() >= lower.size() && FindLower(text.substr(0, lower.size()), lower) == 0;
}

// "<!DOCTYPE NETSCAPE-Bookmark-file-1>", in any case and with any blanks
// between its words.
bool BeginsWithDoctype(std::string_view text) {
  constexpr std::string_view kOpen = "<!doctype";
  constexpr std::string_view kName = "netscape-bookmark-file-1";
  if (!StartsWithLower(text, kOpen)) return false;
  std::size_t p = kOpen.size();
  const std::size_t blanks = p;
  while (p < text.size() && IsHtmlSpace(text[p])) ++p;
  if (p == blanks || !StartsWithLower(text.substr(p), kName)) return false;
  p += kName.size();
  while (p < text.size() && IsHtmlSpace(text[p])) ++p;
  return p < text.size() && text[p] == '>';
}

// A copy without the doctype: before the list, only blanks, a page's head
// (<META>, <TITLE>, <H1> and its text, tags of no meaning here); then <DL>,
// <DT>, and <A HREF> or <H3>.
bool BeginsWithList(std::string_view text) {
  HtmlTokenizer tokens(text);
  enum { BeforeList, InList, InItem } step = BeforeList;
  bool inHeading = false;
  for (;;) {
    const HtmlToken& token = tokens.Next();
    switch (token.kind) {
      case HtmlToken::End:
        return false;
      case HtmlToken::Text:
        if (!IsBlank(token.text) && !(inHeading && step == BeforeList)) return false;
        break;
      case HtmlToken::EndTag:
        if (token.tag == Tag::H1) inHeading = false;
        break;
      case HtmlToken::StartTag:
        if (token.tag == Tag::Other || (step == BeforeList && (token.tag == Tag::Meta || token.tag == Tag::RawText))) {
          break;
        }
        if (step == BeforeList && token.tag == Tag::H1) {
          inHeading = true;
        } else if (step == BeforeList && token.tag == Tag::Dl) {
          step = InList;
        } else if (step == InList && token.tag == Tag::Dt) {
          step = InItem;
        } else {
          return step == InItem && (token.tag == Tag::H3 || (token.tag == Tag::A && token.Attribute("href")));
        }
        break;
    }
  }
}

Text CollapsedBlanks(std::string_view text) {
  Text out;
  out.reserve(text.size());
  bool blank = false;
  for (const char c : text) {
    if (IsHtmlSpace(c)) {
      blank = !out.empty();
    } else {
      if (blank) out += ' ';
      blank = false;
      out += c;
    }
  }
  return out;
}

// As a browser's address parser takes the value: tabs and line breaks
// removed wherever they are, blanks and control characters cut off the ends.
Text AddressAsTaken(std::string_view value) {
  Text decoded;
  AppendDecoded(decoded, value, ReferenceContext::Attribute);
  Text out;
  out.reserve(decoded.size());
  for (const char c : decoded) {
    if (c != '\t' && c != '\n' && c != '\r') out += c;
  }
  const auto edge = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  std::size_t end = out.size();
  while (end > 0 && edge(out[end - 1])) --end;
  std::size_t begin = 0;
  while (begin < end && edge(out[begin])) ++begin;
  return out.substr(begin, end - begin);
}

class TreeBuilder {
 public:
  TreeBuilder() { tree_.folders.emplace_back(); }
  BookmarkTree Read(std::string_view utf8);

 private:
  enum class Collecting { Nothing, LinkTitle, FolderTitle, Heading };

  void StartTag(const HtmlToken& token);
  void EndTag(const HtmlToken& token);
  // The title being read ends: a bookmark's, a folder's or the heading.
  void Finish();
  std::size_t Current() const { return lists_.empty() ? kTopLevel : lists_.back(); }

  BookmarkTree tree_;
  std::vector<std::size_t> lists_;  // the folder of each open <DL>
  std::size_t pending_ = kNone;     // a folder whose title was read and whose list has not begun
  bool inDescription_ = false;
  Collecting collecting_ = Collecting::Nothing;
  Text collected_;
  std::size_t sequence_ = 0;
};

BookmarkTree TreeBuilder::Read(std::string_view utf8) {
  HtmlTokenizer tokens(utf8);
  for (const HtmlToken* token = &tokens.Next(); token->kind != HtmlToken::End; token = &tokens.Next()) {
    if (token->kind == HtmlToken::StartTag) {
      StartTag(*token);
    } else if (token->kind == HtmlToken::EndTag) {
      EndTag(*token);
    } else if (collecting_ != Collecting::Nothing) {
      // Each piece of text on its own: a reference never spans a tag.
      AppendDecoded(collected_, token->text, ReferenceContext::Text);
    }
  }
  Finish();
  return std::move(tree_);
}

void TreeBuilder::StartTag(const HtmlToken& token) {
  // A link in a folder's title is part of the title.
  const bool inHeading = collecting_ == Collecting::FolderTitle || collecting_ == Collecting::Heading;
  switch (token.tag) {
    case Tag::A: {
      if (inHeading) return;
      Finish();
      if (inDescription_) return;
      pending_ = kNone;
      BookmarkFolder& folder = tree_.folders[Current()];
      if (folder.bookmarks.empty() && Current() == kTopLevel) folder.order = sequence_++;
      const std::optional<std::string_view> href = token.Attribute("href");
      folder.bookmarks.push_back(Bookmark{{}, href ? AddressAsTaken(*href) : Text()});
      collecting_ = Collecting::LinkTitle;
      return;
    }
    case Tag::H3:
      Finish();
      inDescription_ = false;
      pending_ = tree_.folders.size();
      tree_.folders.push_back(BookmarkFolder{{}, Current(), {}, sequence_++});
      collecting_ = Collecting::FolderTitle;
      return;
    case Tag::Dl:
      Finish();
      inDescription_ = false;
      lists_.push_back(pending_ != kNone ? pending_ : Current());
      pending_ = kNone;
      return;
    case Tag::Dt:
    case Tag::Hr:
      Finish();
      inDescription_ = false;
      pending_ = kNone;
      return;
    case Tag::Dd:
      Finish();
      inDescription_ = true;
      return;
    case Tag::H1:
      if (collecting_ == Collecting::Nothing && tree_.heading.empty()) collecting_ = Collecting::Heading;
      return;
    default:
      return;
  }
}

void TreeBuilder::EndTag(const HtmlToken& token) {
  switch (token.tag) {
    case Tag::A:
    case Tag::Dt:
      if (collecting_ == Collecting::LinkTitle) Finish();
      return;
    case Tag::H3:
      if (collecting_ == Collecting::FolderTitle) Finish();
      return;
    case Tag::H1:
      if (collecting_ == Collecting::Heading) Finish();
      return;
    case Tag::Dl:
      Finish();
      inDescription_ = false;
      pending_ = kNone;
      if (!lists_.empty()) lists_.pop_back();
      return;
    case Tag::Dd:
      inDescription_ = false;
      return;
    default:
      return;
  }
}

void TreeBuilder::Finish() {
  switch (collecting_) {
    case Collecting::Nothing:
      return;
    case Collecting::LinkTitle:
      tree_.folders[Current()].bookmarks.back().title = CollapsedBlanks(collected_);
      break;
    case Collecting::FolderTitle:
      tree_.folders.back().title = CollapsedBlanks(collected_);
      break;
    case Collecting::Heading:
      tree_.heading = CollapsedBlanks(collected_);
      break;
  }
  collected_.clear();
  collecting_ = Collecting::Nothing;
}

}  // namespace

bool IsBookmarkFile(std::string_view bytes) {
  const std::optional<Text> utf16 = Utf16AsUtf8(bytes);
  std::string_view text = utf16 ? std::string_view(*utf16) : bytes;
  if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
  std::size_t first = 0;
  while (first < text.size() && IsHtmlSpace(text[first])) ++first;
  text.remove_prefix(first);
  return BeginsWithDoctype(text) || BeginsWithList(text);
}

BookmarkTree ReadBookmarkTree(std::string_view utf8) { return TreeBuilder().Read(utf8); }

}  // namespace pravel
