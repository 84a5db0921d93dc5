// The platform-free code keeps its own copies of the few Windows values it decides by, since it
// includes no Windows header. Each copy is checked here against the SDK, where the Windows side
// compiles: a wrong copy fails the build.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "app/core/RowSearch.h"
#include "clean/core/DeleteCommand.h"
#include "common/core/DriveTypes.h"

namespace qorvani {

// The shell's file operation.
static_assert(kFofSilent == FOF_SILENT);
static_assert(kFofNoConfirmation == FOF_NOCONFIRMATION);
static_assert(kFofAllowUndo == FOF_ALLOWUNDO);
static_assert(kFofFilesOnly == FOF_FILESONLY);
static_assert(kFofNoErrorUi == FOF_NOERRORUI);
static_assert(kFofNoConnectedElements == FOF_NO_CONNECTED_ELEMENTS);
static_assert(kFofWantNukeWarning == FOF_WANTNUKEWARNING);
static_assert(kShellPathLimit == MAX_PATH);
static_assert(kErrorFileNotFound == ERROR_FILE_NOT_FOUND);

// GetDriveTypeW.
static_assert(kDriveRemovable == DRIVE_REMOVABLE);
static_assert(kDriveFixed == DRIVE_FIXED);
static_assert(kDriveRemote == DRIVE_REMOTE);

// The list view's find requests (LVN_ODFINDITEMW).
static_assert(kFindByParam == LVFI_PARAM);
static_assert(kFindString == LVFI_STRING);
#ifdef LVFI_SUBSTRING  // the Windows SDK's, from Vista on; MinGW's <commctrl.h> has none
static_assert(kFindSubstring == LVFI_SUBSTRING);
#endif
static_assert(kFindPartial == LVFI_PARTIAL);
static_assert(kFindWrap == LVFI_WRAP);
static_assert(kFindNearestPoint == LVFI_NEARESTXY);

}  // namespace qorvani
