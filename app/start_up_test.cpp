#include "app/start_up.h"
#include "app/program_directory_posix.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/gtk_test_support.h"

// Last: Xlib's macros would clash with names in the headers above.
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

namespace {

namespace fs = std::filesystem;

TEST(ProgramDirectory, IsTheDirectoryOfTheRunningExecutable) {
  // The test binary is built beside the program.
  EXPECT_EQ(ProgramDirectory(), fs::path(PBST_PROGRAM).parent_path().string());
}

std::string CommandOutput(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  pclose(pipe);
  return output;
}

// X windows of process `pid` named exactly "PB Sourcetrek" whose size is 1000 x 610 (other
// tests may show windows of the same name on the same display meanwhile).
std::vector<unsigned long> MainWindowsOnScreen(pid_t pid) {
  std::vector<unsigned long> found;
  std::istringstream ids(CommandOutput("xdotool search --all --pid " + std::to_string(pid) +
                                       " --name '^PB Sourcetrek$' 2>/dev/null"));
  for (unsigned long id = 0; ids >> id;) {
    const std::string geometry =
        CommandOutput("xdotool getwindowgeometry " + std::to_string(id) + " 2>/dev/null");
    if (geometry.find("Geometry: 1000x610") != std::string::npos) found.push_back(id);
  }
  return found;
}

// True when a screenshot of window `id` shows the pale yellow band of listed call rows.
bool ShowsCallRows(unsigned long id, const std::string& shot) {
  CommandOutput("import -window " + std::to_string(id) + " " + shot + " 2>/dev/null");
  GdkPixbuf* image = gdk_pixbuf_new_from_file(shot.c_str(), nullptr);
  if (image == nullptr) return false;
  const int channels = gdk_pixbuf_get_n_channels(image);
  const guchar* pixels = gdk_pixbuf_get_pixels(image);
  const size_t length = static_cast<size_t>(gdk_pixbuf_get_rowstride(image)) *
                        static_cast<size_t>(gdk_pixbuf_get_height(image) - 1) +
                        static_cast<size_t>(gdk_pixbuf_get_width(image) * channels);
  bool band = false;
  for (size_t at = 0; at + 2 < length && !band; at += static_cast<size_t>(channels)) {
    band = pixels[at] == 255 && pixels[at + 1] == 255 && pixels[at + 2] == 230;
  }
  g_object_unref(image);
  return band;
}

// Sends the window manager's close request to window `id`, as a close button does.
void RequestClose(unsigned long id) {
  Display* display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = id;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, id, False, NoEventMask, &event);
  XFlush(display);
}

// Waits up to `seconds` for `child`; its exit status, or -1 when it had to be killed.
int WaitForExit(pid_t child, int seconds) {
  int status = 0;
  for (int tick = 0; tick < seconds * 20; ++tick) {
    if (waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    g_usleep(50000);
  }
  kill(child, SIGKILL);
  waitpid(child, &status, 0);
  return -1;
}

template <typename Condition>
bool WaitFor(Condition condition, int seconds) {
  for (int tick = 0; tick < seconds * 10; ++tick) {
    if (condition()) return true;
    g_usleep(100000);
  }
  return false;
}

TEST(ProgramEndToEnd, OpensTheExampleFromARelativePathListsAndClosesWithStatusZero) {
  if (!gtk_test::DisplayOpens()) GTEST_SKIP() << "no display";
  const fs::path example = PBST_EXAMPLE_MAIN;
  ASSERT_TRUE(fs::exists(example));
  gtk_test::TempProject scratch;
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    // Started from the example's folder with a relative main file, as from a shell.
    if (chdir(example.parent_path().c_str()) == 0) {
      execl(PBST_PROGRAM, PBST_PROGRAM, example.filename().c_str(), "", "AddItem",
            static_cast<char*>(nullptr));
    }
    _exit(127);
  }
  std::vector<unsigned long> windows;
  const bool appeared = WaitFor([&] { return !(windows = MainWindowsOnScreen(child)).empty(); }, 30);
  EXPECT_TRUE(appeared);
  if (appeared) {
    EXPECT_EQ(windows.size(), 1u);
    const std::string shot = scratch.Folder() + "/shot.png";
    EXPECT_TRUE(WaitFor([&] { return ShowsCallRows(windows[0], shot); }, 20));
    RequestClose(windows[0]);
  }
  EXPECT_EQ(WaitForExit(child, 20), 0);
}

}  // namespace
