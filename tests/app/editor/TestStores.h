#pragma once

#include "app/editor/EditorStores.h"
#include "core/settings/CaptureSettings.h"
#include "core/settings/SettingsFileStore.h"
#include "core/stickers/StickerLibrary.h"
#include "core/stickers/StickerRecents.h"

#include <QTemporaryDir>

namespace lumivex::test {

// Settings, a sticker folder and recent stickers of their own in a temporary folder.
struct TestStores {
    QTemporaryDir folder;
    SettingsFileStore store{folder.filePath(QStringLiteral("lumivex.conf"))};
    CaptureSettings settings{store};
    StickerLibrary library{folder.filePath(QStringLiteral("Stickers"))};
    StickerRecents recents{store};

    EditorStores stores() { return {&settings, &library, &recents}; }
};

} // namespace lumivex::test
