#include "bookmarks/HtmlTokens.h"

#include <utility>

namespace pravel {

namespace {

constexpr auto npos = std::string_view::npos;

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool EqualsLower(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (LowerByte(text[i]) != lower[i]) return false;
  }
  return true;
}

Tag TagNamed(std::string_view name) {
  static constexpr std::pair<std::string_view, Tag> kTags[] = {
      {"a", Tag::A},
      {"dd", Tag::Dd},
      {"dl", Tag::Dl},
      {"dt", Tag::Dt},
      {"h1", Tag::H1},
      {"h3", Tag::H3},
      {"hr", Tag::Hr},
      {"meta", Tag::Meta},
      {"title", Tag::RawText},
      {"textarea", Tag::RawText},
      {"style", Tag::RawText},
      {"script", Tag::RawText},
      {"xmp", Tag::RawText},
      {"iframe", Tag::RawText},
      {"noembed", Tag::RawText},
      {"noframes", Tag::RawText},
  };
  for (const auto& [known, tag] : kTags) {
    if (EqualsLower(name, known)) return tag;
  }
  return Tag::Other;
}

}  // namespace

bool IsHtmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

std::optional<std::string_view> HtmlToken::Attribute(std::string_view lowerName) const {
  for (const HtmlAttribute& attribute : attributes) {
    if (EqualsLower(attribute.name, lowerName)) return attribute.value;
  }
  return std::nullopt;
}

const HtmlToken& HtmlTokenizer::Next() {
  token_.attributes.clear();
  token_.tag = Tag::Other;
  if (!rawTextEnd_.empty()) SkipRawText();
  const std::size_t size = html_.size();
  while (at_ < size) {
    const std::size_t start = at_;
    if (html_[at_] == '<' && at_ + 1 < size) {
      const char next = html_[at_ + 1];
      const char after = at_ + 2 < size ? html_[at_ + 2] : '\0';
      if (IsLetter(next) || (next == '/' && IsLetter(after))) {
        if (ReadTag()) return token_;
        continue;
      }
      if (next == '!') {
        SkipComment();
        continue;
      }
      if (next == '?' || (next == '/' && at_ + 2 < size)) {
        // Bogus comments: "<?xml ...>", "</>", "</ 3>".
        const std::size_t close = html_.find('>', at_ + 2);
        at_ = close == npos ? size : close + 1;
        continue;
      }
    }
    // Text, up to the next "<" (a "<" that opens nothing is text).
    const std::size_t open = html_.find('<', at_ + 1);
    at_ = open == npos ? size : open;
    token_.kind = HtmlToken::Text;
    token_.text = html_.substr(start, at_ - start);
    return token_;
  }
  token_.kind = HtmlToken::End;
  token_.text = {};
  return token_;
}

bool HtmlTokenizer::ReadTag() {
  const std::size_t size = html_.size();
  const bool end = html_[at_ + 1] == '/';
  std::size_t p = at_ + (end ? 2 : 1);
  const auto nameEnds = [&](std::size_t i) { return IsHtmlSpace(html_[i]) || html_[i] == '/' || html_[i] == '>'; };
  const std::size_t nameStart = p;
  while (p < size && !nameEnds(p)) ++p;
  const std::string_view name = html_.substr(nameStart, p - nameStart);
  const auto cutOff = [&] {
    at_ = size;
    token_.attributes.clear();
    return false;
  };
  for (;;) {
    while (p < size && (IsHtmlSpace(html_[p]) || html_[p] == '/')) ++p;
    if (p >= size) return cutOff();
    if (html_[p] == '>') break;
    // A name may begin with "=": the first character is taken whatever it is.
    const std::size_t attributeStart = p++;
    while (p < size && !nameEnds(p) && html_[p] != '=') ++p;
    HtmlAttribute attribute{html_.substr(attributeStart, p - attributeStart), {}};
    while (p < size && IsHtmlSpace(html_[p])) ++p;
    if (p < size && html_[p] == '=') {
      ++p;
      while (p < size && IsHtmlSpace(html_[p])) ++p;
      if (p >= size) return cutOff();
      if (html_[p] == '"' || html_[p] == '\'') {
        const std::size_t close = html_.find(html_[p], p + 1);
        if (close == npos) return cutOff();
        attribute.value = html_.substr(p + 1, close - p - 1);
        p = close + 1;
      } else {
        const std::size_t valueStart = p;
        while (p < size && !IsHtmlSpace(html_[p]) && html_[p] != '>') ++p;
        attribute.value = html_.substr(valueStart, p - valueStart);
      }
    }
    for (const std::string_view kept : {"href", "charset", "content"}) {
      if (!end && EqualsLower(attribute.name, kept) && !token_.Attribute(kept)) token_.attributes.push_back(attribute);
    }
  }
  at_ = p + 1;
  token_.kind = end ? HtmlToken::EndTag : HtmlToken::StartTag;
  token_.tag = TagNamed(name);
  token_.text = {};
  if (!end && token_.tag == Tag::RawText) rawTextEnd_ = "</" + TextLower(name);
  return true;
}

// From "<!": a comment ends at "-->" or "--!>" (or at once for "<!-->" and
// "<!--->"); a doctype or anything else at the next ">".
void HtmlTokenizer::SkipComment() {
  const std::size_t size = html_.size();
  if (html_.substr(at_, 4) != "<!--") {
    const std::size_t close = html_.find('>', at_ + 2);
    at_ = close == npos ? size : close + 1;
    return;
  }
  const std::size_t body = at_ + 4;
  if (html_.substr(body, 1) == ">") {
    at_ = body + 1;
    return;
  }
  if (html_.substr(body, 2) == "->") {
    at_ = body + 2;
    return;
  }
  for (std::size_t dashes = html_.find("--", body); dashes != npos; dashes = html_.find("--", dashes + 1)) {
    if (html_.substr(dashes + 2, 1) == ">") {
      at_ = dashes + 3;
      return;
    }
    if (html_.substr(dashes + 2, 2) == "!>") {
      at_ = dashes + 4;
      return;
    }
  }
  at_ = size;
}

// To the end tag of the RawText element just begun: its name in any case,
// then a blank, "/" or ">"; the rest of the file when there is none.
void HtmlTokenizer::SkipRawText() {
  const std::size_t size = html_.size();
  std::size_t found = FindLower(html_, rawTextEnd_, at_);
  while (found != npos) {
    const std::size_t after = found + rawTextEnd_.size();
    if (after < size && (IsHtmlSpace(html_[after]) || html_[after] == '/' || html_[after] == '>')) break;
    found = FindLower(html_, rawTextEnd_, found + 1);
  }
  at_ = found == npos ? size : found;
  rawTextEnd_.clear();
}

}  // namespace pravel
