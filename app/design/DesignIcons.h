#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <optional>

namespace lumivex {

// Our own line icons ("lvicon-<name>"), drawn as SVG and compiled into the program. They are drawn in one colour,
// normally an ink token, so that they follow the appearance.
namespace DesignIcons {

// The resource path of the icon, or nothing when no icon has that name.
std::optional<QString> path(const QString& name);
// The icon rendered at a logical size for a device pixel ratio, or nothing when it is missing.
std::optional<QImage> image(const QString& name, QSize logicalSize, qreal devicePixelRatio = 1.0);
// The icon rendered with every painted pixel in one colour (alpha kept).
std::optional<QImage> tinted(const QString& name, QSize logicalSize, const QColor& color, qreal devicePixelRatio = 1.0);
// The tinted icon for painting, cached: toolbars repaint often and parsing SVG on every paint is wasteful.
// A null pixmap when the icon is missing.
QPixmap pixmap(const QString& name, QSize logicalSize, const QColor& color, qreal devicePixelRatio = 1.0);
// A QIcon for buttons and menus, tinted; null when missing.
QIcon icon(const QString& name, const QColor& color);

} // namespace DesignIcons

} // namespace lumivex
