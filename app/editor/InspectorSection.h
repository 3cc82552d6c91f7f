#pragma once

#include "app/design/DesignCard.h"

#include <QString>

#include <functional>
#include <vector>

class QLabel;

namespace lumivex {

// One card of the inspector. Its controls register how they read the document back, so that a document change
// updates the values in place: a slider being dragged is never rebuilt under the mouse.
class InspectorSection : public DesignCard {
    Q_OBJECT

public:
    explicit InspectorSection(QWidget* parent = nullptr);

    void onRefresh(std::function<void()> refresher);
    void refresh();

    // ---- the texts of the panel
    // A section title, with an icon before it when one is named.
    QWidget* addHeader(const QString& title, const QString& icon = {});
    // A small explanation in the secondary colour, wrapped.
    QLabel* addHint(const QString& text);
    static QLabel* hint(const QString& text);
    // A label for a control row.
    static QLabel* caption(const QString& text);
    // The label on the left, the control on the right.
    static QWidget* row(QWidget* left, QWidget* right);

private:
    std::vector<std::function<void()>> m_refreshers;
};

} // namespace lumivex
