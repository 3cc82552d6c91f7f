// Renders the editor window with a sample document, once in the light and once in the dark appearance, to PNG
// files (offscreen, no display needed): lumivex_editor_shots OUTPUT_FOLDER
#include "samples/TestImages.h"

#include "app/design/Appearance.h"
#include "app/editor/EditorView.h"
#include "app/editor/TextBannerRules.h"
#include "core/document/EditorDocument.h"
#include "core/settings/CaptureSettings.h"
#include "core/settings/SettingsFileStore.h"
#include "core/stickers/StickerLibrary.h"
#include "core/stickers/StickerRecents.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace lumivex;

namespace {

// A callout that a user could have made on the sample picture: a box around a few lines, an arrow from a label,
// a blurred passage and a sticker. The arrow ends selected, so the inspector shows its controls.
void addSampleAnnotations(EditorDocument& doc)
{
    const auto add = [&](AnnotationKind kind, const std::function<void(Annotation&)>& shape) {
        Annotation a = doc.makeAnnotation(kind);
        shape(a);
        doc.add(a);
        return a.id;
    };
    const RGBAColor red{1, 0.231, 0.188, 1};
    add(AnnotationKind::rectangle, [&](Annotation& a) {
        a.frame = Rect(318, 452, 430, 92);
        a.strokeColor = red;
        a.lineWidth = 6;
        a.cornerRadius = 14;
        a.fillColor.reset();
    });
    add(AnnotationKind::blur, [](Annotation& a) {
        a.frame = Rect(318, 760, 430, 150);
        a.cornerRadius = 18;
        a.blurAmount = 14;
    });
    add(AnnotationKind::text, [&](Annotation& a) {
        a.text = QStringLiteral("이 설정을 확인하세요");
        a.fontSize = 44;
        a.strokeColor = RGBAColor::white;
        a.fillColor = red;
        a.outlineColor.reset();
        a.frame = Rect(1060, 560, 10, 10);
        a.refreshTextFrame(false);
    });
    add(AnnotationKind::sticker, [](Annotation& a) {
        a.sticker = StickerSource::emoji(QStringLiteral("👍"));
        a.frame = Rect(1380, 140, 150, 150);
    });
    const QUuid arrow = add(AnnotationKind::arrow, [&](Annotation& a) {
        a.points = {{1000, 600}, {770, 505}};
        a.arrowBend = 0.3;
        a.lineWidth = 12;
        a.strokeColor = red;
    });
    doc.select(arrow);
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    EditorDocument doc(LoadedImage{test::screenshotLikeImage(1600, 1000), 1, QStringLiteral("Lumivex 2025-01-01 at 09.41.00")});
    addSampleAnnotations(doc);

    // Stores of its own, so the pictures never depend on (or change) the user's settings and stickers.
    QTemporaryDir home;
    SettingsFileStore store(home.filePath(QStringLiteral("lumivex.conf")));
    CaptureSettings settings(store);
    settings.setFaceCoverTipDismissed(true);
    StickerLibrary library(home.filePath(QStringLiteral("Stickers")));
    StickerRecents recents(store);

    EditorView view(doc, {}, Scheduler::system(), EditorStores{&settings, &library, &recents});
    view.resize(1360, 860);
    view.show();
    view.setSubtitle(QStringLiteral("클립보드에 복사됨"));
    view.bannerRules().setFound(128); // the offer to copy the text the background scan found
    QElapsedTimer settling; // the banner slides in
    settling.start();
    while (settling.elapsed() < 600)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    for (const auto& [scheme, name] : {std::pair{ColorScheme::light, "editor-light.png"},
                                       std::pair{ColorScheme::dark, "editor-dark.png"}}) {
        Appearance::instance().setOverride(scheme);
        Appearance::instance().style(&view);
        QApplication::processEvents();
        const QString path = folder.filePath(QString::fromLatin1(name));
        if (!view.grab().save(path, "PNG")) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
