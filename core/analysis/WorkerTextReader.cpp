#include "core/analysis/WorkerTextReader.h"

#include "core/analysis/RecognitionWorker.h"
#include "core/analysis/TextRecognizer.h"
#include "core/render/DocumentOutput.h"

#include <QLocale>

namespace lumivex {

WorkerTextReader::WorkerTextReader(QStringList preferredLanguages, RecognitionWorker* worker)
    : m_languages(std::move(preferredLanguages)), m_worker(worker)
{
}

QStringList WorkerTextReader::defaultLanguages()
{
    // The "C" locale of a bare environment names no language: read what the application itself speaks.
    const QLocale locale;
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return {QStringLiteral("ko-KR"), QStringLiteral("en-US")};
    return locale.uiLanguages();
}

std::optional<QImage> WorkerTextReader::picture(const EditorDocument& document) const
{
    return DocumentOutput::flattenedImage(document);
}

TextResult WorkerTextReader::read(const QImage& picture, const std::optional<Rect>& region) const
{
    return TextRecognizer::recognize(m_worker ? *m_worker : RecognitionWorker::shared(), picture, region, m_languages);
}

} // namespace lumivex
