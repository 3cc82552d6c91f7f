#include "TesseractPass.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace lumivex {

namespace {

// A gap between two characters wider than this many line heights separates two texts (panes, columns, toolbar
// items); word spaces are a fraction of a line height.
constexpr double columnGap = 2.0;
// Every Hangul syllable takes the same advance, and a word space adds about a fifth of it. Tesseract's Korean model
// often puts spaces between the syllables of one word; a space whose syllables stand no further apart than the
// line's usual syllable advance times this is taken for one of those and dropped.
constexpr double hangulSpaceAdvance = 1.15;

struct Symbol {
    QString text;
    int left, top, right, bottom;
    bool spaceBefore; // starts a word that is not the first of its line
    float confidence;

    double centre() const { return (left + right) / 2.0; }
    bool isHangul() const
    {
        const char16_t c = text.isEmpty() ? 0 : text.at(0).unicode();
        return c >= 0xAC00 && c <= 0xD7A3;
    }
};

// The median distance between the centres of neighbouring Hangul syllables, 0 when there are too few to tell.
double hangulAdvance(const std::vector<Symbol>& line)
{
    std::vector<double> advances;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i - 1].isHangul() && line[i].isHangul())
            advances.push_back(line[i].centre() - line[i - 1].centre());
    }
    if (advances.size() < 3)
        return 0;
    std::nth_element(advances.begin(), advances.begin() + advances.size() / 2, advances.end());
    return advances[advances.size() / 2];
}

// One line of symbols as texts: split where a gap is as wide as a column gap, and without the spaces the Korean
// model put inside words.
void addTexts(const std::vector<Symbol>& line, double scale, std::vector<TextRecognizer::Candidate>& lines)
{
    if (line.empty())
        return;
    const double advance = hangulAdvance(line);
    QString text;
    int left = 0, top = 0, right = 0, bottom = 0;
    double confidence = 100; // of the least certain word: one misread word spoils the line
    int count = 0;
    const auto finish = [&] {
        if (count > 0 && !text.trimmed().isEmpty())
            lines.push_back({text.trimmed(), Rect(left / scale, top / scale, (right - left) / scale, (bottom - top) / scale),
                             float(confidence / 100.0)});
        text.clear();
        count = 0;
        confidence = 100;
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        const Symbol& symbol = line[i];
        if (count > 0) {
            const int height = std::max(bottom - top, symbol.bottom - symbol.top);
            if (symbol.left - right > columnGap * height) {
                finish();
            } else if (symbol.spaceBefore) {
                const Symbol& previous = line[i - 1];
                const bool splitSyllables = advance > 0 && previous.isHangul() && symbol.isHangul()
                    && symbol.centre() - previous.centre() < hangulSpaceAdvance * advance;
                if (!splitSyllables)
                    text += QLatin1Char(' ');
            }
        }
        if (count == 0) {
            left = symbol.left, top = symbol.top, right = symbol.right, bottom = symbol.bottom;
        } else {
            left = std::min(left, symbol.left), top = std::min(top, symbol.top);
            right = std::max(right, symbol.right), bottom = std::max(bottom, symbol.bottom);
        }
        text += symbol.text;
        confidence = std::min(confidence, std::clamp(double(symbol.confidence), 0.0, 100.0));
        ++count;
    }
    finish();
}

} // namespace

TesseractPass::TesseractPass(const QString& models, const QString& modelFolder)
    : m_models(models), m_api(std::make_unique<tesseract::TessBaseAPI>())
{
    m_ready = m_api->Init(modelFolder.toLocal8Bit().constData(), models.toLatin1().constData(),
                          tesseract::OEM_LSTM_ONLY)
        == 0;
    if (m_ready) {
        // Its chatter (resolution warnings and the like) would only reach a log nobody reads.
        m_api->SetVariable("debug_file", "/dev/null");
        // Pictures arrive with every area already dark on light; Tesseract's own second try of doubtful lines in
        // inverted form would only double the time spent on icons and other non-text.
        m_api->SetVariable("tessedit_do_invert", "0");
    }
}

TesseractPass::~TesseractPass()
{
    if (m_api)
        m_api->End();
}

std::vector<TextRecognizer::Candidate> TesseractPass::read(const ScreenTextImage& picture, int pageSegmentation)
{
    std::vector<TextRecognizer::Candidate> lines;
    if (!m_ready || picture.image.empty())
        return lines;
    m_api->SetPageSegMode(tesseract::PageSegMode(pageSegmentation));
    m_api->SetImage(picture.image.data, picture.image.cols, picture.image.rows, 1, int(picture.image.step));
    // Screen pixels enlarged: about 96 dots per inch times the enlargement, which keeps Tesseract from guessing.
    m_api->SetSourceResolution(int(std::lround(96 * picture.scale)));
    if (m_api->Recognize(nullptr) != 0)
        return lines;
    std::unique_ptr<tesseract::ResultIterator> it(m_api->GetIterator());
    if (!it)
        return lines;
    // Lines are rebuilt here from the characters rather than taken as Tesseract's: it happily joins a row of two
    // panes or a toolbar's far-apart labels into one line, and splits Korean words at every other syllable.
    std::vector<Symbol> line;
    // Tesseract's certainty of single characters says little; that of a word (its least certain character) does.
    float wordConfidence = 0;
    do {
        if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
            addTexts(line, picture.scale, lines);
            line.clear();
        }
        const bool wordStart = it->IsAtBeginningOf(tesseract::RIL_WORD);
        if (wordStart)
            wordConfidence = it->Confidence(tesseract::RIL_WORD);
        std::unique_ptr<char[]> utf8(it->GetUTF8Text(tesseract::RIL_SYMBOL));
        const QString text = utf8 ? QString::fromUtf8(utf8.get()).trimmed() : QString();
        Symbol symbol{text, 0, 0, 0, 0, wordStart && !line.empty(), wordConfidence};
        if (text.isEmpty() || !it->BoundingBox(tesseract::RIL_SYMBOL, &symbol.left, &symbol.top, &symbol.right, &symbol.bottom))
            continue;
        line.push_back(symbol);
    } while (it->Next(tesseract::RIL_SYMBOL));
    addTexts(line, picture.scale, lines);
    m_api->Clear();
    return lines;
}

} // namespace lumivex
