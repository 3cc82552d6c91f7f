// lumivex-cli faces: finds the faces in a picture, and optionally writes it with every face covered, through the
// same document operation and renderer as the editor's face-cover button.
#include "cli/CliCommand.h"
#include "core/analysis/FaceDetector.h"
#include "core/document/EditorDocument.h"
#include "core/model/FaceCover.h"
#include "core/render/DocumentOutput.h"
#include "core/render/ImageLoading.h"
#include "core/stickers/EmojiCatalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <optional>
#include <variant>

namespace lumivex {

namespace {

struct FacesRequest {
    QString image;
    bool json = false;
    std::optional<FaceCover> cover;
    QString output;
};

std::optional<FaceCover> coverNamed(const QString& name)
{
    if (name == QLatin1String("blur"))
        return FaceCover::blur(BlurStyle::gaussian);
    if (name == QLatin1String("pixelate"))
        return FaceCover::blur(BlurStyle::pixelate);
    if (name == QLatin1String("ellipse"))
        return FaceCover::filledEllipse();
    if (name == QLatin1String("emoji"))
        return FaceCover::randomStickers(EmojiCatalog::randomFaceStickers());
    return std::nullopt;
}

// The request, or the message of a usage error.
std::variant<FacesRequest, QString> parse(const QStringList& arguments)
{
    FacesRequest request;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--json")) {
            request.json = true;
        } else if (argument.startsWith(QLatin1String("--cover="))) {
            request.cover = coverNamed(argument.mid(8));
            if (!request.cover)
                return QStringLiteral("--cover takes blur, pixelate, ellipse or emoji");
        } else if (argument.startsWith(QLatin1String("--output="))) {
            request.output = argument.mid(9);
        } else if (argument.startsWith(QLatin1Char('-')) || !request.image.isEmpty()) {
            return QStringLiteral("unexpected argument \"%1\"").arg(argument);
        } else {
            request.image = argument;
        }
    }
    if (request.image.isEmpty())
        return QStringLiteral("faces needs an image file");
    if (request.cover.has_value() != !request.output.isEmpty())
        return QStringLiteral("--cover and --output=OUT go together");
    return request;
}

// One line "x y width height" per face in whole pixels (grown to cover the face), or a JSON array of objects.
void printFaces(const std::vector<Rect>& faces, bool json)
{
    QJsonArray list;
    for (const Rect& face : faces) {
        const Rect whole = face.integral();
        if (json) {
            list.append(QJsonObject{{QStringLiteral("x"), whole.x}, {QStringLiteral("y"), whole.y},
                                    {QStringLiteral("width"), whole.width}, {QStringLiteral("height"), whole.height}});
        } else {
            std::printf("%g %g %g %g\n", whole.x, whole.y, whole.width, whole.height);
        }
    }
    if (json)
        std::printf("%s\n", QJsonDocument(list).toJson(QJsonDocument::Compact).constData());
}

int runFaces(const QStringList& arguments)
{
    const auto parsed = parse(arguments);
    if (const QString* message = std::get_if<QString>(&parsed))
        return Cli::fail(Cli::usage, *message);
    const FacesRequest& request = std::get<FacesRequest>(parsed);

    const std::optional<LoadedImage> loaded = ImageLoading::load(request.image);
    if (!loaded)
        return Cli::fail(Cli::failed, QStringLiteral("cannot read \"%1\" as a picture").arg(request.image));
    const FaceDetector::Detection detection = FaceDetector::detectFaces(loaded->image, true);
    if (detection.error)
        return Cli::fail(Cli::failed, QStringLiteral("face detection failed: %1").arg(*detection.error));
    printFaces(detection.faces, request.json);
    if (!request.cover)
        return Cli::success;

    // Like the editor: the document takes the covers as one step and the picture is flattened and exported from it.
    EditorDocument document(*loaded);
    document.cover(detection.faces, *request.cover);
    if (const std::optional<ExportError> error = DocumentOutput::write(document, request.output))
        return Cli::fail(Cli::failed, error->detail());
    return Cli::success;
}

const Cli::Registration registration{
    {QStringLiteral("faces"),
     QStringLiteral("faces IMAGE [--json] [--cover=blur|pixelate|ellipse|emoji --output=OUT.png]"),
     runFaces}};

} // namespace

} // namespace lumivex
