#include "app/editor/DropHelper.h"

#include <QMimeData>

namespace lumivex::DropHelper {

QList<QUrl> fileUrls(const QMimeData* data)
{
    QList<QUrl> files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files.append(url);
    }
    return files;
}

} // namespace lumivex::DropHelper
