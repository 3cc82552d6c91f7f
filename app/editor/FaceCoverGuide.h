#pragma once

#include <QWidget>

#include <functional>

namespace lumivex {

class DesignButton;

// How automatic face covering works, in four steps, with a way to never see the first-use tip again.
class FaceCoverGuide : public QWidget {
    Q_OBJECT

public:
    static constexpr int guideWidth = 320;

    FaceCoverGuide(std::function<void()> onDismissForGood, QWidget* parent = nullptr);

    static QStringList steps();
    DesignButton* dismissButton() const { return m_dismiss; }
    DesignButton* closeButton() const { return m_close; }

private:
    DesignButton* m_dismiss;
    DesignButton* m_close;
};

} // namespace lumivex
