// Build tool: draws the program's picture at the sizes the hicolor icon
// theme installs, so the installed icons and the window icon are one picture.
#include "main/About.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: pelmora_icons <folder> <size>...\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString path = folder.filePath(QStringLiteral("pelmora-%1.png").arg(size));
        if (size <= 0 || !TAboutBox::programPicture(size).save(path, "PNG")) {
            std::fprintf(stderr, "pelmora_icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
