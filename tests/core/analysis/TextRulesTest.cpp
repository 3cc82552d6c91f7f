// The pure rules of text recognition: merging the two passes, reading order, the language lists and the counting of
// characters, with hand-worked examples.
#include "core/analysis/TextRecognizer.h"
#include "core/document/RecognizedText.h"

#include <gtest/gtest.h>

using namespace lumivex;
using TextRecognizer::Candidate;

namespace {

QStringList texts(const std::vector<Candidate>& candidates)
{
    QStringList list;
    for (const Candidate& c : candidates)
        list << c.text;
    return list;
}

TEST(TextMerge, TheFirstPassWinsCloseCallsAndTheSecondAddsWhatItMissed)
{
    const std::vector<Candidate> primary{{"Settings", Rect(10, 10, 100, 20), 0.80f},
                                         {"Cancl", Rect(10, 50, 60, 20), 0.50f}};
    const std::vector<Candidate> detected{
        {"Setings", Rect(12, 11, 98, 20), 0.85f}, // the same line, only 0.05 more confident: the first stays
        {"Cancel", Rect(11, 50, 60, 21), 0.90f},  // the same line, clearly better: replaces it in place
        {"OK", Rect(200, 50, 30, 20), 0.70f},     // nowhere in the first pass: added at the end
    };
    const std::vector<Candidate> merged = TextRecognizer::merge(primary, detected);
    EXPECT_EQ(texts(merged), (QStringList{"Settings", "Cancel", "OK"}));
    EXPECT_EQ(merged[1].rect, Rect(11, 50, 60, 21));
}

TEST(TextMerge, APieceOfALineNeverReplacesTheWholeLineNorTheOtherWayRound)
{
    // One pass reads a menu row as one line, the other as separate words.
    const std::vector<Candidate> row{{"File Edit View", Rect(0, 0, 300, 20), 0.60f}};
    const std::vector<Candidate> words{{"File", Rect(0, 0, 60, 20), 0.95f}, {"View", Rect(240, 0, 60, 20), 0.95f}};
    EXPECT_EQ(texts(TextRecognizer::merge(row, words)), QStringList{"File Edit View"});
    // The whole row read better does not replace the first word and leave "View" behind to be read twice.
    const std::vector<Candidate> wholeRow{{"File Edit View", Rect(0, 0, 300, 20), 0.99f}};
    EXPECT_EQ(texts(TextRecognizer::merge(words, wholeRow)), (QStringList{"File", "View"}));
}

TEST(TextMerge, OnlyCertainCandidatesWithALetterOrDigitCount)
{
    const std::vector<Candidate> read{{"— ㄴㄴ.", Rect(), 0.39f}, {"=", Rect(), 0.95f}, {"- · -", Rect(), 0.9f},
                                      {"87%", Rect(), 0.9f}, {"휴지통 비우기", Rect(), 0.57f}};
    EXPECT_EQ(texts(TextRecognizer::plausible(read)), (QStringList{"87%", "휴지통 비우기"}));
}

TEST(TextOrder, WordsOfOneRowGoLeftToRightAndALowerWordStartsANewRow)
{
    const std::vector<Candidate> ordered = TextRecognizer::ordered({
        {"world", Rect(120, 12, 80, 20), 1},  // tops differ slightly: centre 22 lies inside 10..30
        {"below", Rect(0, 31, 50, 20), 1},    // centre 41 lies below the row's bottom edge 30
        {"hello", Rect(0, 10, 100, 20), 1},
        {"edge", Rect(300, 20, 50, 20), 1},   // centre 30 is on the bottom edge, not strictly inside: new row
    });
    EXPECT_EQ(texts(ordered), (QStringList{"hello", "world", "edge", "below"}));
}

TEST(TextLanguages, PrimaryLanguagesFollowThePreferredOnesAndEndWithEnglish)
{
    const QStringList supported{"en-US", "fr-FR", "it-IT", "de-DE", "es-ES", "pt-BR", "zh-Hans", "zh-Hant",
                                "yue-Hans", "yue-Hant", "ko-KR", "ja-JP", "ru-RU", "uk-UA"};
    EXPECT_EQ(TextRecognizer::primaryLanguages({"ko-KR", "ja-JP", "fr-FR"}, supported),
              (QStringList{"ko-KR", "ja-JP", "en-US"}));
    EXPECT_EQ(TextRecognizer::primaryLanguages({"en-US"}, supported), QStringList{"en-US"});
    EXPECT_EQ(TextRecognizer::primaryLanguages({"en-GB", "ko"}, supported), (QStringList{"en-US", "ko-KR"}));
    // A named script puts its own entry first.
    EXPECT_EQ(TextRecognizer::primaryLanguages({"zh-Hant-TW"}, supported), (QStringList{"zh-Hant", "zh-Hans", "en-US"}));
    // Identifiers without a language code are skipped; a language without models adds nothing.
    EXPECT_EQ(TextRecognizer::primaryLanguages({"C", "", "sw-KE", "ko_KR"}, {"en-US", "ko-KR"}),
              (QStringList{"ko-KR", "en-US"}));
}

TEST(TextLanguages, IdentifiersNameTesseractModelsAndTheAutomaticPassTakesTheirScripts)
{
    const std::pair<const char*, const char*> models[] = {
        {"ko-KR", "kor"}, {"en-US", "eng"}, {"en-GB", "eng"}, {"ja", "jpn"}, {"zh-Hans", "chi_sim"},
        {"zh-CN", "chi_sim"}, {"zh-TW", "chi_tra"}, {"zh-Hant-HK", "chi_tra"}, {"zh-Hans-HK", "chi_sim"},
        {"fr_CA", "fra"}, {"nb-NO", "nor"}, {"C", ""}, {"xx-YY", ""},
    };
    for (const auto& [identifier, model] : models)
        EXPECT_EQ(TextRecognizer::tesseractModel(identifier), QString::fromLatin1(model)) << identifier;

    const QStringList installed{"chi_sim", "deu", "eng", "fra", "jpn", "kor", "osd"};
    EXPECT_EQ(TextRecognizer::automaticModels({"ko-KR", "en-US"}, {"eng", "kor"}), (QStringList{"kor", "eng"}));
    // Script by script in the user's order, at most four models.
    EXPECT_EQ(TextRecognizer::automaticModels({"ko-KR", "en-US"}, installed), (QStringList{"kor", "fra", "deu", "eng"}));
    EXPECT_EQ(TextRecognizer::automaticModels({"de-DE"}, installed), (QStringList{"deu", "fra", "eng"}));
    EXPECT_EQ(TextRecognizer::automaticModels({"C"}, installed), QStringList{"eng"});
}

TEST(RecognizedTextCount, CountsWhatAReaderSeesAsCharactersButNoSpaces)
{
    RecognizedText text;
    text.lines = {{"한글 ab", Rect()}, {"e\u0301 👍🏽 🇰🇷", Rect()}, {"  ", Rect()}};
    EXPECT_EQ(text.text(), QStringLiteral("한글 ab\ne\u0301 👍🏽 🇰🇷\n  "));
    EXPECT_EQ(text.characterCount(), 4 + 3); // an accent, a skin tone and a flag each join their character
    const RecognizedText blank{{{" \u3000", Rect()}}};
    EXPECT_TRUE(blank.isEmpty());
}

} // namespace
