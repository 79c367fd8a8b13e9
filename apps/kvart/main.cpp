// kvart: writes the XP-look controls' art (controls/xp/art/*.png) from the generator's code,
// each picture at scale 1 (name.png) and 2 (name@2x.png, for high-density screens).
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
                   QStringLiteral("Only this scale factor (1 = the controls' size; without it, "
                                  "1 and 2)."),
                   QStringLiteral("N")});
    cli.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("Where the PNGs go."));
    cli.process(app);
    bool ok = true;
    QList<int> scales{1, 2};
    if (cli.isSet(QStringLiteral("scale")))
        scales = {cli.value(QStringLiteral("scale")).toInt(&ok)};
    if (!ok || scales.first() < 1 || scales.first() > 16 || cli.positionalArguments().size() != 1) {
        std::fprintf(stderr, "usage: kvart [--scale N] FOLDER\n");
        return 2;
    }
    const QDir folder(cli.positionalArguments().first());
    if (!folder.exists()) {
        std::fprintf(stderr, "kvart: no folder %s\n", qPrintable(folder.path()));
        return 2;
    }
    for (const int scale : scales)
        for (const kvart::Artwork& art : kvart::artworks()) {
            const QString path = folder.filePath(kvart::fileNameAt(art, scale));
            if (!art.draw(scale).save(path, "PNG")) {
                std::fprintf(stderr, "kvart: cannot write %s\n", qPrintable(path));
                return 1;
            }
            std::printf("%s\n", qPrintable(path));
        }
    return 0;
}
