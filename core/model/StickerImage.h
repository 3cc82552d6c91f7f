#pragma once

#include <QImage>
#include <QString>
#include <QUuid>

#include <memory>

namespace lumivex {

// A bitmap sticker, shared by every annotation and library item that shows it. Identity is the id.
class StickerImage {
public:
    StickerImage(QUuid id, QImage image, QString name);
    static std::shared_ptr<const StickerImage> make(QImage image, QString name);

    const QUuid& id() const { return m_id; }
    const QImage& image() const { return m_image; }
    const QString& name() const { return m_name; }

    // Pixel width / pixel height, or 1 when the height is below one pixel.
    double aspectRatio() const;

private:
    QUuid m_id;
    QImage m_image;
    QString m_name;
};

} // namespace lumivex
