// The bookmarks layer: which files are bookmark files, the character sets
// they come in, the shapes of the files browsers write, and the names and
// values of the definition made from them. Whole Chrome and Firefox files,
// a round trip and the command line's refusals are golden cases.
#include <gtest/gtest.h>

#include "bookmarks/BookmarkImport.h"
#include "bookmarks/BookmarkReader.h"

namespace pravel {
namespace {

constexpr std::string_view kDoctype = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n";

// The definition with "\n" for CR LF, or the error.
Text Imported(std::string_view bytes) {
  const BookmarkImport import = ImportBookmarks(bytes);
  return import.error.empty() ? TextReplace(import.definition, CRLF, "\n") : "error: " + import.error;
}

Text Utf16Le(std::u16string_view text) {
  Text out = "\xFF\xFE";
  for (const char16_t c : text) out.append({static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)});
  return out;
}

TEST(Bookmarks, RecognisedByContentNotByName) {
  const std::pair<Text, bool> cases[] = {
      {"\xEF\xBB\xBF \r\n\t<!doctype  netscape-bookmark-file-1 >", true},
      {Utf16Le(u"<!DOCTYPE NETSCAPE-Bookmark-file-1>"), true},
      // Copies without the doctype: the list comes first, after a page's head.
      {"<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n<DT><A HREF=\"https://a.example/\">a</A>", true},
      {"<!-- copy --><dl><p><dt><h3>Folder</h3>", true},
      {"<DL><DD>a note first<DT><A HREF=\"x\">x</A>", false},
      {"<html><body><p>Links:</p><DL><DT><A HREF=\"x\">x</A></DL>", false},
      {"<DL><DT><A NAME=\"anchor\">x</A>", false},
      {"<!DOCTYPE html><DL><DT>", false},
      {"text <!DOCTYPE NETSCAPE-Bookmark-file-1>", false},
      {"", false},
  };
  for (const auto& [bytes, expected] : cases) EXPECT_EQ(IsBookmarkFile(bytes), expected) << bytes;
}

TEST(Bookmarks, ReadInTheCharacterSetTheFileNames) {
  const Text link = "<DL><DT><A HREF=\"x\">Caf\xE9 \x80</A>";
  const Text utf8Link = "<DL><DT><A HREF=\"x\">Caf\xC3\xA9</A>";
  const std::pair<Text, Text> cases[] = {
      {"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">" + link, "Café €"},
      {"<meta charset='ISO-8859-1'>" + link, "Café €"},
      // A byte-order mark before everything, the <META> included.
      {"\xEF\xBB\xBF" + Text(kDoctype) + "<META CONTENT=\"text/html; charset=windows-1252\">" + utf8Link, "Café"},
      {Utf16Le(u"<!DOCTYPE NETSCAPE-Bookmark-file-1><DL><DT><A HREF=x>Caf\u00E9 \U0001F600</A>"), "Café 😀"},
      // UTF-8 by default, broken sequences shown as U+FFFD; a UTF-16 label
      // without its mark cannot be true of a file whose tags were read.
      {"<DL><DT><A HREF=x>a\xFF\xE2\x82z</A>", "a\xEF\xBF\xBD\xEF\xBF\xBDz"},
      {"<META CONTENT=\"text/html; charset=utf-16\">" + utf8Link, "Café"},
  };
  for (const auto& [body, title] : cases) {
    const Text bytes = body.starts_with("\xEF\xBB\xBF") || body.starts_with("\xFF\xFE") ? body : Text(kDoctype) + body;
    EXPECT_EQ(Imported(bytes), "menuname=<Bookmarks>\nlinkname=<" + title + ">\nlinkaddress=<x>\n") << body;
  }
  EXPECT_EQ(Imported(Text(kDoctype) + "<META CONTENT=\"text/html; charset=KOI8-R\">" + link),
            "error: it is written in the character set \"KOI8-R\"; bookmark files are read in UTF-8, UTF-16, "
            "windows-1252 and ISO-8859-1");
}

TEST(Bookmarks, ReadAsBrowsersReadTheShapesTheyWrite) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      // Safari: no outer list, folders and bookmarks side by side.
      {"<HTML><Title>Bookmarks</Title><H1>Safari</H1>\n<DT><H3 FOLDED>Favourites</H3>\n<DL><p>\n"
       "<DT><A HREF=\"https://www.apple.com/\">Apple</A>\n</DL><p>\n<DT><A HREF=\"https://top.example/\">Top</A>\n"
       "</HTML>",
       "menuname=<Favourites>\nlinkname=<Apple>\nlinkaddress=<https://www.apple.com/>\n\n"
       "menuname=<Safari>\nlinkname=<Top>\nlinkaddress=<https://top.example/>\n"},
      // IE: a blank before ">", nothing closed; a folder without a list is
      // empty, a closing </DL> too many closes nothing.
      {"<DL><p>\n<DT><H3 FOLDED ADD_DATE=\"1\">Links</H3>\n<dt><a href='http://a.example/' >One\n"
       "<DT><A HREF=http://b.example/>Two</A>\n</DL><p></DL></DL>\n<DT><A HREF=\"http://c.example/\">Three</A>",
       "menuname=<Bookmarks>\nlinkname=<One>\nlinkaddress=<http://a.example/>\nlinkname=<Two>\n"
       "linkaddress=<http://b.example/>\nlinkname=<Three>\nlinkaddress=<http://c.example/>\n"},
      // Descriptions (also a folder's, before its list), comments and a
      // page title hold no bookmark; a title's own tags add no text.
      {"<TITLE><DT><A HREF=\"t\">in a title</A></TITLE><!-- <DT><A HREF=\"c\">commented</A> -->\n"
       "<DL><p><DT><H3><A HREF=\"q\">Sub</A>  folder</H3>\n<DD>About <A HREF=\"d\">this</A> folder\n"
       "<DL><p><DT><A HREF=\"https://f.example/\"><b>Bold</b>\ttext</A>\n<DD>Note with <a href=\"z\">a link</a>\n"
       "</DL></DL>",
       "menuname=<Sub_folder>\nlinkname=<Bold text>\nlinkaddress=<https://f.example/>\n"},
      // References as browsers decode them, in text and in an address; an
      // address loses its line breaks and the blanks at its ends.
      {"<DL><DT><A HREF=\" https://e.example/?a=1&currentPage=2&copy=3&amp;b=&lt;&gt;&#10;z&copy \">"
       "&copy 2024 &curren; &notit; &#128; &#0; &#x110000; &amp;lt;</A>",
       "menuname=<Bookmarks>\nlinkname=<© 2024 ¤ ¬it; € \xEF\xBF\xBD \xEF\xBF\xBD &amp;lt;>\n"
       "linkaddress=<https://e.example/?a=1&currentPage=2&copy=3&b=%3C%3Ez©>\n"},
      // Names never shared, also not by letter case: a number where the
      // title alone would clash, skipping one another folder holds.
      {"<DL><DT><H3>Docs</H3><DL><DT><A HREF=a>a</A></DL><DT><H3>docs</H3><DL><DT><A HREF=b>b</A></DL>"
       "<DT><H3>Docs (2)</H3><DL><DT><A HREF=c>c</A></DL><DT><H3>My Docs</H3><DL><DT><A HREF=d>d</A></DL>"
       "<DT><H3>My_Docs</H3><DL><DT><A HREF=e>e</A></DL><DT><H3> </H3><DL><DT><A HREF=f>f</A></DL>",
       "menuname=<Docs>\nlinkname=<a>\nlinkaddress=<a>\n\nmenuname=<docs_(3)>\nlinkname=<b>\nlinkaddress=<b>\n\n"
       "menuname=<Docs_(2)>\nlinkname=<c>\nlinkaddress=<c>\n\nmenuname=<My_Docs>\nlinkname=<d>\nlinkaddress=<d>\n\n"
       "menuname=<My_Docs_(2)>\nlinkname=<e>\nlinkaddress=<e>\n\nmenuname=<Untitled>\nlinkname=<f>\n"
       "linkaddress=<f>\n"},
  };
  for (const auto& [body, definition] : cases) EXPECT_EQ(Imported(Text(kDoctype) + Text(body)), definition) << body;
}

}  // namespace
}  // namespace pravel
