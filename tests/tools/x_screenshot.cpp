// Saves the whole X screen ($DISPLAY) as a PNG (or a PPM), for the pictures the end-to-end runs keep.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: x_screenshot FILE.png|FILE.ppm\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    // PNG unless the name says otherwise (".ppm" gives a picture a script reads without a library).
    const QString path = QString::fromLocal8Bit(argv[1]);
    const char* format = path.endsWith(QLatin1String(".ppm"), Qt::CaseInsensitive) ? "PPM" : "PNG";
    if (!screen || !screen->grabWindow(0).save(path, format)) {
        std::fprintf(stderr, "x_screenshot: could not grab or save the screen\n");
        return 1;
    }
    return 0;
}
