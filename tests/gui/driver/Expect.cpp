#include "Expect.h"

#include "PravelApp.h"

namespace pravel::gui {

namespace {

struct Outline {
  const char* command;
  int left, top, right, bottom;
};

// Where the nine buttons of the picture are outlined ("Columns" is not).
constexpr Outline kOutlines[] = {
    {"SaveShowHtml", 464, 25, 572, 76}, {"BuildHtml", 354, 25, 465, 76}, {"ValidateInput", 252, 25, 350, 76},
    {"SaveAs", 138, 25, 236, 76},       {"OpenInput", 25, 25, 132, 76},  {"Exit", 464, 79, 572, 127},
    {"Help", 354, 79, 465, 127},        {"PasteLink", 136, 79, 242, 127}, {"PasteMenu", 25, 79, 131, 127},
};

}  // namespace

std::string StateText(int emptyInput, int fileOpen, int fileValidated, int htmlBuilt) {
  return "emptyInput_<>= " + std::to_string(emptyInput) + "  FileOpen= " + std::to_string(fileOpen) +
         "  FileValidated= " + std::to_string(fileValidated) + "  HtmlBuilt= " + std::to_string(htmlBuilt);
}

std::string StatusText(int emptyInput, int fileOpen, int fileValidated, int htmlBuilt) {
  return "Pravels: " + StateText(emptyInput, fileOpen, fileValidated, htmlBuilt);
}

std::string GuardText(int emptyInput, int fileOpen, int fileValidated, int htmlBuilt) {
  return "Please, first do the following steps successfully:\r\n"
         "1) Open Input_File,  2) Validate Input_File,  3) Build Html,  \r\n"
         "THEN  Save/Show.\r\n" +
         StateText(emptyInput, fileOpen, fileValidated, htmlBuilt);
}

std::string ValidationReport(int menuNames, int linkAddresses, int linkNames, bool emptyParameter) {
  return "Validation Results: \r\n"
         "    Input must contain at least 1 MenuName.\r\n"
         "SO FAR: there are " +
         std::to_string(menuNames) +
         " MenuNames coded.\r\n"
         "    Input must contain 1 LinkAddress for each LinkName, \r\n"
         "    ie., a one for one corespondence.\r\n"
         "SO FAR: there are " +
         std::to_string(linkAddresses) + "  LinkAddresses coded and " + std::to_string(linkNames) +
         " LinkNames coded.\r\n\r\n" +
         (emptyParameter ? "Input_file contains 'empty_Input_parms', such as ' linkname=<>, Please FIX  Input_File.'"
                         : "");
}

namespace {

constexpr DWORD kSettleTimeout = 10000;

std::string OnceItIs(const std::function<std::string()>& read, const std::string& expected) {
  std::string now;
  WaitUntil(
      [&] {
        now = read();
        return now == expected;
      },
      kSettleTimeout);
  return now;
}

}  // namespace

std::string CaptionOnceItIs(const PravelApp& app, const std::string& expected) {
  return OnceItIs([&] { return app.Caption(); }, expected);
}

std::string StatusOnceItIs(const PravelApp& app, const std::string& expected) {
  return OnceItIs([&] { return app.Status(); }, expected);
}

std::string WhiteOutlineOnceItIs(const PravelApp& app, const std::string& expected) {
  return OnceItIs([&] { return WhiteOutline(app.CaptureButtonBar()); }, expected);
}

std::string WhiteOutline(const Capture& bar) {
  std::string white;
  for (const Outline& o : kOutlines) {
    // The middles of the top and bottom edges: no other outline crosses them.
    const int x = (o.left + o.right) / 2;
    const Rgb top = bar.At(x, o.top);
    const Rgb bottom = bar.At(x, o.bottom - 1);
    if (top == kWhite && bottom == kWhite) {
      if (!white.empty()) return "more than one white outline: " + white + " and " + o.command;
      white = o.command;
    } else if (!(top == kOutlineColour && bottom == kOutlineColour)) {
      return std::string("the outline of ") + o.command + " is " + Describe(top) + " at (" + std::to_string(x) + ", " +
             std::to_string(o.top) + ") and " + Describe(bottom) + " at (" + std::to_string(x) + ", " +
             std::to_string(o.bottom - 1) + ")";
    }
  }
  return white;
}

}  // namespace pravel::gui
