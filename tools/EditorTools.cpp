#include "tools/EditorTools.h"

namespace pravel {

Text PasteTemplateText(std::string_view command) {
  Text text(CRLF);
  if (command == "PasteMenu") {
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

}  // namespace pravel
