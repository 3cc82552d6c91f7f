// lumivex-ocr-worker: reads text for the application in a process of its own. It is started by RecognitionWorker
// with OMP_THREAD_LIMIT=1 already in its environment, answers one request at a time on file descriptor 3 and ends
// when the application closes its end. Each request is read by two engines at once (the user's languages, and the
// automatic pass that finds scattered interface text); engines stay loaded for the next request.
#include "ScreenTextImage.h"
#include "TesseractPass.h"
#include "core/analysis/TextRecognizer.h"
#include "core/analysis/WorkerChannel.h"

#include <QJsonArray>

#include <map>
#include <memory>
#include <thread>

using namespace lumivex;

namespace {

constexpr int applicationSocket = 3;

// Page segmentation: the first pass reads columns of lines of mixed sizes, the automatic pass looks for scattered
// text anywhere (labels, buttons, badges) without assuming any layout.
constexpr int columnsOfLines = 4;
constexpr int sparseText = 11;

class Engines {
public:
    // The engine of one pass slot for these models, loaded on first use and kept.
    TesseractPass* engine(int slot, const QString& models)
    {
        std::unique_ptr<TesseractPass>& engine = m_engines[{slot, models}];
        if (!engine)
            engine = std::make_unique<TesseractPass>(models, TextRecognizer::modelFolder());
        return engine->isReady() ? engine.get() : nullptr;
    }

private:
    std::map<std::pair<int, QString>, std::unique_ptr<TesseractPass>> m_engines;
};

QJsonObject failure(const QString& why) { return QJsonObject{{QStringLiteral("error"), why}}; }

QJsonObject answer(Engines& engines, const WorkerChannel::Message& request)
{
    const int width = request.header.value(QStringLiteral("width")).toInt(-1);
    const int height = request.header.value(QStringLiteral("height")).toInt(-1);
    const QJsonArray passes = request.header.value(QStringLiteral("passes")).toArray();
    if (width <= 0 || height <= 0 || qint64(width) * height != request.data.size() || passes.size() != 2)
        return failure(QStringLiteral("malformed request"));
    const QString models[2] = {passes.at(0).toString(), passes.at(1).toString()};
    TesseractPass* pass[2];
    for (int slot = 0; slot < 2; ++slot) {
        pass[slot] = engines.engine(slot, models[slot]);
        if (!pass[slot])
            return failure(QStringLiteral("Tesseract could not load the models \"%1\"").arg(models[slot]));
    }
    const cv::Mat grey(height, width, CV_8UC1, const_cast<char*>(request.data.constData()));
    const ScreenTextImage picture = ScreenTextImage::prepare(grey);

    std::vector<TextRecognizer::Candidate> lines[2];
    std::thread automatic([&] { lines[1] = pass[1]->read(picture, sparseText); });
    lines[0] = pass[0]->read(picture, columnsOfLines);
    automatic.join();
    return QJsonObject{{QStringLiteral("passes"), QJsonArray{WorkerChannel::toJson(lines[0]), WorkerChannel::toJson(lines[1])}}};
}

} // namespace

int main()
{
    Engines engines;
    while (const std::optional<WorkerChannel::Message> request = WorkerChannel::receive(applicationSocket, -1)) {
        if (!WorkerChannel::send(applicationSocket, {answer(engines, *request), {}}))
            break;
    }
    return 0;
}
