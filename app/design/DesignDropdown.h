#pragma once

#include <QAbstractButton>
#include <QString>

#include <functional>
#include <vector>

class QMenu;

namespace lumivex {

// A button showing the chosen option; clicking it opens the list of options below it.
class DesignDropdown : public QAbstractButton {
    Q_OBJECT

public:
    struct Option {
        QString value;
        QString title;
        QString leading; // shown before the title (an emoji flag, for example); may be empty
        QString detail;  // shown after the title in the secondary colour; may be empty
    };

    DesignDropdown(std::vector<Option> options, QString selection, int width,
                   std::function<void(const QString&)> onSelect, QWidget* parent = nullptr);

    const QString& selection() const { return m_selection; }
    void setSelection(const QString& value);
    // The open list, while it is shown.
    QMenu* menu() const { return m_menu; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void open();
    const Option* selected() const;

    std::vector<Option> m_options;
    QString m_selection;
    int m_width;
    std::function<void(const QString&)> m_onSelect;
    QMenu* m_menu = nullptr;
};

} // namespace lumivex
