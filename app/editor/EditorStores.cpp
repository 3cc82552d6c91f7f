#include "app/editor/EditorStores.h"

#include "core/settings/CaptureSettings.h"
#include "core/stickers/StickerLibrary.h"
#include "core/stickers/StickerRecents.h"

namespace lumivex {

CaptureSettings& EditorStores::captureSettings() const
{
    return settings ? *settings : CaptureSettings::shared();
}

StickerLibrary& EditorStores::stickerLibrary() const
{
    return library ? *library : StickerLibrary::shared();
}

StickerRecents& EditorStores::stickerRecents() const
{
    return recents ? *recents : StickerRecents::shared();
}

} // namespace lumivex
