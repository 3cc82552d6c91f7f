// lumivex-cli info IMAGE...: how the editor would open each image (its size in pixels and its pixel scale), or why
// it cannot.
#include "cli/CliCommand.h"

#include "core/render/ImageLoading.h"

#include <cstdio>

namespace lumivex::Cli {
namespace {

int run(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return fail(usage, QStringLiteral("info needs at least one image file"));
    int status = success;
    for (const QString& path : arguments) {
        const ImageLoading::LoadResult result = ImageLoading::loadFile(path);
        if (const auto* error = std::get_if<LoadError>(&result)) {
            status = fail(failed, error->message() + QLatin1Char(' ') + error->detail());
            continue;
        }
        const LoadedImage& image = std::get<LoadedImage>(result);
        std::printf("%s: %d x %d pixels, scale %g\n", qPrintable(path), image.image.width(), image.image.height(),
                    image.scale);
    }
    return status;
}

const Registration info({QStringLiteral("info"),
                         QStringLiteral("info IMAGE...     size in pixels and pixel scale of each image, as the editor "
                                        "opens it"),
                         run});

} // namespace
} // namespace lumivex::Cli
