// render-icon: draws the program's icon, three faders over a keyboard on a
// rounded square, as resources/icons/cs6edit.svg and as the PNG files the
// program embeds (16 to 256 pixels). The shapes are listed once below and
// written to both, so the SVG and the PNGs show the same picture.
//
// Built only on demand: cmake --build <build> --target render-icon, then
// render-icon <source>/resources/icons
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <cstdio>
#include <vector>

namespace {

constexpr int kCanvas = 256; // the drawing's own units
constexpr std::array kSizes = {16, 22, 24, 32, 48, 64, 128, 256};

// A filled rounded rectangle; a second colour makes a top-to-bottom gradient.
// Fine detail is left out of the PNGs smaller than minSize.
struct Shape {
    double x, y, width, height, radius;
    QColor fill;
    QColor fillBottom = {};
    int minSize = 0;
};

std::vector<Shape> Shapes()
{
    const QColor track(0x6b, 0x7f, 0x94);
    const QColor thumb(0xff, 0xb0, 0x2e);
    const QColor thumbLine(0x9c, 0x5c, 0x00);
    const QColor ivory(0xf4, 0xf4, 0xf0);
    const QColor keyGap(0x8a, 0x96, 0xa3);
    const QColor ebony(0x1c, 0x23, 0x2c);

    std::vector<Shape> shapes;
    shapes.push_back({8, 8, 240, 240, 44, QColor(0x41, 0x53, 0x69), QColor(0x1c, 0x24, 0x2e)});
    // Three faders, their thumbs at different heights.
    const std::array<double, 3> centres = {76, 128, 180};
    const std::array<double, 3> thumbs = {112, 62, 90};
    for (std::size_t i = 0; i < centres.size(); ++i) {
        shapes.push_back({centres[i] - 7, 34, 14, 122, 7, track});
        shapes.push_back({centres[i] - 22, thumbs[i] - 15, 44, 30, 6, thumb});
        shapes.push_back({centres[i] - 16, thumbs[i] - 2, 32, 4, 2, thumbLine, {}, 32});
    }
    // A keyboard of seven white keys and five black ones.
    const double left = 32, top = 172, width = 192, height = 58, key = width / 7;
    shapes.push_back({left, top, width, height, 6, ivory});
    for (int k = 1; k < 7; ++k)
        shapes.push_back({left + k * key - 1.5, top, 3, height, 0, keyGap, {}, 32});
    for (int k : {1, 2, 4, 5, 6})
        shapes.push_back({left + k * key - 9, top, 18, 36, 3, ebony});
    return shapes;
}

QString Svg(const std::vector<Shape>& shapes)
{
    QString svg;
    QTextStream out(&svg);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kCanvas << "\" height=\"" << kCanvas
        << "\" viewBox=\"0 0 " << kCanvas << ' ' << kCanvas << "\">\n";
    int gradients = 0;
    for (const Shape& s : shapes) {
        QString fill = s.fill.name();
        if (s.fillBottom.isValid()) {
            fill = QStringLiteral("url(#g%1)").arg(++gradients);
            out << "  <linearGradient id=\"g" << gradients << "\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
                << "<stop offset=\"0\" stop-color=\"" << s.fill.name() << "\"/><stop offset=\"1\" stop-color=\""
                << s.fillBottom.name() << "\"/></linearGradient>\n";
        }
        out << "  <rect x=\"" << s.x << "\" y=\"" << s.y << "\" width=\"" << s.width << "\" height=\"" << s.height
            << "\" rx=\"" << s.radius << "\" fill=\"" << fill << "\"/>\n";
    }
    out << "</svg>\n";
    return svg;
}

QImage Render(const std::vector<Shape>& shapes, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const double scale = double(size) / kCanvas;
    // Edges on whole pixels, at least one pixel apart, keep the small sizes
    // sharp instead of blurred.
    auto snap = [scale](double from, double length) {
        const double start = std::round(from * scale);
        return std::pair{start, std::max(1.0, std::round((from + length) * scale) - start)};
    };
    for (const Shape& s : shapes) {
        if (size < s.minSize)
            continue;
        const auto [x, width] = snap(s.x, s.width);
        const auto [y, height] = snap(s.y, s.height);
        const QRectF rect(x, y, width, height);
        if (s.fillBottom.isValid()) {
            QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
            gradient.setColorAt(0, s.fill);
            gradient.setColorAt(1, s.fillBottom);
            painter.setBrush(gradient);
        } else {
            painter.setBrush(s.fill);
        }
        painter.drawRoundedRect(rect, s.radius * scale, s.radius * scale);
    }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: render-icon <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const std::vector<Shape> shapes = Shapes();
    QFile svg(folder.filePath(QStringLiteral("cs6edit.svg")));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(Svg(shapes).toUtf8()) < 0) {
        std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(svg.fileName()));
        return 1;
    }
    for (int size : kSizes) {
        const QString name = folder.filePath(QStringLiteral("cs6edit-%1.png").arg(size));
        if (!Render(shapes, size).save(name)) {
            std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
