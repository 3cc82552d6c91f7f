#pragma once

#include "core/document/TextReader.h"

#include <QStringList>

namespace lumivex {

class RecognitionWorker;

// How documents read their text in the application: the flattened picture, read by TextRecognizer in the worker
// process. The application installs one at start:
//     EditorDocument::setDefaultTextReader(std::make_shared<WorkerTextReader>());
class WorkerTextReader : public TextReader {
public:
    // `preferredLanguages`: BCP 47 identifiers, most preferred first (by default the user interface languages of
    // the default locale). `worker`: the process to read with, the shared one by default; it must outlive this.
    explicit WorkerTextReader(QStringList preferredLanguages = defaultLanguages(), RecognitionWorker* worker = nullptr);

    // The user interface languages of the default locale; Korean and English where the locale names no language.
    static QStringList defaultLanguages();

    std::optional<QImage> picture(const EditorDocument& document) const override;
    TextResult read(const QImage& picture, const std::optional<Rect>& region) const override;

private:
    QStringList m_languages;
    RecognitionWorker* m_worker;
};

} // namespace lumivex
