// Takes the README's picture of the window: Vorlund.exe started and driven as a user would, over
// a folder made for the picture (its sub-folders ticked, a run done, a row selected), then the
// window's area of the display saved as a PNG.
//   window_picture UNIX_FOLDER UNIX_OUTPUT.png   (the folder holds six files, sub-folders included)
// Not a test: scripts/screenshot.sh --after-run runs it.
#include <cstdio>
#include <string>

#include "acceptance_driver.h"

using namespace vorlund::testing;

namespace {

int Fail(const char* what) {
  std::fprintf(stderr, "window_picture: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Fail("usage: window_picture UNIX_FOLDER UNIX_OUTPUT.png");
  const std::string folder = WindowsPath(argv[1]);
  const std::string output = argv[2];
  Session session;
  if (!session.Ready()) return Fail("the window did not show");
  // Sub-folders ticked first: the listing that typing the path starts takes them in.
  session.ClickSubFolders();
  if (!WaitUntil([&] { return session.SubFoldersTicked(); })) return Fail("the box was not ticked");
  session.TypePath(folder);
  if (!session.WaitForPathBox(folder)) return Fail("the path box never showed the folder");
  if (!WaitUntil([&] { return RowCount(session.Window().file_list) == 6; }))
    return Fail("the six files were not listed");
  Sleep(500);  // the listing settles
  session.StartRun();
  if (!session.WaitForRunEnd()) return Fail("the run did not end");
  session.ClickRow(session.Window().file_list, 1);
  if (!WaitUntil([&] { return ListStateOf(session.Window().file_list).selected == 1; }))
    return Fail("the row was not selected");
  Sleep(500);  // the next ticks draw the selection and the position
  RECT r = {};
  GetWindowRect(session.Window().form, &r);
  char crop[64];
  std::snprintf(crop, sizeof crop, "%ldx%ld+%ld+%ld", r.right - r.left, r.bottom - r.top, r.left,
                r.top);
  if (RunUnix("import -window root -crop " + std::string(crop) + " +repage '" + output + "'") != 0)
    return Fail("the picture could not be saved");
  std::printf("saved %s\n", output.c_str());
  return 0;
}
