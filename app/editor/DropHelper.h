#pragma once

#include <QList>
#include <QUrl>

class QMimeData;

namespace lumivex {

// Turns what was dropped on a window into the file URLs it names, in the order given; anything that is not a
// local file is skipped. Shared by the editor and the start window.
namespace DropHelper {

QList<QUrl> fileUrls(const QMimeData* data);

} // namespace DropHelper

} // namespace lumivex
