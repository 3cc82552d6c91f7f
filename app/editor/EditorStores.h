#pragma once

namespace lumivex {

class CaptureSettings;
class StickerLibrary;
class StickerRecents;

// The shared stores the editor's panels read and write. Empty members mean the user's own (the shared
// instances); tests give stores in a temporary folder.
struct EditorStores {
    CaptureSettings* settings = nullptr;
    StickerLibrary* library = nullptr;
    StickerRecents* recents = nullptr;

    CaptureSettings& captureSettings() const;
    StickerLibrary& stickerLibrary() const;
    StickerRecents& stickerRecents() const;
};

} // namespace lumivex
