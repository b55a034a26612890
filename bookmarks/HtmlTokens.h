// The tags and text of an HTML file, cut as a browser's tokenizer cuts them.
//
// A bookmark file is HTML that no browser writes the same way: tag and
// attribute names in either case, values in double, single or no quotes, a
// blank before ">", comments, icons of hundreds of kilobytes in one
// attribute. Reading it by the standard's rules for tags, rather than by
// patterns, makes every such file read as a browser reads it. Only what a
// bookmark file needs is told apart; the text is not copied.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "text/Text.h"

namespace pravel {

// The elements a bookmark file is read by. RawText stands for the elements
// whose content is not markup (title, textarea, style, script, xmp, iframe,
// noembed, noframes): a "<" in a page title opens no tag.
enum class Tag { Other, A, Dd, Dl, Dt, H1, H3, Hr, Meta, RawText };

struct HtmlAttribute {
  std::string_view name;   // as written
  std::string_view value;  // as written: references are not decoded
};

struct HtmlToken {
  enum Kind { Text, StartTag, EndTag, End };
  Kind kind = End;
  Tag tag = Tag::Other;
  std::string_view text;  // Text: as written
  // StartTag: only the attributes a bookmark file is read by (href, and a
  // <META>'s charset and content), the first of each name, as a browser
  // keeps the first of two. An icon of 100 KB, or a million attributes in a
  // damaged file, costs nothing.
  std::vector<HtmlAttribute> attributes;

  // The value of the attribute of that name (given in lower case), as
  // written; nullopt when there is none.
  std::optional<std::string_view> Attribute(std::string_view lowerName) const;
};

class HtmlTokenizer {
 public:
  explicit HtmlTokenizer(std::string_view html) : html_(html) {}

  // The next token; End at the end of the text, and from then on. Comments,
  // doctypes and processing instructions are passed over, and so is the
  // content of a RawText element. A tag cut off by the end of the text is
  // dropped, as a browser drops it.
  const HtmlToken& Next();

 private:
  bool ReadTag();
  void SkipComment();
  void SkipRawText();

  std::string_view html_;
  std::size_t at_ = 0;
  HtmlToken token_;
  Text rawTextEnd_;  // "</title" after <title>, until that end tag
};

// HTML's blanks: space, tab, line feed, form feed, carriage return.
bool IsHtmlSpace(char c);

}  // namespace pravel
