// What the window must show, written out here as the user sees it, so the
// tests hold the program to the texts and places themselves rather than to
// the program's own constants.
#pragma once

#include <string>

#include "Screen.h"

namespace pravel::gui {

inline const std::string kCaptionStep1 = "Pravels   -step 1 = Open Input file";
inline const std::string kCaptionStep2 = "Pravels   -step 2  = Validate Input";
inline const std::string kCaptionStep3 = "Pravels   -step 3 = Build Html";
inline const std::string kCaptionStep4 = "Pravels   -step 4 =  Save/Show Html";
inline const std::string kCaptionDone = "Pravels   ...Start anew  with OpenInput or ValidateInput? ...else EXIT.";
inline const std::string kStatusAtStart = "Pravel ";
inline const std::string kPaneAtStart = "Paste  [InputFile]  into here  OR  [Open Input]  file. ";
inline const std::string kNoFileSelected = "No File Selected!  Click on  [OpenInput]  again.";
inline const std::string kOpenDialogTitle = "Load/Open  Input File   *.txt";

// "emptyInput_<>= 0  FileOpen= 1  FileValidated= 0  HtmlBuilt= 0"
std::string StateText(int emptyInput, int fileOpen, int fileValidated, int htmlBuilt);
std::string StatusText(int emptyInput, int fileOpen, int fileValidated, int htmlBuilt);
std::string GuardText(int emptyInput, int fileOpen, int fileValidated, int htmlBuilt);
std::string ValidationReport(int menuNames, int linkAddresses, int linkNames, bool emptyParameter = false);

// A point well inside each command zone of the button bar (client pixels).
struct ZonePoint {
  const char* command;
  int x, y;
};
inline constexpr ZonePoint kOpenInput{"OpenInput", 70, 50};
inline constexpr ZonePoint kSaveAs{"SaveAs", 190, 50};
inline constexpr ZonePoint kValidateInput{"ValidateInput", 300, 50};
inline constexpr ZonePoint kBuildHtml{"BuildHtml", 410, 50};
inline constexpr ZonePoint kSaveShowHtml{"SaveShowHtml", 520, 50};
inline constexpr ZonePoint kPasteMenu{"PasteMenu", 70, 100};
inline constexpr ZonePoint kPasteLink{"PasteLink", 190, 100};
inline constexpr ZonePoint kColumns{"Columns", 300, 100};
inline constexpr ZonePoint kHelp{"Help", 410, 100};
inline constexpr ZonePoint kExit{"Exit", 520, 100};

inline constexpr Rgb kOutlineColour{166, 158, 128};
inline constexpr Rgb kWhite{255, 255, 255};

class PravelApp;

// These wait (a few seconds at most) for the window to show the expected
// state and give what it shows then, for the test to compare.
std::string CaptionOnceItIs(const PravelApp& app, const std::string& expected);
std::string StatusOnceItIs(const PravelApp& app, const std::string& expected);
std::string WhiteOutlineOnceItIs(const PravelApp& app, const std::string& expected);

// Which button the bar outlines in white: its command name, "" when all
// nine outlines have the outline colour, or a description of what is wrong.
std::string WhiteOutline(const Capture& bar);

}  // namespace pravel::gui
