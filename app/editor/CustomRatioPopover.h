#pragma once

#include "core/document/CanvasRatio.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLineEdit;

namespace lumivex {

class DesignButton;

// The small window where a user types an aspect ratio such as 16 : 9. Each part must be a number from 1 to 100
// (and the ratio one the canvas can take); anything else is marked in red and cannot be applied.
class CustomRatioPopover : public QWidget {
    Q_OBJECT

public:
    CustomRatioPopover(const QString& width, const QString& height, std::function<void(const CanvasRatio&)> onApply,
                       QWidget* parent = nullptr);

    QLineEdit* widthField() const { return m_width; }
    QLineEdit* heightField() const { return m_height; }
    DesignButton* applyButton() const { return m_apply; }
    DesignButton* cancelButton() const { return m_cancel; }

    // The ratio the two texts describe, when it can be applied.
    static std::optional<CanvasRatio> ratio(const QString& width, const QString& height);
    // A part shown in its shortest decimal form: 16, 2.5.
    static QString partText(double value);

private:
    void validate();
    void apply();

    QLineEdit* m_width;
    QLineEdit* m_height;
    DesignButton* m_apply;
    DesignButton* m_cancel;
    std::function<void(const CanvasRatio&)> m_onApply;
};

} // namespace lumivex
