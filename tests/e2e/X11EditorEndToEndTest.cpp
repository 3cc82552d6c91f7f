// End to end: the lumivex executable opens a generated picture on a private Xvfb with openbox, and xdotool
// drives the editor as a user would: tool keys, a mouse drag, Ctrl+Z, and text typed in Latin and Hangul.
// Everything is checked on the pixels the X server shows.

#include "core/model/TextLayout.h"
#include "support/XServer.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cmath>

namespace lumivex {
namespace {

using test::ChildProcess;
using test::XServer;

const QColor kPicture(120, 180, 240);   // the generated picture: one flat colour
const QColor kRed(255, 59, 48);         // the default stroke colour
constexpr QSize kPictureSize(800, 500);

bool isRed(QRgb pixel)
{
    return std::abs(qRed(pixel) - kRed.red()) < 40 && std::abs(qGreen(pixel) - kRed.green()) < 50
        && std::abs(qBlue(pixel) - kRed.blue()) < 50;
}

class X11EditorEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        m_server = std::make_unique<XServer>();
        ASSERT_TRUE(m_server->isRunning()) << m_server->errorString().toStdString();
        QImage picture(kPictureSize, QImage::Format_RGB32);
        picture.fill(kPicture);
        const QString path = m_directory.filePath(QStringLiteral("picture.png"));
        ASSERT_TRUE(picture.save(path));
        launch(path);
        findCard();
    }

