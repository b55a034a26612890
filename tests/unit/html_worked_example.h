// The worked example of the page: templates, a definition out of order, and
// every line the build and Save/Show make of it. Shared by the unit tests and
// the command-line tests.
#pragma once

#include <filesystem>
#include <vector>

#include "support/TempDir.h"

namespace pravel::example {

inline const Text kPageTemplate = test::CrLfLines({
    "<!--qx html hdr-->",
    "<html><body>",
    "<div style=\"text-align:left\">",
    "<!--/qx html hdr-->",
    "<!--qx form template1-->",
    "<td><form name=\"xxx\">",
    "<select name=\"xxx\" onchange=\"location=this.value\">",
    "<option value=\"\">xxx</option>",
    "<!--/qx form template1-->",
    "<!--qx single form entry-->",
    "<option value=\"yyy\">zzz</option>",
});

// Written out of order, with a remark: the build regroups it.
inline const Text kDefinition = test::CrLfLines({"My menus", "menuname=<Tools>", "linkname=<Saw>",
                                                 "linkaddress=<saw.html>", "menuname=<Fruit Shop>", "linkname=<Pears>",
                                                 "linkaddress=<pears.html>", "linkname=<Apples>",
                                                 "linkaddress=<apples.html>"});

inline const std::vector<Text> kMenuLines = {
    "<td><form name=\"Fruit_Shop\">",
    "<select name=\"Fruit_Shop\" onchange=\"location=this.value\">",
    "<option value=\"\">Fruit_Shop</option>",
    "<option value=\"apples.html\">Apples</option>",
    "<option value=\"pears.html\">Pears</option>",
    "</select>",
    "<td><form name=\"Tools\">",
    "<select name=\"Tools\" onchange=\"location=this.value\">",
    "<option value=\"\">Tools</option>",
    "<option value=\"saw.html\">Saw</option>",
};

inline const Text kClosingLine = "</select></td></tr></table></div><br></body></html>";
inline const Text kCellEnd = "</td>";
inline const Text kRowEnd = "</td></tr><br><tr style=\"text-align:center\">";

inline Text Lines(const std::vector<Text>& lines, std::size_t from = 0, std::size_t to = std::string::npos) {
  Text text;
  for (std::size_t i = from; i < lines.size() && i < to; ++i) AppendLine(text, lines[i]);
  return text;
}

inline std::vector<Text> DraftLines() {
  std::vector<Text> draft = {"<html><body>", "<div style=\"text-align:left\">"};
  draft.insert(draft.end(), kMenuLines.begin(), kMenuLines.end());
  draft.push_back(kClosingLine);
  return draft;
}

// The final page; the separator before the second form depends on the
// Columns field.
inline Text FinalPage(const Text& separator) {
  return test::CrLfLines(
             {"<html><body>", "<div style=\"text-align:left\">", "<table>", "<tr style=\"text-align:center\">"}) +
         Lines(kMenuLines, 0, 6) + test::CrLfLines({separator}) + Lines(kMenuLines, 6) +
         test::CrLfLines({"</select></td></tr></table></div></body></html>"});
}

inline void WriteTemplates(const std::filesystem::path& folder) {
  test::WriteFile(folder / "Pravel.ini", kPageTemplate);
  test::WriteFile(folder / "HdrOnly.txt", test::CrLfLines({"<html><body>", "<div style=\"text-align:left\">"}));
  test::WriteFile(folder / "TableHdr_template.txt", test::CrLfLines({"<table>", "<!-- only the first line counts -->"}));
  test::WriteFile(folder / "TrlOnly.txt", "</select></td></tr></table></div></body></html>");
}

}  // namespace pravel::example
