#include "bookmarks/BookmarkImport.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "bookmarks/BookmarkEncoding.h"
#include "bookmarks/BookmarkReader.h"
#include "definition/Definition.h"
#include "text/HtmlText.h"

namespace pravel {

namespace {

// Schemes a page's menu cannot take the browser to: Firefox's place:
// queries, the browsers' own pages, and addresses a page may not open at
// the top (data:, blob:). javascript: stays: a bookmarklet runs from the
// menu as it runs from the browser's bar.
bool PageCannotOpen(std::string_view address) {
  static constexpr std::string_view kClosed[] = {"place",       "about", "chrome",  "chrome-extension", "edge",
                                                 "brave",       "opera", "vivaldi", "moz-extension",    "resource",
                                                 "view-source", "data",  "blob",    "filesystem"};
  const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  if (address.empty() || !isLetter(address[0])) return false;
  std::size_t end = 1;
  while (end < address.size() && (isLetter(address[end]) || (address[end] >= '0' && address[end] <= '9') ||
                                  address[end] == '+' || address[end] == '-' || address[end] == '.')) {
    ++end;
  }
  if (end >= address.size() || address[end] != ':') return false;
  const Text scheme = TextLower(address.substr(0, end));
  return std::find(std::begin(kClosed), std::end(kClosed), scheme) != std::end(kClosed);
}

// What the browser showed, as a definition value the page shows the same:
// a value ends at the first ">" and a line holding "=<" would count as a
// statement, so neither may stand in it; and an "&" that begins a reference
// would be shown as the character it stands for, so it is written "&amp;".
// In a name "<" and ">" become references; in an address they become the
// escapes the browser itself sends for them.
enum class ValueKind { Name, Address };
void AppendValue(Text& out, std::string_view shown, ValueKind kind) {
  std::size_t at = 0;
  for (std::size_t hit = shown.find_first_of("&<>"); hit != std::string_view::npos;
       hit = shown.find_first_of("&<>", at)) {
    out.append(shown.substr(at, hit - at));
    at = hit + 1;
    if (shown[hit] == '&') {
      out += CharacterReferenceLength(shown.substr(hit)) > 0 ? "&amp;" : "&";
    } else if (kind == ValueKind::Name) {
      out += shown[hit] == '<' ? "&lt;" : "&gt;";
    } else {
      out += shown[hit] == '<' ? "%3C" : "%3E";
    }
  }
  out.append(shown.substr(at));
}

// A menu name: its blanks become "_", as the page shows them, so the build
// has no name to rename.
Text MenuNameValue(std::string_view shown) {
  Text underscored(shown);
  std::replace(underscored.begin(), underscored.end(), ' ', '_');
  Text out;
  AppendValue(out, underscored, ValueKind::Name);
  return out;
}

struct Menu {
  std::size_t folder;
  std::vector<const Bookmark*> links;
  Text name;
};

Text FolderTitle(const BookmarkTree& tree, std::size_t folder) {
  const Text& title = folder == kTopLevel ? tree.heading : tree.folders[folder].title;
  if (!title.empty()) return title;
  return folder == kTopLevel ? "Bookmarks" : "Untitled";
}

// Each menu's name shows its folder's title. Two folders never share a
// menu: the build groups links by the menu name as written and sorts
// without regard to letter case, so names equal but for case would mix
// their links. Where titles clash, each clashing folder that lies in
// another takes that one's title before its own ("Work/Docs"); names that
// still clash take a number, the first keeping its name ("Docs_(2)").
void NameMenus(const BookmarkTree& tree, std::vector<Menu>& menus) {
  std::unordered_map<Text, std::size_t> uses;
  for (Menu& menu : menus) ++uses[TextLower(menu.name = MenuNameValue(FolderTitle(tree, menu.folder)))];
  for (Menu& menu : menus) {
    if (uses[TextLower(menu.name)] < 2 || menu.folder == kTopLevel) continue;
    const std::size_t parent = tree.folders[menu.folder].parent;
    if (parent != kTopLevel) menu.name = MenuNameValue(FolderTitle(tree, parent)) + "/" + menu.name;
  }
  uses.clear();
  for (const Menu& menu : menus) ++uses[TextLower(menu.name)];
  std::unordered_set<Text> taken;
  std::unordered_map<Text, std::int64_t> nextNumber;
  for (Menu& menu : menus) {
    const Text key = TextLower(menu.name);
    if (taken.insert(key).second) continue;
    // The numbers go up from where this name's last one stopped, and skip
    // any that another folder's own name holds.
    std::int64_t& number = nextNumber.try_emplace(key, 2).first->second;
    for (;; ++number) {
      Text numbered = menu.name + "_(" + NumberToText(number) + ")";
      const Text numberedKey = TextLower(numbered);
      if (!uses.contains(numberedKey) && taken.insert(numberedKey).second) {
        menu.name = std::move(numbered);
        break;
      }
    }
  }
}

Text Definition(const std::vector<Menu>& menus) {
  std::size_t size = 0;
  for (const Menu& menu : menus) {
    size += 2 * CRLF.size() + kMenuNameKey.size() + menu.name.size() + 1;
    for (const Bookmark* link : menu.links) size += 64 + link->title.size() + 2 * link->address.size();
  }
  Text out;
  out.reserve(size);
  for (const Menu& menu : menus) {
    if (!out.empty()) out += CRLF;
    out.append(kMenuNameKey).append(menu.name).append(">").append(CRLF);
    for (const Bookmark* link : menu.links) {
      // An empty title would be an empty statement: the address names it.
      out.append(kLinkNameKey);
      AppendValue(out, link->title.empty() ? link->address : link->title, ValueKind::Name);
      out.append(">").append(CRLF).append(kLinkAddressKey);
      AppendValue(out, link->address, ValueKind::Address);
      out.append(">").append(CRLF);
    }
  }
  return out;
}

Text Counted(std::size_t count, std::string_view one, std::string_view many) {
  return NumberToText(static_cast<std::int64_t>(count)) + " " + Text(count == 1 ? one : many);
}

}  // namespace

BookmarkImport ImportBookmarks(std::string_view bytes) {
  BookmarkImport import;
  if (!IsBookmarkFile(bytes)) {
    import.error = "it is not a bookmark file (one begins with <!DOCTYPE NETSCAPE-Bookmark-file-1>)";
    return import;
  }
  const BookmarkText text = BookmarkFileText(bytes);
  if (!text.unknownCharset.empty()) {
    constexpr std::size_t kShown = 40;
    const Text label = RepairedUtf8(std::string_view(text.unknownCharset).substr(0, kShown)) +
                       (text.unknownCharset.size() > kShown ? "..." : "");
    import.error = "it is written in the character set \"" + label +
                   "\"; bookmark files are read in UTF-8, UTF-16, windows-1252 and ISO-8859-1";
    return import;
  }
  import.read = true;
  const BookmarkTree tree = ReadBookmarkTree(text.utf8);

  std::vector<Menu> menus;
  for (std::size_t folder = 0; folder < tree.folders.size(); ++folder) {
    Menu menu{folder, {}, {}};
    for (const Bookmark& bookmark : tree.folders[folder].bookmarks) {
      if (bookmark.address.empty()) {
        ++import.withoutAddress;
      } else if (PageCannotOpen(bookmark.address)) {
        ++import.cannotOpen;
      } else {
        menu.links.push_back(&bookmark);
      }
    }
    import.links += menu.links.size();
    if (!menu.links.empty()) menus.push_back(std::move(menu));
  }
  if (menus.empty()) {
    import.error = "it holds no bookmark a page can open";
    return import;
  }
  std::stable_sort(menus.begin(), menus.end(), [&tree](const Menu& a, const Menu& b) {
    return tree.folders[a.folder].order < tree.folders[b.folder].order;
  });
  NameMenus(tree, menus);
  import.menus = menus.size();
  import.definition = Definition(menus);
  return import;
}

Text ImportSummary(const BookmarkImport& import, std::string_view fileName) {
  Text text = import.error.empty() ? "Imported " + Counted(import.links, "link", "links") + " in " +
                                         Counted(import.menus, "menu", "menus") + " from " + Text(fileName)
                                   : "Nothing was imported from " + Text(fileName) + ": " + import.error;
  if (import.withoutAddress > 0) {
    text += Text(CRLF) + "Left out: " + Counted(import.withoutAddress, "bookmark", "bookmarks") + " without an address";
  }
  if (import.cannotOpen > 0) {
    text += Text(CRLF) + "Left out: " + Counted(import.cannotOpen, "bookmark", "bookmarks") +
            " a page cannot open (place: queries, a browser's own pages, data: addresses)";
  }
  return text;
}

}  // namespace pravel
