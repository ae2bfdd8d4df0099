#include "app/program_directory_posix.h"

#include <glib.h>

#include "source/path_parts.h"

std::string ProgramDirectory() {
  gchar* executable = g_file_read_link("/proc/self/exe", nullptr);
  if (executable == nullptr) return {};
  std::string directory(DirectoryPart(executable));
  g_free(executable);
  if (directory.size() > 1) directory.pop_back();
  return directory;
}
