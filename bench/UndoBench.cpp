// The cost of one undo step: a `perform` and its undo on a 500-object document, against one copy of the
// same annotation list in the same run (the floor for a snapshot history).

#include "BenchGoals.h"

#include "core/document/EditorDocument.h"
#include "core/document/UndoActionNames.h"

#include <QCoreApplication>

#include <memory>

using namespace lumivex;

namespace {

constexpr int annotationCount = 500;

// A mix of what real documents hold: shapes, arrows and polygons with points, text boxes with text.
std::unique_ptr<EditorDocument> makeDocument()
{
    auto document = std::make_unique<EditorDocument>(
        LoadedImage{QImage(2880, 1800, QImage::Format_ARGB32_Premultiplied), 2, QStringLiteral("bench")});
    const AnnotationKind kinds[] = {AnnotationKind::rectangle, AnnotationKind::arrow, AnnotationKind::text,
                                    AnnotationKind::polygon, AnnotationKind::ellipse, AnnotationKind::blur};
    std::vector<Annotation> annotations;
    for (int i = 0; i < annotationCount; ++i) {
        Annotation annotation(kinds[i % std::size(kinds)]);
        annotation.frame = Rect{double(i % 40) * 60, double(i / 40) * 60, 50, 40};
        if (annotation.kind == AnnotationKind::arrow)
            annotation.points = {{double(i), 10}, {double(i) + 80, 90}};
        if (annotation.kind == AnnotationKind::polygon)
            annotation.points = {{0, 0}, {40, 5}, {50, 40}, {10, 45}, {double(i), 20}};
        if (annotation.kind == AnnotationKind::text)
            annotation.text = QStringLiteral("Annotation number %1").arg(i);
        annotations.push_back(annotation);
    }
    document->perform(UndoActionNames::add(), [&](EditorState& content) { content.annotations = annotations; });
    return document;
}

std::unique_ptr<EditorDocument>& sharedDocument()
{
    static std::unique_ptr<EditorDocument> document = makeDocument();
    return document;
}

void BM_PerformAndUndo(benchmark::State& state)
{
    EditorDocument& document = *sharedDocument();
    const QUuid middle = document.state().annotations[annotationCount / 2].id;
    const QString name = UndoActionNames::move();
    for (auto _ : state) {
        document.perform(name, [&](EditorState& content) {
            for (Annotation& a : content.annotations) {
                if (a.id == middle) {
                    a.translate({1, 0});
                    break;
                }
            }
        });
        document.undo();
    }
    benchmark::DoNotOptimize(document.state().annotations.data());
}
BENCHMARK(BM_PerformAndUndo);

void BM_CopyAnnotationList(benchmark::State& state)
{
    const std::vector<Annotation>& annotations = sharedDocument()->state().annotations;
    for (auto _ : state) {
        std::vector<Annotation> copy = annotations;
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_CopyAnnotationList);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    auto& reporter = bench::runBenchmarks(argc, argv);
    const double copy = reporter.seconds("BM_CopyAnnotationList");
    const double step = reporter.seconds("BM_PerformAndUndo");
    if (copy > 0 && step > 0)
        bench::printGoal("undo-step-cost", step / copy, bench::Op::atMost, 4, "x");
    return 0;
}
