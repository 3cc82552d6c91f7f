// The reference of the editor-open benchmark: the least a Qt program does to show a picture file in a window.
// It reads the file with Qt's decoder and paints it, smoothly reduced to fit, in a plain window centred on the
// screen at 85 % of its size (the size the editor opens a large picture at).
//   lumivex_bench_bare_window IMAGE
#include <QApplication>
#include <QImageReader>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace {

class PictureWindow : public QWidget {
public:
    explicit PictureWindow(QImage image)
        : m_image(std::move(image))
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
        QSizeF fitted = QSizeF(m_image.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
        QRectF target(QPointF(), fitted);
        target.moveCenter(QRectF(rect()).center());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_image);
    }

private:
    QImage m_image;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    reader.setAllocationLimit(0);
    PictureWindow window(reader.read());
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QRect frame(QPoint(), (QSizeF(available.size()) * 0.85).toSize());
    frame.moveCenter(available.center());
    window.setGeometry(frame);
    window.show();
    return app.exec();
}
