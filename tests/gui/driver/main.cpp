// The GUI test driver: a Win32 program under the same wineserver as the
// Pravel.exe it starts, checks and ends.
#include <gtest/gtest.h>

#include "GuiSetup.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new pravel::gui::GuiSetup);
  return RUN_ALL_TESTS();
}
