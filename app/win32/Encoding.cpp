#include "app/win32/Encoding.h"

#include <windows.h>

#include <optional>

namespace pravel::win32 {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

UINT CodePageOf(Encoding::Kind kind) { return kind == Encoding::Utf8 ? CP_UTF8 : CP_ACP; }

std::wstring DecodeAll(std::string_view bytes, Encoding::Kind kind) {
  if (kind == Encoding::Bytes) {
    std::wstring text(bytes.size(), L'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) text[i] = static_cast<unsigned char>(bytes[i]);
    return text;
  }
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<std::size_t>(MultiByteToWideChar(
      CodePageOf(kind), 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), static_cast<int>(text.size()))));
  return text;
}

// The bytes of the characters; `lost` tells whether a character became "?"
// for want of a place in the encoding.
Text EncodeAll(std::wstring_view text, Encoding::Kind kind, bool* lost = nullptr) {
  Text bytes;
  if (lost) *lost = false;
  if (kind == Encoding::Bytes) {
    bytes.reserve(text.size());
    for (wchar_t c : text) {
      if (c >= 256 && lost) *lost = true;
      bytes += c < 256 ? static_cast<char>(c) : '?';
    }
    return bytes;
  }
  BOOL usedDefault = FALSE;
  // UTF-8 holds every character; the system refuses the question for it.
  BOOL* asked = kind == Encoding::Utf8 || !lost ? nullptr : &usedDefault;
  bytes.resize(text.size() * 3);
  bytes.resize(
      static_cast<std::size_t>(WideCharToMultiByte(CodePageOf(kind), 0, text.data(), static_cast<int>(text.size()),
                                                   bytes.data(), static_cast<int>(bytes.size()), nullptr, asked)));
  if (lost && usedDefault) *lost = true;
  return bytes;
}

// The characters of the bytes when they read as that kind and back as
// themselves; nothing otherwise.
std::optional<std::wstring> DecodeExact(std::string_view bytes, Encoding::Kind kind) {
  if (kind != Encoding::Bytes &&
      MultiByteToWideChar(CodePageOf(kind), MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr,
                          0) == 0 &&
      !bytes.empty()) {
    return std::nullopt;
  }
  std::wstring text = DecodeAll(bytes, kind);
  if (EncodeAll(text, kind) != bytes) return std::nullopt;
  return text;
}

}  // namespace

std::wstring DecodeDefinition(std::string_view bytes, Encoding& encoding) {
  const bool bom = bytes.starts_with(kByteOrderMark);
  if (auto text = DecodeExact(bom ? bytes.substr(kByteOrderMark.size()) : bytes, Encoding::Utf8)) {
    encoding = {Encoding::Utf8, bom};
    return std::move(*text);
  }
  if (auto text = DecodeExact(bytes, Encoding::Ansi)) {
    encoding = {Encoding::Ansi, false};
    return std::move(*text);
  }
  encoding = {Encoding::Bytes, false};
  return DecodeAll(bytes, Encoding::Bytes);
}

std::wstring Decode(std::string_view bytes, Encoding encoding) {
  if (encoding.bom && bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  return DecodeAll(bytes, encoding.kind);
}

Text Encode(std::wstring_view text, Encoding encoding) {
  Text bytes = encoding.bom ? Text(kByteOrderMark) : Text();
  bytes += EncodeAll(text, encoding.kind);
  return bytes;
}

std::optional<Text> EncodeExactly(std::wstring_view text, Encoding encoding) {
  bool lost = false;
  Text bytes = encoding.bom ? Text(kByteOrderMark) : Text();
  bytes += EncodeAll(text, encoding.kind, &lost);
  if (lost) return std::nullopt;
  return bytes;
}

std::wstring Widen(std::string_view utf8) { return DecodeAll(utf8, Encoding::Utf8); }

Text Narrow(std::wstring_view text) { return EncodeAll(text, Encoding::Utf8); }

std::wstring DecodeLines(std::string_view text, Encoding definition) {
  std::wstring shown;
  for (;;) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end == std::string_view::npos ? end : end + 1);
    if (auto utf8 = DecodeExact(line, Encoding::Utf8)) {
      shown += *utf8;
    } else {
      shown += DecodeAll(line, definition.kind);
    }
    if (end == std::string_view::npos) return shown;
    text.remove_prefix(end + 1);
  }
}

}  // namespace pravel::win32
