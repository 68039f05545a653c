#include "app/CommandLine.h"

namespace PelmoraApp {

CommandLine CommandLine::parse(const QStringList& arguments)
{
    CommandLine line;
    const qsizetype separator = arguments.indexOf(QStringLiteral("--"), 1);
    line.toolkitArguments = separator < 0 ? arguments : arguments.mid(0, separator);
    if (separator >= 0)
        line.afterSeparator = arguments.mid(separator + 1);
    for (qsizetype i = 1; i < line.toolkitArguments.size(); ++i) {
        const QString& argument = line.toolkitArguments.at(i);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            line.action = Action::Help;
            break;
        }
        if (argument == QLatin1String("--version")) {
            line.action = Action::Version;
            break;
        }
    }
    return line;
}

QString CommandLine::file(const QStringList& leftByToolkit) const
{
    if (leftByToolkit.size() > 1)
        return leftByToolkit.at(1);
    return afterSeparator.value(0);
}

QString CommandLine::usage()
{
    return QStringLiteral("使い方: pelmora [オプション] [ファイル]\n"
                          "       pelmora [オプション] -- ファイル\n"
                          "\n"
                          "日本語テキストエディター Pelmora を起動し、ファイルを指定するとその内容を開きます。\n"
                          "\n"
                          "オプション:\n"
                          "  -h, --help     この説明を表示して終了します\n"
                          "  --version      バージョンを表示して終了します\n"
                          "  --             以降をファイル名として扱います (\"-\" で始まる名前のとき)\n");
}

QString CommandLine::version()
{
    return QStringLiteral("Pelmora 2.01\n");
}

} // namespace PelmoraApp