    void launch(const QString& picture)
    {
        const QString logPath = m_directory.filePath(QStringLiteral("lumivex.log"));
        const int logFd = ::open(QFile::encodeName(logPath).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const QStringList env = m_server->environmentList({QStringLiteral("XDG_CONFIG_HOME=") + m_directory.path(),
                                                           QStringLiteral("XDG_RUNTIME_DIR=") + m_directory.path(),
                                                           QStringLiteral("QT_IM_MODULE")});
        ASSERT_TRUE(m_lumivex.start({QStringLiteral(LUMIVEX_EXECUTABLE), {picture}, env, logFd, logFd, -1}));
        ::close(logFd);
        ASSERT_TRUE(m_server->waitUntil([&] { return !windows().isEmpty(); }, 20000)) << log();
        ASSERT_TRUE(m_server->waitUntil([&] { return windows().contains(focusedWindow()); }, 20000)) << log();
    }

    QList<uint32_t> windows() const { return m_server->viewableWindowsOf(m_lumivex.pid()); }
    uint32_t focusedWindow() const { return m_server->xdotool({"getwindowfocus"}).output.trimmed().toUInt(); }

    // Where the picture lies on the screen, from its flat colour.
    void findCard()
    {
        ASSERT_TRUE(m_server->waitUntil([&] {
            const QImage screen = m_server->grab();
            QRect found;
            for (int y = 0; y < screen.height(); y += 1)
                for (int x = 0; x < screen.width(); x += 1)
                    if (QColor(screen.pixel(x, y)) == kPicture)
                        found |= QRect(x, y, 1, 1);
            m_card = found;
            return found.width() > 200;
        })) << log();
        m_scale = m_card.width() / double(kPictureSize.width());
        EXPECT_NEAR(m_card.height() / double(kPictureSize.height()), m_scale, 0.01);
    }

    QPoint onScreen(QPointF imagePoint) const
    {
        return QPoint(int(std::lround(m_card.x() + imagePoint.x() * m_scale)),
                      int(std::lround(m_card.y() + imagePoint.y() * m_scale)));
    }

    void xdotool(const QStringList& arguments)
    {
        ASSERT_TRUE(m_server->xdotool(arguments).ok()) << arguments.join(' ').toStdString();
    }
    void key(const QString& keys) { xdotool(QStringList{"key", "--delay", "60"} + keys.split(QLatin1Char(' '))); }
    void drag(QPointF from, QPointF to)
    {
        const QPoint a = onScreen(from);
        const QPoint b = onScreen(to);
        const QPoint middle = (a + b) / 2;
        xdotool({"mousemove", QString::number(a.x()), QString::number(a.y()), "mousedown", "1", "mousemove",
                 QString::number(middle.x()), QString::number(middle.y()), "mousemove", QString::number(b.x()),
                 QString::number(b.y()), "mouseup", "1"});
    }
    void click(QPointF at)
    {
        const QPoint p = onScreen(at);
        xdotool({"mousemove", QString::number(p.x()), QString::number(p.y()), "click", "1"});
    }

    // Red pixels within a few pixels of the image point.
    bool redNear(const QImage& screen, QPointF imagePoint) const
    {
        const QPoint centre = onScreen(imagePoint);
        for (int dy = -5; dy <= 5; ++dy)
            for (int dx = -5; dx <= 5; ++dx)
                if (isRed(screen.pixel(centre + QPoint(dx, dy))))
                    return true;
        return false;
    }

    // The horizontal extent of the red ink inside a band of image rows.
    int redInkWidth(const QImage& screen, double top, double bottom) const
    {
        const QRect band = QRect(onScreen({0, top}), onScreen({double(kPictureSize.width()), bottom}));
        int left = INT_MAX;
        int right = INT_MIN;
        for (int y = band.top(); y <= band.bottom(); ++y)
            for (int x = band.left(); x <= band.right(); ++x)
                if (isRed(screen.pixel(x, y))) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return right >= left ? right - left + 1 : 0;
    }

    std::string log() const
    {
        QFile file(m_directory.filePath(QStringLiteral("lumivex.log")));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    QTemporaryDir m_directory;
    std::unique_ptr<XServer> m_server;
    ChildProcess m_lumivex;
    QRect m_card;
    double m_scale = 1;
};

TEST_F(X11EditorEndToEnd, RectangleKeyAndDragDrawARedOutlineThatCtrlZRemoves)
{
    key(QStringLiteral("r"));
    drag({200, 150}, {500, 350});
    key(QStringLiteral("Escape Escape")); // back to selecting, then nothing selected: no handles in the way

    const QPointF edges[] = {{350, 150}, {350, 350}, {200, 250}, {500, 250}};
    ASSERT_TRUE(m_server->waitUntil([&] {
        const QImage screen = m_server->grab();
        return std::all_of(std::begin(edges), std::end(edges), [&](QPointF p) { return redNear(screen, p); });
    })) << "the rectangle's outline is on screen" << log();
    const QImage drawn = m_server->grab();
    EXPECT_EQ(QColor(drawn.pixel(onScreen({350, 250}))), kPicture) << "only the outline is drawn";
    EXPECT_FALSE(redNear(drawn, {100, 100}));

    key(QStringLiteral("ctrl+z"));
    EXPECT_TRUE(m_server->waitUntil([&] {
        const QImage screen = m_server->grab();
        return std::none_of(std::begin(edges), std::end(edges), [&](QPointF p) { return redNear(screen, p); });
    })) << "Ctrl+Z removed it";
}

TEST_F(X11EditorEndToEnd, TypedLatinAndHangulLandInTextBoxes)
{
    // Two boxes: the Latin letters alone, and the same letters followed by Hangul. The Hangul must make the
    // second box's ink wider by about the width of its syllables.
    key(QStringLiteral("t"));
    click({100, 100});
    xdotool({"type", "--delay", "80", "Hi"});
    key(QStringLiteral("Return"));
    click({100, 300});
    xdotool({"type", "--delay", "80", "Hi 한글"});
    key(QStringLiteral("Return"));
    key(QStringLiteral("Escape Escape"));

    const double fontSize = 28; // the default text size in style points; one point is one pixel here
    const double hangulWidth = (TextLayout::textSize(QStringLiteral("Hi 한글"), fontSize, true).width
                                - TextLayout::textSize(QStringLiteral("Hi"), fontSize, true).width)
        * m_scale;
    ASSERT_GT(hangulWidth, 30);
    int latin = 0;
    int mixed = 0;
    EXPECT_TRUE(m_server->waitUntil([&] {
        const QImage screen = m_server->grab();
        latin = redInkWidth(screen, 70, 130);
        mixed = redInkWidth(screen, 270, 330);
        return latin > 10 && std::abs(mixed - latin - hangulWidth) < 0.25 * hangulWidth;
    })) << "ink widths: Latin " << latin << ", with Hangul " << mixed << ", Hangul expected " << hangulWidth << "\n"
        << log();
}

} // namespace
} // namespace lumivex
