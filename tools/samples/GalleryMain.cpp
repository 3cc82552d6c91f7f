// Renders one document with every kind of annotation, padding and a ratio to a PNG, for looking at the
// renderer's output as a whole: lumivex_gallery OUTPUT.png
#include "SampleAnnotations.h"
#include "TestImages.h"

#include "core/document/EditorState.h"
#include "core/render/Renderer.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

using namespace lumivex;

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    EditorState state(test::screenshotLikeImage(1600, 1000));
    state.annotations = test::sampleAnnotations(state.image.size(), 21, 2);
    // Pixelation over small text, where its blocks show best.
    Annotation blocks(AnnotationKind::blur);
    blocks.frame = Rect{560, 640, 260, 150};
    blocks.blurStyle = BlurStyle::pixelate;
    blocks.blurAmount = 12;
    blocks.cornerRadius = 16;
    state.annotations.insert(state.annotations.begin(), blocks);
    // One blur reaching past the image's edge into the padding, one arrow pointing out of the picture.
    Annotation edgeBlur(AnnotationKind::blur);
    edgeBlur.frame = Rect{1480, 860, 220, 200};
    edgeBlur.blurAmount = 12;
    edgeBlur.cornerRadius = 40;
    state.annotations.push_back(edgeBlur);
    Annotation outward(AnnotationKind::arrow);
    outward.points = {{1300, 150}, {1630, -25}};
    outward.arrowBend = -0.2;
    outward.lineWidth = 8;
    outward.strokeColor = RGBAColor{0.1, 0.6, 0.3, 1};
    outward.outlineColor = RGBAColor::white;
    outward.outlineWidth = 2;
    state.annotations.push_back(outward);
    state.padding = CanvasPadding{true, 48, RGBAColor{0.55, 0.45, 0.95, 1}};
    state.ratio = CanvasRatio::fixed(16, 9);

    const std::optional<QImage> picture = Renderer::makeImage(state);
    if (!picture) {
        std::fprintf(stderr, "nothing was rendered\n");
        return 1;
    }
    if (!picture->save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %d x %d\n", argv[1], picture->width(), picture->height());
    return 0;
}
