#include "app/capture/CaptureCommand.h"
#include "app/editor/EditorWindow.h"
#include "app/platform/CaptureBackend.h"
#include "app/platform/Platform.h"
#include "app/shell/CaptureFlow.h"
#include "app/shell/DirectCapture.h"
#include "app/shell/Launch.h"
#include "core/render/ImageLoading.h"

#include <QApplication>

#include <cstdio>

using namespace lumivex;

int main(int argc, char** argv)
{
    // The command line is read before any application object exists: a full-screen capture to a file or the
    // clipboard freezes the screen first and starts only what it needs.
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments.append(QString::fromLocal8Bit(argv[i]));
    const LaunchOptions rawLaunch = LaunchOptions::parse(rawArguments);
    const CaptureCommand::Parsed rawCapture = CaptureCommand::parse(rawLaunch.options);
    if (!rawCapture.error.isEmpty()) {
        std::fprintf(stderr, "lumivex: %s\n", qPrintable(rawCapture.error));
        return 2;
    }
    if (!Launch::displayAvailable()) {
        std::fprintf(stderr, "%s\n", qPrintable(Launch::noDisplayMessage()));
        return 2;
    }
    if (rawCapture.command && rawLaunch.files.isEmpty() && DirectCapture::handles(*rawCapture.command))
        return DirectCapture::run(*rawCapture.command, argc, argv);
    if (const QString problem = Platform::unreachableDisplayMessage(); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumivex"));
    QApplication::setOrganizationName(QStringLiteral("lumivex"));
    QApplication::setDesktopFileName(QStringLiteral("lumivex"));
    Launch::installTranslations();

    // Read again without the options Qt took for itself (such as -platform NAME).
    const LaunchOptions launch = LaunchOptions::parse(QCoreApplication::arguments());
    const CaptureCommand::Parsed capture = CaptureCommand::parse(launch.options);
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
                             "[--output=FILE | --clipboard]\n");
        return 1;
    }
    return app.exec();
}
