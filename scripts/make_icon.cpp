// Draws the program icon of data/icons once in every size (the files are kept in the
// repository): a station rack of three I/O boards with their status lights on the program's
// dialog blue. Build and run by hand:
//   g++ -std=c++20 -fPIC scripts/make_icon.cpp $(pkg-config --cflags --libs Qt6Gui) \
//       -o /tmp/make_icon && QT_QPA_PLATFORM=offscreen /tmp/make_icon data/icons
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Drawn on a grid of 64 x 64 units, scaled to the size.
void DrawIcon(QPainter& p, int size) {
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    // The rounded plate in the dialogs' blue, lighter at the top.
    QLinearGradient plate(0, 0, 0, 64);
    plate.setColorAt(0, QColor(0x8C, 0xB4, 0xE6));
    plate.setColorAt(1, QColor(0x3C, 0x6C, 0xB0));
    QPainterPath outline;
    outline.addRoundedRect(QRectF(1, 1, 62, 62), 11, 11);
    p.fillPath(outline, plate);
    p.setPen(QPen(QColor(0x1E, 0x3C, 0x6E), 2));
    p.drawPath(outline);

    // The rail the boards sit on.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x50, 0x50, 0x58));
    p.drawRoundedRect(QRectF(7, 46, 50, 8), 2, 2);

    // Three boards, each with a dark connector strip and a status light.
    const QColor lights[3] = {QColor(0x2E, 0xCC, 0x40), QColor(0xFF, 0xC8, 0x1E),
                              QColor(0xE8, 0x30, 0x28)};
    for (int i = 0; i < 3; ++i) {
        const double x = 10 + i * 15.5;
        p.setBrush(QColor(0xF4, 0xF4, 0xF0));
        p.setPen(QPen(QColor(0x28, 0x28, 0x30), 1.5));
        p.drawRoundedRect(QRectF(x, 10, 13, 40), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x38, 0x38, 0x40));
        p.drawRect(QRectF(x + 3, 27, 7, 19));
        p.setBrush(lights[i]);
        p.drawEllipse(QRectF(x + 3, 14, 7, 7));
    }
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon <folder>\n");
        return 2;
    }
    for (int size : kSizes) {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            DrawIcon(p, size);
        }
        const QString file = QString("%1/morvelan-%2.png").arg(argv[1]).arg(size);
        if (!image.save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
