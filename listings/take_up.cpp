// Taking up a main file. The window and the report tool both go through here, so the
// order of the steps is written once.
#include "listings/take_up.h"

#include "listings/procedures_list.h"

ListingEnd TakeUpProject(Project& project, const std::string& main_file,
                         ResultList& procedures_list, ListingHost& host) {
  project.MainFile = main_file;
  project.Texts.Forget();
  project.Pieces.Clear();
  project.KeptText.reset();
  project.CheckGraph.reset();
  return TakeUpAgain(project, procedures_list, host);
}

ListingEnd TakeUpAgain(Project& project, ResultList& procedures_list, ListingHost& host) {
  project.SourceFiles = ScanIncludes(project.MainFile, project.Texts);
  project.Candidates.clear();
  project.KeptScope.reset();  // its procedures are replaced
  return ListProcedures(project, procedures_list, host);
}
