#include "core/analysis/TextRecognizer.h"

#include "core/analysis/RecognitionWorker.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace lumivex::TextRecognizer {

namespace {

// The languages we can name, in the order supported languages are listed: the identifier as a language list shows
// it, Tesseract's model, and the script the model reads (the automatic pass takes every installed model of a
// script the user reads).
struct Language {
    const char* identifier;
    const char* model;
    const char* script;
};

constexpr Language languages[] = {
    {"en-US", "eng", "Latn"},     {"fr-FR", "fra", "Latn"},     {"it-IT", "ita", "Latn"},
    {"de-DE", "deu", "Latn"},     {"es-ES", "spa", "Latn"},     {"pt-BR", "por", "Latn"},
    {"nl-NL", "nld", "Latn"},     {"pl-PL", "pol", "Latn"},     {"sv-SE", "swe", "Latn"},
    {"da-DK", "dan", "Latn"},     {"nb-NO", "nor", "Latn"},     {"fi-FI", "fin", "Latn"},
    {"cs-CZ", "ces", "Latn"},     {"tr-TR", "tur", "Latn"},     {"vi-VN", "vie", "Latn"},
    {"id-ID", "ind", "Latn"},     {"ro-RO", "ron", "Latn"},     {"hu-HU", "hun", "Latn"},
    {"zh-Hans", "chi_sim", "Hans"}, {"zh-Hant", "chi_tra", "Hant"}, {"ko-KR", "kor", "Kore"},
    {"ja-JP", "jpn", "Jpan"},     {"ru-RU", "rus", "Cyrl"},     {"uk-UA", "ukr", "Cyrl"},
    {"el-GR", "ell", "Grek"},     {"th-TH", "tha", "Thai"},     {"ar-SA", "ara", "Arab"},
    {"he-IL", "heb", "Hebr"},     {"hi-IN", "hin", "Deva"},
};

// Tesseract finds "text" in blurred areas, icons and photos, always with a low certainty (below 0.4 where a blur
// covers interface text); real interface text reads well above this.
constexpr float leastConfidence = 0.45f;

// At most this many models read in the automatic pass: each one more makes every line slower to read.
constexpr int automaticModelLimit = 4;

QStringList subtags(const QString& identifier)
{
    return identifier.split(QRegularExpression(QStringLiteral("[-_]")), Qt::KeepEmptyParts);
}

// The language code of an identifier ("ko" of "ko-KR"), or empty when it has none ("C", "", "*").
QString languageCode(const QString& identifier)
{
    static const QRegularExpression code(QStringLiteral("^[A-Za-z]{2,3}$"));
    const QString first = subtags(identifier).value(0);
    return code.match(first).hasMatch() ? first.toLower() : QString();
}

// The script subtag ("Hans" of "zh-Hans-CN"), or empty.
QString scriptCode(const QString& identifier)
{
    static const QRegularExpression script(QStringLiteral("^[A-Za-z]{4}$"));
    const QStringList tags = subtags(identifier);
    for (int i = 1; i < tags.size(); ++i) {
        if (script.match(tags[i]).hasMatch())
            return tags[i].left(1).toUpper() + tags[i].mid(1).toLower();
    }
    return {};
}

QString regionCode(const QString& identifier)
{
    static const QRegularExpression region(QStringLiteral("^([A-Za-z]{2}|[0-9]{3})$"));
    const QStringList tags = subtags(identifier);
    for (int i = 1; i < tags.size(); ++i) {
        if (region.match(tags[i]).hasMatch())
            return tags[i].toUpper();
    }
    return {};
}

const Language* languageOfModel(const QString& model)
{
    for (const Language& language : languages) {
        if (model == QLatin1String(language.model))
            return &language;
    }
    return nullptr;
}

double area(const Rect& r) { return r.isEmpty() ? 0.0 : r.width * r.height; }

QImage opaqueGrey(const QImage& image)
{
    // Transparent parts read as white paper, as they show in most viewers.
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_Grayscale8);
    const QImage premultiplied = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage flat(image.size(), QImage::Format_RGB32);
    for (int y = 0; y < flat.height(); ++y) {
        const QRgb* source = reinterpret_cast<const QRgb*>(premultiplied.constScanLine(y));
        QRgb* target = reinterpret_cast<QRgb*>(flat.scanLine(y));
        for (int x = 0; x < flat.width(); ++x) {
            const int alpha = qAlpha(source[x]);
            target[x] = qRgb(qRed(source[x]) + 255 - alpha, qGreen(source[x]) + 255 - alpha, qBlue(source[x]) + 255 - alpha);
        }
    }
    return flat.convertToFormat(QImage::Format_Grayscale8);
}

} // namespace

