// kvart: writes the XP-look controls' art (controls/xp/art/*.png) from the generator's code.
//     kvart [--scale N] FOLDER
// Run it after changing the art's code; tests/xp/tst_xpart fails until the files match.

#include "XpArt.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Draws the XP-look controls' pictures."));
    cli.addHelpOption();
    cli.addOption({QStringLiteral("scale"),
                   QStringLiteral("Scale factor (1 = the controls' size)."), QStringLiteral("N"),
                   QStringLiteral("1")});
    cli.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("Where the PNGs go."));
    cli.process(app);
    bool ok = false;
    const int scale = cli.value(QStringLiteral("scale")).toInt(&ok);
    if (!ok || scale < 1 || scale > 16 || cli.positionalArguments().size() != 1) {
        std::fprintf(stderr, "usage: kvart [--scale N] FOLDER\n");
        return 2;
    }
    const QDir folder(cli.positionalArguments().first());
    if (!folder.exists()) {
        std::fprintf(stderr, "kvart: no folder %s\n", qPrintable(folder.path()));
        return 2;
    }
    for (const kvart::Artwork& art : kvart::artworks()) {
        QString name = art.fileName;
        if (scale != 1) name.replace(QStringLiteral(".png"), QStringLiteral("@%1x.png").arg(scale));
        const QString path = folder.filePath(name);
        if (!art.draw(scale).save(path, "PNG")) {
            std::fprintf(stderr, "kvart: cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
