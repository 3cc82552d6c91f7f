// The picture the Screenshot portal returns: cut into one shot per output, and the returned file taken only when
// it is ours and fresh; and which sessions go to the portal at all.

#include "CaptureFixture.h"

#include "app/platform/LayoutImage.h"
#include "app/platform/Platform.h"
#include "app/platform/PortalCaptureBackend.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

namespace lumivex::test {
namespace {

// A layout picture drawn the way the desktop draws it: every output at the highest density, a lower-density
// output enlarged, its last column and row half-covered (the desktop samples past its edge into nothing), and
// transparent where no output is.
QImage layoutPicture(QSize size, QRect solid, QColor color, QRect exact, const QImage& exactPixels)
{
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int y = solid.top(); y <= solid.bottom(); ++y)
        for (int x = solid.left(); x <= solid.right(); ++x) {
            const double coverage = (x == solid.right() ? 0.75 : 1.0) * (y == solid.bottom() ? 0.75 : 1.0);
            QColor c = color;
            c.setAlphaF(float(coverage));
            picture.setPixelColor(x, y, c);
        }
    for (int y = 0; y < exact.height(); ++y)
        for (int x = 0; x < exact.width(); ++x)
            picture.setPixel(exact.x() + x, exact.y() + y, exactPixels.pixel(x, y));
    return picture;
}

struct SplitCase {
    const char* name;
    double pictureScale;   // pixels per point of the whole picture
    double exactScale;     // Qt's pixels per point of the second output
    QSize solidShot;       // expected size of the first output's shot
    QSize exactShot;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class LayoutSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(LayoutSplit, GivesEveryOutputItsOwnPixels)
{
    const SplitCase& c = GetParam();
    // A 12 × 8 point output at scale 1 beside an 8 × 6 point one; the hole below the second stays transparent.
    const QList<OutputGeometry> outputs{{nullptr, "A", {0, 0, 12, 8}, 1}, {nullptr, "B", {12, 0, 8, 6}, c.exactScale}};
    const double s = c.pictureScale;
    const QImage exactPixels = coordinateImage(int(8 * s), int(6 * s));
    const QColor color(23, 140, 201);
    const QImage picture = layoutPicture(QSize(int(20 * s), int(8 * s)), QRect(0, 0, int(12 * s), int(8 * s)), color,
                                         QRect(int(12 * s), 0, int(8 * s), int(6 * s)), exactPixels);

    const DisplayCapture result = LayoutImage::split(picture, outputs);
    ASSERT_TRUE(std::holds_alternative<QList<DisplayShot>>(result)) << std::get<CaptureError>(result).description().toStdString();
    const QList<DisplayShot>& shots = std::get<QList<DisplayShot>>(result);
    ASSERT_EQ(shots.size(), 2);
    EXPECT_EQ(shots[0].globalFrame, Rect(0, 0, 12, 8));
    EXPECT_EQ(shots[1].globalFrame, Rect(12, 0, 8, 6));
    ASSERT_EQ(shots[0].image.size(), c.solidShot);
    ASSERT_EQ(shots[1].image.size(), c.exactShot);
    QImage solid(c.solidShot, QImage::Format_RGB32);
    solid.fill(color);
    EXPECT_EQ(XServer::differingPixels(shots[0].image, solid), 0);
    EXPECT_EQ(XServer::differingPixels(shots[1].image, exactPixels), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Portal, LayoutSplit,
    testing::Values(SplitCase{"mixed_scales", 2, 2, {12, 8}, {16, 12}},
                    // A fractional output: Qt says 2, the desktop drew at 1.5, so the shot has 1.5 per point.
                    SplitCase{"fractional", 1.5, 2, {12, 8}, {12, 9}},
                    SplitCase{"single_scale", 1, 1, {12, 8}, {8, 6}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST(PortalLayoutSplit, APictureOfAnotherLayoutIsAnError)
{
    const QList<OutputGeometry> outputs{{nullptr, "A", {0, 0, 1920, 1080}, 1}};
    QImage picture(1920, 1200, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    const DisplayCapture result = LayoutImage::split(picture, outputs);
    ASSERT_TRUE(std::holds_alternative<CaptureError>(result));
    EXPECT_EQ(std::get<CaptureError>(result).kind(), CaptureError::Kind::failed);
}

TEST(PlatformChoice, AWaylandSessionTakesThePortalEvenWithQtOnXWayland)
{
    EXPECT_EQ(Platform::kindFor("xcb", true, ""), PlatformKind::wayland);
    EXPECT_EQ(Platform::kindFor("xcb", false, ""), PlatformKind::x11);
    EXPECT_EQ(Platform::kindFor("wayland-egl", false, ""), PlatformKind::wayland);
    EXPECT_EQ(Platform::kindFor("offscreen", true, ""), PlatformKind::null);
    EXPECT_EQ(Platform::kindFor("xcb", true, " X11 "), PlatformKind::x11);

    // Before Qt starts (the direct full-screen path): Qt told to use xcb inside a Wayland session.
    const std::vector<std::pair<const char*, const char*>> session{
        {"WAYLAND_DISPLAY", "wayland-9"}, {"QT_QPA_PLATFORM", "xcb"}, {"LUMIVEX_PLATFORM", nullptr}};
    std::vector<std::optional<QByteArray>> saved;
    for (const auto& [name, value] : session) {
        saved.push_back(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        value ? qputenv(name, value) : qunsetenv(name);
    }
    EXPECT_EQ(Platform::kindBeforeStart(), PlatformKind::wayland);
    for (size_t i = 0; i < session.size(); ++i)
        saved[i] ? qputenv(session[i].first, *saved[i]) : qunsetenv(session[i].first);
}

// The portal's file lies where others can write too: only our own fresh regular file is read, and only a file in
// a shared temporary folder is deleted afterwards.
TEST(PortalReturnedFile, IsTakenOnlyWhenOursAndFresh)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const QString shared = QDir::tempPath() + QStringLiteral("/lumivex-portal-test-%1.png").arg(::getpid());
    const QString kept = home.filePath("Screenshot.png");
    struct Case {
        const char* name;
        QString path;
        std::function<void(const QString&)> prepare;
        bool read;
        bool remains;
    };
    const bool root = ::geteuid() == 0;
    const std::vector<Case> cases{
        {"ours_in_tmp", shared, [](const QString&) {}, true, false},
        {"ours_elsewhere", kept, [](const QString&) {}, true, true},
        {"stale", shared, [](const QString& p) {
             QFile f(p);
             f.open(QIODevice::ReadWrite);
             f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
         }, false, true},
        {"symlink", shared, [&](const QString& p) {
             QFile::remove(p);
             QFile::link(kept, p);
         }, false, true},
        {"someone_elses", shared, [](const QString& p) { ASSERT_EQ(::chown(QFile::encodeName(p).constData(), 65534, 65534), 0); },
         false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.name) == "someone_elses" && !root)
            continue; // only root can give a file away
        ASSERT_TRUE(picture.save(kept));
        QFile::remove(shared);
        if (c.path == shared) {
            ASSERT_TRUE(picture.save(shared));
        }
        c.prepare(c.path);
        const auto taken = PortalCaptureBackend::takeReturnedFile(c.path, now);
        EXPECT_EQ(std::holds_alternative<QImage>(taken), c.read);
        if (c.read) {
            EXPECT_EQ(XServer::differingPixels(std::get<QImage>(taken), picture), 0);
        }
        EXPECT_EQ(QFileInfo(c.path).isFile() || QFileInfo(c.path).isSymLink(), c.remains);
        QFile::remove(shared);
    }
}

} // namespace
} // namespace lumivex::test
