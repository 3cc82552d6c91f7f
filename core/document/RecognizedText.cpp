#include "core/document/RecognizedText.h"

#include <QStringList>
#include <QTextBoundaryFinder>

namespace lumivex {

QString RecognizedText::text() const
{
    QStringList texts;
    for (const Line& line : lines)
        texts << line.text;
    return texts.join(QLatin1Char('\n'));
}

int RecognizedText::characterCount() const
{
    int count = 0;
    for (const Line& line : lines) {
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, line.text);
        qsizetype start = 0;
        for (qsizetype end = graphemes.toNextBoundary(); end != -1; end = graphemes.toNextBoundary()) {
            if (!line.text.at(start).isSpace())
                ++count;
            start = end;
        }
    }
    return count;
}

} // namespace lumivex
