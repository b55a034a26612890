#include "tools/EditorTools.h"

#include "text/PercentCoding.h"

namespace pravel {

Text PasteTemplateText(StatementTemplate which) {
  Text text(CRLF);
  if (which == StatementTemplate::Menu) {
    AppendLine(text, "menuname=<>");
  } else {
    AppendLine(text, "linkname=<>");
    AppendLine(text, "linkaddress=<>");
  }
  text += CRLF;
  return text;
}

Text SaveAsName(const Text& chosen) {
  // Exactly ".txt" in lower case: "notes.TXT" becomes "notes.TXT.txt".
  if (chosen.ends_with(".txt")) return chosen;
  return chosen + ".txt";
}

namespace {

constexpr std::string_view kUrlKey = "URL=file:///";

bool EscapedInUrl(unsigned char c) {
  return !((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           std::string_view("-._~/:").find(static_cast<char>(c)) != std::string_view::npos);
}

}  // namespace

Text HelpLinkText(const Text& pagePath) {
  Text url;
  AppendPercentEncoded(url, TextReplace(pagePath, "\\", "/"), EscapedInUrl);
  return "[InternetShortcut]\r\n" + Text(kUrlKey) + url + "\r\n";
}

std::optional<Text> HelpLinkFile(std::string_view linkText) {
  const std::size_t at = linkText.find(kUrlKey);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view url =
      linkText.substr(at + kUrlKey.size(), linkText.find_first_of("\r\n", at) - at - kUrlKey.size());
  // The link may have been edited by hand: a "%" without two hex digits
  // after it stands for itself.
  return PercentDecoded(url);
}

}  // namespace pravel