QString modelFolder()
{
    const QByteArray prefix = qgetenv("TESSDATA_PREFIX");
    if (!prefix.isEmpty())
        return QString::fromLocal8Bit(prefix);
    return QStringLiteral("/usr/share/tesseract-ocr/5/tessdata");
}

QStringList installedModels()
{
    QStringList models;
    for (const QString& file : QDir(modelFolder()).entryList({QStringLiteral("*.traineddata")}, QDir::Files, QDir::Name))
        models << file.chopped(int(qstrlen(".traineddata")));
    return models;
}

QStringList supportedLanguages()
{
    const QStringList installed = installedModels();
    QStringList supported;
    for (const Language& language : languages) {
        if (installed.contains(QLatin1String(language.model)))
            supported << QLatin1String(language.identifier);
    }
    return supported;
}

QString tesseractModel(const QString& identifier)
{
    for (const Language& language : languages) {
        if (identifier.compare(QLatin1String(language.identifier), Qt::CaseInsensitive) == 0)
            return QLatin1String(language.model);
    }
    const QString code = languageCode(identifier);
    if (code.isEmpty())
        return {};
    if (code == QLatin1String("zh")) {
        // Chinese without a script: the region tells the script its readers use.
        const QString script = scriptCode(identifier);
        static const QStringList traditionalRegions{QStringLiteral("TW"), QStringLiteral("HK"), QStringLiteral("MO")};
        const bool traditional = script == QLatin1String("Hant")
            || (script.isEmpty() && traditionalRegions.contains(regionCode(identifier)));
        return traditional ? QStringLiteral("chi_tra") : QStringLiteral("chi_sim");
    }
    if (code == QLatin1String("no") || code == QLatin1String("nn"))
        return QStringLiteral("nor");
    for (const Language& language : languages) {
        if (languageCode(QLatin1String(language.identifier)) == code)
            return QLatin1String(language.model);
    }
    return {};
}

QStringList primaryLanguages(const QStringList& preferred, const QStringList& supported)
{
    QStringList result;
    for (const QString& identifier : preferred) {
        const QString code = languageCode(identifier);
        if (code.isEmpty())
            continue;
        QStringList collected;
        for (const QString& candidate : supported) {
            if (candidate.section(QLatin1Char('-'), 0, 0).compare(code, Qt::CaseInsensitive) == 0)
                collected << candidate;
        }
        QStringList matching;
        const QString script = scriptCode(identifier);
        if (!script.isEmpty()) {
            for (const QString& candidate : collected) {
                if (candidate.contains(script))
                    matching << candidate;
            }
        }
        for (const QString& candidate : matching + collected) {
            if (!result.contains(candidate))
                result << candidate;
        }
    }
    result = result.mid(0, 2);
    if (!result.contains(QStringLiteral("en-US")))
        result << QStringLiteral("en-US");
    return result;
}

QStringList primaryLanguages(const QStringList& preferred) { return primaryLanguages(preferred, supportedLanguages()); }

QStringList automaticModels(const QStringList& preferred, const QStringList& installed)
{
    // Script by script in the order the user prefers them, so a long list of installed Latin models never pushes
    // out the user's first language.
    QStringList models;
    for (const QString& identifier : preferred) {
        const Language* own = languageOfModel(tesseractModel(identifier));
        if (!own)
            continue;
        // The language's own model first, then the others of its script.
        std::vector<const Language*> sameScript{own};
        for (const Language& language : languages) {
            if (qstrcmp(language.script, own->script) == 0)
                sameScript.push_back(&language);
        }
        for (const Language* language : sameScript) {
            const QString model = QLatin1String(language->model);
            if (installed.contains(model) && !models.contains(model) && model != QLatin1String("eng"))
                models << model;
        }
    }
    models = models.mid(0, automaticModelLimit - 1);
    models << QStringLiteral("eng");
    return models;
}

