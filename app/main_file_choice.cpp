#include "app/main_file_choice.h"

#include "app/dialogs.h"
#include "source/recorded_main_file.h"

RecordedMain MainFileToTakeUp(GtkWindow* parent, RecordedMain given,
                              const std::string& project_folder) {
  for (;;) {
    if (given.Path.empty()) given = {ChooseMainFile(parent, project_folder), MainFileOrigin::Given};
    if (given.Path.empty()) return given;
    const MainFileChoice choice = MainFileOfGiven(given.Path);
    if (choice.Error.empty()) {
      const bool project = choice.Origin == MainFileOrigin::ProjectFile;
      return {choice.Path, project ? choice.Origin : given.Origin};
    }
    ShowMessage(parent, choice.Error);
    given.Path.clear();
  }
}
