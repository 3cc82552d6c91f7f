#pragma once

#include <QWidget>

namespace lumivex {

// One key of a shortcut, drawn as a small key cap. `onBrand` is the variant that sits on the brand gradient.
class KeyCap : public QWidget {
    Q_OBJECT

public:
    enum class Style { onBrand, plain };

    KeyCap(const QString& text, Style style = Style::plain, QWidget* parent = nullptr);

    const QString& text() const { return m_text; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    Style m_style;
};

} // namespace lumivex
