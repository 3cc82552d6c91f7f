#pragma once

#include <QLayout>
#include <QList>

namespace lumivex {

// Places its items in rows within the available width, wrapping to a new row when the next item does not fit:
// `spacing` between neighbours in a row, `lineSpacing` between rows.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(int spacing = 6, int lineSpacing = 6, QWidget* parent = nullptr);
    ~FlowLayout() override;

    int lineSpacing() const { return m_lineSpacing; }

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(m_items.size()); }
    QLayoutItem* itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;

private:
    // Lays the items out in `rect` (or only measures); returns the height used.
    int arrange(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> m_items;
    int m_lineSpacing;
};

} // namespace lumivex
