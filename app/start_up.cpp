#include "app/start_up.h"

#include <gtk/gtk.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "app/command_line.h"
#include "app/commands.h"
#include "app/main_file_choice.h"
#include "app/main_window.h"
#include "app/program_directory_posix.h"
#include "app/window_help.h"
#include "source/path_parts.h"

namespace {

std::string CurrentDirectory() {
  gchar* directory = g_get_current_dir();
  std::string result = directory;
  g_free(directory);
  return result;
}

// The working directory only decides where the file dialog starts, so a failure to change
// it is no reason to stop.
bool EnterProgramDirectory() {
  const std::string directory = ProgramDirectory();
  return !directory.empty() && chdir(directory.c_str()) == 0;
}

// The display that could not be opened, as the user named it.
std::string DisplayName() {
  const char* name = gdk_get_display_arg_name();
  if (name == nullptr) name = std::getenv("DISPLAY");
  return name != nullptr && *name != '\0' ? name : "(DISPLAY is not set)";
}

}  // namespace

int RunSourcetrek(int argc, char** argv) {
  // Relative paths on the command line name files from where the program was started.
  const std::string launch_directory = CurrentDirectory();
  gtk_parse_args(&argc, &argv);
  if (RefuseUnknownOption(std::vector<std::string>(argv + std::min(argc, 1), argv + argc),
                          std::cerr)) {
    return 2;
  }
  if (!gtk_init_check(&argc, &argv)) {
    std::cerr << "pb-sourcetrek: cannot open display " << DisplayName() << '\n';
    return 1;
  }
  PangoFontDescription* result_font = pango_font_description_from_string("Monospace 9");
  EnterProgramDirectory();
  const std::vector<std::string> parameters(argv + std::min(argc, 1), argv + std::min(argc, 4));
  StartUpParameters start = ReadParameters(parameters, launch_directory);
  {
    MainWindow window(result_font);
    window.Show();
    window.Lists().RefreshListSelector();
    const RecordedMain main_file =
        MainFileToTakeUp(window.Window(), {start.MainFile, start.Origin}, "");
    if (!main_file.Path.empty()) {
      TakeUpMainFile(window, main_file);
      RunStartUpLookup(window, start.StartTerm);
      if (!window.QuitRequested()) gtk_main();
    }
  }
  pango_font_description_free(result_font);
  return 0;
}
