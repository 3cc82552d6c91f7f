#pragma once

#include "app/design/Design.h"

#include <QWidget>

#include <optional>

namespace lumivex {

// One of our line icons at a size, in an ink token (or a fixed colour).
class DesignIcon : public QWidget {
    Q_OBJECT

public:
    DesignIcon(const QString& name, int size, Design::Token ink = Design::Token::iconInk, QWidget* parent = nullptr);

    const QString& name() const { return m_name; }
    void setName(const QString& name);
    void setColor(const QColor& color);

    QSize sizeHint() const override { return {m_size, m_size}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_name;
    int m_size;
    Design::Token m_ink;
    std::optional<QColor> m_color;
};

} // namespace lumivex
