// SPDX-License-Identifier: MIT
// Saves a picture of the X display (or of one window) as PNG, so the README's
// pictures can be taken again under Xvfb without extra packages.
//   kestrix-screenshot OUT.png [WINDOW-ID]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kestrix-screenshot OUT.png [WINDOW-ID]\n");
        return 2;
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "kestrix-screenshot: no screen\n");
        return 1;
    }
    bool ok = true;
    const WId window = argc > 2 ? WId(QByteArray(argv[2]).toULongLong(&ok, 0)) : 0;
    if (!ok) {
        std::fprintf(stderr, "kestrix-screenshot: bad window id %s\n", argv[2]);
        return 2;
    }
    const QPixmap picture = screen->grabWindow(window);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "kestrix-screenshot: could not save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
