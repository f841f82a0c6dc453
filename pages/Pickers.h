// The browse buttons of the wizard pages: single-file pickers that fill a field and record an
// AssetRef, the slideshow's multi-file picker, and the save-location folder pickers.
#pragma once

#include "model/Texts.h"
#include "model/ThemeProject.h"
#include "pages/Controls.h"
#include "platform/Dialogs.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The filters of the file dialogs ("description|masks"; the dialog closes the list with "||").
namespace filter {
inline constexpr std::string_view kIcon = text::kIconFilter;
inline constexpr std::string_view kPointer = text::kPointerFilter;
inline constexpr std::string_view kSound = text::kSoundFilter;
inline constexpr std::string_view kScreensaver = text::kScreensaverFilter;
inline constexpr std::string_view kPicture = text::kPictureFilter;
inline constexpr std::string_view kStyle = text::kStyleFilter;
} // namespace filter

// The filter with the closing "||" added unless it already ends with it.
std::string closedFilter(std::string_view filter);

// Where a picker records its choice. Positions of the fixed arrays count from 1.
enum class SlotKind { Icon, Cursor, Sound, Screensaver, Wallpaper, VisualStyle };
struct SlotId {
    SlotKind kind;
    int position = 1;
};
AssetRef& slotOf(ThemeProject& project, SlotId slot);

struct AssetPickerDef {
    ControlId button; // the browse button, captioned "打开"
    ControlId field;  // the path field it fills
    std::string_view filter;
    SlotId slot;
};

// Every single-file picker of both page sets; the Windows 7 and XP pickers of a role share the
// slot.
std::span<const AssetPickerDef> assetPickers();
// The picker of a browse button, or nullptr.
const AssetPickerDef* findAssetPicker(ControlId button);
// The picker whose browse button or path field is `control`, or nullptr.
const AssetPickerDef* findAssetPickerOf(ControlId control);

// The shared open-file dialog keeps the last confirmed path as its file name, so each dialog
// opens in the folder of the previous pick.
struct FileDialogState {
    std::string fileName;
};

// Runs the shared open-file dialog for one picker. On confirmation the field shows the full path
// and the slot records it with its file name; a cancel changes nothing.
void pickAssetFile(const AssetPickerDef& picker, Dialogs& dialogs, FileDialogState& dialog,
                   Controls& controls, ThemeProject& project);
// What a confirmed pick does with its path; a file dropped on the field takes the same way.
void takeAssetFile(const AssetPickerDef& picker, const std::string& path, FileDialogState& dialog,
                   Controls& controls, ThemeProject& project);

inline constexpr std::string_view kSlideshowTitle = text::kSlideshowDialogTitle;
// The "多选" button of the slideshow field: a confirmed selection replaces the earlier one as a
// whole (field, paths and names together); a cancel leaves everything as it was.
void pickSlideshowFiles(Dialogs& dialogs, Controls& controls, ThemeProject& project);
// What a confirmed selection of the "多选" button does with its paths (not empty).
void takeSlideshowFiles(std::span<const std::string> paths, Controls& controls,
                        ThemeProject& project);

inline constexpr std::string_view kSaveFolderTitle = text::kSaveFolderDialogTitle;
// The save-location browse button: the chosen folder's path goes into the field; a cancel, or
// an item that is not a file-system folder, leaves the field as it was.
void pickSaveFolder(ControlId field, Dialogs& dialogs, Controls& controls);
// What a chosen folder does: an empty path changes nothing.
void takeSaveFolder(ControlId field, const std::string& folder, Controls& controls);

} // namespace quorvel
