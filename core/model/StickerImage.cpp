#include "core/model/StickerImage.h"

#include <utility>

namespace lumivex {

StickerImage::StickerImage(QUuid id, QImage image, QString name)
    : m_id(id), m_image(std::move(image)), m_name(std::move(name))
{
}

std::shared_ptr<const StickerImage> StickerImage::make(QImage image, QString name)
{
    return std::make_shared<const StickerImage>(QUuid::createUuid(), std::move(image), std::move(name));
}

double StickerImage::aspectRatio() const
{
    if (m_image.height() < 1)
        return 1.0;
    return double(m_image.width()) / double(m_image.height());
}

} // namespace lumivex
