#pragma once

#include "core/analysis/TextRecognizer.h"
#include "ScreenTextImage.h"

#include <QString>

#include <memory>
#include <vector>

namespace tesseract {
class TessBaseAPI;
}

namespace lumivex {

// One Tesseract engine with its models loaded, reading prepared pictures line by line. Not thread-safe: each
// pass running at the same time has an engine of its own.
class TesseractPass {
public:
    // Loads "kor+eng"-style models (LSTM only) from `modelFolder`; isReady() tells whether that worked.
    TesseractPass(const QString& models, const QString& modelFolder);
    ~TesseractPass();

    bool isReady() const { return m_ready; }
    const QString& models() const { return m_models; }

    // The lines with rectangles in the original picture's pixels and confidences from 0 to 1.
    std::vector<TextRecognizer::Candidate> read(const ScreenTextImage& picture, int pageSegmentation);

private:
    QString m_models;
    std::unique_ptr<tesseract::TessBaseAPI> m_api;
    bool m_ready = false;
};

} // namespace lumivex
