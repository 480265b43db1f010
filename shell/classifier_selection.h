#pragma once

namespace shell {

class CMainFrame;

// The classifier selections of the main window: Region Selection shows, in the KLADR
// window, the settlements of the region current in the REGION window; Settlement Selection
// shows, in the STREET window, the streets of the settlement current in the KLADR window.
// Each sets the target window's conditions to two on CODE (its deletion and emptiness
// options stay), applies them and makes the target window active.
//
// The windows are found by their table's file name (the last window of a name wins); a
// missing window or a source window without a current record is reported and nothing
// changes.

enum class ClassifierSelection { kRegion, kSettlement };

// Whether the selection can be asked for: the active table window shows the source table
// ("Region" for the region selection, "Kladr" for the settlement selection, in any case).
bool CanSelect(const CMainFrame& main, ClassifierSelection selection);
void Select(CMainFrame& main, ClassifierSelection selection);

} // namespace shell
