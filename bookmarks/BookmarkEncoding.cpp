#include "bookmarks/BookmarkEncoding.h"

#include "bookmarks/HtmlTokens.h"
#include "text/Charset.h"

namespace pravel {

namespace {

enum class Charset { Utf8, Windows1252, Unknown };

// The labels browsers take for the two character sets read here. A page
// labelled UTF-16 without a byte-order mark is read as UTF-8, as browsers
// read it: such a label cannot be true of a file whose tags were found.
Charset CharsetLabelled(std::string_view label) {
  static constexpr std::string_view kUtf8[] = {
      "utf-8",  "utf8",     "unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8", "x-unicode20utf8",
      "utf-16", "utf-16le", "utf-16be",          "unicode",       "ucs-2",         "csunicode"};
  static constexpr std::string_view kWindows1252[] = {
      "windows-1252",    "x-cp1252",   "cp1252",        "iso-8859-1", "iso8859-1",   "iso88591", "iso_8859-1",
      "iso_8859-1:1987", "iso-ir-100", "latin1",        "l1",         "csisolatin1", "ibm819",   "cp819",
      "us-ascii",        "ascii",      "ansi_x3.4-1968"};
  const Text lower = TextLower(label);
  for (std::string_view known : kUtf8) {
    if (lower == known) return Charset::Utf8;
  }
  for (std::string_view known : kWindows1252) {
    if (lower == known) return Charset::Windows1252;
  }
  return Charset::Unknown;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsHtmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsHtmlSpace(text.back())) text.remove_suffix(1);
  return text;
}

// "text/html; charset=UTF-8" gives "UTF-8": the word "charset", blanks,
// "=", blanks, then a quoted value or one up to a blank or ";".
std::string_view CharsetInContent(std::string_view content) {
  for (std::size_t at = FindLower(content, "charset"); at != std::string_view::npos;
       at = FindLower(content, "charset", at + 1)) {
    std::size_t p = at + 7;
    while (p < content.size() && IsHtmlSpace(content[p])) ++p;
    if (p >= content.size() || content[p] != '=') continue;
    ++p;
    while (p < content.size() && IsHtmlSpace(content[p])) ++p;
    if (p >= content.size()) return {};
    if (content[p] == '"' || content[p] == '\'') {
      const std::size_t close = content.find(content[p], p + 1);
      return close == std::string_view::npos ? std::string_view() : content.substr(p + 1, close - p - 1);
    }
    const std::size_t end = content.find_first_of(" \t\n\f\r;", p);
    return content.substr(p, end == std::string_view::npos ? std::string_view::npos : end - p);
  }
  return {};
}

// The character set a <META> names before the list begins; empty when none.
std::string_view DeclaredCharset(std::string_view html) {
  HtmlTokenizer tokens(html);
  for (const HtmlToken* token = &tokens.Next(); token->kind != HtmlToken::End; token = &tokens.Next()) {
    if (token->kind != HtmlToken::StartTag) continue;
    if (token->tag == Tag::Dl || token->tag == Tag::Dt || token->tag == Tag::A || token->tag == Tag::H3) break;
    if (token->tag != Tag::Meta) continue;
    if (const auto charset = token->Attribute("charset")) {
      if (!Trimmed(*charset).empty()) return Trimmed(*charset);
    }
    if (const auto content = token->Attribute("content")) {
      if (const std::string_view charset = Trimmed(CharsetInContent(*content)); !charset.empty()) return charset;
    }
  }
  return {};
}

}  // namespace

std::optional<Text> Utf16AsUtf8(std::string_view bytes) {
  const bool little = bytes.starts_with("\xFF\xFE");
  if (!little && !bytes.starts_with("\xFE\xFF")) return std::nullopt;
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    return little ? (second << 8 | first) : (first << 8 | second);
  };
  Text out;
  out.reserve(bytes.size());
  std::size_t i = 2;
  for (; i + 1 < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    AppendUtf8(out, c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c);
  }
  if (i < bytes.size()) AppendUtf8(out, 0xFFFD);  // half a unit at the end
  return out;
}

Text RepairedUtf8(std::string_view bytes) {
  if (IsUtf8(bytes)) return Text(bytes);
  Text out;
  out.reserve(bytes.size() + bytes.size() / 8);
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      out += bytes[i++];
      continue;
    }
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length > 1 && i + length <= bytes.size() && IsUtf8(bytes.substr(i, length))) {
      out.append(bytes.substr(i, length));
      i += length;
      continue;
    }
    // One replacement for the broken sequence, its continuation bytes with it.
    AppendUtf8(out, 0xFFFD);
    std::size_t end = i + 1;
    while (end < bytes.size() && end < i + length && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) ++end;
    i = end;
  }
  return out;
}

BookmarkText BookmarkFileText(std::string_view bytes) {
  BookmarkText text;
  if (bytes.starts_with(kUtf8ByteOrderMark)) {
    text.utf8 = RepairedUtf8(bytes.substr(kUtf8ByteOrderMark.size()));
  } else if (std::optional<Text> utf16 = Utf16AsUtf8(bytes)) {
    text.utf8 = std::move(*utf16);
  } else if (const std::string_view label = DeclaredCharset(bytes); label.empty()) {
    text.utf8 = RepairedUtf8(bytes);
  } else {
    switch (CharsetLabelled(label)) {
      case Charset::Utf8:
        text.utf8 = RepairedUtf8(bytes);
        break;
      case Charset::Windows1252:
        text.utf8 = Windows1252ToUtf8(bytes);
        break;
      case Charset::Unknown:
        text.unknownCharset = Text(label);
        break;
    }
  }
  return text;
}

}  // namespace pravel
