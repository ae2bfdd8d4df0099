#include "app/main_file_choice.h"

#include "app/dialogs.h"
#include "source/recorded_main_file.h"

std::string MainFileToTakeUp(GtkWindow* parent, std::string given, const std::string& project_folder) {
  for (;;) {
    if (given.empty()) given = ChooseMainFile(parent, project_folder);
    if (given.empty()) return given;
    const MainFileChoice choice = MainFileOfGiven(given);
    if (choice.Error.empty()) return choice.Path;
    ShowMessage(parent, choice.Error);
    given.clear();
  }
}
