// The document's part in reading text: the background scan, the cache of the last whole-picture result and the
// requests waiting for a running scan. Recognition itself runs on a pool thread through the document's TextReader.
#include "core/document/EditorDocument.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

namespace lumivex {

namespace {

std::shared_ptr<const TextReader>& defaultTextReader()
{
    static std::shared_ptr<const TextReader> reader;
    return reader;
}

// Runs `work` on the main thread's event loop, whatever thread calls this.
void onMainThread(std::function<void()> work)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

} // namespace

void EditorDocument::setTextReader(std::shared_ptr<const TextReader> reader) { m_textReader = std::move(reader); }

void EditorDocument::setDefaultTextReader(std::shared_ptr<const TextReader> reader)
{
    defaultTextReader() = std::move(reader);
}

void EditorDocument::setCopiedText(const std::optional<QString>& text)
{
    if (text == m_copiedText)
        return;
    m_copiedText = text;
    Q_EMIT copiedTextChanged();
}

void EditorDocument::setTextScan(const TextScan& scan)
{
    if (scan == m_textScan)
        return;
    m_textScan = scan;
    Q_EMIT textScanChanged();
}

void EditorDocument::scanText()
{
    if (m_textScan.state != TextScan::State::idle)
        return;
    setTextScan(TextScan::scanning());
    QPointer<EditorDocument> self(this);
    runRecognition(std::nullopt, [self](const TextResult& result) {
        if (self)
            self->finishScan(result);
    });
}

void EditorDocument::finishScan(const TextResult& result)
{
    const RecognizedText* text = std::get_if<RecognizedText>(&result);
    setTextScan(text && !text->isEmpty() ? TextScan::found(text->characterCount()) : TextScan::none());
    // A waiter may add new waiters or even start things that end in this document's destruction; take the list first.
    std::vector<std::function<void()>> waiters = std::exchange(m_scanWaiters, {});
    QPointer<EditorDocument> self(this);
    for (const std::function<void()>& waiter : waiters) {
        if (!self)
            return;
        waiter();
    }
}

void EditorDocument::recognizeText(const std::optional<Rect>& region, TextCompletion completion)
{
    if (!region && m_textScan.state == TextScan::State::scanning) {
        m_scanWaiters.push_back([this, completion = std::move(completion)] { runRecognition(std::nullopt, completion); });
        return;
    }
    runRecognition(region, std::move(completion));
}

void EditorDocument::runRecognition(const std::optional<Rect>& region, TextCompletion completion)
{
    const EditorState snapshot = m_state;
    const bool wholePicture = !region.has_value();
    if (wholePicture && m_scannedText && m_scannedText->state.hasSameContent(snapshot)) {
        completion(m_scannedText->text);
        return;
    }
    const std::shared_ptr<const TextReader> reader = m_textReader ? m_textReader : defaultTextReader();
    if (!reader) {
        completion(RecognitionError::recognitionFailed(QStringLiteral("no text recognition is installed")));
        return;
    }
    std::optional<QImage> picture = reader->picture(*this);
    if (!picture) {
        completion(RecognitionError::unreadablePicture());
        return;
    }
    const Rect area = wholePicture ? snapshot.visibleRect() : *region;
    QPointer<EditorDocument> self(this);
    QThreadPool::globalInstance()->start([reader, picture = std::move(*picture), area, snapshot, wholePicture, self,
                                          completion = std::move(completion)]() mutable {
        TextResult result = reader->read(picture, area);
        // The picture is released here, off the main thread; only the result travels back.
        picture = QImage();
        onMainThread([result = std::move(result), snapshot, wholePicture, self, completion]() {
            const RecognizedText* text = std::get_if<RecognizedText>(&result);
            if (wholePicture && text && self)
                self->m_scannedText = ScannedText{snapshot, *text};
            completion(result);
        });
    });
}

} // namespace lumivex
