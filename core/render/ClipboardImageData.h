#pragma once

#include <QByteArray>
#include <QImage>
#include <QMimeData>

#include <optional>

namespace lumivex {

// What a copied image puts on the clipboard: "image/png" (bytes encoded once, at copy time, and served as they
// are, so a paste never re-encodes) and then "image/tiff". The TIFF is made only when a reader asks for it:
// most Linux programs take the PNG, and an uncompressed TIFF of a large screenshot costs as much time as the
// PNG itself.
class ClipboardImageData : public QMimeData {
    Q_OBJECT
public:
    ClipboardImageData(QByteArray png, QImage image, double pixelScale);

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    QByteArray tiff() const;

    QByteArray m_png;
    QImage m_image;
    double m_pixelScale;
    mutable std::optional<QByteArray> m_tiff;
};

} // namespace lumivex
