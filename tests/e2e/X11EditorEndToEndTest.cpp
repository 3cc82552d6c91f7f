// End to end: the lumivex executable opens a flat-coloured picture on a private Xvfb with openbox, and xdotool
// drives it as a user would. Everything is checked on the pixels the X server shows.
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

const QColor kPicture(120, 180, 240);
constexpr QSize kPictureSize(800, 500);

bool isRed(QRgb p) // the default stroke colour, (255, 59, 48)
{
    return std::abs(qRed(p) - 255) < 40 && std::abs(qGreen(p) - 59) < 50 && std::abs(qBlue(p) - 48) < 50;
}

class X11EditorEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        m_server = std::make_unique<test::XServer>();
        ASSERT_TRUE(m_server->isRunning()) << m_server->errorString().toStdString();
        QImage picture(kPictureSize, QImage::Format_RGB32);
        picture.fill(kPicture);
        const QString path = m_directory.filePath(QStringLiteral("picture.png"));
        ASSERT_TRUE(picture.save(path));

        const int logFd = ::open(QFile::encodeName(logPath()).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const QStringList env = m_server->environmentList({QStringLiteral("XDG_CONFIG_HOME=") + m_directory.path(),
                                                           QStringLiteral("XDG_RUNTIME_DIR=") + m_directory.path(),
                                                           QStringLiteral("QT_IM_MODULE")});
        ASSERT_TRUE(m_lumivex.start({QStringLiteral(LUMIVEX_EXECUTABLE), {path}, env, logFd, logFd, -1}));
        ::close(logFd);
        const auto windows = [&] { return m_server->viewableWindowsOf(m_lumivex.pid()); };
        const auto focused = [&] { return m_server->xdotool({"getwindowfocus"}).output.trimmed().toUInt(); };
        ASSERT_TRUE(m_server->waitUntil([&] { return windows().contains(focused()); }, 20000)) << log();

        // Where the picture lies on the screen, from its flat colour.
        ASSERT_TRUE(m_server->waitUntil([&] {
            const QImage screen = m_server->grab();
            m_card = QRect();
            for (int y = 0; y < screen.height(); ++y)
                for (int x = 0; x < screen.width(); ++x)
                    if (QColor(screen.pixel(x, y)) == kPicture)
                        m_card |= QRect(x, y, 1, 1);
            return m_card.width() > 200;
        })) << log();
        m_scale = m_card.width() / double(kPictureSize.width());
        EXPECT_NEAR(m_card.height() / double(kPictureSize.height()), m_scale, 0.01);
    }

    QString logPath() const { return m_directory.filePath(QStringLiteral("lumivex.log")); }
    std::string log() const
    {
        QFile file(logPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }
    QPoint onScreen(QPointF p) const
    {
        return QPoint(int(std::lround(m_card.x() + p.x() * m_scale)), int(std::lround(m_card.y() + p.y() * m_scale)));
    }
    QStringList moveTo(QPointF p) const
    {
        return {"mousemove", QString::number(onScreen(p).x()), QString::number(onScreen(p).y())};
    }
    void xdotool(const QStringList& arguments)
    {
        ASSERT_TRUE(m_server->xdotool(arguments).ok()) << arguments.join(' ').toStdString();
    }
    void key(const QString& keys) { xdotool(QStringList{"key", "--delay", "60"} + keys.split(QLatin1Char(' '))); }

    bool redNear(const QImage& screen, QPointF p) const
    {
        for (int dy = -5; dy <= 5; ++dy)
            for (int dx = -5; dx <= 5; ++dx)
                if (isRed(screen.pixel(onScreen(p) + QPoint(dx, dy))))
                    return true;
        return false;
    }
    // The horizontal extent of the red ink within a band of image rows.
    int redInkWidth(const QImage& screen, double top, double bottom) const
    {
        const QRect band(onScreen({0, top}), onScreen({double(kPictureSize.width()), bottom}));
        int left = INT_MAX, right = INT_MIN;
        for (int y = band.top(); y <= band.bottom(); ++y)
            for (int x = band.left(); x <= band.right(); ++x)
                if (isRed(screen.pixel(x, y))) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return right >= left ? right - left + 1 : 0;
    }

    QTemporaryDir m_directory;
    std::unique_ptr<test::XServer> m_server;
    test::ChildProcess m_lumivex;
    QRect m_card;
    double m_scale = 1;
};

TEST_F(X11EditorEndToEnd, RectangleKeyAndDragDrawARedOutlineThatCtrlZRemoves)
{
    key(QStringLiteral("r"));
    xdotool(moveTo({200, 150}) + QStringList{"mousedown", "1"} + moveTo({350, 250}) + moveTo({500, 350})
            + QStringList{"mouseup", "1"});
    key(QStringLiteral("Escape Escape")); // back to selecting, then nothing selected: no handles in the way

    const QPointF edges[] = {{350, 150}, {350, 350}, {200, 250}, {500, 250}};
    const auto outlineShown = [&](bool shown) {
        const QImage screen = m_server->grab();
        return std::all_of(std::begin(edges), std::end(edges), [&](QPointF p) { return redNear(screen, p) == shown; });
    };
    ASSERT_TRUE(m_server->waitUntil([&] { return outlineShown(true); })) << "the outline is on screen" << log();
    const QImage drawn = m_server->grab();
    EXPECT_EQ(QColor(drawn.pixel(onScreen({350, 250}))), kPicture) << "only the outline is drawn";
    EXPECT_FALSE(redNear(drawn, {100, 100}));

    key(QStringLiteral("ctrl+z"));
    EXPECT_TRUE(m_server->waitUntil([&] { return outlineShown(false); })) << "Ctrl+Z removed it";
}

TEST_F(X11EditorEndToEnd, TypedLatinAndHangulLandInTextBoxes)
{
    // The same Latin letters in two boxes, the second followed by Hangul, which must widen its ink by about
    // the width of the syllables.
    key(QStringLiteral("t"));
    for (const auto& [y, text] : {std::pair{100.0, "Hi"}, std::pair{300.0, "Hi 한글"}}) {
        xdotool(moveTo({100, y}) + QStringList{"click", "1"});
        xdotool({"type", "--delay", "200", QString::fromUtf8(text)});
        key(QStringLiteral("Return"));
    }
    key(QStringLiteral("Escape Escape"));

    const double fontSize = 28; // the default text size; one point is one pixel here
    const double hangulWidth = (TextLayout::textSize(QStringLiteral("Hi 한글"), fontSize, true).width
                                - TextLayout::textSize(QStringLiteral("Hi"), fontSize, true).width) * m_scale;
    ASSERT_GT(hangulWidth, 30);
    int latin = 0, mixed = 0;
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
