#include "app/platform/PortalCaptureBackend.h"

#include "core/render/PngDecoder.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivex {

namespace {

const QString screenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
// The desktop writes the file before it answers; a file older than the request by more than this is not the
// picture we asked for.
constexpr qint64 staleSlackMs = 2000;
// A layout of several 8K outputs still decodes; Qt's default limit stops at 256 MB.
constexpr int decodeLimitMb = 2048;

QString translated(const char* text) { return QCoreApplication::translate("PortalCaptureBackend", text); }

bool inSharedTemporaryFolder(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    return folder == QLatin1String("/tmp") || folder == QLatin1String("/var/tmp")
        || folder == QDir(QDir::tempPath()).absolutePath();
}

qint64 modifiedMs(const struct stat& status)
{
    return qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000;
}

// The file the desktop wrote the picture to, or why there is none.
std::variant<QString, CaptureError> pictureFile(const PortalRequest::Answer& answer)
{
    if (!answer.error.isEmpty())
        return CaptureError::failed(answer.error);
    if (answer.response == 1)
        return CaptureError::permissionDenied();
    if (answer.response != 0)
        return CaptureError::failed(translated("데스크톱이 스크린샷을 거부했거나 찍지 못했습니다."));
    const QUrl uri(answer.results.value(QStringLiteral("uri")).toString());
    if (!uri.isLocalFile())
        return CaptureError::failed(translated("데스크톱 포털이 스크린샷 파일을 알려 주지 않았습니다."));
    return uri.toLocalFile();
}

// The desktop's picture, or why there is none.
std::variant<QImage, CaptureError> receivedPicture(const PortalRequest::Answer& answer, qint64 requestedAt)
{
    const auto file = pictureFile(answer);
    if (const CaptureError* error = std::get_if<CaptureError>(&file))
        return *error;
    auto picture = PortalCaptureBackend::takeReturnedFile(std::get<QString>(file), requestedAt);
    if (const QString* error = std::get_if<QString>(&picture))
        return CaptureError::failed(*error);
    return std::get<QImage>(std::move(picture));
}

} // namespace

PortalCaptureBackend::PortalCaptureBackend() : PortalCaptureBackend(Options{}) {}

PortalCaptureBackend::PortalCaptureBackend(Options options)
    : m_options(std::move(options))
{
    if (!m_options.outputs)
        m_options.outputs = &LayoutImage::currentOutputs;
}

QDBusConnection PortalCaptureBackend::bus() const
{
    return m_options.bus ? *m_options.bus : QDBusConnection::sessionBus();
}

WindowPicking PortalCaptureBackend::windowPicking() const
{
    // GNOME's and KDE's portals show their own screenshot dialog with a window choice; the wlroots portal's
    // interactive capture is a plain area drag, so there window mode can only explain itself.
    const QString desktops = m_options.desktop.value_or(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    for (const QString& desktop : desktops.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (desktop.compare(QLatin1String("GNOME"), Qt::CaseInsensitive) == 0
            || desktop.compare(QLatin1String("KDE"), Qt::CaseInsensitive) == 0)
            return WindowPicking::byDesktop;
    return WindowPicking::unavailable;
}

QFuture<DisplayCapture> PortalCaptureBackend::captureDisplays()
{
    // The layout is read now, on the main thread, as it is when the picture is taken.
    const QList<OutputGeometry> outputs = m_options.outputs();
    if (outputs.isEmpty())
        return QtFuture::makeReadyFuture<DisplayCapture>(CaptureError::noDisplay());
    const qint64 requestedAt = QDateTime::currentMSecsSinceEpoch();
    return requestScreenshot(false).then(
        QtFuture::Launch::Async, [outputs, requestedAt](const PortalRequest::Answer& answer) -> DisplayCapture {
            const auto picture = receivedPicture(answer, requestedAt);
            if (const CaptureError* error = std::get_if<CaptureError>(&picture))
                return *error;
            return LayoutImage::split(std::get<QImage>(picture), outputs);
        });
}

QFuture<PortalRequest::Answer> PortalCaptureBackend::requestScreenshot(bool interactive) const
{
    return PortalRequest::send(bus(), {screenshotInterface, QStringLiteral("Screenshot"), {QString()},
                                       {{QStringLiteral("interactive"), interactive}},
                                       interactive ? m_options.pickingTimeout : m_options.timeout});
}

QFuture<DisplayCapture> PortalCaptureBackend::pickWithDesktop()
{
    const QList<OutputGeometry> outputs = m_options.outputs();
    double scale = 1;
    for (const OutputGeometry& output : outputs)
        scale = std::max(scale, output.scale);
    const qint64 requestedAt = QDateTime::currentMSecsSinceEpoch();
    return requestScreenshot(true).then(
        QtFuture::Launch::Async, [scale, requestedAt](const PortalRequest::Answer& answer) -> DisplayCapture {
            // Leaving the desktop's picker is a cancel, whichever way the desktop reports it (the wlroots
            // portal answers Escape with 2).
            if (answer.error.isEmpty() && answer.response != 0)
                return QList<DisplayShot>();
            const auto picture = receivedPicture(answer, requestedAt);
            if (const CaptureError* error = std::get_if<CaptureError>(&picture))
                return *error;
            // The desktop draws what was picked at the highest density of the outputs it lies on; taking the
            // highest of all is right for every single-density layout.
            const QImage& image = std::get<QImage>(picture);
            const Rect frame(0, 0, image.width() / scale, image.height() / scale);
            return QList<DisplayShot>{{nullptr, QString(), image, frame}};
        });
}

std::variant<QImage, QString> PortalCaptureBackend::takeReturnedFile(const QString& path, qint64 requestedAtMs)
{
    // O_NOFOLLOW and the checks on the opened file, not the name: a shared folder is anyone's to write in.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return translated("스크린샷 파일 %1을(를) 열 수 없습니다: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return translated("스크린샷 파일 %1이(가) 보통 파일이 아닙니다.").arg(path);
    }
    if (status.st_uid != ::geteuid()) {
        ::close(fd);
        return translated("스크린샷 파일 %1의 주인이 다른 사용자라서 열지 않았습니다. 다른 사람의 그림일 수 있습니다.").arg(path);
    }
    if (modifiedMs(status) < requestedAtMs - staleSlackMs) {
        ::close(fd);
        return translated("스크린샷 파일 %1이(가) 이번 요청보다 오래되었습니다.").arg(path);
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    QByteArray bytes = file.readAll();
    file.close();
    if (inSharedTemporaryFolder(path))
        ::unlink(QFile::encodeName(path).constData());

    // Desktops return flat pictures in plain PNGs; the general reader is the fallback that explains failures.
    if (std::optional<QImage> plain = PngDecoder::decodePlain(bytes, qint64(decodeLimitMb) * 1024 * 1024 / 4))
        return *std::move(plain);
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(decodeLimitMb);
    QImage image = reader.read();
    if (image.isNull())
        return translated("스크린샷 파일 %1을(를) 읽을 수 없습니다: %2").arg(path, reader.errorString());
    return image;
}

} // namespace lumivex
