#include "tests/common/headless_shell.h"

#include "catalogue/global_data_collection.h"
#include "probe/launcher.h"
#include "service/http_service_library.h"

HeadlessShell InstallHeadlessShell(const Text& userName, const Text& password) {
  InstallServiceLibrary(CreateHttpServiceLibrary());
  HeadlessShell shell{new RecordingProgressList, new RecordingMainWindow};
  g_pProgressList = shell.list;
  SetAppMainWindow(shell.window);
  GetLauncher();
  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  catalogue.userName = userName;
  catalogue.password = password;
  return shell;
}