bool isPlausible(const Candidate& candidate)
{
    if (candidate.confidence < leastConfidence)
        return false;
    return std::any_of(candidate.text.begin(), candidate.text.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

std::vector<Candidate> plausible(const std::vector<Candidate>& candidates)
{
    std::vector<Candidate> kept;
    std::copy_if(candidates.begin(), candidates.end(), std::back_inserter(kept), isPlausible);
    return kept;
}

std::vector<Candidate> merge(const std::vector<Candidate>& primary, const std::vector<Candidate>& detected)
{
    std::vector<Candidate> merged = primary;
    for (const Candidate& d : detected) {
        const auto overlapping = std::find_if(merged.begin(), merged.end(), [&](const Candidate& p) {
            return area(p.rect.intersected(d.rect)) > 0.5 * std::min(area(p.rect), area(d.rect));
        });
        if (overlapping == merged.end()) {
            merged.push_back(d);
            continue;
        }
        // The two passes may cut a row differently: one word of a row, or a row spanning lines the other pass kept
        // apart. Swapping such a piece for the whole (or the whole for a piece) would lose or repeat text, so only
        // a reading of the same line, covering more than half of each other, replaces the first pass's.
        const double shared = area(overlapping->rect.intersected(d.rect));
        const bool sameLine = shared > 0.5 * std::max(area(overlapping->rect), area(d.rect));
        if (sameLine && d.confidence > overlapping->confidence + 0.05f)
            *overlapping = d;
    }
    return merged;
}

std::vector<Candidate> ordered(std::vector<Candidate> candidates)
{
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.rect.minY() < b.rect.minY(); });
    std::vector<std::vector<Candidate>> rows;
    for (Candidate& candidate : candidates) {
        const double centre = candidate.rect.midY();
        if (!rows.empty() && centre > rows.back().front().rect.minY() && centre < rows.back().front().rect.maxY())
            rows.back().push_back(std::move(candidate));
        else
            rows.push_back({std::move(candidate)});
    }
    std::vector<Candidate> result;
    for (std::vector<Candidate>& row : rows) {
        std::stable_sort(row.begin(), row.end(),
                         [](const Candidate& a, const Candidate& b) { return a.rect.minX() < b.rect.minX(); });
        std::move(row.begin(), row.end(), std::back_inserter(result));
    }
    return result;
}

TextResult recognize(const QImage& image, const std::optional<Rect>& region, const QStringList& preferredLanguages)
{
    return recognize(RecognitionWorker::shared(), image, region, preferredLanguages);
}

TextResult recognize(RecognitionWorker& worker, const QImage& image, const std::optional<Rect>& region,
                     const QStringList& preferredLanguages)
{
    const Rect whole(0, 0, image.width(), image.height());
    Rect read = whole;
    if (region) {
        // A region narrower or lower than a pixel holds nothing to read, even where rounding outwards would make a
        // whole pixel of it; one that is not a real rectangle (NaN, infinite) holds no pixels at all.
        const bool readable = region->isFinite() && std::abs(region->width) >= 1 && std::abs(region->height) >= 1;
        read = readable ? region->integral().intersected(whole) : Rect::null();
        if (read.isEmpty() || read.width < 1 || read.height < 1)
            return RecognizedText{};
    }
    if (image.isNull())
        return RecognizedText{};
    const QImage picture = opaqueGrey(read == whole ? image : image.copy(int(read.x), int(read.y), int(read.width),
                                                                          int(read.height)));
    if (picture.isNull())
        return RecognizedText{};

    QStringList firstModels;
    for (const QString& identifier : primaryLanguages(preferredLanguages))
        firstModels << tesseractModel(identifier);
    const QStringList secondModels = automaticModels(preferredLanguages, installedModels());

    const RecognitionWorker::Reply reply = worker.read(picture, firstModels.join(QLatin1Char('+')),
                                                       secondModels.join(QLatin1Char('+')));
    if (const QString* error = std::get_if<QString>(&reply))
        return RecognitionError::recognitionFailed(*error);
    const auto& passes = std::get<RecognitionWorker::Passes>(reply);
    RecognizedText text;
    for (const Candidate& candidate : ordered(merge(plausible(passes[0]), plausible(passes[1]))))
        text.lines.push_back({candidate.text, candidate.rect.translated({read.x, read.y})});
    return text;
}

} // namespace lumivex::TextRecognizer
