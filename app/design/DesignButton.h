#pragma once

#include <QAbstractButton>

namespace lumivex {

// The panels' push button: a rounded button on the button fill, a destructive variant with red text, and the
// primary variant filled with the brand gradient. An optional icon sits before the title.
class DesignButton : public QAbstractButton {
    Q_OBJECT

public:
    enum class Kind { plain, destructive, primary };

    explicit DesignButton(const QString& title, Kind kind = Kind::plain, QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    void setIconName(const QString& name);
    void setHeight(int height);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind m_kind;
    QString m_iconName;
    int m_height = 28;
};

} // namespace lumivex
