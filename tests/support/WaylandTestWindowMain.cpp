// lumivex_wayland_test_window: one Wayland client window filled with vertical stripes of the given colours, of
// equal width in points, for the Wayland tests to capture. The compositor decides where it goes (sway tiles it
// over the focused output).
//   lumivex_wayland_test_window RRGGBB[,RRGGBB...]

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QStringList>

#include <cstdio>

namespace {

class StripeWindow : public QRasterWindow {
public:
    explicit StripeWindow(QList<QColor> colors) : m_colors(std::move(colors)) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const int count = int(m_colors.size());
        for (int i = 0; i < count; ++i) {
            const int left = width() * i / count;
            const int right = width() * (i + 1) / count;
            painter.fillRect(QRect(left, 0, right - left, height()), m_colors.at(i));
        }
    }

private:
    QList<QColor> m_colors;
};

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QList<QColor> colors;
    const QStringList arguments = QCoreApplication::arguments();
    for (const QString& name : arguments.value(1).split(QLatin1Char(','), Qt::SkipEmptyParts))
        colors.append(QColor(QLatin1Char('#') + name));
    if (colors.isEmpty() || !colors.front().isValid()) {
        std::fprintf(stderr, "usage: lumivex_wayland_test_window RRGGBB[,RRGGBB...]\n");
        return 2;
    }
    StripeWindow window(colors);
    window.setTitle(QStringLiteral("lumivex-test"));
    window.show();
    return app.exec();
}
