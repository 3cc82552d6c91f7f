// lumivex-cli ocr: the text of a picture (or of a rectangle in it) in reading order, read the way the editor's
// copy-text command reads it.
#include "cli/CliCommand.h"
#include "core/analysis/TextRecognizer.h"
#include "core/analysis/WorkerTextReader.h"
#include "core/render/ImageLoading.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <cstdio>
#include <optional>
#include <variant>

namespace lumivex {

namespace {

struct OcrRequest {
    QString image;
    std::optional<Rect> region;
    QStringList languages;
    bool json = false;
};

std::optional<Rect> parseRegion(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    double values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(values[i]))
            return std::nullopt;
    }
    if (values[2] < 0 || values[3] < 0)
        return std::nullopt;
    return Rect(values[0], values[1], values[2], values[3]);
}

// Debian names a model's package after the model, with hyphens: chi_sim is tesseract-ocr-chi-sim.
QString packageOf(const QString& model) { return QStringLiteral("tesseract-ocr-") + QString(model).replace(QLatin1Char('_'), QLatin1Char('-')); }

// A message when a language cannot be read with the installed models.
std::optional<QString> checkLanguages(const QStringList& languages)
{
    const QStringList installed = TextRecognizer::installedModels();
    for (const QString& language : languages) {
        const QString model = TextRecognizer::tesseractModel(language);
        if (model.isEmpty())
            return QStringLiteral("no text recognition model is known for \"%1\"").arg(language);
        if (!installed.contains(model))
            return QStringLiteral("the model for \"%1\" is not installed (apt install %2)").arg(language, packageOf(model));
    }
    return std::nullopt;
}

// The request, or the message of a usage error.
std::variant<OcrRequest, QString> parse(const QStringList& arguments)
{
    OcrRequest request;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool takesValue = argument == QLatin1String("--region") || argument == QLatin1String("--languages");
        if (takesValue && i + 1 >= arguments.size())
            return QStringLiteral("%1 needs a value").arg(argument);
        if (argument == QLatin1String("--json")) {
            request.json = true;
        } else if (argument == QLatin1String("--region")) {
            request.region = parseRegion(arguments[++i]);
            if (!request.region)
                return QStringLiteral("--region takes X,Y,WIDTH,HEIGHT in pixels, with no negative size");
        } else if (argument == QLatin1String("--languages")) {
            request.languages = arguments[++i].split(QLatin1Char(','), Qt::SkipEmptyParts);
            if (request.languages.isEmpty())
                return QStringLiteral("--languages takes identifiers such as ko-KR,en-US");
            if (const std::optional<QString> problem = checkLanguages(request.languages))
                return *problem;
        } else if (argument.startsWith(QLatin1Char('-')) || !request.image.isEmpty()) {
            return QStringLiteral("unexpected argument \"%1\"").arg(argument);
        } else {
            request.image = argument;
        }
    }
    if (request.image.isEmpty())
        return QStringLiteral("ocr needs an image file");
    if (request.languages.isEmpty())
        request.languages = WorkerTextReader::defaultLanguages();
    return request;
}

void print(const RecognizedText& text, bool json)
{
    if (!json) {
        if (!text.lines.empty())
            std::printf("%s\n", text.text().toUtf8().constData());
        return;
    }
    QJsonArray lines;
    for (const RecognizedText::Line& line : text.lines) {
        lines.append(QJsonObject{{QStringLiteral("text"), line.text},
                                 {QStringLiteral("x"), line.rect.x},
                                 {QStringLiteral("y"), line.rect.y},
                                 {QStringLiteral("width"), line.rect.width},
                                 {QStringLiteral("height"), line.rect.height}});
    }
    std::printf("%s\n", QJsonDocument(lines).toJson(QJsonDocument::Compact).constData());
}

int runOcr(const QStringList& arguments)
{
    const auto parsed = parse(arguments);
    if (const QString* message = std::get_if<QString>(&parsed))
        return Cli::fail(Cli::usage, *message);
    const OcrRequest& request = std::get<OcrRequest>(parsed);

    const std::optional<LoadedImage> loaded = ImageLoading::load(request.image);
    if (!loaded)
        return Cli::fail(Cli::failed, QStringLiteral("cannot read \"%1\" as a picture").arg(request.image));
    const WorkerTextReader reader(request.languages);
    const TextResult result = reader.read(loaded->image, request.region);
    if (const RecognitionError* error = std::get_if<RecognitionError>(&result))
        return Cli::fail(Cli::failed, QStringLiteral("text recognition failed: %1").arg(error->detail()));
    print(std::get<RecognizedText>(result), request.json);
    return Cli::success;
}

const Cli::Registration registration{
    {QStringLiteral("ocr"), QStringLiteral("ocr IMAGE [--region X,Y,W,H] [--languages ko-KR,en-US] [--json]"), runOcr}};

} // namespace

} // namespace lumivex
