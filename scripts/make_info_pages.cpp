// Draws the sample module information pages of data/Modul/info once (the files are kept in
// the repository). Build and run by hand:
//   g++ -std=c++20 -fPIC scripts/make_info_pages.cpp $(pkg-config --cflags --libs Qt6Gui) \
//       -o /tmp/make_info_pages && QT_QPA_PLATFORM=offscreen /tmp/make_info_pages data/Modul/info
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

void DrawPage(const QString& folder, const QString& type, int page, int pages, QColor band) {
    QImage image(1024, 1449, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(0, 0, 1024, 90, band);
    p.setPen(Qt::white);
    p.setFont(QFont("Liberation Sans", 36, QFont::Bold));
    p.drawText(QRect(40, 0, 944, 90), Qt::AlignVCenter | Qt::AlignLeft, type);
    p.setFont(QFont("Liberation Sans", 14));
    p.drawText(QRect(40, 0, 944, 90), Qt::AlignVCenter | Qt::AlignRight,
               QString("Seite %1 / %2").arg(page).arg(pages));
    p.setPen(QColor(60, 60, 60));
    for (int row = 0; row < 40; ++row) {
        const int y = 160 + row * 30;
        p.drawLine(60, y, 60 + 300 + (row * 97 + page * 53) % 600, y);
    }
    p.setPen(band);
    p.drawRect(40, 130, 944, 1260);
    p.end();
    const QString name = QString("%1/%2_%3.jpg").arg(folder, type).arg(page, 2, 10, QChar('0'));
    if (!image.save(name, "JPEG", 80))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(".");
    for (int page = 1; page <= 3; ++page)
        DrawPage(folder, "A3104", page, 3, QColor(32, 80, 160));
    DrawPage(folder, "D2110", 1, 1, QColor(160, 60, 32));
    return 0;
}
