// SPDX-License-Identifier: GPL-3.0-or-later
// dpx_artgen: draws the main window's art into PNG files, or previews the composed window.
//   dpx_artgen --out res/art [--themes res/themes]
//   dpx_artgen --preview out.png [--art res/art] [--lit] [--crop x,y,w,h] [--scale n]
//   dpx_artgen --sheet samples.png [--art res/art]
#include "Art.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

using namespace dpx::art;

namespace {

int generate(const QString &folder, const QString &themes)
{
    ArtWriter writer(folder);
    const QImage body = paintBody();
    writer.write(QStringLiteral("133"), body, QSize(503, 588));
    writer.write(QStringLiteral("512"), paintStatusLine(), QSize(287, 56));
    writer.write(QStringLiteral("511"), paintLcd(), QSize(287, 60));
    writeKeys(writer);
    writeLamps(writer, body);
    writeSlider(writer, body);
    writeIcons(writer);
    writeRingingIcons(writer);
    writeCallerPopup(writer);
    writeAddressBookArt(writer);
    writeFolderImages(writer);
    writer.write(QStringLiteral("519"), paintSettingsBackground(), QSize(340, 340));
    QStringList themeErrors;
    if (!themes.isEmpty())
        writeThemeImages(themes, themeErrors);
    writeTransferArt(writer);
    writeConverterArt(writer);
    writeCallHistoryIcons(writer);
    QTextStream err(stderr);
    for (const QString &e : writer.errors() + themeErrors)
        err << "dpx_artgen: " << e << '\n';
    err << "dpx_artgen: wrote " << writer.count() << " images to " << folder << '\n';
    return writer.ok() && themeErrors.isEmpty() ? 0 : 1;
}

int preview(const QString &file, const QString &art, bool lit, const QString &crop, int scale)
{
    QImage image = paintPreview(art, lit);
    if (!crop.isEmpty()) {
        const QStringList v = crop.split(QLatin1Char(','));
        if (v.size() != 4) {
            QTextStream(stderr) << "dpx_artgen: --crop wants x,y,w,h\n";
            return 2;
        }
        image = image.copy(v[0].toInt(), v[1].toInt(), v[2].toInt(), v[3].toInt());
    }
    if (scale > 1)
        image = image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!image.save(file, "PNG")) {
        QTextStream(stderr) << "dpx_artgen: cannot write " << file << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the art of the DPX main window."));
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Write the images to <dir>."),
                                 QStringLiteral("dir"));
    const QCommandLineOption themes(QStringLiteral("themes"),
                                    QStringLiteral("Write the looks' images to <dir>."),
                                    QStringLiteral("dir"));
    const QCommandLineOption view(QStringLiteral("preview"),
                                  QStringLiteral("Compose the window into <file>."),
                                  QStringLiteral("file"));
    const QCommandLineOption art(QStringLiteral("art"), QStringLiteral("Images to compose from."),
                                 QStringLiteral("dir"), QStringLiteral("res/art"));
    const QCommandLineOption lit(QStringLiteral("lit"), QStringLiteral("Light some lamps."));
    const QCommandLineOption crop(QStringLiteral("crop"), QStringLiteral("Preview part x,y,w,h."),
                                  QStringLiteral("rect"));
    const QCommandLineOption scale(QStringLiteral("scale"), QStringLiteral("Enlarge the preview."),
                                   QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption sheet(QStringLiteral("sheet"),
                                   QStringLiteral("Write enlarged samples into <file>."),
                                   QStringLiteral("file"));
    parser.addOptions({out, themes, view, art, lit, crop, scale, sheet});
    parser.process(app);
    if (parser.isSet(out))
        return generate(parser.value(out), parser.value(themes));
    if (parser.isSet(sheet))
        return paintSheet(parser.value(art)).save(parser.value(sheet), "PNG") ? 0 : 1;
    if (parser.isSet(view))
        return preview(parser.value(view), parser.value(art), parser.isSet(lit),
                       parser.value(crop), parser.value(scale).toInt());
    parser.showHelp(2);
}
