// End to end: the lumivex executable opens a flat-coloured picture on a private Xvfb with openbox, and xdotool
// drives it as a user would. Everything is checked on the pixels the X server shows.
#include "core/model/TextLayout.h"
#include "support/FakeSettingsPortal.h"
#include "support/PrivateBus.h"
#include "support/XServer.h"

#include <QFile>
#include <QFileInfo>
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
        // The desktop's Settings portal on a bus of our own says "light" until a test switches it.
        ASSERT_TRUE(m_bus.isRunning());
        m_portal = std::make_unique<test::FakeSettingsPortal>(m_bus.address(), 2);
        ASSERT_TRUE(m_portal->isServing());
        const QStringList env = m_server->environmentList({QStringLiteral("XDG_CONFIG_HOME=") + m_directory.path(),
                                                           QStringLiteral("XDG_DATA_HOME=") + m_directory.path(),
                                                           QStringLiteral("XDG_RUNTIME_DIR=") + m_directory.path(),
                                                           QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + m_bus.address(),
                                                           QStringLiteral("QT_IM_MODULE")});
        ASSERT_TRUE(m_lumivex.start({QStringLiteral(LUMIVEX_EXECUTABLE), {path}, env, logFd, logFd, -1}));
        ::close(logFd);
        const auto windows = [&] { return m_server->viewableWindowsOf(m_lumivex.pid()); };
        const auto focused = [&] { return m_server->xdotool({"getwindowfocus"}).output.trimmed().toUInt(); };
        ASSERT_TRUE(m_server->waitUntil([&] { return windows().contains(focused()); }, 20000)) << log();
        m_window = focused();

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

    // The editor window's client area on the screen.
    QRect client() const { return m_server->geometryOf(m_window); }
    // The first row of the toolbar: below the menu bar, in the toolbar's own colour down its left margin.
    int toolbarTop(const QColor& chrome) const
    {
        const QRect area = client();
        const QImage column = m_server->grab(QRect(area.left() + 6, area.top(), 1, 120));
        for (int y = 0; y < column.height(); ++y)
            if (QColor(column.pixel(0, y)) == chrome)
                return area.top() + y;
        return -1;
    }
    void click(QPoint at) { xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"}); }
    // A viewable window of lumivex other than the editor, once one shows.
    uint32_t waitForDialog()
    {
        uint32_t found = 0;
        m_server->waitUntil([&] {
            for (const uint32_t w : m_server->viewableWindowsOf(m_lumivex.pid()))
                if (w != m_window)
                    found = w;
            return found != 0;
        });
        return found;
    }
    // The centre of the pixels of exactly that colour within an area of the screen.
    QPoint centreOf(const QColor& colour, const QRect& area) const
    {
        const QImage image = m_server->grab(area);
        QRect found;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (QColor(image.pixel(x, y)) == colour)
                    found |= QRect(x, y, 1, 1);
        return found.isNull() ? QPoint(-1, -1) : area.topLeft() + found.center();
    }
    QImage clipboardPng() const
    {
        const auto result = test::ChildProcess::run(QStringLiteral("xclip"),
                                                    {"-selection", "clipboard", "-t", "image/png", "-o"},
                                                    m_server->environmentList(), 20000);
        return result.ok() ? QImage::fromData(result.output, "PNG") : QImage();
    }

    QTemporaryDir m_directory;
    test::PrivateBus m_bus;
    std::unique_ptr<test::FakeSettingsPortal> m_portal;
    std::unique_ptr<test::XServer> m_server;
    uint32_t m_window = 0;
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

TEST_F(X11EditorEndToEnd, ArrowFromTheToolbarInANewColourIsCopiedAndSavedAsJpegAndTheToolbarTurnsDark)
{
    const QColor chrome(0xEC, 0xEC, 0xEF), group(0xE1, 0xE2, 0xE7), darkChrome(0x2A, 0x2A, 0x2E);
    const int top = toolbarTop(chrome);
    ASSERT_GT(top, 0) << log();
    // The tool groups are the runs of their own colour just inside their top edge; the arrow is the second
    // button of the second group.
    const QImage row = m_server->grab(QRect(client().left(), top + 10, 600, 1));
    std::vector<int> groupStarts;
    for (int x = 1; x < row.width(); ++x)
        if (QColor(row.pixel(x, 0)) == group && QColor(row.pixel(x - 1, 0)) != group)
            groupStarts.push_back(client().left() + x);
    ASSERT_GE(groupStarts.size(), 2u);
    click({groupStarts[1] + 3 + 34 + 2 + 17, top + 29});
    xdotool(moveTo({150, 400}) + QStringList{"mousedown", "1"} + moveTo({300, 300}) + moveTo({600, 150})
            + QStringList{"mouseup", "1"});

    // The inspector's colour well shows the arrow's red; a blue from the colour panel replaces it.
    const QRect inspector(client().right() - 282, top + 58, 282, client().bottom() - top - 58);
    ASSERT_TRUE(m_server->waitUntil([&] { return centreOf(QColor(255, 59, 48), inspector).x() >= 0; })) << log();
    click(centreOf(QColor(255, 59, 48), inspector));
    const uint32_t panel = waitForDialog();
    ASSERT_NE(panel, 0u) << log();
    const QRect panelArea = m_server->geometryOf(panel);
    const QPoint blue = centreOf(QColor(0, 0, 255), panelArea);
    ASSERT_GE(blue.x(), 0);
    click(blue);
    key(QStringLiteral("Escape"));
    ASSERT_TRUE(m_server->waitUntil([&] { return m_server->viewableWindowsOf(m_lumivex.pid()).size() == 1; }));

    click({client().right() - 75 + 1, top + 29}); // copy
    QImage copied;
    ASSERT_TRUE(m_server->waitUntil([&] { return !(copied = clipboardPng()).isNull(); })) << log();
    ASSERT_EQ(copied.size(), kPictureSize);
    const auto blueAt = [&](QPointF p) {
        const QColor c(copied.pixel(p.toPoint()));
        return c.blue() > 200 && c.red() < 60 && c.green() < 60;
    };
    EXPECT_TRUE(blueAt({375, 275})) << "the middle of the arrow is in the chosen colour";
    EXPECT_TRUE(blueAt({465, 225}));
    EXPECT_EQ(QColor(copied.pixel(100, 100)), kPicture) << "the rest is the picture";

    // Ctrl+S: the name typed into the file dialog decides the format.
    const QString jpeg = m_directory.filePath(QStringLiteral("saved.jpg"));
    key(QStringLiteral("ctrl+s"));
    ASSERT_NE(waitForDialog(), 0u) << log();
    key(QStringLiteral("ctrl+a"));
    xdotool({"type", "--delay", "20", jpeg});
    key(QStringLiteral("Return"));
    ASSERT_TRUE(m_server->waitUntil([&] { return QFileInfo(jpeg).size() > 0; })) << log();
    QFile file(jpeg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xFF\xD8\xFF")) << "JPEG bytes";
    const QImage saved = QImage::fromData(bytes, "JPEG").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(saved.size(), kPictureSize);
    double difference = 0;
    for (int y = 0; y < saved.height(); ++y)
        for (int x = 0; x < saved.width(); ++x) {
            const QRgb a = saved.pixel(x, y), b = copied.pixel(x, y);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
    EXPECT_LT(difference / (3.0 * saved.width() * saved.height()), 2.0) << "the JPEG holds the same picture";
    const QColor savedArrow(saved.pixel(375, 275));
    EXPECT_GT(savedArrow.blue(), 180);
    EXPECT_LT(savedArrow.red(), 80);

    // The desktop turns dark: the toolbar repaints in the dark chrome without a restart.
    m_portal->change(1);
    EXPECT_TRUE(m_server->waitUntil([&] {
        return QColor(m_server->grab(QRect(client().left() + 6, top + 29, 1, 1)).pixel(0, 0)) == darkChrome;
    })) << log();
}

} // namespace
} // namespace lumivex
