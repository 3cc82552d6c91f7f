#include "app/capture/CaptureCommand.h"
#include "app/editor/EditorWindow.h"
#include "app/platform/CaptureBackend.h"
#include "app/platform/Platform.h"
#include "app/shell/CaptureFlow.h"
#include "app/shell/Launch.h"
#include "core/render/ImageLoading.h"

#include <QApplication>

#include <cstdio>

using namespace lumivex;

int main(int argc, char** argv)
{
    if (!Launch::displayAvailable()) {
        std::fprintf(stderr, "%s\n", qPrintable(Launch::noDisplayMessage()));
        return 2;
    }
    if (const QString problem = Platform::unreachableDisplayMessage(); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumivex"));
    QApplication::setOrganizationName(QStringLiteral("lumivex"));
    QApplication::setDesktopFileName(QStringLiteral("lumivex"));
    Launch::installTranslations();

    const LaunchOptions launch = LaunchOptions::parse(QCoreApplication::arguments());
    const CaptureCommand::Parsed capture = CaptureCommand::parse(launch.options);
    if (!capture.error.isEmpty()) {
        std::fprintf(stderr, "lumivex: %s\n", qPrintable(capture.error));
        return 2;
    }
    int opened = 0;
    for (const QString& file : launch.files) {
        const ImageLoading::LoadResult loaded = ImageLoading::loadFile(file);
        if (const auto* error = std::get_if<LoadError>(&loaded)) {
            std::fprintf(stderr, "lumivex: %s %s\n", qPrintable(error->message()), qPrintable(error->detail()));
            continue;
        }
        (new EditorWindow(std::get<LoadedImage>(loaded)))->show();
        ++opened;
    }
    if (capture.command) {
        (new CaptureFlow(CaptureBackend::create(Platform::kind()), &app))->runCommand(*capture.command);
    } else if (opened == 0) {
        std::fprintf(stderr, "lumivex: no image to open. Usage: lumivex IMAGE... | --capture=area|window|fullscreen "
                             "[--output=FILE]\n");
        return 1;
    }
    return app.exec();
}
