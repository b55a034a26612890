// The links of a definition, and the report of their check.
#include "definition/Definition.h"
#include "definition/Normalise.h"
#include "linkcheck/LinkCheck.h"

namespace pravel {

namespace {

Text Number(std::size_t count) { return NumberToText(static_cast<std::int64_t>(count)); }

Text Counted(std::size_t count, const char* one, const char* many) {
  return Number(count) + " " + (count == 1 ? one : many);
}

Text LinkLine(const CheckedLink& checked) {
  const LinkToCheck& link = checked.link;
  const bool moved = checked.verdict.state == LinkState::Moved;
  return link.menu + " / " + link.name + ": " + link.address + ": " + (moved ? "moved to " : "") +
         checked.verdict.detail;
}

}  // namespace

// The records the build sorts are the links of the page, in its order; a
// record views its statements, whose values are what the page shows.
std::vector<LinkToCheck> LinksToCheck(const TextLines& definition) {
  const Records records = CollectRecords(definition, 0);
  std::vector<LinkToCheck> links;
  links.reserve(records.Count());
  for (std::size_t k = 0; k < records.Count(); ++k) {
    links.push_back(LinkToCheck{Text(StatementValue(records[k].menu)), Text(StatementValue(records[k].link)),
                                Text(StatementValue(records[k].address))});
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
  for (const LinkState state : {LinkState::Dead, LinkState::Moved}) {
    for (const CheckedLink& checked : report.links) {
      if (checked.verdict.state == state) lines.push_back(LinkLine(checked));
    }
  }
  const CheckCounts counts = CountLinks(report);
  if (counts.notChecked > 0) {
    lines.push_back("The check was stopped: " + Counted(counts.notChecked, "link was", "links were") + " not checked.");
  }
  lines.push_back(Counted(counts.checked, "link", "links") + " checked, " + Number(counts.dead) + " dead, " +
                  Number(counts.moved) + " moved, " + Number(counts.notTried) + " not tried");
  return lines;
}

Text CheckReportText(const CheckReport& report) {
  Text text;
  for (const Text& line : CheckReportLines(report)) AppendLine(text, line);
  return text;
}

}  // namespace pravel
