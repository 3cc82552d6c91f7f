// The layers of the source tree, written down once: which folder may include which. A folder may include its own
// files and those of the folders it uses, directly or through them; nothing else. tests/ and bench/ may include
// everything and are not checked.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

struct Layer {
    QString folder;
    QStringList uses;
};

const std::vector<Layer>& layers()
{
    static const std::vector<Layer> graph = {
        {"core/geometry", {}},
        {"core/model", {"core/geometry"}},
        {"core/document", {"core/model"}},
        // The renderer draws documents; the document never reaches up to its output.
        {"core/render", {"core/document"}},
        {"core/capture", {"core/geometry"}},
        // Automatic saving writes PNG files through the exporter.
        {"core/settings", {"core/render"}},
        {"core/stickers", {"core/model", "core/settings"}},
        // The copied-text history lives in the preferences store.
        {"core/history", {"core/settings"}},
        // lumivex_analysis, its own library over all of core.
        {"core/analysis", {"core/render", "core/stickers", "core/capture", "core/history"}},
        // The only folder that talks to the display server.
        {"app/platform", {"core/analysis"}},
        {"app/design", {"core/analysis"}},
        {"app/hotkeys", {"app/platform"}},
        {"app/capture", {"app/platform", "app/design"}},
        {"app/editor", {"app/platform", "app/design"}},
        {"app/windows", {"app/hotkeys", "app/design"}},
        {"app/shell", {"app/capture", "app/editor", "app/windows"}},
        {"app", {"app/shell"}}, // main.cpp
        // The headless command: core only, never widgets.
        {"cli", {"core/analysis"}},
        {"tools", {"core/analysis"}},
        // Renders the editor window to pictures for the README.
        {"tools/editor", {"app/editor", "tools"}},
        {"fuzz", {"tools"}},
    };
    return graph;
}

// Qt modules a layer below app may use: plain data and computation, never widgets.
const std::set<QString> coreQtModules{"QtCore", "QtGui", "QtConcurrent"};

const QString root = QStringLiteral(LUMIVEX_SOURCE_DIR);

// The layer a project path (relative to the root) belongs to: the longest folder that contains it.
const Layer* layerOf(const QString& path)
{
    const Layer* best = nullptr;
    for (const Layer& layer : layers()) {
        if (path.startsWith(layer.folder + QLatin1Char('/')) && (!best || layer.folder.size() > best->folder.size()))
            best = &layer;
    }
    return best;
}

std::set<QString> reachable(const Layer& from)
{
    std::set<QString> seen{from.folder};
    QStringList pending = from.uses;
    while (!pending.isEmpty()) {
        const QString folder = pending.takeLast();
        if (!seen.insert(folder).second)
            continue;
        for (const Layer& layer : layers())
            if (layer.folder == folder)
                pending += layer.uses;
    }
    return seen;
}

// A quoted include resolved the way the build resolves it: beside the file, from the root, or from tools/.
QString resolve(const QString& fileFolder, const QString& included)
{
    for (const QString& base : {fileFolder, QString(), QStringLiteral("tools")}) {
        const QString candidate = QDir::cleanPath(base.isEmpty() ? included : base + QLatin1Char('/') + included);
        if (QFileInfo::exists(root + QLatin1Char('/') + candidate))
            return candidate;
    }
    return {};
}

QString qtModuleOf(const QString& header)
{
    static std::map<QString, QString> modules;
    if (const auto known = modules.find(header); known != modules.end())
        return known->second;
    const QString headers = QLibraryInfo::path(QLibraryInfo::HeadersPath);
    QString module;
    if (header.contains(QLatin1Char('/')))
        module = header.section(QLatin1Char('/'), 0, 0);
    else
        for (const QString& candidate : QDir(headers).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (QFileInfo::exists(headers + QLatin1Char('/') + candidate + QLatin1Char('/') + header)) {
                module = candidate;
                break;
            }
    return modules[header] = module;
}

QStringList sourceFiles()
{
    QStringList files;
    for (const QString top : {"core", "app", "cli", "tools", "fuzz"}) {
        QDirIterator it(root + QLatin1Char('/') + top, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(root).relativeFilePath(it.next());
    }
    return files;
}

TEST(IncludeGraph, EveryFileIncludesOnlyWhatItsLayerMayUse)
{
    static const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])"));
    const QStringList files = sourceFiles();
    ASSERT_GT(files.size(), 100) << "no sources under " << root.toStdString();
    QStringList violations;
    for (const QString& file : files) {
        const Layer* layer = layerOf(file);
        if (!layer) {
            violations << file + QStringLiteral(": its folder has no place in the layer graph");
            continue;
        }
        const std::set<QString> allowed = reachable(*layer);
        // Widgets belong to the application layer and to whatever is built on it.
        const bool belowApp = std::none_of(allowed.begin(), allowed.end(),
                                           [](const QString& folder) { return folder.startsWith(QLatin1String("app")); });
        QFile source(root + QLatin1Char('/') + file);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly | QIODevice::Text)) << file.toStdString();
        int lineNumber = 0;
        while (!source.atEnd()) {
            const QString line = QString::fromUtf8(source.readLine());
            ++lineNumber;
            const QRegularExpressionMatch match = include.match(line);
            if (!match.hasMatch())
                continue;
            const QString included = match.captured(2);
            const QString where = QStringLiteral("%1:%2 includes %3: ").arg(file).arg(lineNumber).arg(included);
            if (match.captured(1) == QLatin1String("<")) {
                if (layer->folder != QLatin1String("app/platform")
                    && (included.startsWith(QLatin1String("xcb/")) || included.startsWith(QLatin1String("X11/"))))
                    violations << where + QStringLiteral("only app/platform talks to the display server");
                const QString module = included.startsWith(QLatin1Char('Q')) ? qtModuleOf(included) : QString();
                if (belowApp && !module.isEmpty() && !coreQtModules.contains(module))
                    violations << where + module + QStringLiteral(" is not for ") + layer->folder;
                continue;
            }
            const QString target = resolve(QFileInfo(file).path(), included);
            const Layer* targetLayer = target.isEmpty() ? nullptr : layerOf(target);
            if (!targetLayer)
                violations << where + QStringLiteral("not a file of a known layer");
            else if (!allowed.contains(targetLayer->folder))
                violations << where + layer->folder + QStringLiteral(" may not use ") + targetLayer->folder;
        }
    }
    EXPECT_TRUE(violations.isEmpty()) << violations.join(QLatin1Char('\n')).toStdString();
}

TEST(IncludeGraph, TheGraphHasNoCycle)
{
    for (const Layer& layer : layers()) {
        for (const QString& used : layer.uses) {
            for (const Layer& other : layers()) {
                if (other.folder == used) {
                    EXPECT_FALSE(reachable(other).contains(layer.folder))
                        << layer.folder.toStdString() << " <-> " << used.toStdString();
                }
            }
        }
    }
}

} // namespace
