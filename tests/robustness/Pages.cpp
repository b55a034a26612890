#include "Pages.h"

#include <algorithm>

#include "support/TempDir.h"

namespace pravel::test {

namespace fs = std::filesystem;

const Text kPageTemplate = CrLfLines({
    "<!--qx html hdr-->",
    "<html><body>",
    "<div style=\"text-align:left\">",
    "<!--/qx html hdr-->",
    "<!--qx form template1-->",
    "<td><form name=\"xxx\">",
    "<select name=\"xxx\" onchange=\"location=this.value\">",
    "<!--/qx form template1-->",
    "<!--qx single form entry-->",
    "<option value=\"yyy\">zzz</option>",
});
const Text kHeaderFile = CrLfLines({"<html><body>", "<div>"});
const Text kTableHeaderFile = CrLfLines({"<table>"});
const Text kTrailerFile = "</select></td></tr></table></div></body></html>";

void WriteTemplates(const fs::path& folder) {
  WriteFile(folder / "Pravel.ini", kPageTemplate);
  WriteFile(folder / "HdrOnly.txt", kHeaderFile);
  WriteFile(folder / "TableHdr_template.txt", kTableHeaderFile);
  WriteFile(folder / "TrlOnly.txt", kTrailerFile);
}

Text DefinitionOf(const std::vector<Menu>& menus) {
  Text text;
  for (const Menu& menu : menus) {
    text += "menuname=<" + menu.name + ">\r\n";
    for (const Link& link : menu.links) text += "linkname=<" + link.name + ">\r\nlinkaddress=<" + link.address + ">\r\n";
  }
  return text;
}

Text NormalisedOf(const std::vector<Menu>& menus) {
  Text text;
  for (const Menu& menu : menus) {
    text += " \r\nmenuname=<" + menu.name + ">\r\n \r\n";
    for (const Link& link : menu.links) {
      text += "linkname=<" + link.name + ">\r\nlinkaddress=<" + link.address + ">\r\n \r\n";
    }
  }
  return text;
}

namespace {

Text FormOf(const Menu& menu) {
  Text text = CrLfLines({"<td><form name=\"" + menu.name + "\">",
                         "<select name=\"" + menu.name + "\" onchange=\"location=this.value\">"});
  for (const Link& link : menu.links) text += "<option value=\"" + link.address + "\">" + link.name + "</option>\r\n";
  return text;
}

}  // namespace

Text DraftOf(const std::vector<Menu>& menus) {
  Text text = CrLfLines({"<html><body>", "<div style=\"text-align:left\">"});
  for (std::size_t i = 0; i < menus.size(); ++i) {
    if (i > 0) text += "</select>\r\n";
    text += FormOf(menus[i]);
  }
  return text + "</select></td></tr></table></div><br></body></html>\r\n";
}

Text PageOf(const std::vector<Menu>& menus, const std::vector<Text>& separators) {
  Text text = kHeaderFile + kTableHeaderFile;
  for (std::size_t i = 0; i < menus.size(); ++i) {
    if (i > 0) text += "</select>\r\n";
    text += separators.at(i) + "\r\n" + FormOf(menus[i]);
  }
  return text + kTrailerFile + "\r\n";
}

std::vector<Menu> ThreeMenus() {
  return {
      {"Bread", {{"Rye", "rye.html"}}},
      {"Fruit", {{"Apples", "apples.html"}, {"Pears", "pears.html"}}},
      {"Tools", {{"Saw", "saw.html"}}},
  };
}

std::vector<Text> Listing(const fs::path& folder) {
  std::vector<Text> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string() + (entry.is_directory() ? "/" : ""));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace pravel::test
