#include "FacePhotos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QXmlStreamReader>

#include <algorithm>

namespace lumivex::test {

namespace {

void readLabels(const QString& folder, const QString& labelFile, std::vector<LabelledPhoto>& photos)
{
    QFile file(QDir(folder).filePath(labelFile));
    if (!file.open(QIODevice::ReadOnly))
        return;
    QXmlStreamReader xml(&file);
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        const auto attribute = [&](const char* name) { return xml.attributes().value(QLatin1String(name)); };
        if (xml.name() == QLatin1String("image")) {
            const QString path = QDir(folder).filePath(attribute("file").toString());
            photos.push_back({path, QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied), {}});
        } else if (xml.name() == QLatin1String("box") && !photos.empty()) {
            photos.back().faces.push_back(Rect(attribute("left").toDouble(), attribute("top").toDouble(),
                                               attribute("width").toDouble(), attribute("height").toDouble()));
        }
    }
}

} // namespace

QString packagedFile(const QString& pattern)
{
    QStringList candidates{QStringLiteral("/")};
    for (const QString& part : pattern.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        QStringList next;
        for (const QString& base : std::as_const(candidates)) {
            for (const QString& match : QDir(base).entryList({part}, QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name))
                next << QDir(base).filePath(match);
        }
        candidates = next;
    }
    return candidates.isEmpty() ? QString() : candidates.front();
}

std::vector<LabelledPhoto> dlibLabelledPhotos()
{
    const QString testing = packagedFile(QStringLiteral("/usr/share/doc/libdlib*/examples/faces/testing.xml"));
    if (testing.isEmpty())
        return {};
    const QString folder = QFileInfo(testing).path();
    std::vector<LabelledPhoto> photos;
    readLabels(folder, QStringLiteral("testing.xml"), photos);
    readLabels(folder, QStringLiteral("training.xml"), photos);
    return photos;
}

bool sameFace(const Rect& a, const Rect& b)
{
    return a.contains(b.center()) && b.contains(a.center());
}

FaceScore scoreFaces(const std::vector<Rect>& detected, const std::vector<Rect>& labelled)
{
    FaceScore score;
    for (const Rect& face : labelled) {
        const auto matches = std::count_if(detected.begin(), detected.end(), [&](const Rect& d) { return sameFace(d, face); });
        score.found += matches > 0;
        score.reportedTwice += matches > 1;
        if (matches == 0)
            score.missed.push_back(face);
    }
    for (const Rect& d : detected) {
        if (std::none_of(labelled.begin(), labelled.end(), [&](const Rect& face) { return sameFace(d, face); }))
            score.unlabelled.push_back(d);
    }
    return score;
}

QString astronautPhoto()
{
    return packagedFile(QStringLiteral("/usr/lib/python3/dist-packages/skimage/data/astronaut.png"));
}

QString footballerPhoto()
{
    return packagedFile(QStringLiteral("/usr/share/doc/opencv-doc/examples/data/messi5.jpg"));
}

} // namespace lumivex::test
