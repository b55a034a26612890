// The links of a definition, and the report of their check.
#include "definition/Definition.h"
#include "definition/Normalise.h"
#include "linkcheck/LinkCheck.h"
#include "text/Charset.h"

namespace pravel {

namespace {

Text Number(std::size_t count) { return NumberToText(static_cast<std::int64_t>(count)); }

Text Counted(std::size_t count, const char* one, const char* many) {
  return Number(count) + " " + (count == 1 ? one : many);
}

// The words a state is reported in, before its detail.
const char* StateWords(LinkState state) {
  switch (state) {
    case LinkState::Moved:
      return "moved to ";
    case LinkState::AccessRefused:
      return "access refused: ";
    case LinkState::RateLimited:
      return "rate-limited: ";
    default:
      return "";
  }
}

Text LinkLine(const CheckedLink& checked) {
  const LinkToCheck& link = checked.link;
  return link.menu + " / " + link.name + ": " + link.address + ": " + StateWords(checked.verdict.state) +
         checked.verdict.detail;
}

// A JSON string of UTF-8 text.
void AppendJsonString(Text& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (b < 0x20) {
      out += "\\u00";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      out += c;
    }
  }
  out += '"';
}

const char* StateName(LinkState state) {
  switch (state) {
    case LinkState::Alive:
      return "alive";
    case LinkState::Moved:
      return "moved";
    case LinkState::Dead:
      return "dead";
    case LinkState::AccessRefused:
      return "access refused";
    case LinkState::RateLimited:
      return "rate-limited";
    case LinkState::NotTried:
      return "not tried";
    case LinkState::NotChecked:
      break;
  }
  return "not checked";
}

}  // namespace

// The records the build sorts are the links of the page, in its order; a
// record views its statements, whose values are what the page shows.
std::vector<LinkToCheck> LinksToCheck(const TextLines& definition, const DefinitionToUtf8& toUtf8) {
  const Records records = CollectRecords(definition, 0);
  const bool convert = toUtf8 && !IsUtf8(definition.Whole());
  const auto value = [&](std::string_view statement) {
    return convert ? toUtf8(StatementValue(statement)) : Text(StatementValue(statement));
  };
  std::vector<LinkToCheck> links;
  links.reserve(records.Count());
  for (std::size_t k = 0; k < records.Count(); ++k) {
    links.push_back(LinkToCheck{value(records[k].menu), value(records[k].link), value(records[k].address)});
  }
  return links;
}

CheckCounts CountLinks(const CheckReport& report) {
  CheckCounts counts;
  for (const CheckedLink& checked : report.links) {
    switch (checked.verdict.state) {
      case LinkState::Dead:
        ++counts.dead;
        ++counts.checked;
        break;
      case LinkState::Moved:
        ++counts.moved;
        ++counts.checked;
        break;
      case LinkState::Alive:
        ++counts.alive;
        ++counts.checked;
        break;
      case LinkState::AccessRefused:
        ++counts.accessRefused;
        ++counts.checked;
        break;
      case LinkState::RateLimited:
        ++counts.rateLimited;
        ++counts.checked;
        break;
      case LinkState::NotTried:
        ++counts.notTried;
        break;
      case LinkState::NotChecked:
        ++counts.notChecked;
        break;
    }
  }
  return counts;
}

bool AnyDead(const CheckReport& report) { return CountLinks(report).dead > 0; }

std::vector<Text> CheckReportLines(const CheckReport& report) {
  std::vector<Text> lines;
  for (const LinkState state : {LinkState::Dead, LinkState::AccessRefused, LinkState::RateLimited, LinkState::Moved}) {
    for (const CheckedLink& checked : report.links) {
      if (checked.verdict.state == state) lines.push_back(LinkLine(checked));
    }
  }
  const CheckCounts counts = CountLinks(report);
  if (counts.notChecked > 0) {
    lines.push_back("The check was stopped: " + Counted(counts.notChecked, "link was", "links were") + " not checked.");
  }
  lines.push_back(Counted(counts.checked, "link", "links") + " checked, " + Number(counts.dead) + " dead, " +
                  Number(counts.moved) + " moved, " + Number(counts.accessRefused) + " access refused, " +
                  Number(counts.rateLimited) + " rate-limited, " + Number(counts.notTried) + " not tried");
  return lines;
}

Text CheckReportText(const CheckReport& report) {
  Text text;
  for (const Text& line : CheckReportLines(report)) AppendLine(text, line);
  return text;
}

Text CheckReportJson(const CheckReport& report) {
  const CheckCounts counts = CountLinks(report);
  Text out = "{\"counts\": {";
  const std::pair<const char*, std::size_t> numbers[] = {
      {"links", report.links.size()},
      {"checked", counts.checked},
      {"alive", counts.alive},
      {"dead", counts.dead},
      {"moved", counts.moved},
      {"access refused", counts.accessRefused},
      {"rate-limited", counts.rateLimited},
      {"not tried", counts.notTried},
      {"not checked", counts.notChecked},
  };
  for (const auto& [name, count] : numbers) {
    if (out.back() != '{') out += ", ";
    AppendJsonString(out, name);
    out += ": " + Number(count);
  }
  out += "},\r\n \"stopped\": ";
  out += report.stopped ? "true" : "false";
  out += ",\r\n \"links\": [";
  for (std::size_t i = 0; i < report.links.size(); ++i) {
    const CheckedLink& checked = report.links[i];
    out += i == 0 ? "\r\n  {\"menu\": " : ",\r\n  {\"menu\": ";
    AppendJsonString(out, checked.link.menu);
    out += ", \"name\": ";
    AppendJsonString(out, checked.link.name);
    out += ", \"address\": ";
    AppendJsonString(out, checked.link.address);
    out += ", \"state\": ";
    AppendJsonString(out, StateName(checked.verdict.state));
    out += ", \"detail\": ";
    AppendJsonString(out, checked.verdict.detail);
    out += "}";
  }
  out += report.links.empty() ? "]}\r\n" : "\r\n ]}\r\n";
  return out;
}

}  // namespace pravel
