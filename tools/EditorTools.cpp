#include "tools/EditorTools.h"

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

bool KeptInUrl(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         std::string_view("-._~/:").find(c) != std::string_view::npos;
}

}  // namespace

Text HelpLinkText(const Text& pagePath) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  Text url;
  for (const char c : pagePath) {
    const char plain = c == '\\' ? '/' : c;
    if (KeptInUrl(plain)) {
      url += plain;
    } else {
      url += '%';
      url += kHex[static_cast<unsigned char>(plain) >> 4];
      url += kHex[static_cast<unsigned char>(plain) & 15];
    }
  }
  return "[InternetShortcut]\r\n" + Text(kUrlKey) + url + "\r\n";
}

std::optional<Text> HelpLinkFile(std::string_view linkText) {
  const std::size_t at = linkText.find(kUrlKey);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view url =
      linkText.substr(at + kUrlKey.size(), linkText.find_first_of("\r\n", at) - at - kUrlKey.size());
  // The link may have been edited by hand: a "%" without two hex digits
  // after it stands for itself.
  const auto hex = [](char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                  : -1;
  };
  Text path;
  for (std::size_t i = 0; i < url.size(); ++i) {
    if (url[i] == '%' && i + 2 < url.size() && hex(url[i + 1]) >= 0 && hex(url[i + 2]) >= 0) {
      path += static_cast<char>(hex(url[i + 1]) * 16 + hex(url[i + 2]));
      i += 2;
    } else {
      path += url[i];
    }
  }
  return path;
}

}  // namespace pravel
