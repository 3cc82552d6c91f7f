// Every text of the translation tables must be one the program asks for under that very context at run time:
// a text whose context differs (a hand-made tr() in a class that is no QObject, a text moved to another class)
// never loads its translation.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

const QString root = QStringLiteral(LUMIVEX_SOURCE_DIR);

QString read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The contexts a source file's texts are looked up under: literal contexts, Q_DECLARE_TR_FUNCTIONS, the QObject
// classes of the file and of its header (tr() of a class in namespace lumivex looks up "lumivex::Class"), and
// other classes' tr().
std::set<QString> runtimeContexts(const QString& path)
{
    static const QRegularExpression literal(QStringLiteral(R"((?:translate|QT_TRANSLATE_NOOP)\(\s*"([^"]+)\")"));
    static const QRegularExpression declared(QStringLiteral(R"(Q_DECLARE_TR_FUNCTIONS\(([\w:]+)\))"));
    static const QRegularExpression qobject(QStringLiteral(R"(class (\w+)[^;{]*\{\s*Q_OBJECT)"));
    static const QRegularExpression classTr(QStringLiteral(R"((\w+)::tr\()"));
    QString text = read(path);
    if (path.endsWith(QLatin1String(".cpp")))
        text += read(path.chopped(4) + QStringLiteral(".h"));
    std::set<QString> contexts;
    for (const auto& [pattern, prefix] : {std::pair{&literal, QString()}, {&declared, QString()},
                                          {&qobject, QStringLiteral("lumivex::")}, {&classTr, QStringLiteral("lumivex::")}}) {
        auto matches = pattern->globalMatch(text);
        while (matches.hasNext())
            contexts.insert(prefix + matches.next().captured(1));
    }
    return contexts;
}

struct Message {
    QString context;
    QString source;
};

std::vector<Message> messagesOf(const QString& tsPath)
{
    std::vector<Message> messages;
    QXmlStreamReader xml(read(tsPath));
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            messages.push_back({context, xml.readElementText()});
    }
    EXPECT_FALSE(xml.hasError()) << tsPath.toStdString();
    return messages;
}

TEST(Translations, EveryTextIsAskedForUnderItsContext)
{
    std::map<QString, std::pair<QString, std::set<QString>>> sources; // path -> text and contexts
    for (const QString top : {"core", "app"}) {
        QDirIterator it(root + QLatin1Char('/') + top, {"*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            sources[path] = {read(path), runtimeContexts(path)};
        }
    }
    QDirIterator tables(root + QStringLiteral("/i18n"), {"*.ts"}, QDir::Files);
    int checked = 0;
    while (tables.hasNext()) {
        const QString table = tables.next();
        for (const Message& message : messagesOf(table)) {
            // The source holds the text as a C++ literal: line breaks and quotes escaped.
            QString escaped = message.source;
            escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
            escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
            const bool found = std::any_of(sources.begin(), sources.end(), [&](const auto& entry) {
                const auto& [text, contexts] = entry.second;
                return contexts.contains(message.context) && text.contains(QLatin1Char('"') + escaped + QLatin1Char('"'));
            });
            EXPECT_TRUE(found) << table.toStdString() << ": \"" << message.source.toStdString()
                               << "\" is not asked for under " << message.context.toStdString();
            ++checked;
        }
    }
    EXPECT_GT(checked, 20);
}

} // namespace
