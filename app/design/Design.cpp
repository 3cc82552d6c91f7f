#include "app/design/Design.h"

#include "app/design/Appearance.h"

#include <QGuiApplication>

#include <array>
#include <utility>

namespace lumivex::Design {

namespace {

// Light and dark value of every token, in the order of Token.
constexpr std::array<std::pair<QRgb, QRgb>, 20> kTokens = {{
    {0x1C1C1E, 0xF2F2F7}, // ink
    {0x8E8E93, 0x98989F}, // secondaryInk
    {0xC7C7CC, 0x5A5A60}, // disabledInk
    {0x3A3A3C, 0xD1D1D6}, // iconInk
    {0xF7F7FA, 0x242428}, // windowBackground
    {0xECECEF, 0x2A2A2E}, // chrome
    {0xE1E2E7, 0x35353A}, // group
    {0xF4F4F7, 0x222226}, // inspector
    {0xFFFFFF, 0x2B2B30}, // card
    {0xFFFFFF, 0x2C2C31}, // buttonFill
    {0xE3E3E8, 0x1C1C20}, // segmentTrack
    {0xE3E4EA, 0x36363C}, // cardBorder
    {0xD9D9DE, 0x3A3A3F}, // hairline
    {0xDCDCE1, 0x3D3D44}, // line
    {0xCFCFD6, 0x4A4A52}, // dashed
    {0xC9C9D1, 0x55555C}, // controlBorder
    {0xDEDFE5, 0x404047}, // track
    {0x6E6E73, 0xA1A1A8}, // keyText
    {0xFFFFFF, 0x3A3A40}, // keyFill
    {0xDCDDE3, 0x111113}, // nsCanvas
}};

static_assert(kTokens.size() == std::size_t(Token::nsCanvas) + 1);

} // namespace

QColor color(Token token, ColorScheme scheme)
{
    const auto& [light, dark] = kTokens[std::size_t(token)];
    return QColor::fromRgb(scheme == ColorScheme::dark ? dark : light);
}

QColor color(Token token)
{
    return color(token, Appearance::instance().scheme());
}

QColor indigo() { return QColor(79, 70, 229); }
QColor violet() { return QColor(139, 92, 246); }
QColor invalidInput() { return QColor(229, 72, 77); }
QColor destructive() { return QColor(229, 72, 77); }

QLinearGradient brandGradient(const QRectF& rect, Qt::LayoutDirection direction)
{
    const bool rightToLeft = direction == Qt::RightToLeft;
    QLinearGradient gradient(rightToLeft ? rect.topRight() : rect.topLeft(),
                             rightToLeft ? rect.bottomLeft() : rect.bottomRight());
    gradient.setColorAt(0, indigo());
    gradient.setColorAt(1, violet());
    return gradient;
}

QFont font(double pixelSize, QFont::Weight weight)
{
    QFont result = QGuiApplication::font();
    result.setPixelSize(int(pixelSize + 0.5));
    result.setWeight(weight);
    return result;
}

QPalette palette(ColorScheme scheme)
{
    const auto c = [scheme](Token token) { return color(token, scheme); };
    QPalette p;
    p.setColor(QPalette::Window, c(Token::windowBackground));
    p.setColor(QPalette::WindowText, c(Token::ink));
    p.setColor(QPalette::Base, c(Token::card));
    p.setColor(QPalette::AlternateBase, c(Token::inspector));
    p.setColor(QPalette::Text, c(Token::ink));
    p.setColor(QPalette::PlaceholderText, c(Token::secondaryInk));
    p.setColor(QPalette::Button, c(Token::buttonFill));
    p.setColor(QPalette::ButtonText, c(Token::ink));
    p.setColor(QPalette::ToolTipBase, c(Token::card));
    p.setColor(QPalette::ToolTipText, c(Token::ink));
    p.setColor(QPalette::Highlight, indigo());
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, indigo());
    p.setColor(QPalette::Light, c(Token::card));
    p.setColor(QPalette::Midlight, c(Token::line));
    p.setColor(QPalette::Mid, c(Token::controlBorder));
    p.setColor(QPalette::Dark, c(Token::controlBorder));
    p.setColor(QPalette::Shadow, c(Token::hairline));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, c(Token::disabledInk));
    return p;
}

} // namespace lumivex::Design
