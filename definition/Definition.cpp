#include "definition/Definition.h"

namespace pravel {

bool HoldsKeyword(std::string_view line, std::string_view key) { return Holds(line, key); }

namespace {

// Does the text before `end` in the line end with the word, compared
// without regard to case?
bool WordBefore(std::string_view line, std::size_t end, std::string_view lowerWord) {
  if (end < lowerWord.size()) return false;
  const std::size_t from = end - lowerWord.size();
  for (std::size_t k = 0; k < lowerWord.size(); ++k) {
    if (LowerByte(line[from + k]) != lowerWord[k]) return false;
  }
  return true;
}

}  // namespace

LineKeywords FindKeywords(std::string_view line) {
  constexpr std::string_view kPair = "=<";
  LineKeywords found;
  for (std::size_t pair = line.find(kPair); pair != std::string_view::npos; pair = line.find(kPair, pair + 1)) {
    for (int kind = 0; kind < 3; ++kind) {
      const std::string_view word = kKeywords[kind].substr(0, kKeywords[kind].size() - kPair.size());
      if (!WordBefore(line, pair, word)) continue;
      if (found.at[kind] == std::string_view::npos) found.at[kind] = pair - word.size();
      if (pair + kPair.size() < line.size() && line[pair + kPair.size()] == '>') found.empty[kind] = true;
    }
  }
  return found;
}

std::string_view StatementValue(std::string_view line) {
  const std::size_t open = line.find('<');
  if (open == std::string_view::npos) return {};
  // A ">" standing before the "<" closes nothing; the value ends at the
  // first ">" after the "<", or runs to the end of the line.
  const std::size_t close = line.find('>', open + 1);
  if (close == std::string_view::npos) return line.substr(open + 1);
  return line.substr(open + 1, close - open - 1);
}

bool InsideStatement(std::string_view line, std::size_t caret) {
  for (std::size_t at = 0; at < line.size();) {
    std::size_t key = std::string_view::npos;
    std::size_t keyLength = 0;
    for (const std::string_view keyword : kKeywords) {
      if (const std::size_t found = FindLower(line, keyword, at); found < key) {
        key = found;
        keyLength = keyword.size();
      }
    }
    if (key == std::string_view::npos || key >= caret) return false;
    const std::size_t close = line.find('>', key + keyLength);
    if (close == std::string_view::npos || caret <= close) return true;
    at = close + 1;
  }
  return false;
}

Text QuotedLine(std::string_view line) {
  // Long enough to recognise a line, short enough for a message box.
  constexpr std::size_t kLength = 80;
  Text out(1, '"');
  out.append(line.substr(0, kLength));
  if (line.size() > kLength) out.append("...");
  out.push_back('"');
  return out;
}

}  // namespace pravel
